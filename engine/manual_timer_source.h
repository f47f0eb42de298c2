// SPDX-License-Identifier: GPL-3.0-or-later
// A timer source that never fires by itself: tools that simulate time and tests drive the engine's
// motion timer by hand with it.
#pragma once

#include "engine/timer_source.h"

#include <cstdint>
#include <vector>

namespace padloom {

// Keeps the timers it is asked for; tick() runs each live one once, on the caller's thread.
// A callback that answers 0 asks not to be called again, as with SDL's timers.
class ManualTimerSource : public TimerSource {
public:
    int add(uint32_t intervalMs, TimerCallback callback, void* param) override;
    void remove(int id) override;

    // Runs every live timer once; returns how many ran.
    int tick();
    int liveTimers() const;
    // What the last callback that ran answered.
    uint32_t lastInterval() const { return lastInterval_; }

private:
    struct Timer {
        uint32_t intervalMs;
        TimerCallback callback;
        void* param;
        bool live;
    };
    std::vector<Timer> timers_;
    uint32_t lastInterval_ = 0;
};

} // namespace padloom

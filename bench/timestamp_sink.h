// SPDX-License-Identifier: GPL-3.0-or-later
// An event sink that timestamps, with the steady clock, the key events and the motion events it
// receives, so that a measuring thread can wait for them.
#pragma once

#include "engine/event_sink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace padloom::bench {

using SteadyTime = std::chrono::steady_clock::time_point;

class TimestampSink : public EventSink {
public:
    CursorPoint cursorLocation() override { return {960, 540}; }
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override;
    void postSystemDefined(int32_t) override {}
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override;
    void postScroll(ScrollUnits, int32_t, int32_t) override {}

    // Waits until `count` key events have arrived in all, or the deadline passes; the receipt time
    // of the last one, or nothing.
    std::optional<SteadyTime> waitForKeyEvents(size_t count, SteadyTime deadline);
    size_t keyEvents() const;

    // Starts or stops keeping the times of motion events.
    void recordMotion(bool on);
    std::vector<SteadyTime> motionTimes() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<SteadyTime> keyTimes_;
    std::vector<SteadyTime> motionTimes_;
    bool recordMotion_ = false;
};

} // namespace padloom::bench

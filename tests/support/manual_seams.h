// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-driven stand-ins for the engine's clock and motion timer, and EngineSeams, which sets them
// with a RecordingSink as an engine's seams.
#pragma once

#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/manual_timer_source.h"
#include "tests/support/recording_sink.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace padloom::test {

// Time stands still until set or advanced; each sleep is recorded and advances it.
class ManualClock : public Clock {
public:
    uint32_t nowMs() override { return now_.load(); }
    void sleepMs(uint32_t ms) override {
        sleeps_.push_back(ms);
        advance(ms);
    }

    void advance(uint32_t ms) { now_.fetch_add(ms); }
    std::vector<uint32_t> sleeps() const { return sleeps_; }

private:
    std::atomic<uint32_t> now_{10000};
    std::vector<uint32_t> sleeps_; // written only by the thread that sleeps
};

// A RecordingSink, a ManualClock and a ManualTimerSource set as an engine's seams. They must outlive
// the engine's last event: declare them after the engine and before what runs it.
struct EngineSeams {
    explicit EngineSeams(Engine& engine) {
        engine.eventSink.set(&sink);
        engine.clock.set(&clock);
        engine.timerSource.set(&timers);
    }
    EngineSeams(const EngineSeams&) = delete;
    EngineSeams& operator=(const EngineSeams&) = delete;

    RecordingSink sink;
    ManualClock clock;
    ManualTimerSource timers;
};

} // namespace padloom::test

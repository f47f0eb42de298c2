// Hand-driven stand-ins for the engine's clock and motion timer, and EngineSeams, which installs
// them with a RecordingSink for the length of a test and restores the defaults afterwards.
#pragma once

#include "engine/clock.h"
#include "engine/event_sink.h"
#include "engine/manual_timer_source.h"
#include "engine/mouse_motion.h"
#include "engine/mouse_state.h"
#include "engine/output_events.h"
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

// Installs a RecordingSink, a ManualClock and a ManualTimerSource and clears the engine's process-wide
// state (mouseState, modifierFlags, minecraftFix), which outlives a test, so that each test starts
// from program start; restores SDL's seams on destruction.
struct EngineSeams {
    EngineSeams() {
        mouseState.reset();
        modifierFlags = 0;
        minecraftFix = false;
        setEventSink(&sink);
        setEngineClock(&clock);
        setTimerSource(&timers);
    }
    ~EngineSeams() {
        setEventSink(nullptr);
        setEngineClock(nullptr);
        setTimerSource(nullptr);
    }
    EngineSeams(const EngineSeams&) = delete;
    EngineSeams& operator=(const EngineSeams&) = delete;

    RecordingSink sink;
    ManualClock clock;
    ManualTimerSource timers;
};

} // namespace padloom::test

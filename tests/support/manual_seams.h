// Hand-driven stand-ins for the engine's clock and motion timer, and EngineSeams, which installs
// them with a RecordingSink for the length of a test and restores the defaults afterwards.
#pragma once

#include "engine/clock.h"
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
    void sleepMs(uint32_t ms) override;

    void advance(uint32_t ms) { now_.fetch_add(ms); }
    std::vector<uint32_t> sleeps() const;

private:
    std::atomic<uint32_t> now_{10000};
    std::vector<uint32_t> sleeps_; // written only by the thread that sleeps
};

// The engine's hand-driven timer source, under the name tests have always used.
using padloom::ManualTimerSource;

// Installs a RecordingSink, a ManualClock and a ManualTimerSource and clears the engine's process-wide
// state (mouseState, modifierFlags, minecraftFix); restores SDL's seams on destruction.
struct EngineSeams {
    EngineSeams();
    ~EngineSeams();
    EngineSeams(const EngineSeams&) = delete;
    EngineSeams& operator=(const EngineSeams&) = delete;

    RecordingSink sink;
    ManualClock clock;
    ManualTimerSource timers;
};

} // namespace padloom::test

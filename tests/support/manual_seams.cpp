#include "tests/support/manual_seams.h"

#include "engine/event_sink.h"
#include "engine/mouse_motion.h"
#include "engine/mouse_state.h"
#include "engine/output_events.h"

namespace padloom::test {

void ManualClock::sleepMs(uint32_t ms) {
    sleeps_.push_back(ms);
    advance(ms);
}

std::vector<uint32_t> ManualClock::sleeps() const {
    return sleeps_;
}

EngineSeams::EngineSeams() {
    // The engine's process-wide state outlives a test; each test starts from program start.
    mouseState.reset();
    modifierFlags = 0;
    minecraftFix = false;
    setEventSink(&sink);
    setEngineClock(&clock);
    setTimerSource(&timers);
}

EngineSeams::~EngineSeams() {
    setEventSink(nullptr);
    setEngineClock(nullptr);
    setTimerSource(nullptr);
}

} // namespace padloom::test

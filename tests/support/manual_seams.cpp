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

int ManualTimerSource::add(uint32_t intervalMs, TimerCallback callback, void* param) {
    timers_.push_back({intervalMs, callback, param, true});
    return static_cast<int>(timers_.size());
}

void ManualTimerSource::remove(int id) {
    if (id >= 1 && static_cast<size_t>(id) <= timers_.size()) {
        timers_[id - 1].live = false;
    }
}

int ManualTimerSource::tick() {
    int ran = 0;
    for (Timer& timer : timers_) {
        if (timer.live) {
            lastInterval_ = timer.callback(timer.intervalMs, timer.param);
            ++ran;
        }
    }
    return ran;
}

int ManualTimerSource::liveTimers() const {
    int live = 0;
    for (const Timer& timer : timers_) {
        live += timer.live ? 1 : 0;
    }
    return live;
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

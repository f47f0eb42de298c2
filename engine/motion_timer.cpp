// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/motion_timer.h"

#include "engine/engine.h"
#include "engine/mouse_motion.h"

namespace padloom {

// Time until the next tick of the old phase: ticks came at lastTickMs_ plus whole periods.
uint32_t MotionTimer::delayToPhase(uint32_t now) const {
    const uint32_t period = periodMs_.load();
    const uint32_t since = now - lastTickMs_.load();
    return since == 0 ? period : (period - since % period) % period;
}

bool MotionTimer::start(uint32_t period) {
    stop();
    TimerSource& timers = engine_.timerSource.get();
    source_.store(&timers);
    periodMs_.store(period);
    lastTickMs_.store(engine_.clock->nowMs());
    schedule_.store(Schedule::running);
    const int id = timers.add(period, mouseTimerTick, &engine_);
    if (id == 0) {
        schedule_.store(Schedule::stopped);
        return false;
    }
    timerId_.store(id);
    return true;
}

void MotionTimer::stop() {
    schedule_.store(Schedule::stopped);
    TimerSource* timers = source_.exchange(nullptr);
    const int id = timerId_.exchange(0);
    if (timers != nullptr && id != 0) {
        timers->remove(id); // a spent id (the timer rested) is ignored
    }
}

bool MotionTimer::resting() const {
    return schedule_.load() == Schedule::resting;
}

void MotionTimer::wake() {
    Schedule resting = Schedule::resting;
    if (!schedule_.compare_exchange_strong(resting, Schedule::running)) {
        return;
    }
    TimerSource* timers = source_.load();
    const int id = timers ? timers->add(delayToPhase(engine_.clock->nowMs()), mouseTimerTick, &engine_) : 0;
    if (id == 0) {
        schedule_.store(Schedule::resting); // the next non-zero rate tries again
        return;
    }
    timerId_.store(id);
}

void MotionTimer::noteTick() {
    lastTickMs_.store(engine_.clock->nowMs());
}

bool MotionTimer::rests() {
    Schedule running = Schedule::running;
    if (!schedule_.compare_exchange_strong(running, Schedule::resting)) {
        return true; // stopped
    }
    if (engine_.mouseState.still() && engine_.roleTicks.load() == 0) {
        return true;
    }
    // A rate (or a turbo, a sequence) came after this tick read them; unless its wake has already started a
    // new timer, this one goes on.
    Schedule resting = Schedule::resting;
    return !schedule_.compare_exchange_strong(resting, Schedule::running);
}

} // namespace padloom

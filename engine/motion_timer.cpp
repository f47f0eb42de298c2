#include "engine/motion_timer.h"

#include "engine/clock.h"
#include "engine/mouse_motion.h"
#include "engine/mouse_state.h"
#include "engine/timer_source.h"

#include <atomic>

namespace padloom {
namespace {

enum class Schedule { stopped, running, resting };

// The tick rests by moving running to resting and a wake by moving resting to running, each by
// compare-exchange, so exactly one of them wins a race and one timer runs at most. Both write
// before they read what the other writes (a rate, the schedule), in sequentially consistent
// order, so at least one of them sees the other: no rate is left without a tick.
std::atomic<Schedule> schedule{Schedule::stopped};
std::atomic<TimerSource*> source{nullptr}; // the source the timer was started on
std::atomic<int> timerId{0};
std::atomic<uint32_t> periodMs{mouseTimerIntervalMs};
std::atomic<uint32_t> lastTickMs{0}; // when the last tick began (or the timer started)

// Time until the next tick of the old phase: ticks came at lastTickMs plus whole periods.
uint32_t delayToPhase(uint32_t now) {
    const uint32_t period = periodMs.load();
    const uint32_t since = now - lastTickMs.load();
    return since == 0 ? period : (period - since % period) % period;
}

} // namespace

bool startMotionTimer(uint32_t period) {
    stopMotionTimer();
    TimerSource& timers = timerSource();
    source.store(&timers);
    periodMs.store(period);
    lastTickMs.store(engineClock().nowMs());
    schedule.store(Schedule::running);
    const int id = timers.add(period, mouseTimerTick, nullptr);
    if (id == 0) {
        schedule.store(Schedule::stopped);
        return false;
    }
    timerId.store(id);
    return true;
}

void stopMotionTimer() {
    schedule.store(Schedule::stopped);
    TimerSource* timers = source.exchange(nullptr);
    const int id = timerId.exchange(0);
    if (timers != nullptr && id != 0) {
        timers->remove(id); // a spent id (the timer rested) is ignored
    }
}

bool motionTimerResting() {
    return schedule.load() == Schedule::resting;
}

void wakeMotionTimer() {
    Schedule resting = Schedule::resting;
    if (!schedule.compare_exchange_strong(resting, Schedule::running)) {
        return;
    }
    TimerSource* timers = source.load();
    const int id = timers ? timers->add(delayToPhase(engineClock().nowMs()), mouseTimerTick, nullptr) : 0;
    if (id == 0) {
        schedule.store(Schedule::resting); // the next non-zero rate tries again
        return;
    }
    timerId.store(id);
}

void noteMotionTick() {
    lastTickMs.store(engineClock().nowMs());
}

bool motionTimerRests() {
    Schedule running = Schedule::running;
    if (!schedule.compare_exchange_strong(running, Schedule::resting)) {
        return true; // stopped
    }
    if (mouseState.still()) {
        return true;
    }
    // A rate came after this tick read them; unless its wake has already started a new timer,
    // this one goes on.
    Schedule resting = Schedule::resting;
    return !schedule.compare_exchange_strong(resting, Schedule::running);
}

uint32_t motionTimerPeriod() {
    return periodMs.load();
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// When the motion tick runs. JoystickManager::init starts the motion timer for a preset that moves
// the cursor or the wheel, and deinit stops it. In between it rests while every motion and wheel
// rate is 0: the tick that finds them so ends the timer, and the timer thread sleeps. The first
// non-zero rate wakes it on the phase it had, so the next tick comes when it would have come had
// the timer run all along.
//
// Start and stop run on the main thread, apart from the evaluation that sets the rates (the
// activation lock keeps them so); the tick and the wake meet through atomics only.
#pragma once

#include <atomic>
#include <cstdint>

namespace padloom {

class Engine;
class TimerSource;

constexpr uint32_t mouseTimerIntervalMs = 10;
// The least time from one tick to the next, which leaves the sink time to deliver a tick's events.
// The engine's timer source keeps it (a tick that sleeps it would end past the next tick's time
// whenever its wake came 2 ms late).
constexpr uint32_t tickRestMs = 8;

class MotionTimer {
public:
    // The timer runs the engine's motion tick, on the engine's timer source and clock.
    explicit MotionTimer(Engine& engine) : engine_(engine) {}
    MotionTimer(const MotionTimer&) = delete;
    MotionTimer& operator=(const MotionTimer&) = delete;

    // Starts the timer with this period on the current timer source, replacing a running one;
    // false when the source could not start it.
    bool start(uint32_t periodMs);
    // Stops it, resting or not; once this returns no tick runs. Safe when it was never started.
    void stop();
    // True while the timer is started and resting.
    bool resting() const;

    // For the rates (MotionRate): a rate became non-zero.
    void wake();
    // For the tick: notes when it began, which sets the phase of a later wake.
    void noteTick();
    // For a tick that found every rate 0: true when its timer is to end, because it rests now or
    // was stopped; false when a rate came meanwhile and the timer goes on.
    bool rests();
    // The period the tick answers while its timer goes on.
    uint32_t period() const { return periodMs_.load(); }

private:
    enum class Schedule { stopped, running, resting };

    uint32_t delayToPhase(uint32_t now) const;

    Engine& engine_;
    // The tick rests by moving running to resting and a wake by moving resting to running, each by
    // compare-exchange, so exactly one of them wins a race and one timer runs at most. Both write
    // before they read what the other writes (a rate, the schedule), in sequentially consistent
    // order, so at least one of them sees the other: no rate is left without a tick.
    std::atomic<Schedule> schedule_{Schedule::stopped};
    std::atomic<TimerSource*> source_{nullptr}; // the source the timer was started on
    std::atomic<int> timerId_{0};
    std::atomic<uint32_t> periodMs_{mouseTimerIntervalMs};
    std::atomic<uint32_t> lastTickMs_{0}; // when the last tick began (or the timer started)
};

} // namespace padloom

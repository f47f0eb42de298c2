// SPDX-License-Identifier: GPL-3.0-or-later
// The timers that drive the engine's motion tick.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace padloom {

// Same shape as SDL_TimerCallback: returns the interval until the next call, or 0 to end the timer.
using TimerCallback = uint32_t (*)(uint32_t interval, void* param);

class TimerSource {
public:
    virtual ~TimerSource() = default;
    // Starts a timer whose first call comes after intervalMs and each next one after what the call
    // before answered; returns its id (0 when it could not be started). A timer whose callback
    // answers 0 has ended: its id is spent, and remove() of it does nothing.
    virtual int add(uint32_t intervalMs, TimerCallback callback, void* param) = 0;
    // Stops it; once this returns, the callback is not running and will not run again. Not to be
    // called from the callback itself.
    virtual void remove(int id) = 0;
};

// When a timer that was due at due, whose call began at began and answered intervalMs, is due
// next: whole intervals after due, so neither the thread's late wakes nor the time calls take add
// up (a call that ends after the next due time is followed at once). A call that began more than
// an interval late skips the calls it missed and keeps its phase.
std::chrono::steady_clock::time_point nextDueTime(std::chrono::steady_clock::time_point due,
                                                  uint32_t intervalMs,
                                                  std::chrono::steady_clock::time_point began);

// The timer thread's name (ps -L, top -H, and the bench's share of it).
constexpr const char* timerThreadName = "padloom-timers";
// The time slice the timer thread asks the scheduler for, in nanoseconds. A thread with a short
// slice gets the core sooner after it wakes (the kernel's fair scheduler, from Linux 6.12; older
// kernels ignore it), so a busy core delays a tick less. No privilege is needed.
constexpr uint64_t timerThreadSliceNs = 100'000;

// The kernel's struct sched_attr, which sched_getattr and sched_setattr take (glibc declares no
// wrapper before 2.41, and <linux/sched/types.h> clashes with <sched.h>); read by its size.
struct SchedAttributes {
    uint32_t size = sizeof(SchedAttributes);
    uint32_t policy = 0;
    uint64_t flags = 0;
    int32_t nice = 0;
    uint32_t priority = 0;
    uint64_t runtime = 0; // for the fair scheduler: the time slice asked for, in nanoseconds
    uint64_t deadline = 0;
    uint64_t period = 0;
};

// The engine's timer source unless another is set: its timers run on one thread of its own,
// started on the first add and ended with the source, which sleeps to the microsecond until the
// next timer is due (SDL's timers count whole milliseconds from the moment a call began, so each
// period came up to a millisecond long or short of the interval).
class SteadyTimerSource final : public TimerSource {
public:
    // No call of a timer begins sooner than restMs after the call before it began.
    explicit SteadyTimerSource(uint32_t restMs = 0) : rest_(restMs) {}
    ~SteadyTimerSource() override;
    SteadyTimerSource(const SteadyTimerSource&) = delete;
    SteadyTimerSource& operator=(const SteadyTimerSource&) = delete;

    int add(uint32_t intervalMs, TimerCallback callback, void* param) override;
    void remove(int id) override;

private:
    using SteadyClock = std::chrono::steady_clock;

    struct Timer {
        int id;
        SteadyClock::time_point due;       // on the timer's phase
        SteadyClock::time_point notBefore; // the rest after the call before
        uint32_t intervalMs;
        TimerCallback callback;
        void* param;
    };

    void run();
    std::vector<Timer>::iterator find(int id);
    std::vector<Timer>::iterator nextDue();
    static SteadyClock::time_point startOf(const Timer& timer) {
        return std::max(timer.due, timer.notBefore);
    }
    void callDue(std::unique_lock<std::mutex>& hold, Timer timer);

    const std::chrono::milliseconds rest_;
    std::mutex lock_;
    std::condition_variable changed_; // a timer came, went or was called; or the source ends
    std::vector<Timer> timers_;
    int lastId_ = 0;
    int calling_ = 0; // the timer whose callback runs now
    bool ending_ = false;
    std::thread thread_;
};

} // namespace padloom

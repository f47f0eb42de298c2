// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timer_source.h"

#include <algorithm>
#include <climits>
#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace padloom {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Keeps the thread's policy and nice value; a kernel that refuses leaves the thread as it was.
void askForShortSlice() {
    SchedAttributes attributes;
    if (syscall(SYS_sched_getattr, 0, &attributes, sizeof attributes, 0) != 0 ||
        attributes.policy != SCHED_OTHER) {
        return;
    }
    attributes.runtime = timerThreadSliceNs;
    [[maybe_unused]] const long result = syscall(SYS_sched_setattr, 0, &attributes, 0);
}

} // namespace

SteadyClock::time_point nextDueTime(SteadyClock::time_point due, uint32_t intervalMs,
                                    SteadyClock::time_point began) {
    const std::chrono::milliseconds interval(intervalMs);
    const SteadyClock::time_point next = due + interval;
    if (next >= began) {
        return next;
    }
    return next + interval * ((began - next) / interval + 1);
}

SteadyTimerSource::~SteadyTimerSource() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

int SteadyTimerSource::add(uint32_t intervalMs, TimerCallback callback, void* param) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { run(); });
    }
    lastId_ = lastId_ == INT_MAX ? 1 : lastId_ + 1;
    const SteadyClock::time_point now = SteadyClock::now();
    timers_.push_back(
        {lastId_, now + std::chrono::milliseconds(intervalMs), now, intervalMs, callback, param});
    changed_.notify_all();
    return lastId_;
}

void SteadyTimerSource::remove(int id) {
    std::unique_lock<std::mutex> hold(lock_);
    const auto timer = find(id);
    if (timer != timers_.end()) {
        timers_.erase(timer);
    }
    changed_.wait(hold, [&] { return calling_ != id; });
}

std::vector<SteadyTimerSource::Timer>::iterator SteadyTimerSource::find(int id) {
    return std::find_if(timers_.begin(), timers_.end(), [id](const Timer& timer) { return timer.id == id; });
}

std::vector<SteadyTimerSource::Timer>::iterator SteadyTimerSource::nextDue() {
    return std::min_element(timers_.begin(), timers_.end(),
                            [](const Timer& a, const Timer& b) { return startOf(a) < startOf(b); });
}

void SteadyTimerSource::run() {
    pthread_setname_np(pthread_self(), timerThreadName);
    askForShortSlice();
    std::unique_lock<std::mutex> hold(lock_);
    while (!ending_) {
        const auto next = nextDue();
        if (next == timers_.end()) {
            changed_.wait(hold);
        } else if (SteadyClock::now() < startOf(*next)) {
            changed_.wait_until(hold, startOf(*next));
        } else {
            callDue(hold, *next);
        }
    }
}

// Calls the timer without the lock, so that the callback may add timers and others may remove
// theirs meanwhile; the timer's remove waits for the call to end.
void SteadyTimerSource::callDue(std::unique_lock<std::mutex>& hold, Timer timer) {
    calling_ = timer.id;
    hold.unlock();
    const SteadyClock::time_point began = SteadyClock::now();
    const uint32_t answer = timer.callback(timer.intervalMs, timer.param);
    hold.lock();
    calling_ = 0;
    const auto called = find(timer.id);
    if (called != timers_.end() && answer == 0) {
        timers_.erase(called);
    } else if (called != timers_.end()) {
        called->intervalMs = answer;
        called->due = nextDueTime(called->due, answer, began);
        called->notBefore = began + rest_;
    }
    changed_.notify_all();
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's operations run one at a time. An operation may wait (for a page's script
// value, a modal panel, a capture), and the main loop keeps running meanwhile; a menu action, a
// page's call or a timer that arrives then waits in this queue and runs once the operation in
// progress has returned, in the order they came.
#pragma once

#include "app/ui/main_loop.h"

#include <deque>
#include <functional>
#include <memory>

namespace padloom {

class OperationQueue {
public:
    explicit OperationQueue(MainLoop& loop) : loop_(&loop) {}
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    // Runs op at once when no operation is in progress, else after those before it.
    void run(std::function<void()> op);
    // Runs op from the main loop, never from inside this call (for callers that must return
    // first, such as a web view's signal handlers).
    void post(std::function<void()> op);
    // True while an operation runs.
    bool busy() const { return busy_; }

private:
    void drain();

    MainLoop* loop_;
    std::deque<std::function<void()>> pending_;
    bool busy_ = false;
    bool drainScheduled_ = false;
    // Tells a scheduled drain whether the queue still exists.
    std::shared_ptr<OperationQueue*> self_ = std::make_shared<OperationQueue*>(this);
};

} // namespace padloom

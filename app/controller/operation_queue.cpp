// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/controller/operation_queue.h"

namespace padloom {

void OperationQueue::run(std::function<void()> op) {
    pending_.push_back(std::move(op));
    drain();
}

void OperationQueue::post(std::function<void()> op) {
    pending_.push_back(std::move(op));
    if (busy_ || drainScheduled_) {
        return; // the drain in progress or the one scheduled takes it
    }
    drainScheduled_ = true;
    loop_->runLater(0, [queue = std::weak_ptr<OperationQueue*>(self_)] {
        if (const std::shared_ptr<OperationQueue*> alive = queue.lock()) {
            (*alive)->drainScheduled_ = false;
            (*alive)->drain();
        }
    });
}

void OperationQueue::drain() {
    if (busy_) {
        return;
    }
    busy_ = true;
    while (!pending_.empty()) {
        std::function<void()> op = std::move(pending_.front());
        pending_.pop_front();
        op();
    }
    busy_ = false;
}

} // namespace padloom

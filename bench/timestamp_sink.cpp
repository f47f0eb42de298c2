// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/timestamp_sink.h"

namespace padloom::bench {

void TimestampSink::postKeyboard(uint16_t, bool, std::optional<uint64_t>) {
    const SteadyTime now = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        keyTimes_.push_back(now);
    }
    arrived_.notify_all();
}

void TimestampSink::postMouse(MouseEventType type, float, float, int32_t, int32_t, int64_t, int64_t) {
    if (type != MouseEventType::mouseMoved) {
        return;
    }
    const SteadyTime now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    if (recordMotion_) {
        motionTimes_.push_back(now);
    }
}

std::optional<SteadyTime> TimestampSink::waitForKeyEvents(size_t count, SteadyTime deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!arrived_.wait_until(lock, deadline, [&] { return keyTimes_.size() >= count; })) {
        return std::nullopt;
    }
    return keyTimes_[count - 1];
}

size_t TimestampSink::keyEvents() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return keyTimes_.size();
}

void TimestampSink::recordMotion(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    recordMotion_ = on;
}

std::vector<SteadyTime> TimestampSink::motionTimes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return motionTimes_;
}

} // namespace padloom::bench

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/manual_timer_source.h"

#include <cstddef>

namespace padloom {

int ManualTimerSource::add(uint32_t intervalMs, TimerCallback callback, void* param) {
    timers_.push_back({intervalMs, callback, param, true});
    return static_cast<int>(timers_.size());
}

void ManualTimerSource::remove(int id) {
    if (id >= 1 && static_cast<std::size_t>(id) <= timers_.size()) {
        timers_[static_cast<std::size_t>(id) - 1].live = false;
    }
}

int ManualTimerSource::tick() {
    int ran = 0;
    // By index: a callback may start another timer, which runs from the next tick on.
    const std::size_t count = timers_.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!timers_[i].live) {
            continue;
        }
        lastInterval_ = timers_[i].callback(timers_[i].intervalMs, timers_[i].param);
        ++ran;
        if (lastInterval_ == 0) {
            timers_[i].live = false;
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

} // namespace padloom

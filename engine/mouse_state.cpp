// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mouse_state.h"

#include "engine/clock.h"
#include "engine/motion_timer.h"

#include <algorithm>

namespace padloom {
namespace {

float gainAt(float factor, uint32_t rampMs, uint32_t sinceMs, uint32_t nowMs) {
    // A start a moment ahead of this clock's reading (another thread's) counts as now.
    const auto elapsed = static_cast<uint32_t>(std::max(static_cast<int32_t>(nowMs - sinceMs), 0));
    if (elapsed >= rampMs) {
        return factor;
    }
    return 1 + (factor - 1) * (static_cast<float>(elapsed) / static_cast<float>(rampMs));
}

} // namespace

float MotionRate::load() const {
    const float rate = value_.load();
    const float factor = gainFactor_.load(std::memory_order_relaxed);
    if (factor == 1 || rate == 0) {
        return rate;
    }
    return rate * gainAt(factor, gainRampMs_.load(std::memory_order_relaxed),
                         gainSinceMs_.load(std::memory_order_relaxed), clock_->nowMs());
}

void MotionRate::store(float rate, const RateGain& gain) {
    gainFactor_.store(gain.factor, std::memory_order_relaxed);
    gainRampMs_.store(gain.rampMs, std::memory_order_relaxed);
    gainSinceMs_.store(gain.sinceMs, std::memory_order_relaxed);
    value_.store(rate);
    // Not-equal rather than equal, so that a rate that is no number wakes the timer too.
    if (!(rate == 0)) {
        timer_.wake();
    }
}

MotionRate* MouseState::rateOf(OutputKind kind, int32_t code) {
    if (kind == OutputKind::mouseMotion) {
        return code == 0 ? &motionX : &motionY;
    }
    if (kind == OutputKind::wheel) {
        return code == 0 ? &wheelX : &wheelY;
    }
    return nullptr;
}

void MouseState::reset() {
    for (int i = 0; i < mouseButtonCount; ++i) {
        buttonDown[i] = 0;
        clickCount[i] = 0;
    }
    motionX = 0;
    motionY = 0;
    wheelX = 0;
    wheelY = 0;
}

bool MouseState::still() const {
    return motionX.load() == 0 && motionY.load() == 0 && wheelX.load() == 0 && wheelY.load() == 0;
}

} // namespace padloom

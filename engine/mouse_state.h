// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's shared mouse state: which mouse buttons binds hold, their click counting, and the
// motion and wheel rates that the motion tick turns into events.
#pragma once

#include "engine/seam.h"
#include "preset/bind_records.h"

#include <atomic>
#include <cstdint>

namespace padloom {

class Clock;
class MotionTimer;

constexpr int mouseButtonCount = 8;

// How a rate set by an accelerating stick grows: from 1 at sinceMs to factor rampMs later, in a
// straight line, on the engine's clock. A factor of 1 leaves the rate as it was set.
struct RateGain {
    float factor = 1;
    uint32_t rampMs = 0;
    uint32_t sinceMs = 0;
};

// A motion or wheel rate, in pixels per motion tick. A rate that becomes non-zero wakes the motion
// timer if it rests (engine/motion_timer.h).
class MotionRate {
public:
    MotionRate(MotionTimer& timer, Seam<Clock>& clock) : timer_(timer), clock_(clock) {}
    MotionRate(const MotionRate&) = delete;
    MotionRate& operator=(const MotionRate&) = delete;

    // The rate as of now: the rate stored, times its gain at this moment.
    float load() const;
    void store(float rate) { store(rate, RateGain{}); }
    void store(float rate, const RateGain& gain);
    MotionRate& operator=(float rate) {
        store(rate);
        return *this;
    }

private:
    std::atomic<float> value_{0};
    // Written before the value and read after it, so a tick that sees a value sees its gain, or one
    // written later.
    std::atomic<float> gainFactor_{1};
    std::atomic<uint32_t> gainRampMs_{0};
    std::atomic<uint32_t> gainSinceMs_{0};
    MotionTimer& timer_;
    Seam<Clock>& clock_;
};

struct MouseState {
    // The rates wake this timer, and grow on this clock.
    MouseState(MotionTimer& timer, Seam<Clock>& clock)
        : motionX(timer, clock), motionY(timer, clock), wheelX(timer, clock), wheelY(timer, clock) {}

    // Written by the evaluation on the polling thread, read by the motion tick on the timer thread:
    // each value is written whole, so a tick sees either the old or the new one.
    std::atomic<uint8_t> buttonDown[mouseButtonCount] = {}; // bit 0 set while a bind holds button i
    // Touched only by the evaluation (and by deinit, which the activation lock keeps apart from it).
    uint8_t clickCount[mouseButtonCount] = {};
    uint32_t lastButtonTime[mouseButtonCount] = {};
    MotionRate motionX, motionY; // cursor pixels per motion tick
    MotionRate wheelX, wheelY;   // wheel pixels per motion tick

    // The rate an output of kind mouseMotion or wheel drives: code 0 the horizontal one, any other
    // the vertical; null for the other kinds.
    MotionRate* rateOf(OutputKind kind, int32_t code);
    // Clears held buttons, click counts and the four rates (deinit).
    void reset();
    // True while every rate is 0: a tick then posts nothing.
    bool still() const;
};

} // namespace padloom

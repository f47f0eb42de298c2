// The engine's shared mouse state: which mouse buttons binds hold, their click counting, and the
// motion and wheel rates that the motion tick turns into events.
#pragma once

#include <atomic>
#include <cstdint>

namespace padloom {

class MotionTimer;

constexpr int mouseButtonCount = 8;

// A motion or wheel rate, in pixels per motion tick. A rate that becomes non-zero wakes the motion
// timer if it rests (engine/motion_timer.h).
class MotionRate {
public:
    explicit MotionRate(MotionTimer& timer) : timer_(timer) {}
    MotionRate(const MotionRate&) = delete;
    MotionRate& operator=(const MotionRate&) = delete;

    float load() const { return value_.load(); }
    void store(float rate);
    MotionRate& operator=(float rate) {
        store(rate);
        return *this;
    }

private:
    std::atomic<float> value_{0};
    MotionTimer& timer_;
};

struct MouseState {
    // The rates wake this timer.
    explicit MouseState(MotionTimer& timer) : motionX(timer), motionY(timer), wheelX(timer), wheelY(timer) {}

    // Written by the evaluation on the polling thread, read by the motion tick on the timer thread:
    // each value is written whole, so a tick sees either the old or the new one.
    std::atomic<uint8_t> buttonDown[mouseButtonCount] = {}; // bit 0 set while a bind holds button i
    // Touched only by the evaluation (and by deinit, which the activation lock keeps apart from it).
    uint8_t clickCount[mouseButtonCount] = {};
    uint32_t lastButtonTime[mouseButtonCount] = {};
    MotionRate motionX, motionY; // cursor pixels per motion tick
    MotionRate wheelX, wheelY;   // wheel pixels per motion tick

    // Clears held buttons, click counts and the four rates (deinit).
    void reset();
    // True while every rate is 0: a tick then posts nothing.
    bool still() const;
};

} // namespace padloom

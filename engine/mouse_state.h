// The engine's shared mouse state: which mouse buttons binds hold, their click counting, and the
// motion and wheel rates that the motion tick turns into events.
#pragma once

#include <atomic>
#include <cstdint>

namespace padloom {

constexpr int mouseButtonCount = 8;

struct MouseState {
    // Written by the evaluation on the polling thread, read by the motion tick on the timer thread:
    // each value is written whole, so a tick sees either the old or the new one.
    std::atomic<uint8_t> buttonDown[mouseButtonCount] = {}; // bit 0 set while a bind holds button i
    // Touched only by the evaluation (and by deinit, which the activation lock keeps apart from it).
    uint8_t clickCount[mouseButtonCount] = {};
    uint32_t lastButtonTime[mouseButtonCount] = {};
    std::atomic<float> motionX{0}, motionY{0}; // cursor pixels per motion tick
    std::atomic<float> wheelX{0}, wheelY{0};   // wheel pixels per motion tick

    // Clears held buttons, click counts and the four rates (deinit).
    void reset();
};

extern MouseState mouseState;

} // namespace padloom

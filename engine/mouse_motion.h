// The motion tick: every 10 ms it scrolls by the wheel rates and moves the cursor by the motion
// rates of mouseState, confined by screenGeometry, as drags while a bind holds a mouse button.
#pragma once

#include <atomic>
#include <cstdint>

namespace padloom {

// The Minecraft fix option: while the cursor is hidden, motion is posted as deltas only, at the
// cursor's current position. Written on the main thread, read by the tick.
extern std::atomic<bool> minecraftFix;

constexpr uint32_t mouseTimerIntervalMs = 10;

// The timer's callback: one tick. Answers the timer's period, or 0 when the timer rests or was
// stopped (engine/motion_timer.h).
uint32_t mouseTimerTick(uint32_t interval, void* parameter);
void moveMouse(float dx, float dy);
int firstHeldButton();

} // namespace padloom

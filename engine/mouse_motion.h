// SPDX-License-Identifier: GPL-3.0-or-later
// The motion tick: every 10 ms it scrolls by the wheel rates and moves the cursor by the motion
// rates of the engine's mouseState, confined by its screenGeometry, as drags while a bind holds a
// mouse button.
#pragma once

#include "engine/motion_timer.h"

#include <cstdint>

namespace padloom {

class Engine;
struct MouseState;

// The timer's callback: one tick of the Engine that parameter points to. Answers the timer's
// period, or 0 when the timer rests or was stopped (engine/motion_timer.h).
uint32_t mouseTimerTick(uint32_t interval, void* parameter);
// The tick's first step: turbo pulses and sequence steps of the active preset's pads.
void tickInputRoles(Engine& engine);
void moveMouse(Engine& engine, float dx, float dy);
int firstHeldButton(const MouseState& mouseState);

} // namespace padloom

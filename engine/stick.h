// SPDX-License-Identifier: GPL-3.0-or-later
// How a stick's position becomes the output of its cursor and wheel binds: dead zones, response
// curve and acceleration. Key, mouse-button and wheel-step binds on the same axes go by the axis's
// own value and switch threshold, as on every other axis.
#pragma once

#include "preset/stick_settings.h"

#include <cstdint>

namespace padloom {

// What a stick's position makes: the output of each axis, from -1 to 1 (a trigger's from 0 to 1),
// and the stick's deflection between its dead zones, from 0 to 1, which acceleration watches.
struct StickOutput {
    float components[2] = {0, 0};
    float deflection = 0;
};

// positions: each axis's value from -1 to 1 (x, then y for a pair), before any dead zone.
StickOutput shapeStick(const StickSettings& settings, const float positions[2]);

// An axis's raw value from -1 to 1: -32768 reads as -32767, so that both ends of the travel reach
// the same magnitude.
float axisPosition(int16_t rawValue);

} // namespace padloom

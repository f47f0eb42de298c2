// SPDX-License-Identifier: GPL-3.0-or-later
// Sticks: their shaping, and the evaluation of their cursor and wheel binds. Runs on the polling
// thread; allocates nothing while events are evaluated.
#include "engine/stick.h"

#include "engine/engine.h"
#include "engine/joystick_map.h"

#include <algorithm>
#include <cmath>

namespace padloom {
namespace {

constexpr float axisScale = 32767.0f;

// A magnitude from 0 to 1 (or more, a pair's length towards a corner) as the deflection between
// the dead zones: 0 up to the inner one, 1 from the outer one on.
float rescaled(float magnitude, const StickSettings& settings) {
    if (!(magnitude > settings.deadZone)) {
        return 0;
    }
    const float travel = 1.0f - settings.outerDeadZone - settings.deadZone;
    return std::min((magnitude - settings.deadZone) / travel, 1.0f);
}

float curved(float deflection, const StickSettings& settings) {
    return settings.curve == 1 ? deflection : std::pow(deflection, settings.curve);
}

// One axis on its own: the same value as an axis that no stick names, with the default settings.
float axial(float position, const StickSettings& settings) {
    return std::copysign(curved(rescaled(std::fabs(position), settings), settings), position);
}

StickOutput shapePair(const StickSettings& settings, float x, float y) {
    StickOutput output;
    const float length = std::sqrt(x * x + y * y);
    output.deflection = rescaled(length, settings);
    if (settings.deadZoneShape == DeadZoneShape::axial) {
        output.components[0] = axial(x, settings);
        output.components[1] = axial(y, settings);
    } else if (output.deflection > 0) {
        // The direction stays as the stick points; only the length is shaped.
        const float shaped = curved(output.deflection, settings);
        output.components[0] = x / length * shaped;
        output.components[1] = y / length * shaped;
    }
    return output;
}

// The gain its rates get now; starts the acceleration when the deflection comes to where it begins
// and ends it at once when the deflection drops below.
RateGain gainOf(Stick& stick, float deflection, Engine& engine) {
    const StickSettings& settings = stick.settings;
    if (!settings.accelerates() || deflection < settings.accelerationFrom) {
        stick.accelerating = false;
        return {};
    }
    if (!stick.accelerating) {
        stick.accelerating = true;
        stick.acceleratingSinceMs = engine.clock->nowMs();
    }
    return {settings.accelerationFactor, settings.accelerationRampMs, stick.acceleratingSinceMs};
}

} // namespace

float axisPosition(int16_t rawValue) {
    const int32_t raw = rawValue == INT16_MIN ? -32767 : rawValue;
    return static_cast<float>(raw) / axisScale;
}

StickOutput shapeStick(const StickSettings& settings, const float positions[2]) {
    StickOutput output;
    switch (settings.axes) {
    case StickAxes::pair:
        return shapePair(settings, positions[0], positions[1]);
    case StickAxes::single:
        output.deflection = rescaled(std::fabs(positions[0]), settings);
        output.components[0] = axial(positions[0], settings);
        return output;
    case StickAxes::trigger:
        // From -1 at rest to 1 pressed home: its travel is from 0 to 1.
        output.deflection = rescaled((positions[0] + 1) * 0.5f, settings);
        output.components[0] = curved(output.deflection, settings);
        return output;
    }
    return output;
}

void JoystickMap::setSticks(const std::vector<StickSettings>& settings) {
    sticks.clear();
    axisSticks.reset();
    const auto has = [this](uint32_t axis) { return axis < static_cast<uint32_t>(std::max(axisCount, 0)); };
    for (const StickSettings& stick : settings) {
        if (has(stick.x) && (stick.axisCount() == 1 || has(stick.y))) {
            sticks.emplace_back().settings = stick;
        }
    }
    if (sticks.empty()) {
        return;
    }
    axisSticks = std::make_unique<int32_t[]>(static_cast<size_t>(axisCount));
    std::fill_n(axisSticks.get(), axisCount, -1);
    for (size_t i = 0; i < sticks.size(); ++i) {
        const auto first = static_cast<int32_t>(2 * i);
        axisSticks[sticks[i].settings.x] = first;
        if (sticks[i].settings.axisCount() == 2) {
            axisSticks[sticks[i].settings.y] = first + 1;
        }
    }
}

Stick* JoystickMap::stickOf(uint32_t axis, int& slot) {
    if (!axisSticks || axis >= static_cast<uint32_t>(axisCount) || axisSticks[axis] < 0) {
        return nullptr;
    }
    slot = axisSticks[axis] & 1;
    return &sticks[static_cast<size_t>(axisSticks[axis] >> 1)];
}

void JoystickMap::moveStick(uint32_t axis, int16_t rawValue) {
    int slot = 0;
    if (Stick* stick = stickOf(axis, slot)) {
        stick->positions[slot] = axisPosition(rawValue);
        evaluateStick(*stick);
    }
}

// Both axes' binds at every event of either: on a round dead zone, and as acceleration starts or
// ends, one axis's output changes with the other's position.
void JoystickMap::evaluateStick(Stick& stick) {
    const StickOutput output = shapeStick(stick.settings, stick.positions);
    const RateGain gain = gainOf(stick, output.deflection, engine_);
    // Binds turn off before others turn on, so that a stick flicked across its centre in one event
    // is left with the rate of the half it went to, not 0.
    for (int slot = 0; slot < 2; ++slot) {
        for (AxisBind& bind : stick.binds[slot]) {
            if (bind.active &&
                !(static_cast<float>(bind.direction) * output.components[slot] > bind.threshold)) {
                bind.active = false;
                engine_.mouseState.rateOf(bind.kind, bind.code)->store(0.0f);
            }
        }
    }
    for (int slot = 0; slot < 2; ++slot) {
        for (AxisBind& bind : stick.binds[slot]) {
            const float deflection = static_cast<float>(bind.direction) * output.components[slot];
            if (deflection > bind.threshold) {
                bind.active = true;
                engine_.mouseState.rateOf(bind.kind, bind.code)
                    ->store((static_cast<float>(bind.sign) * deflection) * bind.amount, gain);
            }
        }
    }
}

// Every stick back to rest (a trigger to -1), as the player would let go.
void JoystickMap::releaseSticks() {
    for (Stick& stick : sticks) {
        stick.positions[0] = stick.settings.axes == StickAxes::trigger ? -1.0f : 0.0f;
        stick.positions[1] = 0;
        evaluateStick(stick);
    }
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/joystick_map.h"

#include "engine/key_code_table.h"
#include "engine/mouse_state.h"
#include "preset/output_kinds.h"

#include <algorithm>

namespace padloom {
namespace {

constexpr float switchThreshold = axisSwitchThreshold;
constexpr float rateThreshold = 0.0f;

float thresholdFor(OutputKind kind) {
    return isRate(kind) ? rateThreshold : switchThreshold;
}

// Key and mouse-button outputs index fixed tables when they fire; numbers past those tables would
// read and write out of bounds, so such binds are refused like binds on a missing control.
bool outputFits(const BindOutput& output) {
    const OutputKindRow* row = outputKindRow(output.kind);
    if (row == nullptr) {
        return true; // no kind: attached, and passed over by the evaluation
    }
    switch (row->codes) {
    case OutputCodes::keyNumber:
        return output.code < keyCodeTableSize;
    case OutputCodes::mouseButton:
        return output.code < static_cast<uint32_t>(mouseButtonCount);
    case OutputCodes::axis:
        return true;
    }
    return true;
}

bool below(uint32_t index, int32_t count) {
    return count > 0 && index < static_cast<uint32_t>(count);
}

template <typename T> std::unique_ptr<T[]> arrayOf(int32_t count) {
    return count > 0 ? std::make_unique<T[]>(static_cast<size_t>(count)) : nullptr;
}

} // namespace

JoystickMap::~JoystickMap() {
    if (joystick) {
        SDL_JoystickClose(joystick);
    }
}

void JoystickMap::open(int index) {
    if (joystick) {
        SDL_JoystickClose(joystick);
        joystick = nullptr;
    }
    deviceIndex = index;
    joystick = SDL_JoystickOpen(index);
    // SDL answers -1 for a handle it cannot query; a negative count would defeat the range checks.
    hatCount = joystick ? std::max(SDL_JoystickNumHats(joystick), 0) : 0;
    axisCount = joystick ? std::max(SDL_JoystickNumAxes(joystick), 0) : 0;
    buttonCount = joystick ? std::max(SDL_JoystickNumButtons(joystick), 0) : 0;
    instanceId = joystick ? SDL_JoystickInstanceID(joystick) : SDL_JoystickGetDeviceInstanceID(index);
    guid = joystick ? SDL_JoystickGetGUID(joystick) : SDL_JoystickGUID{};

    hatBinds = arrayOf<std::vector<HatBind>>(hatCount);
    axisValues = arrayOf<float>(axisCount);
    axisBinds = arrayOf<std::vector<AxisBind>>(axisCount);
    axisDeadZones = arrayOf<float>(axisCount);
    buttonBinds = arrayOf<std::vector<ButtonBind>>(buttonCount);
    buttonStates = arrayOf<uint8_t>(buttonCount);
    hatValues = arrayOf<uint8_t>(hatCount);
}

bool JoystickMap::attachBind(const BindInput& input, const BindOutput& output, uint8_t set) {
    if (!outputFits(output)) {
        return false;
    }
    const auto code = static_cast<int32_t>(output.code);
    switch (input.kind) {
    case InputKind::button:
        if (!below(input.index, buttonCount)) {
            return false;
        }
        buttonBinds[input.index].push_back({output.kind, code, output.sign, output.amount, set});
        return true;
    case InputKind::axis:
        return attachAxisBind(input.index, input.direction, output, set);
    case InputKind::hat:
        if (!below(input.index, hatCount)) {
            return false;
        }
        hatBinds[input.index].push_back({output.kind, code, output.sign, output.amount, false,
                                         static_cast<uint32_t>(input.direction), set});
        return true;
    default:
        return false;
    }
}

bool JoystickMap::attachAxisBind(uint32_t axis, int32_t direction, const BindOutput& output, uint8_t set) {
    if (!outputFits(output) || !below(axis, axisCount)) {
        return false;
    }
    const AxisBind bind{output.kind, static_cast<int32_t>(output.code), output.sign, output.amount,
                        false,       thresholdFor(output.kind),         direction,   set};
    // A stick shapes the section's own cursor and wheel binds; a layer's go through its roles.
    int slot = 0;
    Stick* stick = set == 0 && isRate(output.kind) ? stickOf(axis, slot) : nullptr;
    (stick != nullptr ? stick->binds[slot] : axisBinds[axis]).push_back(bind);
    return true;
}

void JoystickMap::setAxisDeadZone(uint32_t axis, float value) {
    if (below(axis, axisCount)) {
        axisDeadZones[axis] = value;
    }
}

} // namespace padloom

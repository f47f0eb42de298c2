// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/control_names.h"

#include <algorithm>
#include <array>

namespace padloom {
namespace {

constexpr size_t familyCount = 3;

// Indexed by SDL_GameControllerButton, up to and including the touchpad.
using ButtonLabels = std::array<std::string_view, SDL_CONTROLLER_BUTTON_MAX>;

// SDL names the face buttons by position (A is the bottom one); a Nintendo pad prints B at the
// bottom, A on the right, Y on the left and X on top.
constexpr std::array<ButtonLabels, familyCount> buttonLabels = {{
    {"A",
     "B",
     "X",
     "Y",
     "Back",
     "Guide",
     "Start",
     "Left stick press",
     "Right stick press",
     "Left bumper",
     "Right bumper",
     "D-pad up",
     "D-pad down",
     "D-pad left",
     "D-pad right",
     "Share",
     "Paddle 1",
     "Paddle 2",
     "Paddle 3",
     "Paddle 4",
     "Touchpad"},
    {"Cross",       "Circle", "Square",   "Triangle", "Share",    "PS",         "Options",
     "L3",          "R3",     "L1",       "R1",       "D-pad up", "D-pad down", "D-pad left",
     "D-pad right", "Mute",   "Paddle 1", "Paddle 2", "Paddle 3", "Paddle 4",   "Touchpad"},
    {"B",
     "A",
     "Y",
     "X",
     "Minus",
     "Home",
     "Plus",
     "Left stick press",
     "Right stick press",
     "L",
     "R",
     "D-pad up",
     "D-pad down",
     "D-pad left",
     "D-pad right",
     "Capture",
     "Paddle 1",
     "Paddle 2",
     "Paddle 3",
     "Paddle 4",
     "Touchpad"},
}};

struct AxisHalves {
    std::string_view minus;
    std::string_view plus;
};

constexpr std::array<AxisHalves, 4> stickHalves = {{
    {"Left stick left", "Left stick right"},
    {"Left stick up", "Left stick down"},
    {"Right stick left", "Right stick right"},
    {"Right stick up", "Right stick down"},
}};

// Left and right trigger, which rest at one end and move to the other ("+").
constexpr std::array<std::array<std::string_view, 2>, familyCount> triggerLabels = {{
    {"Left trigger", "Right trigger"},
    {"L2", "R2"},
    {"ZL", "ZR"},
}};

// SDL's hat bits, up 1, right 2, down 4, left 8, with their letters in input texts.
constexpr std::array<std::pair<uint8_t, char>, 4> hatDirections = {
    {{SDL_HAT_UP, 'U'}, {SDL_HAT_RIGHT, 'R'}, {SDL_HAT_DOWN, 'D'}, {SDL_HAT_LEFT, 'L'}}};

size_t row(PadFamily family) {
    return static_cast<size_t>(family);
}

void add(ControlNames& names, std::string input, std::string_view label) {
    if (label.empty()) {
        return;
    }
    const bool known =
        std::any_of(names.begin(), names.end(), [&input](const auto& n) { return n.first == input; });
    if (!known) {
        names.emplace_back(std::move(input), std::string(label));
    }
}

// A control that SDL binds to a whole raw button or to hat bits. (An SDL binding to a raw axis does
// not say which half, so such a control stays unnamed.)
void addBinding(ControlNames& names, const SDL_GameControllerButtonBind& bind, std::string_view label) {
    if (bind.bindType == SDL_CONTROLLER_BINDTYPE_BUTTON) {
        add(names, "btn " + std::to_string(bind.value.button), label);
    } else if (bind.bindType == SDL_CONTROLLER_BINDTYPE_HAT) {
        for (const auto& [bit, letter] : hatDirections) {
            if (bind.value.hat.hat_mask == bit) {
                add(names, "hat " + std::to_string(bind.value.hat.hat) + ' ' + letter, label);
            }
        }
    }
}

} // namespace

PadFamily padFamily(SDL_GameControllerType type) {
    switch (type) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5:
        return PadFamily::playStation;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        return PadFamily::nintendo;
    default:
        return PadFamily::xbox;
    }
}

std::string_view controllerButtonLabel(PadFamily family, SDL_GameControllerButton button) {
    if (button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) {
        return {};
    }
    return buttonLabels[row(family)][static_cast<size_t>(button)];
}

std::string_view controllerAxisLabel(PadFamily family, SDL_GameControllerAxis axis, int direction) {
    if (axis >= SDL_CONTROLLER_AXIS_LEFTX && axis <= SDL_CONTROLLER_AXIS_RIGHTY) {
        const AxisHalves& halves = stickHalves[static_cast<size_t>(axis)];
        return direction < 0 ? halves.minus : halves.plus;
    }
    if ((axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) &&
        direction > 0) {
        return triggerLabels[row(family)][axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ? 0 : 1];
    }
    return {};
}

ControlNames controlNamesOf(int deviceIndex) {
    ControlNames names;
    if (!SDL_IsGameController(deviceIndex)) {
        return names;
    }
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) {
        return names;
    }
    const PadFamily family = padFamily(SDL_GameControllerGetType(pad));
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        const auto button = static_cast<SDL_GameControllerButton>(b);
        addBinding(names, SDL_GameControllerGetBindForButton(pad, button),
                   controllerButtonLabel(family, button));
    }
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) {
        const auto axis = static_cast<SDL_GameControllerAxis>(a);
        const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForAxis(pad, axis);
        if (bind.bindType == SDL_CONTROLLER_BINDTYPE_AXIS) {
            const std::string input = "axi " + std::to_string(bind.value.axis);
            add(names, input + " -", controllerAxisLabel(family, axis, -1));
            add(names, input + " +", controllerAxisLabel(family, axis, +1));
        } else {
            addBinding(names, bind, controllerAxisLabel(family, axis, +1));
        }
    }
    SDL_GameControllerClose(pad);
    return names;
}

std::vector<ControlNames> connectedControlNames() {
    std::vector<ControlNames> all;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        return all;
    }
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        all.push_back(controlNamesOf(i));
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    // Nobody reads game-controller events; those the look raised (pads added) are dropped.
    SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERSENSORUPDATE);
    return all;
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// The replay script: one command per line, read whole before anything runs.
//
//     device AXES BUTTONS HATS          a simulated joystick (devices 0, 1, ... in order)
//     displays WxH+X+Y ...              the display list, display 0 first
//     option lock|corners|minecraft on|off
//     cursor X Y | cursor hidden | cursor visible
//     button D N down|up   axis D N VALUE   hat D N VALUE
//     tick [COUNT]   wait MS   deactivate
//     unplug D   replug D   plug AXES BUTTONS HATS
//
// `#` starts a comment; blank lines are skipped.
#pragma once

#include <SDL.h>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace padloom::ctl {

enum class ReplayOp {
    device,
    displays,
    option,
    cursorAt,
    cursorHidden,
    cursorVisible,
    button,
    axis,
    hat,
    tick,
    wait,
    deactivate,
    unplug,
    replug,
    plug,
};

enum class ReplayOption { lock, corners, minecraft };

// The joystick counts of one simulated device.
struct DeviceShape {
    int axes = 8;
    int buttons = 32;
    int hats = 4;
};

struct ReplayLine {
    int number = 0; // line number in the script, from 1
    ReplayOp op = ReplayOp::deactivate;
    // device, plug: axes, buttons, hats. button/axis/hat: device, control, value (button: 1 down,
    // 0 up). unplug, replug: device. tick: count. wait: milliseconds.
    int64_t a = 0, b = 0, c = 0;
    float x = 0, y = 0;             // cursorAt
    ReplayOption option{};          // option
    bool on = false;                // option
    std::vector<SDL_Rect> displays; // displays, as written (display 0 need not be at the origin)

    bool isJoystickEvent() const {
        return op == ReplayOp::button || op == ReplayOp::axis || op == ReplayOp::hat;
    }
    // device, plug
    DeviceShape shape() const { return {static_cast<int>(a), static_cast<int>(b), static_cast<int>(c)}; }
    bool isHotplug() const {
        return op == ReplayOp::unplug || op == ReplayOp::replug || op == ReplayOp::plug;
    }
};

struct ReplayScript {
    std::vector<ReplayLine> lines;
};

struct ScriptError {
    int line = 0;
    std::string message; // without the "line N: " prefix
};

// Reads a whole script. On the first bad line, returns nothing and fills error.
std::optional<ReplayScript> parseReplayScript(std::string_view text, ScriptError& error);

// The devices a script asks for: its device lines, or, without any, one default device per preset
// section (at least one).
std::vector<DeviceShape> replayDevices(const ReplayScript& script, size_t presetSections);

// Checks, following the devices as they are unplugged, replugged and plugged, that every joystick
// event names a plugged device and a control it has, and that at most 16 devices are simulated.
std::optional<ScriptError> checkReplayEvents(const ReplayScript& script, std::vector<DeviceShape> devices);

} // namespace padloom::ctl

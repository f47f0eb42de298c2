// SPDX-License-Identifier: GPL-3.0-or-later
// The keys the engine's keyboard events name, as the two output backends know them: each virtual
// key code the engine posts, with its evdev code (uinput) and its X keysym (XTest, which then
// looks the keysym up in the user's keyboard map).
#pragma once

#include <cstdint>
#include <span>

namespace padloom {

struct KeyboardKey {
    uint16_t keyCode;   // the engine's virtual key code
    uint16_t evdevCode; // KEY_*
    uint32_t keysym;    // XK_* / XF86XK_*
    const char* name;
};

std::span<const KeyboardKey> keyboardKeys();
// Null for a code that names no key.
const KeyboardKey* findKeyboardKey(uint16_t keyCode);

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/joystick_listing.h"

#include <SDL.h>

namespace padloom {

std::vector<std::string> connectedJoystickNames() {
    std::vector<std::string> names;
    const int count = connectedJoystickCount();
    for (int i = 0; i < count; ++i) {
        const char* name = SDL_JoystickNameForIndex(i);
        names.emplace_back(name != nullptr ? name : "");
    }
    return names;
}

int connectedJoystickCount() {
    const int count = SDL_NumJoysticks();
    return count > 0 ? count : 0;
}

std::string joystickCountText(int count) {
    if (count <= 0) {
        return "No Joysticks Connected";
    }
    return std::to_string(count) + (count == 1 ? " Joystick" : " Joysticks") + " Connected";
}

std::string connectedJoysticksMessage(const std::vector<std::string>& names) {
    const size_t n = names.size();
    if (n == 0) {
        return "There are no Joysticks Connected.\n";
    }
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on chains of literal + string.
    std::string text = n == 1 ? "There is " : "There are ";
    text += std::to_string(n);
    text += n == 1 ? " Joystick Connected.\n\n" : " Joysticks Connected.\n\n";
    for (size_t k = 0; k < n; ++k) {
        text += '#';
        text += std::to_string(k + 1);
        text += " : ";
        text += names[k];
        text += '\n';
    }
    return text;
}

namespace {

// Whether the one reference that these two functions take on SDL's joystick subsystem is held:
// they never drop a reference that someone else took.
bool subsystemHeld = false;

} // namespace

void initJoystickSubSystem() {
    // SDL_Quit drops every reference, this one included.
    if (!subsystemHeld || SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
        subsystemHeld = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        // Stopping a preset turns SDL's joystick events off, and starting the subsystem again
        // does not turn them back on; the editor's live view and the listing need them.
        SDL_JoystickEventState(SDL_ENABLE);
    }
}

void deinitJoystickSubSystem() {
    if (subsystemHeld && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    subsystemHeld = false;
}

} // namespace padloom

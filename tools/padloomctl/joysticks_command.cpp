// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl joysticks: the listing of the desktop app's joystick alert, then one line per device
// with its counts and GUID.
#include "app/pads/joystick_listing.h"
#include "tools/padloomctl/commands.h"

#include <SDL.h>
#include <cstdio>

namespace padloom::ctl {
namespace {

void printDevice(int index) {
    char guid[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (joystick == nullptr) {
        std::printf("#%d axes=? buttons=? hats=? guid=%s\n", index + 1, guid);
        return;
    }
    std::printf("#%d axes=%d buttons=%d hats=%d guid=%s\n", index + 1, SDL_JoystickNumAxes(joystick),
                SDL_JoystickNumButtons(joystick), SDL_JoystickNumHats(joystick), guid);
    SDL_JoystickClose(joystick);
}

} // namespace

int joysticksCommand(const Args& args) {
    if (!args.empty()) {
        return usageError("joysticks takes no arguments");
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "padloomctl: can't start SDL's joystick support: %s\n", SDL_GetError());
        return exitFailed;
    }
    const std::vector<std::string> names = connectedJoystickNames();
    std::fputs(connectedJoysticksMessage(names).c_str(), stdout);
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        printDevice(i);
    }
    SDL_Quit();
    return exitOk;
}

} // namespace padloom::ctl

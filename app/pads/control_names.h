// SPDX-License-Identifier: GPL-3.0-or-later
// What the user calls a joystick's controls: for a pad that SDL's game-controller database knows
// (its built-in mappings and any in SDL_GAMECONTROLLERCONFIG), each raw button, axis half and hat
// direction gets the name printed on the pad, in the labels of its family. Bind texts never carry
// these names; they are shown beside the numbers only.
#pragma once

#include <SDL.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace padloom {

enum class PadFamily { xbox, playStation, nintendo };

// Xbox labels unless SDL says the pad is a PlayStation or a Nintendo one.
PadFamily padFamily(SDL_GameControllerType type);

// The label of a controller button ("A", "Cross", ...), or "" for one the family does not name.
std::string_view controllerButtonLabel(PadFamily family, SDL_GameControllerButton button);
// The label of one half of a controller axis: direction -1 or +1. Triggers have only "+".
std::string_view controllerAxisLabel(PadFamily family, SDL_GameControllerAxis axis, int direction);

// Input text ("btn 0", "axi 1 -", "hat 0 U") and the control's name, in controller order.
using ControlNames = std::vector<std::pair<std::string, std::string>>;

// The named controls of the joystick at a device index; none for a pad SDL does not know.
// Opens the pad as a game controller for the look, so SDL's joystick events must not belong to
// anyone else meanwhile (no active preset, no capture).
ControlNames controlNamesOf(int deviceIndex);
// The same for every connected joystick, in device order; starts SDL's game-controller support (and
// with it the database) for the look only. SDL's joystick subsystem must be up.
std::vector<ControlNames> connectedControlNames();

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that show which joysticks are connected: the main window's label and the listing
// alert (also printed by padloomctl joysticks).
// SDL's joystick subsystem must be running for the two queries.
#pragma once

#include <string>
#include <vector>

namespace padloom {

// Names of the connected joysticks in device-index order ("" for a device without a name).
std::vector<std::string> connectedJoystickNames();
// SDL_NumJoysticks, 0 when SDL reports an error.
int connectedJoystickCount();

// "No Joysticks Connected", "1 Joystick Connected", "3 Joysticks Connected".
std::string joystickCountText(int count);
// "There are 2 Joysticks Connected.\n\n#1 : A\n#2 : B\n", or "There are no Joysticks Connected.\n".
std::string connectedJoysticksMessage(const std::vector<std::string>& names);

// Takes one reference on SDL's joystick subsystem, starting it, unless that reference is held;
// taking it turns SDL's joystick events on.
void initJoystickSubSystem();
// Drops that reference, if held: the subsystem stops unless someone else holds it too.
void deinitJoystickSubSystem();

} // namespace padloom

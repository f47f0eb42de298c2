// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program runs once its shell has started and its remote control is attached.
// In padloom itself nothing (started_hook.cpp). A test build of the program links its own, which
// drives the shell from inside (a virtual joystick, an open edit), so that a test can try the
// program itself from outside: its signals, its quitting, its bus.
#pragma once

namespace padloom {

class Shell;

void shellStarted(Shell& shell);

} // namespace padloom

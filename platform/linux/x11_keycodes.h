// SPDX-License-Identifier: GPL-3.0-or-later
// Finds the X keycode that gives a keysym in the user's current keyboard map. A keysym the map
// does not have is put on a spare keycode (one that has no keysym at all), which keeps it for
// as long as this object lives and gets its empty mapping back afterwards; each keysym takes at
// most one spare. When no spare is left, the key is skipped with one warning per keysym.
//
// Not thread-safe: the owner serializes calls with its use of the display.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace padloom {

class X11Keycodes {
public:
    explicit X11Keycodes(Display* display) : display_(display) {}
    ~X11Keycodes();
    X11Keycodes(const X11Keycodes&) = delete;
    X11Keycodes& operator=(const X11Keycodes&) = delete;

    // 0 when the keysym has no keycode and none could be lent to it.
    KeyCode keycodeFor(KeySym keysym, const char* keyName);
    // Reads the events waiting on the display, so that Xlib follows keyboard map changes.
    void followMapChanges();

private:
    struct Lent {
        KeySym keysym;
        KeyCode keycode;
    };
    KeyCode lendSpare(KeySym keysym);

    Display* display_;
    std::vector<Lent> lent_;
    std::vector<KeySym> warned_;
};

} // namespace padloom

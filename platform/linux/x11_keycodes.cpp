// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11_keycodes.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>

namespace padloom {
namespace {

// Two levels carrying the same keysym, so shift does not change what the key gives.
constexpr int lentLevels = 2;

bool holdsNoKeysym(const KeySym* syms, int perKeycode) {
    return std::all_of(syms, syms + perKeycode, [](KeySym sym) { return sym == NoSymbol; });
}

} // namespace

X11Keycodes::~X11Keycodes() {
    for (const Lent& lent : lent_) {
        KeySym none[lentLevels] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(display_, lent.keycode, lentLevels, none, 1);
    }
    if (!lent_.empty()) {
        XSync(display_, False);
    }
}

void X11Keycodes::followMapChanges() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
        }
    }
}

KeyCode X11Keycodes::keycodeFor(KeySym keysym, const char* keyName) {
    // A lent keycode first: Xlib's copy of the map may not show the loan yet.
    for (const Lent& lent : lent_) {
        if (lent.keysym == keysym) {
            return lent.keycode;
        }
    }
    if (const KeyCode keycode = XKeysymToKeycode(display_, keysym)) {
        return keycode;
    }
    if (const KeyCode keycode = lendSpare(keysym)) {
        return keycode;
    }
    if (std::find(warned_.begin(), warned_.end(), keysym) == warned_.end()) {
        warned_.push_back(keysym);
        std::fprintf(stderr,
                     "padloom: the keyboard map has no key for %s and no spare key to put it on; skipped\n",
                     keyName);
    }
    return 0;
}

// The highest keycode without any keysym (the low ones are the real keyboard's).
KeyCode X11Keycodes::lendSpare(KeySym keysym) {
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1,
                                      &perKeycode);
    if (!map) {
        return 0;
    }
    KeyCode spare = 0;
    for (int keycode = maxKeycode; keycode >= minKeycode && spare == 0; --keycode) {
        const bool taken =
            std::any_of(lent_.begin(), lent_.end(), [&](const Lent& l) { return l.keycode == keycode; });
        if (!taken && holdsNoKeysym(map + (keycode - minKeycode) * perKeycode, perKeycode)) {
            spare = static_cast<KeyCode>(keycode);
        }
    }
    XFree(map);
    if (spare != 0) {
        KeySym syms[lentLevels] = {keysym, keysym};
        XChangeKeyboardMapping(display_, spare, lentLevels, syms, 1);
        lent_.push_back({keysym, spare});
    }
    return spare;
}

} // namespace padloom

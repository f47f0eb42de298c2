// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11_sink.h"

#include "engine/mouse_event_kinds.h"
#include "engine/output_events.h"
#include "platform/linux/auxiliary_keys.h"
#include "platform/linux/keyboard_keys.h"

#include <SDL.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace padloom {
namespace {

constexpr unsigned buttonNumbers[] = {1, 3, 2, 8, 9, 10, 11, 12};

DisplayOrigin sdlDisplayZeroOrigin() {
    SDL_Rect bounds{};
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && SDL_GetDisplayBounds(0, &bounds) == 0) {
        return {bounds.x, bounds.y};
    }
    return {};
}

int clampToInt(int64_t value) {
    return static_cast<int>(
        std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// X coordinates are 16-bit signed on the wire. A position that is no number stays at the origin
// rather than becoming an undefined conversion.
int toRoot(float engine, int origin) {
    const double root = std::floor(static_cast<double>(engine)) + origin;
    return std::isnan(root) ? origin : static_cast<int>(std::clamp(root, -32768.0, 32767.0));
}

bool fullyTransparent(const XFixesCursorImage& image) {
    const size_t count = size_t{image.width} * image.height;
    return std::all_of(image.pixels, image.pixels + count,
                       [](unsigned long pixel) { return (pixel >> 24 & 0xFF) == 0; });
}

// The buttons of the pointer XTest posts through (the "XTEST pointer" device; Xorg and Xvfb give
// it 10), else of the core pointer.
unsigned synthesizedPointerButtons(Display* display) {
    int opcode = 0, event = 0, error = 0, major = 2, minor = 0;
    unsigned count = 0;
    if (XQueryExtension(display, "XInputExtension", &opcode, &event, &error) &&
        XIQueryVersion(display, &major, &minor) == Success) {
        int devices = 0;
        XIDeviceInfo* info = XIQueryDevice(display, XIAllDevices, &devices);
        for (int i = 0; i < devices && count == 0; ++i) {
            if (info[i].use != XISlavePointer || !std::strstr(info[i].name, "XTEST")) {
                continue;
            }
            for (int c = 0; c < info[i].num_classes; ++c) {
                if (info[i].classes[c]->type == XIButtonClass) {
                    count = static_cast<unsigned>(
                        reinterpret_cast<XIButtonClassInfo*>(info[i].classes[c])->num_buttons);
                }
            }
        }
        XIFreeDeviceInfo(info);
    }
    if (count == 0) {
        unsigned char map[256];
        count = static_cast<unsigned>(XGetPointerMapping(display, map, sizeof map));
    }
    return count;
}

} // namespace

unsigned x11Button(int32_t button) {
    return button >= 0 && button < static_cast<int32_t>(std::size(buttonNumbers)) ? buttonNumbers[button] : 0;
}

std::unique_ptr<X11Sink> X11Sink::open(const char* displayName, std::string* whyNot,
                                       std::optional<DisplayOrigin> origin) {
    Display* display = XOpenDisplay(displayName);
    const std::string name = displayName ? displayName : (XDisplayName(nullptr) ? XDisplayName(nullptr) : "");
    if (!display) {
        if (whyNot) {
            *whyNot = "Cannot open the X display \"" + name + "\".";
        }
        return nullptr;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        if (whyNot) {
            *whyNot = "The X server of display \"" + name +
                      "\" has no XTest extension, which synthetic input needs.";
        }
        XCloseDisplay(display);
        return nullptr;
    }
    // Synthetic events must reach the server even while another client holds a server grab.
    XTestGrabControl(display, True);
    return std::unique_ptr<X11Sink>(new X11Sink(display, origin));
}

X11Sink::X11Sink(Display* display, std::optional<DisplayOrigin> origin)
    : connection_(display), display_(display), screen_(DefaultScreen(display)), pinnedOrigin_(origin),
      keycodes_(display), heldKeycodes_(keyboardKeys().size() + auxiliaryKeys().size(), 0),
      pointerButtons_(synthesizedPointerButtons(display)) {}

X11Sink::~X11Sink() {
    std::lock_guard lock(mutex_);
    // Lift anything still held, so no key stays down on the desktop.
    for (KeyCode& keycode : heldKeycodes_) {
        if (keycode != 0) {
            XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
            keycode = 0;
        }
    }
    for (unsigned button = 0; heldButtons_ >> button != 0; ++button) {
        if (heldButtons_ >> button & 1) {
            XTestFakeButtonEvent(display_, button, False, CurrentTime);
        }
    }
    XFlush(display_);
}

void X11Sink::setDisplayOrigin(std::optional<DisplayOrigin> origin) {
    std::lock_guard lock(mutex_);
    pinnedOrigin_ = origin;
}

DisplayOrigin X11Sink::origin() const {
    return pinnedOrigin_ ? *pinnedOrigin_ : sdlDisplayZeroOrigin();
}

CursorPoint X11Sink::cursorLocation() {
    std::lock_guard lock(mutex_);
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, RootWindow(display_, screen_), &root, &child, &rootX, &rootY, &windowX, &windowY,
                  &mask);
    if (lastPosted_ && rootX == lastPostedRootX_ && rootY == lastPostedRootY_) {
        lastLocationAnswer_ = *lastPosted_;
    } else {
        const DisplayOrigin at = origin();
        lastLocationAnswer_ = {static_cast<float>(rootX - at.x), static_cast<float>(rootY - at.y)};
    }
    return lastLocationAnswer_;
}

bool X11Sink::cursorVisible() {
    std::lock_guard lock(mutex_);
    XFixesCursorImage* image = XFixesGetCursorImage(display_);
    const bool visible = !image || !fullyTransparent(*image);
    if (image) {
        XFree(image);
    }
    lastAnswerHidden_ = !visible;
    return visible;
}

// The modifier keys were pressed themselves, so the server already applies them; flags are not
// posted.
void X11Sink::postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t>) {
    const KeyboardKey* key = findKeyboardKey(keyCode);
    if (!key) {
        return;
    }
    std::lock_guard lock(mutex_);
    pressKey(static_cast<size_t>(key - keyboardKeys().data()), key->keysym, key->name, down);
}

void X11Sink::postSystemDefined(int32_t data1) {
    const SystemKeyData event = decodeSystemKeyData(data1);
    const AuxiliaryKey* key = findAuxiliaryKey(event.keyType);
    if (!key) {
        return;
    }
    std::lock_guard lock(mutex_);
    pressKey(keyboardKeys().size() + static_cast<size_t>(key - auxiliaryKeys().data()), key->keysym,
             key->name, event.down);
}

// The press of a held key repeats on the key it is held on; a release of a key that is not
// held is sent all the same (the server ignores it).
void X11Sink::pressKey(size_t slot, unsigned long keysym, const char* name, bool down) {
    keycodes_.followMapChanges();
    KeyCode keycode = heldKeycodes_[slot];
    if (keycode == 0) {
        keycode = keycodes_.keycodeFor(keysym, name);
    }
    if (keycode == 0) {
        return;
    }
    heldKeycodes_[slot] = down ? keycode : 0;
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
    flush();
}

// Click counting is the X clients' own, from the timing of the presses.
void X11Sink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t, int64_t dx,
                        int64_t dy) {
    std::lock_guard lock(mutex_);
    if (isMotionEvent(type)) {
        move(x, y, dx, dy);
        return;
    }
    const unsigned number = x11Button(button);
    if (number == 0 || !(isButtonPress(type) || isButtonRelease(type)) || !pointerHas(number)) {
        return;
    }
    XTestFakeButtonEvent(display_, number, isButtonPress(type) ? True : False, CurrentTime);
    heldButtons_ = isButtonPress(type) ? heldButtons_ | 1u << number : heldButtons_ & ~(1u << number);
    flush();
}

// Motion warps the pointer to the posted position, except motion in place of a hidden cursor,
// which is the deltas alone.
void X11Sink::move(float x, float y, int64_t dx, int64_t dy) {
    const bool inPlaceOfHiddenCursor =
        lastAnswerHidden_ && x == lastLocationAnswer_.x && y == lastLocationAnswer_.y;
    lastAnswerHidden_ = false;
    if (inPlaceOfHiddenCursor) {
        lastPosted_.reset();
        XTestFakeRelativeMotionEvent(display_, clampToInt(dx), clampToInt(dy), CurrentTime);
        flush();
        return;
    }
    const DisplayOrigin at = origin();
    lastPostedRootX_ = toRoot(x, at.x);
    lastPostedRootY_ = toRoot(y, at.y);
    lastPosted_ = CursorPoint{x, y};
    XTestFakeMotionEvent(display_, screen_, lastPostedRootX_, lastPostedRootY_, CurrentTime);
    flush();
}

void X11Sink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    std::lock_guard lock(mutex_);
    const WheelClicks clicks = wheel_.add(units, vertical, horizontal);
    click(clicks.verticalButton, clicks.verticalCount);
    click(clicks.horizontalButton, clicks.horizontalCount);
    flush();
}

void X11Sink::click(unsigned button, int count) {
    if (count > 0 && !pointerHas(button)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        XTestFakeButtonEvent(display_, button, True, CurrentTime);
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
    }
}

bool X11Sink::pointerHas(unsigned button) {
    if (button <= pointerButtons_) {
        return true;
    }
    if (button < 32 && !(warnedButtons_ >> button & 1)) {
        warnedButtons_ |= 1u << button;
        std::fprintf(stderr,
                     "padloom: the X server's synthetic pointer has %u buttons; button %u is skipped\n",
                     pointerButtons_, button);
    }
    return false;
}

void X11Sink::flush() {
    XFlush(display_);
}

} // namespace padloom

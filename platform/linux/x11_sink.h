// SPDX-License-Identifier: GPL-3.0-or-later
// The sink that posts through XTest on an X11 session.
//
// Engine coordinates have their origin at the top-left corner of display 0 (SDL's display 0,
// the primary monitor); X root coordinates have theirs at the top-left corner of the whole
// screen. The sink adds display 0's origin to every posted position and subtracts it from the
// pointer it reads. The origin is the one given (when the sink is opened, or later with
// setDisplayOrigin); without one, the sink reads SDL_GetDisplayBounds(0) at every use, so it
// follows display changes as SDL sees them, and takes (0, 0) while SDL's video subsystem is not
// running.
//
// X positions are whole pixels. So that slow motion (less than a pixel per step) still moves,
// the sink remembers the fractional position it last posted and answers it as the cursor
// location for as long as the pointer stays on the pixel it was put on.
#pragma once

#include "engine/event_sink.h"
#include "platform/linux/x11_keycodes.h"
#include "platform/linux/x11_wheel.h"

#include <X11/Xlib.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace padloom {

struct DisplayOrigin {
    int x = 0;
    int y = 0;
};

class X11Sink : public EventSink {
public:
    // Opens its own connection to displayName (null: $DISPLAY). Null, with the reason in
    // *whyNot, when the display cannot be opened or has no XTest.
    static std::unique_ptr<X11Sink> open(const char* displayName, std::string* whyNot,
                                         std::optional<DisplayOrigin> origin = std::nullopt);
    ~X11Sink() override;
    X11Sink(const X11Sink&) = delete;
    X11Sink& operator=(const X11Sink&) = delete;

    // Pins the origin; nullopt follows SDL's display 0 again.
    void setDisplayOrigin(std::optional<DisplayOrigin> origin);

    CursorPoint cursorLocation() override;
    // False when the current cursor image is fully transparent (how X programs hide the cursor).
    bool cursorVisible() override;
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override;
    void postSystemDefined(int32_t data1) override;
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override;
    void postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) override;

private:
    explicit X11Sink(Display* display, std::optional<DisplayOrigin> origin);
    DisplayOrigin origin() const;

    void pressKey(size_t slot, unsigned long keysym, const char* name, bool down);
    void move(float x, float y, int64_t dx, int64_t dy);
    void click(unsigned button, int count);
    // False, with one warning per button, for a button the synthetic pointer does not have
    // (the X server would refuse it with an error that ends the program).
    bool pointerHas(unsigned button);
    void flush();

    // The polling thread and the motion tick post at the same time; Xlib calls on this
    // connection are made under this lock only.
    std::mutex mutex_;
    struct DisplayCloser {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };
    // Declared before the members that use the connection, so it closes after them.
    std::unique_ptr<Display, DisplayCloser> connection_;
    Display* display_;
    int screen_;
    std::optional<DisplayOrigin> pinnedOrigin_;
    X11Keycodes keycodes_;
    X11WheelAccumulator wheel_;
    // The keycode each pressed key went down on, so its release lifts the same key even if the
    // keyboard map changed in between. One slot per keyboard key, then per auxiliary key.
    std::vector<KeyCode> heldKeycodes_;
    unsigned heldButtons_ = 0; // bit n set while X button n is held
    unsigned pointerButtons_;
    unsigned warnedButtons_ = 0;
    std::optional<CursorPoint> lastPosted_;
    int lastPostedRootX_ = 0;
    int lastPostedRootY_ = 0;
    // The engine posts motion that keeps a hidden cursor in place: it reads the location, asks
    // cursorVisible() (false), then posts at that very location with the deltas, which X11 can
    // only carry as relative motion. These remember the two answers.
    CursorPoint lastLocationAnswer_;
    bool lastAnswerHidden_ = false;
};

// X button numbers for the engine's mouse buttons 0 to 7 (left, right, middle, then 8 to 12);
// 0 for any other number.
unsigned x11Button(int32_t button);

} // namespace padloom

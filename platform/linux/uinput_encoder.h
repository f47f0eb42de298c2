// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the engine's output events into evdev input_event records for the uinput device. Pure:
// it only fills frames; the sink writes them. It keeps the little state uinput needs: the
// tracked cursor position (uinput has no cursor of its own to ask) and the part of the
// high-resolution wheel motion not yet worth a whole wheel click.
#pragma once

#include "engine/event_sink.h"

#include <linux/input.h>

#include <array>
#include <cstdint>
#include <span>

namespace padloom {

// The records of one posted event, ending with SYN_REPORT; empty when nothing is to be posted.
class InputFrame {
public:
    void add(uint16_t type, uint16_t code, int32_t value);
    // Appends SYN_REPORT when the frame holds anything.
    void finish();
    std::span<const input_event> events() const { return {events_.data(), count_}; }
    bool empty() const { return count_ == 0; }

private:
    std::array<input_event, 8> events_{};
    size_t count_ = 0;
};

class UinputEncoder {
public:
    // Hi-res wheel units per line (one wheel click) and per scrolled pixel.
    static constexpr int32_t hiResPerLine = 120;
    static constexpr int32_t hiResPerPixel = 12;

    explicit UinputEncoder(CursorPoint start) : cursor_(start) {}

    InputFrame keyboard(uint16_t keyCode, bool down) const;
    InputFrame systemDefined(int32_t data1) const;
    // Buttons press and release; motion and drags send (dx, dy) and move the tracked cursor to
    // (x, y), the position the engine meant the cursor to take.
    InputFrame mouse(MouseEventType type, float x, float y, int32_t button, int64_t dx, int64_t dy);
    InputFrame scroll(ScrollUnits units, int32_t vertical, int32_t horizontal);

    CursorPoint cursor() const { return cursor_; }
    void placeCursor(CursorPoint at) { cursor_ = at; }

private:
    struct WheelAxis {
        uint16_t clicks;
        uint16_t hiRes;
        int64_t pending = 0; // hi-res units not yet sent as a click
    };
    void addWheel(InputFrame& frame, WheelAxis& axis, ScrollUnits units, int64_t amount);

    CursorPoint cursor_;
    WheelAxis vertical_{REL_WHEEL, REL_WHEEL_HI_RES};
    WheelAxis horizontal_{REL_HWHEEL, REL_HWHEEL_HI_RES};
};

// BTN_LEFT ... BTN_TASK for the engine's mouse buttons 0 to 7; -1 for any other number.
int evdevButton(int32_t button);

} // namespace padloom

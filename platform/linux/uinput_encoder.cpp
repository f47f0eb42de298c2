// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/uinput_encoder.h"

#include "engine/mouse_event_kinds.h"
#include "engine/output_events.h"
#include "platform/linux/auxiliary_keys.h"
#include "platform/linux/keyboard_keys.h"

#include <algorithm>
#include <limits>

namespace padloom {
namespace {

constexpr int buttonCodes[] = {BTN_LEFT,  BTN_RIGHT,   BTN_MIDDLE, BTN_SIDE,
                               BTN_EXTRA, BTN_FORWARD, BTN_BACK,   BTN_TASK};

// evdev values are 32-bit; the engine's amounts may not be.
int32_t clampToValue(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

void InputFrame::add(uint16_t type, uint16_t code, int32_t value) {
    if (count_ == events_.size()) {
        return;
    }
    input_event& event = events_[count_++];
    event = {};
    event.type = type;
    event.code = code;
    event.value = value;
}

void InputFrame::finish() {
    if (!empty()) {
        add(EV_SYN, SYN_REPORT, 0);
    }
}

int evdevButton(int32_t button) {
    return button >= 0 && button < static_cast<int32_t>(std::size(buttonCodes)) ? buttonCodes[button] : -1;
}

InputFrame UinputEncoder::keyboard(uint16_t keyCode, bool down) const {
    InputFrame frame;
    if (const KeyboardKey* key = findKeyboardKey(keyCode)) {
        frame.add(EV_KEY, key->evdevCode, down ? 1 : 0);
    }
    frame.finish();
    return frame;
}

InputFrame UinputEncoder::systemDefined(int32_t data1) const {
    InputFrame frame;
    const SystemKeyData event = decodeSystemKeyData(data1);
    if (const AuxiliaryKey* key = findAuxiliaryKey(event.keyType)) {
        frame.add(EV_KEY, key->evdevCode, event.down ? 1 : 0);
    }
    frame.finish();
    return frame;
}

InputFrame UinputEncoder::mouse(MouseEventType type, float x, float y, int32_t button, int64_t dx,
                                int64_t dy) {
    InputFrame frame;
    if (isMotionEvent(type)) {
        cursor_ = {x, y};
        if (dx != 0) {
            frame.add(EV_REL, REL_X, clampToValue(dx));
        }
        if (dy != 0) {
            frame.add(EV_REL, REL_Y, clampToValue(dy));
        }
    } else if (const int code = evdevButton(button);
               code >= 0 && (isButtonPress(type) || isButtonRelease(type))) {
        frame.add(EV_KEY, static_cast<uint16_t>(code), isButtonPress(type) ? 1 : 0);
    }
    frame.finish();
    return frame;
}

// A positive vertical amount scrolls up, which evdev also counts positive; a positive
// horizontal amount scrolls left, which evdev counts negative.
InputFrame UinputEncoder::scroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    InputFrame frame;
    addWheel(frame, vertical_, units, vertical);
    addWheel(frame, horizontal_, units, -static_cast<int64_t>(horizontal));
    frame.finish();
    return frame;
}

// Lines are whole clicks with their hi-res equivalent. Pixels go to the hi-res axis only, and a
// click follows each time the hi-res total crosses a multiple of 120, as a wheel with a
// high-resolution mode reports it.
void UinputEncoder::addWheel(InputFrame& frame, WheelAxis& axis, ScrollUnits units, int64_t amount) {
    if (amount == 0) {
        return;
    }
    if (units == ScrollUnits::lines) {
        frame.add(EV_REL, axis.clicks, clampToValue(amount));
        frame.add(EV_REL, axis.hiRes, clampToValue(amount * hiResPerLine));
        return;
    }
    const int32_t hiRes = clampToValue(amount * hiResPerPixel);
    axis.pending += hiRes;
    const int64_t clicks = axis.pending / hiResPerLine;
    axis.pending -= clicks * hiResPerLine;
    frame.add(EV_REL, axis.hiRes, hiRes);
    if (clicks != 0) {
        frame.add(EV_REL, axis.clicks, clampToValue(clicks));
    }
}

} // namespace padloom

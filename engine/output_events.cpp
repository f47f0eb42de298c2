// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/output_events.h"

#include "engine/engine.h"
#include "engine/key_code_table.h"

#include <cmath>
#include <optional>

namespace padloom {
namespace {

// Clicks of one button closer together than this continue a double or triple click.
constexpr int32_t clickIntervalMs = 249;

// The key state of an auxiliary-key press.
constexpr uint32_t pressedKeyState = 0x0A;

constexpr uint16_t firstModifierKeyCode = 54;
constexpr uint16_t lastModifierKeyCode = 63;

// The flag a modifier key code stands for; 0 for caps lock, function and every other key.
uint64_t flagOfModifier(uint16_t keyCode) {
    switch (keyCode) {
    case 54: // right command
    case 55: // command
        return commandFlag;
    case 56: // shift
    case 60: // right shift
        return shiftFlag;
    case 58: // option
    case 61: // right option
        return optionFlag;
    case 59: // control
    case 62: // right control
        return controlFlag;
    default:
        return 0;
    }
}

MouseEventType buttonEventType(uint32_t button, bool down) {
    switch (button) {
    case 0:
        return down ? MouseEventType::leftMouseDown : MouseEventType::leftMouseUp;
    case 1:
        return down ? MouseEventType::rightMouseDown : MouseEventType::rightMouseUp;
    default:
        return down ? MouseEventType::otherMouseDown : MouseEventType::otherMouseUp;
    }
}

// Click state of a press: a new sequence after a pause, else the next click of the current one.
void countClick(MouseState& mouseState, uint32_t button, uint32_t now) {
    const auto sinceLast = static_cast<int32_t>(now - mouseState.lastButtonTime[button]);
    if (sinceLast > clickIntervalMs) {
        mouseState.clickCount[button] = 1;
    } else {
        ++mouseState.clickCount[button];
    }
}

} // namespace

int32_t truncateToInt32(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return INT32_MAX;
    }
    if (value < -2147483648.0f) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

void postKey(Engine& engine, uint32_t keyNumber, bool down) {
    if (!keyNumberHasKey(keyNumber)) {
        return;
    }
    const int32_t value = keyCodeTable[keyNumber];
    if (keyNumber >= firstSystemKeyNumber) {
        postSystemKey(engine, value, down);
    } else {
        postKeyboardEvent(engine, value, down);
    }
}

void postKeyboardEvent(Engine& engine, int32_t keyCode, bool down) {
    const auto code = static_cast<uint16_t>(keyCode);
    uint64_t& modifierFlags = engine.modifierFlags;
    std::optional<uint64_t> flags;
    if (code >= firstModifierKeyCode && code <= lastModifierKeyCode) {
        const uint64_t flag = flagOfModifier(code);
        modifierFlags = down ? (modifierFlags | flag) : (modifierFlags & ~flag);
    } else {
        flags = modifierFlags;
    }
    engine.eventSink->postKeyboard(code, down, flags);
}

int32_t encodeSystemKeyData(const SystemKeyData& data) {
    const uint32_t state = data.down ? pressedKeyState : 0u;
    return static_cast<int32_t>(static_cast<uint32_t>(data.keyType) << 16 | state << 8 |
                                (data.repeat ? 1u : 0u));
}

SystemKeyData decodeSystemKeyData(int32_t data1) {
    const auto word = static_cast<uint32_t>(data1);
    return {data1 >> 16, (word >> 8 & 0xFFu) == pressedKeyState, (word & 1u) != 0};
}

void postSystemKey(Engine& engine, int32_t keyType, bool down) {
    engine.eventSink->postSystemDefined(encodeSystemKeyData({keyType, down}));
}

void postMouseButton(Engine& engine, uint32_t button, bool down) {
    if (button >= mouseButtonCount) {
        return;
    }
    MouseState& mouseState = engine.mouseState;
    EventSink& sink = engine.eventSink.get();
    const CursorPoint at = sink.cursorLocation();
    const uint32_t now = engine.clock->nowMs();
    if (down) {
        countClick(mouseState, button, now);
    }
    const int32_t clickState = static_cast<int8_t>(mouseState.clickCount[button]);
    mouseState.lastButtonTime[button] = now;
    sink.postMouse(buttonEventType(button, down), at.x, at.y, static_cast<int32_t>(button), clickState, 0, 0);
}

void postScroll(Engine& engine, float x, float y, bool continuous) {
    if (x == 0 && y == 0) {
        return;
    }
    engine.eventSink->postScroll(continuous ? ScrollUnits::pixels : ScrollUnits::lines, truncateToInt32(-y),
                                 truncateToInt32(-x));
}

} // namespace padloom

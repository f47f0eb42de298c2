// SPDX-License-Identifier: GPL-3.0-or-later
// Where the engine's synthetic input goes. Every posted keyboard, system-key, mouse and scroll
// event is one call here; the sink also answers the two cursor questions the engine asks.
// Implementations: X11Sink and UinputSink (real output), PrintSink (text), RecordingSink (tests).
#pragma once

#include <cstdint>
#include <optional>

namespace padloom {

struct CursorPoint {
    float x = 0;
    float y = 0;
};

// Mouse event types, numbered as the preset engine has always numbered them.
enum class MouseEventType : int32_t {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
};

enum class ScrollUnits : int32_t { pixels = 0, lines = 1 };

// What the events that follow come from: the evaluation of an input, a turbo pulse, or step
// number step (from 1) of a sequence.
enum class EventOrigin { input, turbo, sequence };

class EventSink {
public:
    virtual ~EventSink() = default;

    // Global pixels, origin at the main display's top-left corner, y downward.
    virtual CursorPoint cursorLocation() = 0;
    virtual bool cursorVisible() = 0;

    // flags is empty for the modifier keys themselves (codes 54 to 63), whose events keep
    // the flags they were created with.
    virtual void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) = 0;
    // Auxiliary-key event (subtype 8): data1 = key type << 16 | 0x0A00 for a press, 0 for a release.
    virtual void postSystemDefined(int32_t data1) = 0;
    // Buttons carry clickState and zero deltas; motion and drags carry deltas and click state 0.
    virtual void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                           int64_t dx, int64_t dy) = 0;
    // A positive vertical amount scrolls up, a positive horizontal amount scrolls left.
    virtual void postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) = 0;
    // For a sink that tells where events come from (padloomctl replay --explain); others ignore it.
    virtual void noteOrigin(EventOrigin, uint32_t /*step*/) {}
};

} // namespace padloom

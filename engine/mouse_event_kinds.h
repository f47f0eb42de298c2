// SPDX-License-Identifier: GPL-3.0-or-later
// What each of the engine's mouse event types does: press or release a button, or move.
#pragma once

#include "engine/event_sink.h"

namespace padloom {

inline bool isMotionEvent(MouseEventType type) {
    return type == MouseEventType::mouseMoved || type == MouseEventType::leftMouseDragged ||
           type == MouseEventType::rightMouseDragged || type == MouseEventType::otherMouseDragged;
}

inline bool isButtonPress(MouseEventType type) {
    return type == MouseEventType::leftMouseDown || type == MouseEventType::rightMouseDown ||
           type == MouseEventType::otherMouseDown;
}

inline bool isButtonRelease(MouseEventType type) {
    return type == MouseEventType::leftMouseUp || type == MouseEventType::rightMouseUp ||
           type == MouseEventType::otherMouseUp;
}

} // namespace padloom

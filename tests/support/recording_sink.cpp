#include "tests/support/recording_sink.h"
#include "engine/mouse_event_kinds.h"
#include "engine/output_events.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace padloom::test {
namespace {

void fail(const std::source_location& where, const std::string& message) {
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << message;
}

std::string mismatch(const RecordedEvent& expected, const RecordedEvent& actual) {
    return "expected event: " + expected.describe() + "\n  actual event: " + actual.describe();
}

using Kind = RecordedEvent::Kind;

RecordedEvent keyboardEvent(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    return {.kind = Kind::keyboard, .keyCode = keyCode, .down = down, .flags = flags};
}

RecordedEvent systemEvent(int32_t data1) {
    return {.kind = Kind::systemDefined, .data1 = data1};
}

RecordedEvent mouseEvent(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                         int64_t dx, int64_t dy) {
    return {.kind = Kind::mouse,
            .mouseType = type,
            .x = x,
            .y = y,
            .button = button,
            .clickState = clickState,
            .dx = dx,
            .dy = dy};
}

RecordedEvent scrollEvent(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    return {.kind = Kind::scroll, .units = units, .vertical = vertical, .horizontal = horizontal};
}

// Compares the fields that the events' kind uses.
bool sameEvent(const RecordedEvent& a, const RecordedEvent& b) {
    if (a.kind != b.kind) {
        return false;
    }
    switch (a.kind) {
    case RecordedEvent::Kind::keyboard:
        return a.keyCode == b.keyCode && a.down == b.down && a.flags == b.flags;
    case RecordedEvent::Kind::systemDefined:
        return a.data1 == b.data1;
    case RecordedEvent::Kind::mouse:
        return a.mouseType == b.mouseType && a.x == b.x && a.y == b.y && a.button == b.button &&
               a.clickState == b.clickState && a.dx == b.dx && a.dy == b.dy;
    case RecordedEvent::Kind::scroll:
        return a.units == b.units && a.vertical == b.vertical && a.horizontal == b.horizontal;
    }
    return false;
}

} // namespace

std::string RecordedEvent::describe() const {
    char text[200];
    switch (kind) {
    case Kind::keyboard:
        if (flags) {
            std::snprintf(text, sizeof text, "key %u %s flags=0x%llx", keyCode, down ? "down" : "up",
                          static_cast<unsigned long long>(*flags));
        } else {
            std::snprintf(text, sizeof text, "key %u %s", keyCode, down ? "down" : "up");
        }
        break;
    case Kind::systemDefined: {
        const SystemKeyData key = decodeSystemKeyData(data1);
        std::snprintf(text, sizeof text, "system %d %s", static_cast<int>(key.keyType),
                      key.down ? "down" : "up");
        break;
    }
    case Kind::mouse:
        if (isMotionEvent(mouseType)) {
            std::snprintf(text, sizeof text, "motion %d x=%g y=%g button=%d dx=%lld dy=%lld",
                          static_cast<int>(mouseType), x, y, button, static_cast<long long>(dx),
                          static_cast<long long>(dy));
        } else {
            std::snprintf(text, sizeof text, "mouse %d x=%g y=%g button=%d click=%d",
                          static_cast<int>(mouseType), x, y, button, clickState);
        }
        break;
    case Kind::scroll:
        std::snprintf(text, sizeof text, "scroll %s v=%d h=%d",
                      units == ScrollUnits::pixels ? "pixels" : "lines", vertical, horizontal);
        break;
    }
    return text;
}

CursorPoint RecordingSink::cursorLocation() {
    std::lock_guard lock(mutex_);
    return cursor_;
}

bool RecordingSink::cursorVisible() {
    return true;
}

void RecordingSink::postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    record(keyboardEvent(keyCode, down, flags));
}

void RecordingSink::postSystemDefined(int32_t data1) {
    record(systemEvent(data1));
}

void RecordingSink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                              int64_t dx, int64_t dy) {
    record(mouseEvent(type, x, y, button, clickState, dx, dy));
}

void RecordingSink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    record(scrollEvent(units, vertical, horizontal));
}

void RecordingSink::setCursor(float x, float y) {
    std::lock_guard lock(mutex_);
    cursor_ = {x, y};
}

std::vector<RecordedEvent> RecordingSink::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

size_t RecordingSink::count() const {
    std::lock_guard lock(mutex_);
    return events_.size();
}

void RecordingSink::clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
    checked_ = 0;
}

void RecordingSink::record(const RecordedEvent& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
}

std::optional<RecordedEvent> RecordingSink::next(Where where) {
    std::lock_guard lock(mutex_);
    if (checked_ >= events_.size()) {
        fail(where, "expected another event, but all " + std::to_string(events_.size()) + " were checked");
        return std::nullopt;
    }
    return events_[checked_++];
}

void RecordingSink::expectNext(const RecordedEvent& expected, Where where) {
    const auto actual = next(where);
    if (actual && !sameEvent(expected, *actual)) {
        fail(where, mismatch(expected, *actual));
    }
}

void RecordingSink::expectKey(uint16_t keyCode, bool down, std::optional<uint64_t> flags, Where where) {
    expectNext(keyboardEvent(keyCode, down, flags), where);
}

void RecordingSink::expectMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                                Where where) {
    expectNext(mouseEvent(type, x, y, button, clickState, 0, 0), where);
}

void RecordingSink::expectNoEvents(Where where) {
    std::lock_guard lock(mutex_);
    if (checked_ < events_.size()) {
        std::string message = "unexpected events:";
        for (size_t i = checked_; i < events_.size(); ++i) {
            message += "\n  " + events_[i].describe();
        }
        checked_ = events_.size();
        fail(where, message);
    }
}

} // namespace padloom::test

#include "tests/support/recording_sink.h"
#include "engine/output_events.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace padloom::test {
namespace {

void fail(const std::source_location& where, const std::string& message) {
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << message;
}

using Kind = RecordedEvent::Kind;

RecordedEvent keyboardEvent(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    return {.kind = Kind::keyboard, .keyCode = keyCode, .down = down, .flags = flags};
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

} // namespace

// Every field the kind uses is in the line, so that two events are the same when their lines are.
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
        std::snprintf(text, sizeof text, "system %d %s (0x%x)", static_cast<int>(key.keyType),
                      key.down ? "down" : "up", static_cast<unsigned>(data1));
        break;
    }
    case Kind::mouse:
        // + 0.0f: -0 and 0 are one position
        std::snprintf(text, sizeof text, "mouse %d x=%.9g y=%.9g button=%d click=%d dx=%lld dy=%lld",
                      static_cast<int>(mouseType), x + 0.0f, y + 0.0f, button, clickState,
                      static_cast<long long>(dx), static_cast<long long>(dy));
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
    record({.kind = Kind::systemDefined, .data1 = data1});
}

void RecordingSink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                              int64_t dx, int64_t dy) {
    record(mouseEvent(type, x, y, button, clickState, dx, dy));
}

void RecordingSink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    record({.kind = Kind::scroll, .units = units, .vertical = vertical, .horizontal = horizontal});
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

void RecordingSink::expectNext(const RecordedEvent& expected, Where where) {
    std::lock_guard lock(mutex_);
    if (checked_ >= events_.size()) {
        fail(where, "expected another event, but all " + std::to_string(events_.size()) + " were checked");
    } else if (const std::string actual = events_[checked_++].describe(); actual != expected.describe()) {
        fail(where, "expected event: " + expected.describe() + "\n  actual event: " + actual);
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

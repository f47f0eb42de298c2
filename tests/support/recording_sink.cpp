// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/recording_sink.h"
#include "engine/output_events.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace padloom::test {
namespace {

template <class... Args> std::string line(const char* format, Args... args) {
    char text[200];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string keyLine(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    const std::string key = line("key %u %s", keyCode, down ? "down" : "up");
    return flags ? key + line(" flags=0x%llx", static_cast<unsigned long long>(*flags)) : key;
}

std::string mouseLine(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                      int64_t dy) {
    // + 0.0f: -0 and 0 are one position
    return line("mouse %d x=%.9g y=%.9g button=%d click=%d dx=%lld dy=%lld", static_cast<int>(type), x + 0.0f,
                y + 0.0f, button, clickState, static_cast<long long>(dx), static_cast<long long>(dy));
}

} // namespace

CursorPoint RecordingSink::cursorLocation() {
    std::lock_guard lock(mutex_);
    return cursor_;
}

void RecordingSink::postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    record(keyLine(keyCode, down, flags));
}

void RecordingSink::postSystemDefined(int32_t data1) {
    const SystemKeyData key = decodeSystemKeyData(data1);
    record(line("system %d %s (0x%x)", static_cast<int>(key.keyType), key.down ? "down" : "up",
                static_cast<unsigned>(data1)));
}

void RecordingSink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                              int64_t dx, int64_t dy) {
    record(mouseLine(type, x, y, button, clickState, dx, dy));
}

void RecordingSink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    record(
        line("scroll %s v=%d h=%d", units == ScrollUnits::pixels ? "pixels" : "lines", vertical, horizontal));
}

void RecordingSink::setCursor(float x, float y) {
    std::lock_guard lock(mutex_);
    cursor_ = {x, y};
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

void RecordingSink::record(const std::string& line) {
    std::lock_guard lock(mutex_);
    events_.push_back(line);
}

void RecordingSink::expectNext(const std::string& expected, Where where) {
    std::lock_guard lock(mutex_);
    std::string failure;
    if (checked_ >= events_.size()) {
        failure = "expected another event, but all " + std::to_string(events_.size()) + " were checked";
    } else if (const std::string& actual = events_[checked_++]; actual != expected) {
        failure = "expected event: " + expected + "\n  actual event: " + actual;
    }
    if (!failure.empty()) {
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << failure;
    }
}

void RecordingSink::expectKey(uint16_t keyCode, bool down, std::optional<uint64_t> flags, Where where) {
    expectNext(keyLine(keyCode, down, flags), where);
}

void RecordingSink::expectMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                                Where where) {
    expectNext(mouseLine(type, x, y, button, clickState, 0, 0), where);
}

void RecordingSink::expectNoEvents(Where where) {
    std::lock_guard lock(mutex_);
    std::string message;
    for (; checked_ < events_.size(); ++checked_) {
        message += "\n  " + events_[checked_];
    }
    if (!message.empty()) {
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "unexpected events:" << message;
    }
}

} // namespace padloom::test

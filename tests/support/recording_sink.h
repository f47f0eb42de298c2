// SPDX-License-Identifier: GPL-3.0-or-later
// An EventSink for tests: records every posted event as a line of text, simulates the cursor, and
// checks the recorded events in order:
//
//     RecordingSink sink;
//     engine.eventSink.set(&sink);   // or use EngineSeams (manual_seams.h), which sets it
//     ...
//     sink.expectKey(49, true, 0x20000);  // the next unchecked event is this key press
//     sink.expectNoEvents();              // and nothing follows it
//
// Each expect* checks the next event not yet checked and reports a failure at the caller's line.
// Posting and reading are guarded by a mutex, so the motion tick may post from its own thread.
#pragma once

#include "engine/event_sink.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

namespace padloom::test {

class RecordingSink : public EventSink {
public:
    CursorPoint cursorLocation() override;
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override;
    void postSystemDefined(int32_t data1) override;
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override;
    void postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) override;

    // The simulated cursor, always visible; posted motion does not move it.
    void setCursor(float x, float y);
    size_t count() const;
    void clear(); // forgets every event, checked or not

    using Where = std::source_location;
    // keyboard; flags empty for modifier keys, whose events keep their own flags
    void expectKey(uint16_t keyCode, bool down, std::optional<uint64_t> flags,
                   Where where = Where::current());
    // mouse button, with position and click state
    void expectMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                     Where where = Where::current());
    // every recorded event has been checked
    void expectNoEvents(Where where = Where::current());

private:
    void expectNext(const std::string& expected, Where where);
    void record(const std::string& line);

    mutable std::mutex mutex_;
    std::vector<std::string> events_; // every field an event's kind uses, one line an event
    size_t checked_ = 0;
    CursorPoint cursor_;
};

} // namespace padloom::test

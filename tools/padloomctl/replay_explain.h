// SPDX-License-Identifier: GPL-3.0-or-later
// The event sink of `padloomctl replay --explain`: before the first event of each script line it
// prints that line, then every event as the plain replay line followed by a reading a person can
// follow ("Return down", "left button down (double click)", "wheel 1 line up").
//
//     line 9: axis 0 0 32767
//       motion 5 x=966 y=540 button=0 dx=6 dy=0       cursor +6,+0 to 966,540
//
// The plain part is written by a PrintSink, so it never differs from the default output.
#pragma once

#include "engine/event_sink.h"
#include "platform/linux/print_sink.h"

#include <cstdio>
#include <memory>
#include <string>

namespace padloom::ctl {

// A person's reading of one event, without the plain line.
std::string keyReading(uint16_t keyCode, bool down, std::optional<uint64_t> flags);
std::string systemKeyReading(int32_t data1);
std::string mouseReading(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                         int64_t dx, int64_t dy);
std::string scrollReading(ScrollUnits units, int32_t vertical, int32_t horizontal);

class ExplainSink final : public EventSink {
public:
    // The printer's cursor starts at the centre of display 0 of displays, which must outlive the sink.
    ExplainSink(FILE* out, DisplaySource& displays);
    ~ExplainSink() override;
    ExplainSink(const ExplainSink&) = delete;
    ExplainSink& operator=(const ExplainSink&) = delete;

    // The events that follow are caused by this line; it is printed before the first of them.
    // Number 0 stands for the end of the script, where the preset is put away.
    void setCause(int lineNumber, std::string text);
    // The sink that writes the plain lines and keeps the simulated cursor.
    PrintSink& printer() { return *printer_; }

    CursorPoint cursorLocation() override { return printer_->cursorLocation(); }
    bool cursorVisible() override { return printer_->cursorVisible(); }
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override;
    void postSystemDefined(int32_t data1) override;
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override;
    void postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) override;
    // The readings of the events that follow begin "turbo: " or "sequence step N: ".
    void noteOrigin(EventOrigin origin, uint32_t step) override;
    // The line "switch NAME" of a completed switch, with its reading.
    void writeSwitch(const std::string& to);

private:
    void writeCause();
    // Writes the cause if it is still due, then the line the printer just wrote, then the reading.
    void write(const std::string& reading);

    FILE* out_;
    char* buffer_ = nullptr; // the printer's output, one line at a time
    size_t size_ = 0;
    FILE* memory_;
    std::unique_ptr<PrintSink> printer_;
    std::string cause_;
    bool causeDue_ = false;
    std::string origin_;
};

} // namespace padloom::ctl

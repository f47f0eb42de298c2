// SPDX-License-Identifier: GPL-3.0-or-later
// An EventSink that writes every posted event as one line of text, in the format that
// `padloomctl replay` and `padloomctl run --output print` show:
//
//     key 49 down flags=0x20000        (flags only on events whose flags the engine set)
//     system 0 down
//     mouse 1 x=960 y=540 button=0 click=1
//     motion 5 x=966 y=540 button=0 dx=6 dy=0
//     scroll pixels v=-6 h=0
//
// Numbers are decimal; positions are printed with %g. The cursor it reports is simulated: it stands
// at the centre of display 0 (of the display source given, else of SDL's displays) until it is set
// or a motion event moves it, and it is visible until hidden. Events may be posted from several
// threads; each line is written whole.
#pragma once

#include "engine/display_source.h"
#include "engine/event_sink.h"

#include <cstdio>
#include <mutex>
#include <optional>

namespace padloom {

class PrintSink final : public EventSink {
public:
    // displays, when given, must outlive the sink.
    explicit PrintSink(FILE* out = stdout, DisplaySource* displays = nullptr);

    CursorPoint cursorLocation() override;
    bool cursorVisible() override;
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override;
    void postSystemDefined(int32_t data1) override;
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override;
    void postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) override;

    void setCursor(CursorPoint at);
    void setCursorVisible(bool visible);

private:
    // Writes one formatted line and flushes it, so a live stream shows each event as it happens.
    void writeLine(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::mutex mutex_; // guards the cursor and keeps lines from different threads apart
    FILE* out_;
    SdlDisplaySource sdlDisplays_;
    DisplaySource& displays_;
    std::optional<CursorPoint> cursor_; // empty: the centre of display 0
    bool visible_ = true;
};

} // namespace padloom

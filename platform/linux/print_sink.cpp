// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/print_sink.h"

#include "engine/mouse_event_kinds.h"
#include "engine/output_events.h"

#include <cstdarg>

namespace padloom {
namespace {

CursorPoint centreOfMainDisplay(DisplaySource& displays) {
    SDL_Rect main{0, 0, 0, 0};
    if (!displays.displayBounds(0, &main)) {
        return {};
    }
    return {static_cast<float>(main.x) + static_cast<float>(main.w) / 2,
            static_cast<float>(main.y) + static_cast<float>(main.h) / 2};
}

} // namespace

PrintSink::PrintSink(FILE* out, DisplaySource* displays)
    : out_(out), displays_(displays ? *displays : sdlDisplays_) {}

CursorPoint PrintSink::cursorLocation() {
    std::lock_guard lock(mutex_);
    return cursor_ ? *cursor_ : centreOfMainDisplay(displays_);
}

bool PrintSink::cursorVisible() {
    std::lock_guard lock(mutex_);
    return visible_;
}

void PrintSink::setCursor(CursorPoint at) {
    std::lock_guard lock(mutex_);
    cursor_ = at;
}

void PrintSink::setCursorVisible(bool visible) {
    std::lock_guard lock(mutex_);
    visible_ = visible;
}

void PrintSink::postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    const char* state = down ? "down" : "up";
    if (flags) {
        writeLine("key %u %s flags=0x%llx\n", keyCode, state, static_cast<unsigned long long>(*flags));
    } else {
        writeLine("key %u %s\n", keyCode, state);
    }
}

void PrintSink::postSystemDefined(int32_t data1) {
    const SystemKeyData key = decodeSystemKeyData(data1);
    writeLine("system %d %s\n", static_cast<int>(key.keyType), key.down ? "down" : "up");
}

void PrintSink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                          int64_t dx, int64_t dy) {
    if (!isMotionEvent(type)) {
        writeLine("mouse %d x=%g y=%g button=%d click=%d\n", static_cast<int>(type), x, y, button,
                  clickState);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        cursor_ = CursorPoint{x, y};
    }
    writeLine("motion %d x=%g y=%g button=%d dx=%lld dy=%lld\n", static_cast<int>(type), x, y, button,
              static_cast<long long>(dx), static_cast<long long>(dy));
}

void PrintSink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    writeLine("scroll %s v=%d h=%d\n", units == ScrollUnits::lines ? "lines" : "pixels", vertical,
              horizontal);
}

void PrintSink::writeLine(const char* format, ...) {
    std::lock_guard lock(mutex_);
    va_list args;
    va_start(args, format);
    std::vfprintf(out_, format, args);
    va_end(args);
    std::fflush(out_);
}

} // namespace padloom

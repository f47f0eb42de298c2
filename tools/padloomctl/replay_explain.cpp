// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/padloomctl/replay_explain.h"

#include "engine/mouse_event_kinds.h"
#include "engine/output_events.h"
#include "platform/linux/auxiliary_keys.h"
#include "platform/linux/keyboard_keys.h"

#include <cstdarg>
#include <cstdlib>
#include <string_view>

namespace padloom::ctl {
namespace {

// Readings start at this column when the plain line is shorter.
constexpr size_t readingColumn = 48;

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char text[160];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

const char* pressing(bool down) {
    return down ? "down" : "up";
}

bool isArrow(std::string_view name) {
    return name == "Left" || name == "Right" || name == "Up" || name == "Down";
}

struct Modifier {
    uint64_t flag;
    const char* name;
};

constexpr Modifier modifiers[] = {
    {controlFlag, "Control"}, {shiftFlag, "Shift"}, {optionFlag, "Alt"}, {commandFlag, "Super"}};

std::string buttonName(MouseEventType type, int32_t button) {
    switch (type) {
    case MouseEventType::leftMouseDown:
    case MouseEventType::leftMouseUp:
    case MouseEventType::leftMouseDragged:
        return "left button";
    case MouseEventType::rightMouseDown:
    case MouseEventType::rightMouseUp:
    case MouseEventType::rightMouseDragged:
        return "right button";
    default:
        return button == 2 ? "middle button" : format("button %d", button);
    }
}

std::string clickName(int32_t clickState) {
    switch (clickState) {
    case 1:
        return "";
    case 2:
        return " (double click)";
    case 3:
        return " (triple click)";
    default:
        return format(" (click %d)", clickState);
    }
}

// "6 pixels down", "1 line up"; empty for no movement.
std::string wheelPart(int32_t amount, const char* unit, const char* positive, const char* negative) {
    if (amount == 0) {
        return "";
    }
    const int32_t size = amount < 0 ? -amount : amount;
    return format("%d %s%s %s", size, unit, size == 1 ? "" : "s", amount > 0 ? positive : negative);
}

} // namespace

std::string keyReading(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    const KeyboardKey* key = findKeyboardKey(keyCode);
    std::string reading =
        key ? format("%s%s %s", key->name, isArrow(key->name) ? " arrow" : "", pressing(down))
            : format("key code %u %s", keyCode, pressing(down));
    std::string held;
    for (const Modifier& m : modifiers) {
        if (flags && (*flags & m.flag) != 0) {
            held += (held.empty() ? "" : "+") + std::string(m.name);
        }
    }
    return held.empty() ? reading : reading + " with " + held + " held";
}

std::string systemKeyReading(int32_t data1) {
    const SystemKeyData data = decodeSystemKeyData(data1);
    const AuxiliaryKey* key = findAuxiliaryKey(data.keyType);
    return key ? format("%s %s", key->name, pressing(data.down))
               : format("system key %d %s", static_cast<int>(data.keyType), pressing(data.down));
}

std::string mouseReading(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                         int64_t dx, int64_t dy) {
    if (!isMotionEvent(type)) {
        return buttonName(type, button) + " " + pressing(isButtonPress(type)) + clickName(clickState);
    }
    std::string reading =
        format("cursor %+lld,%+lld to %g,%g", static_cast<long long>(dx), static_cast<long long>(dy), x, y);
    if (type == MouseEventType::leftMouseDragged) {
        reading += " while dragging";
    } else if (type != MouseEventType::mouseMoved) {
        reading += " while dragging with the " + buttonName(type, button);
    }
    return reading;
}

std::string scrollReading(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    const char* unit = units == ScrollUnits::lines ? "line" : "pixel";
    const std::string up = wheelPart(vertical, unit, "up", "down");
    const std::string left = wheelPart(horizontal, unit, "left", "right");
    if (up.empty() && left.empty()) {
        return format("wheel 0 %ss", unit);
    }
    return "wheel " + up + (up.empty() || left.empty() ? "" : ", ") + left;
}

ExplainSink::ExplainSink(FILE* out, DisplaySource& displays)
    : out_(out), memory_(open_memstream(&buffer_, &size_)),
      printer_(std::make_unique<PrintSink>(memory_ ? memory_ : out, &displays)) {}

ExplainSink::~ExplainSink() {
    printer_.reset();
    if (memory_) {
        std::fclose(memory_);
    }
    std::free(buffer_);
}

void ExplainSink::setCause(int lineNumber, std::string text) {
    cause_ = lineNumber > 0 ? format("line %d: ", lineNumber) + text : std::move(text);
    causeDue_ = true;
}

void ExplainSink::postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) {
    printer_->postKeyboard(keyCode, down, flags);
    write(keyReading(keyCode, down, flags));
}

void ExplainSink::postSystemDefined(int32_t data1) {
    printer_->postSystemDefined(data1);
    write(systemKeyReading(data1));
}

void ExplainSink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState,
                            int64_t dx, int64_t dy) {
    printer_->postMouse(type, x, y, button, clickState, dx, dy);
    write(mouseReading(type, x, y, button, clickState, dx, dy));
}

void ExplainSink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    printer_->postScroll(units, vertical, horizontal);
    write(scrollReading(units, vertical, horizontal));
}

void ExplainSink::noteOrigin(EventOrigin origin, uint32_t step) {
    switch (origin) {
    case EventOrigin::input:
        origin_.clear();
        return;
    case EventOrigin::turbo:
        origin_ = "turbo: ";
        return;
    case EventOrigin::sequence:
        origin_ = format("sequence step %u: ", static_cast<unsigned>(step));
        return;
    }
}

void ExplainSink::writeSwitch(const std::string& to) {
    writeCause();
    const std::string line = "switch " + to;
    const size_t pad = line.size() < readingColumn ? readingColumn - line.size() : 2;
    std::fprintf(out_, "  %s%*s%s\n", line.c_str(), static_cast<int>(pad), "",
                 ("the preset switches to " + to).c_str());
}

void ExplainSink::writeCause() {
    if (causeDue_) {
        std::fprintf(out_, "%s\n", cause_.c_str());
        causeDue_ = false;
    }
}

void ExplainSink::write(const std::string& plainReading) {
    writeCause();
    const std::string reading = origin_ + plainReading;
    if (!memory_) {
        std::fprintf(out_, "  %s\n", reading.c_str());
        return;
    }
    // The printer flushed its line, so the buffer holds exactly that line.
    std::string line(buffer_, size_);
    while (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    std::rewind(memory_);
    const size_t pad = line.size() < readingColumn ? readingColumn - line.size() : 2;
    std::fprintf(out_, "  %s%*s%s\n", line.c_str(), static_cast<int>(pad), "", reading.c_str());
}

} // namespace padloom::ctl

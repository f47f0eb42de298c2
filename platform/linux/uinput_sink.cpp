// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/uinput_sink.h"

#include "engine/mouse_event_kinds.h"
#include "platform/linux/uinput_device.h"

namespace padloom {
namespace {

// The origin when no display is known.
CursorPoint displayZeroCentre(DisplaySource& displays) {
    SDL_Rect bounds{};
    if (displays.displayCount() > 0 && displays.displayBounds(0, &bounds)) {
        return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
    }
    return {};
}

} // namespace

UinputSink::UinputSink(std::unique_ptr<InputEventWriter> writer, std::optional<CursorPoint> start,
                       DisplaySource* displays)
    : writer_(std::move(writer)), encoder_(start.value_or(CursorPoint{})), cursorPlaced_(start.has_value()),
      displays_(displays ? *displays : sdlDisplays_) {}

std::unique_ptr<UinputSink> UinputSink::create(const std::string& path, std::optional<CursorPoint> start,
                                               std::string* whyNot) {
    std::unique_ptr<UinputDevice> device = UinputDevice::create(path, whyNot);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<UinputSink>(std::move(device), start);
}

CursorPoint UinputSink::cursorLocation() {
    std::lock_guard lock(mutex_);
    if (!cursorPlaced_) {
        encoder_.placeCursor(displayZeroCentre(displays_));
        cursorPlaced_ = true;
    }
    return encoder_.cursor();
}

// The modifier keys were pressed on the device itself, so the flags need no posting.
void UinputSink::postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t>) {
    std::lock_guard lock(mutex_);
    send(encoder_.keyboard(keyCode, down));
}

void UinputSink::postSystemDefined(int32_t data1) {
    std::lock_guard lock(mutex_);
    send(encoder_.systemDefined(data1));
}

// Click counting is the desktop's own, from the timing of the presses.
void UinputSink::postMouse(MouseEventType type, float x, float y, int32_t button, int32_t, int64_t dx,
                           int64_t dy) {
    std::lock_guard lock(mutex_);
    send(encoder_.mouse(type, x, y, button, dx, dy));
    cursorPlaced_ = cursorPlaced_ || isMotionEvent(type);
}

void UinputSink::postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    std::lock_guard lock(mutex_);
    send(encoder_.scroll(units, vertical, horizontal));
}

void UinputSink::send(const InputFrame& frame) {
    if (!frame.empty()) {
        writer_->write(frame.events());
    }
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// The sink that posts through a uinput virtual device, so the input reaches every session
// (Wayland, X11, the console) and programs that read evdev devices directly.
//
// uinput has no cursor to ask: cursorLocation() answers the position the engine last moved the
// cursor to, starting at the start point given or, without one, at the centre of display 0 as
// the display source given (else SDL's displays) reports it when the cursor is first asked for (so
// a sink made before SDL's video subsystem starts still begins in the middle). cursorVisible() is always
// true. Real motion follows the deltas, shaped by the desktop's pointer acceleration, so the real cursor and
// the tracked one may part; the engine only needs the tracked one to confine its own steps.
#pragma once

#include "engine/display_source.h"
#include "engine/event_sink.h"
#include "platform/linux/input_event_writer.h"
#include "platform/linux/uinput_encoder.h"

#include <memory>
#include <mutex>
#include <string>

namespace padloom {

class UinputSink : public EventSink {
public:
    // displays, when given, must outlive the sink.
    explicit UinputSink(std::unique_ptr<InputEventWriter> writer,
                        std::optional<CursorPoint> start = std::nullopt, DisplaySource* displays = nullptr);
    // A sink on a new "Padloom virtual input" device made through path; null, with the reason
    // and its fix in *whyNot, when that cannot be done.
    static std::unique_ptr<UinputSink> create(const std::string& path, std::optional<CursorPoint> start,
                                              std::string* whyNot);

    CursorPoint cursorLocation() override;
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override;
    void postSystemDefined(int32_t data1) override;
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override;
    void postScroll(ScrollUnits units, int32_t vertical, int32_t horizontal) override;

private:
    void send(const InputFrame& frame);

    // The polling thread and the motion tick post at the same time; one lock keeps each frame
    // whole and the encoder's state consistent.
    std::mutex mutex_;
    std::unique_ptr<InputEventWriter> writer_;
    UinputEncoder encoder_;
    bool cursorPlaced_;
    SdlDisplaySource sdlDisplays_;
    DisplaySource& displays_;
};

} // namespace padloom

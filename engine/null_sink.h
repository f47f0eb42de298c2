// SPDX-License-Identifier: GPL-3.0-or-later
// An event sink that drops every event: the engine's sink until a real one is set, and the sink of
// programs that run the engine without producing input (benchmarks, screenshots).
#pragma once

#include "engine/event_sink.h"

namespace padloom {

// The cursor stays where it was put, visible.
class NullSink final : public EventSink {
public:
    NullSink() = default;
    explicit NullSink(CursorPoint cursor) : cursor_(cursor) {}

    CursorPoint cursorLocation() override { return cursor_; }
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t, bool, std::optional<uint64_t>) override {}
    void postSystemDefined(int32_t) override {}
    void postMouse(MouseEventType, float, float, int32_t, int32_t, int64_t, int64_t) override {}
    void postScroll(ScrollUnits, int32_t, int32_t) override {}

private:
    CursorPoint cursor_;
};

} // namespace padloom

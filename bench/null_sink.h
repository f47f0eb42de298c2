// An event sink that drops everything: the evaluation benchmarks measure the engine alone.
#pragma once

#include "engine/event_sink.h"

namespace padloom::bench {

class NullSink : public EventSink {
public:
    CursorPoint cursorLocation() override { return {960, 540}; }
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t, bool, std::optional<uint64_t>) override {}
    void postSystemDefined(int32_t) override {}
    void postMouse(MouseEventType, float, float, int32_t, int32_t, int64_t, int64_t) override {}
    void postScroll(ScrollUnits, int32_t, int32_t) override {}
};

} // namespace padloom::bench

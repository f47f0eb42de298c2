#include "engine/event_sink.h"

#include <atomic>

namespace padloom {
namespace {

// Used until a real sink is set: output goes nowhere and the cursor stays at the origin, visible.
class DroppingSink final : public EventSink {
public:
    CursorPoint cursorLocation() override { return {}; }
    bool cursorVisible() override { return true; }
    void postKeyboard(uint16_t, bool, std::optional<uint64_t>) override {}
    void postSystemDefined(int32_t) override {}
    void postMouse(MouseEventType, float, float, int32_t, int32_t, int64_t, int64_t) override {}
    void postScroll(ScrollUnits, int32_t, int32_t) override {}
};

DroppingSink droppingSink;
// Read on the polling and timer threads, so the pointer itself is published atomically.
std::atomic<EventSink*> currentSink{&droppingSink};

} // namespace

EventSink& eventSink() {
    return *currentSink.load(std::memory_order_acquire);
}

void setEventSink(EventSink* sink) {
    currentSink.store(sink ? sink : &droppingSink, std::memory_order_release);
}

} // namespace padloom

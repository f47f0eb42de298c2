#include "engine/event_sink.h"

#include "engine/null_sink.h"

#include <atomic>

namespace padloom {
namespace {

// Used until a real sink is set: output goes nowhere and the cursor stays at the origin, visible.
NullSink droppingSink;
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

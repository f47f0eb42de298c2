#include "engine/mouse_motion.h"

#include "engine/clock.h"
#include "engine/event_sink.h"
#include "engine/motion_timer.h"
#include "engine/mouse_state.h"
#include "engine/output_events.h"
#include "engine/screen_geometry.h"

#include <cmath>

namespace padloom {

std::atomic<bool> minecraftFix{false};

namespace {

// The tick rests this long before it returns, leaving the sink time to deliver its events.
constexpr uint32_t tickRestMs = 8;

MouseEventType motionType(int heldButton) {
    switch (heldButton) {
    case -1:
        return MouseEventType::mouseMoved;
    case 0:
        return MouseEventType::leftMouseDragged;
    case 1:
        return MouseEventType::rightMouseDragged;
    default:
        return MouseEventType::otherMouseDragged;
    }
}

} // namespace

uint32_t mouseTimerTick(uint32_t, void*) {
    noteMotionTick();
    // Still rates post nothing, and the timer rests until a rate wakes it.
    if (mouseState.still()) {
        return motionTimerRests() ? 0 : motionTimerPeriod();
    }
    postScroll(mouseState.wheelX.load(), mouseState.wheelY.load(), true);
    moveMouse(mouseState.motionX.load(), mouseState.motionY.load());
    engineClock().sleepMs(tickRestMs);
    return motionTimerPeriod();
}

void moveMouse(float dx, float dy) {
    if (!(std::fabs(dx) + std::fabs(dy) > 0)) {
        return;
    }
    EventSink& sink = eventSink();
    const CursorPoint at = sink.cursorLocation();
    // Games that hide the cursor read relative motion: the pointer stays where it is.
    const CursorPoint to =
        minecraftFix.load() && !sink.cursorVisible() ? at : screenGeometry.confinePoint(at.x, at.y, dx, dy);
    const int held = firstHeldButton();
    sink.postMouse(motionType(held), to.x, to.y, held < 0 ? 0 : held, 0, truncateToInt32(dx),
                   truncateToInt32(dy));
}

int firstHeldButton() {
    for (int i = 0; i < mouseButtonCount; ++i) {
        if (mouseState.buttonDown[i].load() & 1) {
            return i;
        }
    }
    return -1;
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mouse_motion.h"

#include "engine/engine.h"
#include "engine/joystick_manager.h"
#include "engine/output_events.h"

#include <cmath>

namespace padloom {
namespace {

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

uint32_t mouseTimerTick(uint32_t, void* parameter) {
    Engine& engine = *static_cast<Engine*>(parameter);
    MotionTimer& timer = engine.motionTimer;
    const MouseState& mouseState = engine.mouseState;
    timer.noteTick();
    tickInputRoles(engine);
    // Still rates post nothing, and the timer rests until a rate, a turbo or a sequence wakes it.
    if (mouseState.still()) {
        if (engine.roleTicks.load() > 0) {
            return timer.period();
        }
        return timer.rests() ? 0 : timer.period();
    }
    postScroll(engine, mouseState.wheelX.load(), mouseState.wheelY.load(), true);
    moveMouse(engine, mouseState.motionX.load(), mouseState.motionY.load());
    return timer.period();
}

void tickInputRoles(Engine& engine) {
    JoystickManager* manager = engine.roleTicker.load();
    if (manager == nullptr) {
        return;
    }
    const std::lock_guard<std::mutex> lock(engine.inputRolesLock);
    for (const std::unique_ptr<JoystickMap>& map : manager->joystickMap) {
        if (map->roles) {
            map->roles->tick();
        }
    }
}

void moveMouse(Engine& engine, float dx, float dy) {
    if (!(std::fabs(dx) + std::fabs(dy) > 0)) {
        return;
    }
    EventSink& sink = engine.eventSink.get();
    const CursorPoint at = sink.cursorLocation();
    // Games that hide the cursor read relative motion: the pointer stays where it is.
    const CursorPoint to = engine.minecraftFix.load() && !sink.cursorVisible()
                               ? at
                               : engine.screenGeometry.confinePoint(at.x, at.y, dx, dy);
    const int held = firstHeldButton(engine.mouseState);
    sink.postMouse(motionType(held), to.x, to.y, held < 0 ? 0 : held, 0, truncateToInt32(dx),
                   truncateToInt32(dy));
}

int firstHeldButton(const MouseState& mouseState) {
    for (int i = 0; i < mouseButtonCount; ++i) {
        if (mouseState.buttonDown[i].load() & 1) {
            return i;
        }
    }
    return -1;
}

} // namespace padloom

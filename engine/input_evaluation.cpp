// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluating joystick events against the binds of the control that moved. Runs on the polling
// thread; allocates nothing.
#include "engine/engine.h"
#include "engine/joystick_manager.h"
#include "engine/joystick_map.h"
#include "engine/output_events.h"
#include "engine/stick.h"
#include "preset/output_kinds.h"

#include <cmath>

namespace padloom {
namespace {

bool below(uint32_t index, int32_t count) {
    return count > 0 && index < static_cast<uint32_t>(count);
}

void wheelStep(Engine& engine, int32_t code, int32_t sign) {
    const auto amount = static_cast<float>(sign);
    if (code == 0) {
        postScroll(engine, amount, 0, false);
    } else {
        postScroll(engine, 0, amount, false);
    }
}

void pressMouseButton(Engine& engine, int32_t button, bool down) {
    // attachBind admits only buttons 0 to 7; checked again because the index is into mouseState.
    if (button < 0 || button >= mouseButtonCount) {
        return;
    }
    engine.mouseState.buttonDown[button] = down ? 1 : 0;
    postMouseButton(engine, static_cast<uint32_t>(button), down);
}

// Turns an output on (or sets its rate again while on). effect scales the rate: the deflection of
// an axis, 1 for buttons and hats.
template <typename Bind> void turnOn(Engine& engine, const Bind& bind, float effect) {
    switch (bind.kind) {
    case OutputKind::key:
        postKey(engine, static_cast<uint32_t>(bind.code), true);
        break;
    case OutputKind::mouseButton:
        pressMouseButton(engine, bind.code, true);
        break;
    case OutputKind::mouseMotion:
    case OutputKind::wheel:
        engine.mouseState.rateOf(bind.kind, bind.code)
            ->store((static_cast<float>(bind.sign) * effect) * bind.amount);
        break;
    case OutputKind::wheelStep:
        wheelStep(engine, bind.code, bind.sign);
        break;
    default:
        break;
    }
}

template <typename Bind> void turnOff(Engine& engine, const Bind& bind) {
    switch (bind.kind) {
    case OutputKind::key:
        postKey(engine, static_cast<uint32_t>(bind.code), false);
        break;
    case OutputKind::mouseButton:
        pressMouseButton(engine, bind.code, false);
        break;
    case OutputKind::mouseMotion:
    case OutputKind::wheel:
        engine.mouseState.rateOf(bind.kind, bind.code)->store(0.0f);
        break;
    default:
        break;
    }
}

} // namespace

void JoystickMap::bindOn(const ButtonBind& bind, float effect) {
    turnOn(engine_, bind, effect);
}

void JoystickMap::bindOff(const ButtonBind& bind) {
    turnOff(engine_, bind);
}

void JoystickMap::updateAxis(uint32_t axis, int16_t rawValue) {
    if (!below(axis, axisCount)) {
        return;
    }
    const float v = axisPosition(rawValue);
    const float deadZone = axisDeadZones[axis];
    float value = 0.0f;
    if (std::fabs(v) > deadZone) {
        value = (v > 0 ? v - deadZone : v + deadZone) / std::fabs(1.0f - deadZone);
    }
    axisValues[axis] = value;
}

bool JoystickMap::isAxisAtRest(uint32_t axis) const {
    return !below(axis, axisCount) || axisValues[axis] == 0;
}

void JoystickMap::evaluateAxis(uint32_t axis, int axisSign) {
    if (!below(axis, axisCount)) {
        return;
    }
    if (roles) {
        roles->axis(axis, axisSign);
        return;
    }
    const float value = axisValues[axis];
    for (AxisBind& bind : axisBinds[axis]) {
        const float deflection = static_cast<float>(bind.direction) * value;
        if (!bind.active) {
            if (bind.direction == axisSign && deflection > bind.threshold) {
                bind.active = true;
                turnOn(engine_, bind, deflection);
            }
        } else if (deflection <= bind.threshold) {
            bind.active = false;
            turnOff(engine_, bind);
        } else if (isRate(bind.kind)) {
            turnOn(engine_, bind, deflection);
        }
    }
}

void JoystickMap::evaluateHat(uint32_t hat, uint8_t value) {
    if (!below(hat, hatCount)) {
        return;
    }
    if (roles) {
        roles->hat(hat, value);
        hatValues[hat] = value;
        return;
    }
    hatValues[hat] = value;
    for (HatBind& bind : hatBinds[hat]) {
        const bool held = (bind.mask & value) != 0;
        if (!bind.active && held) {
            bind.active = true;
            turnOn(engine_, bind, 1.0f);
        } else if (bind.active && !held) {
            bind.active = false;
            turnOff(engine_, bind);
        }
    }
}

void JoystickMap::evaluateButton(uint32_t button, int pressed) {
    if (!below(button, buttonCount)) {
        return;
    }
    buttonStates[button] = pressed ? 1 : 0;
    if (roles) {
        roles->button(button, pressed != 0);
        return;
    }
    for (const ButtonBind& bind : buttonBinds[button]) {
        if (pressed) {
            turnOn(engine_, bind, 1.0f);
        } else {
            turnOff(engine_, bind);
        }
    }
}

void JoystickMap::releaseControls() {
    for (uint32_t button = 0; below(button, buttonCount); ++button) {
        if (buttonStates[button] != 0) {
            evaluateButton(button, 0);
        }
    }
    for (uint32_t axis = 0; below(axis, axisCount); ++axis) {
        if (!isAxisAtRest(axis)) {
            updateAxis(axis, 0);
            evaluateAxis(axis, 0);
        }
    }
    releaseSticks();
    for (uint32_t hat = 0; below(hat, hatCount); ++hat) {
        if (hatValues[hat] != 0) {
            evaluateHat(hat, 0);
        }
    }
    if (roles) {
        roles->end();
    }
}

JoystickMap* JoystickManager::mapForInstance(SDL_JoystickID instanceId) {
    for (const std::unique_ptr<JoystickMap>& map : joystickMap) {
        if (map->joystick && map->instanceId == instanceId) {
            return map.get();
        }
    }
    return nullptr;
}

// SDL lets go of a departing pad's controls with events of its own, queued before its removal and
// in an order of its own; the removal releases them here instead, so those events are passed over.
JoystickMap* JoystickManager::attachedMap(SDL_JoystickID instanceId) {
    JoystickMap* map = mapForInstance(instanceId);
    return map && SDL_JoystickGetAttached(map->joystick) ? map : nullptr;
}

std::unique_lock<std::mutex> JoystickManager::rolesLock() {
    return engine_.roleTicker.load() == this ? std::unique_lock<std::mutex>(engine_.inputRolesLock)
                                             : std::unique_lock<std::mutex>();
}

void JoystickManager::handleEvent(const SDL_Event& event) {
    const std::unique_lock<std::mutex> lock = rolesLock();
    evaluate(event);
}

void JoystickManager::evaluate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYAXISMOTION: {
        JoystickMap* map = attachedMap(event.jaxis.which);
        const uint32_t axis = event.jaxis.axis;
        if (!map || !below(axis, map->axisCount)) {
            return;
        }
        const bool wasAtRest = map->isAxisAtRest(axis);
        map->updateAxis(axis, event.jaxis.value);
        map->moveStick(axis, event.jaxis.value);
        if (wasAtRest && map->isAxisAtRest(axis)) {
            return; // moved within the dead zone
        }
        const float value = map->axisValues[axis];
        map->evaluateAxis(axis, value > 0 ? 1 : (value < 0 ? -1 : 0));
        return;
    }
    case SDL_JOYHATMOTION:
        if (JoystickMap* map = attachedMap(event.jhat.which)) {
            map->evaluateHat(event.jhat.hat, event.jhat.value);
        }
        return;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (JoystickMap* map = attachedMap(event.jbutton.which)) {
            map->evaluateButton(event.jbutton.button, event.type == SDL_JOYBUTTONDOWN ? 1 : 0);
        }
        return;
    case SDL_JOYDEVICEADDED:
        if (wasInit) {
            openNewPads();
        }
        return;
    case SDL_JOYDEVICEREMOVED:
        closePad(event.jdevice.which);
        return;
    default:
        return;
    }
}

} // namespace padloom

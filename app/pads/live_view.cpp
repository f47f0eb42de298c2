// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/live_view.h"

#include <algorithm>

namespace padloom {
namespace {

int deviceIndexOf(SDL_JoystickID instance) {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) {
            return i;
        }
    }
    return -1;
}

// The control an event moved and its new value; kind none for other events.
LiveInput inputOf(const SDL_Event& event) {
    LiveInput input;
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        input = {deviceIndexOf(event.jbutton.which), InputKind::button, event.jbutton.button,
                 event.jbutton.state == SDL_PRESSED ? 1.0f : 0.0f};
        break;
    case SDL_JOYAXISMOTION:
        input = {deviceIndexOf(event.jaxis.which), InputKind::axis, event.jaxis.axis,
                 std::max(static_cast<float>(event.jaxis.value) / 32767.0f, -1.0f)};
        break;
    case SDL_JOYHATMOTION:
        input = {deviceIndexOf(event.jhat.which), InputKind::hat, event.jhat.hat,
                 static_cast<float>(event.jhat.value)};
        break;
    default:
        break;
    }
    return input.joystick < 0 ? LiveInput{} : input;
}

} // namespace

void LiveView::openNewPads() {
    // A pad that went away leaves a handle that no longer reports anything.
    opened_.erase(std::remove_if(opened_.begin(), opened_.end(),
                                 [](SDL_JoystickID id) {
                                     SDL_Joystick* pad = SDL_JoystickFromInstanceID(id);
                                     if (pad != nullptr && SDL_JoystickGetAttached(pad)) {
                                         return false;
                                     }
                                     if (pad != nullptr) {
                                         SDL_JoystickClose(pad);
                                     }
                                     return true;
                                 }),
                  opened_.end());
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (std::find(opened_.begin(), opened_.end(), id) != opened_.end()) {
            continue;
        }
        if (SDL_Joystick* pad = SDL_JoystickOpen(i)) {
            opened_.push_back(id);
            for (int axis = 0; axis < SDL_JoystickNumAxes(pad); ++axis) {
                axisValues_[{id, axis}] = SDL_JoystickGetAxis(pad, axis);
            }
        }
    }
}

bool LiveView::axisMoved(const SDL_JoyAxisEvent& event) {
    Sint16& last = axisValues_[{event.which, event.axis}];
    const bool moved = event.value != last;
    last = event.value;
    return moved;
}

std::vector<LiveInput> LiveView::read() {
    openNewPads();
    std::vector<LiveInput> moved;
    SDL_Event events[64];
    int n = 0;
    while ((n = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED)) > 0) {
        for (int i = 0; i < n; ++i) {
            const LiveInput input = inputOf(events[i]);
            if (input.kind == InputKind::none ||
                (events[i].type == SDL_JOYAXISMOTION && !axisMoved(events[i].jaxis))) {
                continue;
            }
            auto same = std::find_if(moved.begin(), moved.end(), [&input](const LiveInput& m) {
                return m.joystick == input.joystick && m.kind == input.kind && m.index == input.index;
            });
            if (same != moved.end()) {
                same->value = input.value;
            } else {
                moved.push_back(input);
            }
        }
    }
    return moved;
}

void LiveView::close() {
    if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) {
        for (SDL_JoystickID id : opened_) {
            if (SDL_Joystick* pad = SDL_JoystickFromInstanceID(id)) {
                SDL_JoystickClose(pad);
            }
        }
    }
    opened_.clear();
    axisValues_.clear();
}

} // namespace padloom

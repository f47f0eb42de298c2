// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/capture/capture_rules.h"

#include <cmath>

namespace padloom {
namespace {

constexpr float axisCaptureLimit = 0.6f;
constexpr float capturedAxisThreshold = 0.42f;

bool straightHat(Uint8 value) {
    return value == SDL_HAT_UP || value == SDL_HAT_RIGHT || value == SDL_HAT_DOWN || value == SDL_HAT_LEFT;
}

} // namespace

bool cancelsCapture(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE;
}

CaptureEffect captureEventEffect(const SDL_Event& event, SDL_JoystickID instance, BindInput& result) {
    switch (event.type) {
    case SDL_KEYDOWN:
        return cancelsCapture(event) ? CaptureEffect::cancel : CaptureEffect::ignored;
    case SDL_JOYBUTTONDOWN:
        if (event.jbutton.which != instance) {
            return CaptureEffect::ignored;
        }
        result = {InputKind::button, event.jbutton.button, 0, 0};
        return CaptureEffect::accepted;
    case SDL_JOYAXISMOTION: {
        const float v = event.jaxis.value / 32767.0f;
        if (event.jaxis.which != instance || std::fabs(static_cast<double>(v)) <= axisCaptureLimit) {
            return CaptureEffect::ignored;
        }
        result = {InputKind::axis, event.jaxis.axis, v < 0 ? -1 : 1, capturedAxisThreshold};
        return CaptureEffect::accepted;
    }
    case SDL_JOYHATMOTION:
        if (event.jhat.which != instance || !straightHat(event.jhat.value)) {
            return CaptureEffect::ignored;
        }
        result = {InputKind::hat, event.jhat.hat, event.jhat.value, 0};
        return CaptureEffect::accepted;
    default:
        return CaptureEffect::ignored;
    }
}

} // namespace padloom

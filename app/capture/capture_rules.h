// SPDX-License-Identifier: GPL-3.0-or-later
// Which SDL events a binding capture takes, and as what input.
#pragma once

#include "preset/bind_records.h"

#include <SDL.h>

namespace padloom {

enum class CaptureEffect { ignored, accepted, cancel };

// Button presses, axes pushed beyond 60% of their travel and straight hat directions of the
// joystick with the given instance are accepted (result is then set); Escape from any keyboard
// cancels; everything else is ignored.
CaptureEffect captureEventEffect(const SDL_Event& event, SDL_JoystickID instance, BindInput& result);
// Whether the event is the Escape press that cancels a capture.
bool cancelsCapture(const SDL_Event& event);

} // namespace padloom

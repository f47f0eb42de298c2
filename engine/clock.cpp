// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/clock.h"

#include <SDL.h>

namespace padloom {

uint32_t SdlClock::nowMs() {
    return SDL_GetTicks();
}

void SdlClock::sleepMs(uint32_t ms) {
    SDL_Delay(ms);
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/capture/capture_events.h"

#include <algorithm>

namespace padloom {
namespace {

constexpr uint32_t serviceStepMs = 5;

} // namespace

bool sdlEventPending() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

bool SdlCaptureEvents::waitForEvent(uint32_t timeoutMs) {
    const uint32_t start = SDL_GetTicks();
    for (;;) {
        serviceWindowSystem();
        if (sdlEventPending()) {
            return true;
        }
        const uint32_t passed = SDL_GetTicks() - start;
        if (passed >= timeoutMs) {
            return false;
        }
        SDL_Delay(std::min(serviceStepMs, timeoutMs - passed));
    }
}

bool SdlCaptureEvents::pollEvent(SDL_Event& event) {
    return SDL_PollEvent(&event) != 0;
}

uint32_t SdlCaptureEvents::nowMs() {
    return SDL_GetTicks();
}

void SdlCaptureEvents::sleepMs(uint32_t ms) {
    serviceWindowSystem();
    SDL_Delay(ms);
}

} // namespace padloom

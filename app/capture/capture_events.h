// SPDX-License-Identifier: GPL-3.0-or-later
// What binding capture waits on: SDL's event queue and a millisecond clock.
//
// The capture runs on the main thread for up to a few seconds. To keep the window system
// responsive meanwhile, the desktop shell derives from SdlCaptureEvents and overrides
// serviceWindowSystem() to dispatch its pending window events (for GTK: a few rounds of
// g_main_context_iteration(nullptr, FALSE)); the waits below call it about every 5 ms.
// Escape reaches the capture as an SDL key-down event of SDLK_ESCAPE: the key handler of either
// window calls TesselAppDelegate::escapeCapture(), which pushes that event into SDL's queue
// while a capture runs or is queued. Tests supply their own clock by overriding the clock and the
// waits.
#pragma once

#include <SDL.h>
#include <cstdint>

namespace padloom {

class CaptureEvents {
public:
    virtual ~CaptureEvents() = default;
    // Waits until an SDL event is pending or timeoutMs have passed; true when one is pending.
    // Does not take the event.
    virtual bool waitForEvent(uint32_t timeoutMs) = 0;
    // Takes the next pending event.
    virtual bool pollEvent(SDL_Event& event) = 0;
    virtual uint32_t nowMs() = 0;
    virtual void sleepMs(uint32_t ms) = 0;
};

// The real queue and clock (SDL_GetTicks).
class SdlCaptureEvents : public CaptureEvents {
public:
    bool waitForEvent(uint32_t timeoutMs) override;
    bool pollEvent(SDL_Event& event) override;
    uint32_t nowMs() override;
    void sleepMs(uint32_t ms) override;

protected:
    // Called repeatedly during every wait and sleep; the shell dispatches its window events here.
    virtual void serviceWindowSystem() {}
};

// True when an SDL event is queued (after pumping SDL's sources).
bool sdlEventPending();

} // namespace padloom

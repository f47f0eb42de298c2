// SPDX-License-Identifier: GPL-3.0-or-later
// The screen space the synthetic cursor may move in: a confinement box around the displays in
// use and a list of blocked rectangles (gaps no display covers, and optional corner zones).
// Computed on the main thread; read by the motion tick on the timer thread for every step.
#pragma once

#include "engine/display_source.h"
#include "engine/event_sink.h"

#include <SDL.h>

namespace padloom {

class ScreenGeometry {
public:
    ScreenGeometry();
    ~ScreenGeometry();
    ScreenGeometry(const ScreenGeometry&) = delete;
    ScreenGeometry& operator=(const ScreenGeometry&) = delete;

    // The cursor is locked to the main display (display 0) of the source.
    void computeMainDisplay(DisplaySource& displays, bool avoidCorners);
    // The cursor roams over all displays of the source.
    void computeAllDisplays(DisplaySource& displays, bool avoidCorners);

    // The position at which a motion step from (cx, cy) by (dx, dy) is posted. Takes no lock that a
    // computation holds for long and allocates nothing; safe on the timer thread.
    CursorPoint confinePoint(float cx, float cy, float dx, float dy) const;

    static bool overlapX(const SDL_Rect* a, const SDL_Rect* b, SDL_Rect* out);
    static bool overlapY(const SDL_Rect* a, const SDL_Rect* b, SDL_Rect* out);

    // The published box and list, for tests and tools. (The private part below is the
    // implementation's own; readers use only these.)
    SDL_Rect bounds() const;
    int displayCount() const;
    // Copies the published blocked rectangles into out (up to max); returns how many there are.
    int blockedRects(SDL_Rect* out, int max) const;

private:
    struct State;
    State* state_;
};

} // namespace padloom

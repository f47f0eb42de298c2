// SPDX-License-Identifier: GPL-3.0-or-later
// The list of displays the screen geometry is computed from.
#pragma once

#include <SDL.h>

namespace padloom {

class DisplaySource {
public:
    virtual ~DisplaySource() = default;
    virtual int displayCount() = 0;
    // Bounds of display i in global pixels, display 0's top-left corner at the origin, y downward.
    virtual bool displayBounds(int index, SDL_Rect* bounds) = 0;
};

// SDL's display bounds, translated to display 0's origin: the engine's display source unless
// another is set. SDL's video subsystem must be running; without it there are no displays.
class SdlDisplaySource final : public DisplaySource {
public:
    int displayCount() override;
    bool displayBounds(int index, SDL_Rect* bounds) override;
};

} // namespace padloom

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

// The display source in use; SDL's display bounds (translated to display 0's origin) until another is set.
DisplaySource& displaySource();
// Sets the display source; null restores SDL's.
void setDisplaySource(DisplaySource* source);

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/display_source.h"

namespace padloom {

int SdlDisplaySource::displayCount() {
    const int count = SDL_GetNumVideoDisplays();
    return count > 0 ? count : 0;
}

// SDL reports display bounds in its own global space, in which display 0 need not sit at the
// origin. The engine's space has display 0's top-left corner at (0, 0), so every display is moved
// by display 0's offset.
bool SdlDisplaySource::displayBounds(int index, SDL_Rect* bounds) {
    SDL_Rect main;
    SDL_Rect display;
    if (bounds == nullptr || SDL_GetDisplayBounds(0, &main) != 0 ||
        SDL_GetDisplayBounds(index, &display) != 0) {
        return false;
    }
    display.x -= main.x;
    display.y -= main.y;
    *bounds = display;
    return true;
}

} // namespace padloom

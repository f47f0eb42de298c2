#include "engine/display_source.h"

#include <atomic>

namespace padloom {
namespace {

// SDL reports display bounds in its own global space, in which display 0 need not sit at the
// origin. The engine's space has display 0's top-left corner at (0, 0), so every display is moved
// by display 0's offset. SDL's video subsystem must be running; without it there are no displays.
class SdlDisplaySource final : public DisplaySource {
public:
    int displayCount() override {
        const int count = SDL_GetNumVideoDisplays();
        return count > 0 ? count : 0;
    }

    bool displayBounds(int index, SDL_Rect* bounds) override {
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
};

SdlDisplaySource sdlDisplaySource;
std::atomic<DisplaySource*> currentSource{&sdlDisplaySource};

} // namespace

DisplaySource& displaySource() {
    return *currentSource.load(std::memory_order_acquire);
}

void setDisplaySource(DisplaySource* source) {
    currentSource.store(source ? source : &sdlDisplaySource, std::memory_order_release);
}

} // namespace padloom

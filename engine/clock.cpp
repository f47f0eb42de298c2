#include "engine/clock.h"

#include <SDL.h>
#include <atomic>

namespace padloom {
namespace {

class SdlClock final : public Clock {
public:
    uint32_t nowMs() override { return SDL_GetTicks(); }
    void sleepMs(uint32_t ms) override { SDL_Delay(ms); }
};

SdlClock sdlClock;
std::atomic<Clock*> currentClock{&sdlClock};

} // namespace

Clock& engineClock() {
    return *currentClock.load(std::memory_order_acquire);
}

void setEngineClock(Clock* clock) {
    currentClock.store(clock ? clock : &sdlClock, std::memory_order_release);
}

} // namespace padloom

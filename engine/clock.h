// The engine's millisecond clock: click counting reads it, the motion tick sleeps on it.
#pragma once

#include <cstdint>

namespace padloom {

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t nowMs() = 0;         // milliseconds; wraps like SDL_GetTicks
    virtual void sleepMs(uint32_t ms) = 0;
};

// The clock in use; SDL_GetTicks and SDL_Delay until another is set.
Clock& engineClock();
// Sets the clock; null restores SDL's.
void setEngineClock(Clock* clock);

} // namespace padloom

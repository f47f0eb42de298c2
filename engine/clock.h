// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's millisecond clock: click counting and the motion timer's phase read it.
#pragma once

#include <cstdint>

namespace padloom {

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t nowMs() = 0; // milliseconds; wraps like SDL_GetTicks
    virtual void sleepMs(uint32_t ms) = 0;
};

// SDL_GetTicks and SDL_Delay: the engine's clock unless another is set.
class SdlClock final : public Clock {
public:
    uint32_t nowMs() override;
    void sleepMs(uint32_t ms) override;
};

} // namespace padloom

// The periodic timer that drives mouse and wheel motion.
#pragma once

#include <cstdint>

namespace padloom {

// Same shape as SDL_TimerCallback: returns the interval until the next call, or 0 to end the timer.
using TimerCallback = uint32_t (*)(uint32_t interval, void* param);

class TimerSource {
public:
    virtual ~TimerSource() = default;
    // Starts a timer whose first call comes after intervalMs and each next one after what the call
    // before answered; returns its id (0 when it could not be started). A timer whose callback
    // answers 0 has ended: its id is spent, and remove() of it does nothing.
    virtual int add(uint32_t intervalMs, TimerCallback callback, void* param) = 0;
    // Stops it; once this returns, the callback is not running and will not run again. Not to be
    // called from the callback itself.
    virtual void remove(int id) = 0;
};

// SDL_AddTimer and SDL_RemoveTimer: the engine's timer source unless another is set. Its timers
// run on SDL's timer thread.
class SdlTimerSource final : public TimerSource {
public:
    int add(uint32_t intervalMs, TimerCallback callback, void* param) override;
    void remove(int id) override;
};

} // namespace padloom

// The periodic timer that drives mouse and wheel motion.
#pragma once

#include <cstdint>

namespace padloom {

// Same shape as SDL_TimerCallback: returns the interval until the next call.
using TimerCallback = uint32_t (*)(uint32_t interval, void* param);

class TimerSource {
public:
    virtual ~TimerSource() = default;
    // Starts a periodic timer; returns its id (0 when it could not be started).
    virtual int add(uint32_t intervalMs, TimerCallback callback, void* param) = 0;
    // Stops it; once this returns, the callback is not running and will not run again.
    virtual void remove(int id) = 0;
};

// The timer source in use; SDL_AddTimer and SDL_RemoveTimer until another is set.
TimerSource& timerSource();
// Sets the timer source; null restores SDL's.
void setTimerSource(TimerSource* source);

} // namespace padloom

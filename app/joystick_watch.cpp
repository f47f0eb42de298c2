#include "app/joystick_watch.h"

#include "app/joystick_listing.h"

#include <SDL.h>

namespace padloom {

void JoystickWatch::start() {
    stop();
    running_ = std::make_shared<bool>(true);
    schedule();
}

void JoystickWatch::stop() {
    if (running_) {
        *running_ = false;
        running_.reset();
    }
}

void JoystickWatch::schedule() {
    loop_.runLater(periodMs, [this, running = running_] {
        if (*running) {
            look();
            schedule();
        }
    });
}

void JoystickWatch::look() {
    if (!hooks_.resting()) {
        initJoystickSubSystem();
        SDL_JoystickUpdate(); // looks for devices that came or went
        SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED);
    } else if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
        return;
    }
    std::vector<std::string> names = connectedJoystickNames();
    const bool changed = names_ && names != *names_;
    names_ = std::move(names);
    if (changed) {
        hooks_.changed();
    }
}

} // namespace padloom

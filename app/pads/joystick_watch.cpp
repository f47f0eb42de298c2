#include "app/pads/joystick_watch.h"

#include "app/pads/joystick_listing.h"

#include <SDL.h>

namespace padloom {

void JoystickWatch::start() {
    stop();
    running_ = std::make_shared<bool>(true);
    schedule();
}

void JoystickWatch::stop() {
    live_.close();
    if (running_) {
        *running_ = false;
        running_.reset();
    }
}

void JoystickWatch::schedule() {
    loop_.runLater(showingLive() ? livePeriodMs : periodMs, [this, running = running_] {
        hooks_.run([this, running] {
            if (*running) {
                look();
                schedule();
            }
        });
    });
}

void JoystickWatch::look() {
    if (!hooks_.resting()) {
        initJoystickSubSystem();
        SDL_JoystickUpdate(); // looks for devices that came or went
        if (showingLive()) {
            lookLive();
        } else {
            stopLive();
            SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED);
        }
    } else {
        stopLive();
        if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
            return;
        }
    }
    // Compared with what the pages show, not with the last look: a pad that came after the pages
    // were filled and before the first look is shown by that look.
    if (connectedJoystickNames() != hooks_.shown()) {
        hooks_.changed();
    }
}

bool JoystickWatch::showingLive() const {
    return hooks_.live && hooks_.live() && !hooks_.resting();
}

void JoystickWatch::lookLive() {
    const std::vector<LiveInput> moved = live_.read();
    if (!moved.empty()) {
        liveShown_ = true;
        hooks_.moved(moved);
    }
}

void JoystickWatch::stopLive() {
    live_.close();
    if (liveShown_) {
        liveShown_ = false;
        hooks_.moved({});
    }
}

} // namespace padloom

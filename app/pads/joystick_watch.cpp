// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/joystick_watch.h"

#include "app/pads/joystick_listing.h"

#include <SDL.h>

namespace padloom {

void JoystickWatch::start() {
    stop();
    running_ = std::make_shared<bool>(true);
    devices_ = std::make_unique<DeviceEvents>();
    for (int fd : devices_->fds()) {
        watches_.push_back(loop_.watchReadable(fd, [this, fd] {
            devices_->drain(fd);
            requestLook();
        }));
    }
    loop_.runLater(0, [this, running = running_] {
        if (*running) {
            requestLook();
        }
    });
}

void JoystickWatch::stop() {
    live_.close();
    for (unsigned id : watches_) {
        loop_.stopWatching(id);
    }
    watches_.clear();
    devices_.reset();
    lookRequested_ = followUpPending_ = false;
    if (running_) {
        *running_ = false;
        running_.reset();
    }
}

// Many device events come in a burst (a pad brings several device nodes): they make one look.
void JoystickWatch::requestLook() {
    if (lookRequested_) {
        return;
    }
    lookRequested_ = true;
    hooks_.run([this, running = running_] {
        if (*running) {
            lookRequested_ = false;
            look();
        }
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
    }
    scheduleFollowUp();
    if (devices_) {
        devices_->forgetSdlEvents(); // this look's own, or ones the comparison below covers
    }
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
        return;
    }
    // Compared with what the pages show, not with the last look: a pad that came after the pages
    // were filled and before the first look is shown by that look.
    if (connectedJoystickNames() != hooks_.shown()) {
        hooks_.changed();
    }
}

// Looks on a timer only while the live view shows a pad, or while resting.
void JoystickWatch::scheduleFollowUp() {
    const bool resting = hooks_.resting();
    const bool live = !resting && showingLive() && live_.open();
    if (followUpPending_ || !running_ || (!resting && !live)) {
        return;
    }
    followUpPending_ = true;
    loop_.runLater(live ? livePeriodMs : restingPeriodMs, [this, running = running_] {
        if (*running) {
            followUpPending_ = false;
            requestLook();
        }
    });
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

// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps what the user sees of the connected joysticks (the main window's label, the editor's
// joystick names) in step with pads that come and go. It looks when told that pads came or went
// (DeviceEvents: the kernel's device events and SDL's), never on a timer while nothing happens.
//
// While nothing else uses SDL's joysticks, a look starts SDL's joystick subsystem, has it look for
// devices, and takes SDL's joystick events off the queue so that they never pile up. While a
// preset is active or a capture listens, SDL's joystick events are theirs: the watch rests, reads
// only SDL's device list, which the polling task or the capture keeps current, and looks again
// twice a second (as those wake anyway) to notice the rest's end.
//
// While the editor is open with a pad connected (and the watch does not rest), the events are the
// editor's live view: the watch looks up to 30 times a second and reports the controls that
// moved, and nothing when nothing moved.
#pragma once

#include "app/pads/device_events.h"
#include "app/pads/live_view.h"
#include "app/ui/main_loop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padloom {

class JoystickWatch {
public:
    struct Hooks {
        std::function<bool()> resting;                   // a preset is active or a capture listens
        std::function<std::vector<std::string>()> shown; // the joysticks' names the pages were given
        std::function<void()> changed;                   // the joysticks differ from those shown
        std::function<bool()> live;                      // the editor shows the pads live
        // The controls that moved; none when the live view stops showing anything.
        std::function<void(const std::vector<LiveInput>&)> moved;
        // Runs a look as an operation of the controller's: never inside another one.
        std::function<void(std::function<void()>)> run;
    };

    // While resting: the polling task or the capture wakes as often.
    static constexpr uint32_t restingPeriodMs = 500;
    // At most 30 looks a second for the live view.
    static constexpr uint32_t livePeriodMs = 34;

    JoystickWatch(MainLoop& loop, Hooks hooks) : loop_(loop), hooks_(std::move(hooks)) {}
    ~JoystickWatch() { stop(); }
    JoystickWatch(const JoystickWatch&) = delete;
    JoystickWatch& operator=(const JoystickWatch&) = delete;

    // Looks once soon, then whenever pads come or go; each look reports when the joysticks differ
    // from those shown.
    void start();
    void stop();
    // Also for the controller, when the watch's state changes (the editor opens, a capture starts).
    void look();

private:
    void requestLook();
    void scheduleFollowUp();
    bool showingLive() const;
    void lookLive();
    void stopLive();

    MainLoop& loop_;
    Hooks hooks_;
    LiveView live_;
    std::unique_ptr<DeviceEvents> devices_;
    std::vector<unsigned> watches_; // the main loop's watches of the devices' descriptors
    bool lookRequested_ = false;    // a look waits for its turn among the operations
    bool followUpPending_ = false;  // a timed look is queued
    bool liveShown_ = false;        // the page shows moved controls that stopLive must clear
    std::shared_ptr<bool> running_; // shared with the queued looks, which do nothing once stopped
};

} // namespace padloom

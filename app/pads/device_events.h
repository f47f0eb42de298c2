// SPDX-License-Identifier: GPL-3.0-or-later
// What tells the joystick watch that pads may have come or gone, so that it never has to look
// on a timer: the kernel's device events for input devices (a udev monitor, as SDL reads them
// where udev runs), changes in /dev/input (which SDL watches instead where udev is not there, as
// in containers), and SDL's own device events, which SDL sends from whichever thread updates its
// joystick list (the polling task's while a preset is active, a test's virtual pads).
//
// Each source is a file descriptor that turns readable when something happened; a source that
// can't be had (no /dev/input, no udev) is left out.
#pragma once

#include <vector>

struct udev;
struct udev_monitor;
union SDL_Event;

namespace padloom {

class DeviceEvents {
public:
    // Holds SDL's events subsystem for its length: SDL forgets its event watches when that stops.
    // Without sdlToo, only the kernel's events are heard and SDL is not called, on any thread.
    explicit DeviceEvents(bool sdlToo = true);
    ~DeviceEvents();
    DeviceEvents(const DeviceEvents&) = delete;
    DeviceEvents& operator=(const DeviceEvents&) = delete;

    std::vector<int> fds() const;
    // True when the kernel's device events can be heard: /dev/input is watched, or udev runs and
    // its monitor is open (one opens where udev does not run, and then stays silent).
    bool hearsKernel() const;
    // Reads what made fd readable, so that it waits again.
    void drain(int fd);
    // Forgets SDL's device events so far: a look that follows sees what they announced.
    void forgetSdlEvents() { drain(sdlEvents_); }

private:
    static int onSdlEvent(void* self, SDL_Event* event);
    void openUdevMonitor();

    int sdlEvents_ = -1;   // an eventfd, written by onSdlEvent on any thread
    int inputFolder_ = -1; // inotify on /dev/input
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// The application's main loop, seen from the controller.
#pragma once

#include <cstdint>
#include <functional>

namespace padloom {

class MainLoop {
public:
    virtual ~MainLoop() = default;
    // Runs task on the main thread once delayMs have passed (0: as soon as the loop is idle),
    // never from inside this call. May be called from any thread.
    virtual void runLater(uint32_t delayMs, std::function<void()> task) = 0;
    // Runs ready on the main thread whenever fd is readable, until stopWatching(the returned id);
    // ready must read what made it readable. Nothing runs from inside this call.
    virtual unsigned watchReadable(int fd, std::function<void()> ready) = 0;
    virtual void stopWatching(unsigned id) = 0;
    // Asks the application to quit; the shell calls TesselAppDelegate::applicationShouldTerminate
    // first and quits only when it answers true.
    virtual void requestTerminate() = 0;
};

} // namespace padloom

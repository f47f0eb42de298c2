// SPDX-License-Identifier: GPL-3.0-or-later
// Watches the desktop for windows entering or leaving full screen (the full-screen fix).
#pragma once

#include <functional>

namespace padloom {

class PresentationMonitor {
public:
    virtual ~PresentationMonitor() = default;
    // Installs the watch; onChange runs on the main thread at each change. Installing again
    // replaces the earlier watch.
    virtual void install(std::function<void()> onChange) = 0;
    // Removes the watch; no effect when none is installed.
    virtual void remove() = 0;
};

} // namespace padloom

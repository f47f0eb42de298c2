// SPDX-License-Identifier: GPL-3.0-or-later
// Watches which window of the desktop has the focus (presets that follow the focused program).
#pragma once

#include <functional>
#include <string>

namespace padloom {

// The window that has the focus, named as the desktop names its program (X11: WM_CLASS; Wayland:
// the app id, given as both names).
struct FocusedWindow {
    std::string instanceName; // "steam_app_620", "Navigator"
    std::string className;    // "steam_app_620", "firefox"
    bool ownWindow = false;   // one of this application's own windows
};

// What the editor tells about following: whether it works here, which way it is done or why it is
// not, and whether to offer a button that sets up the desktop's part (enableHelper).
struct FollowerState {
    bool followable = false;
    std::string text;
    bool offerEnable = false;
};

class FocusMonitor {
public:
    virtual ~FocusMonitor() = default;
    // False where no focused window will ever be reported (no way to learn it in this session).
    virtual bool available() const = 0;
    // What the editor says; by default followable exactly when available, with no text.
    virtual FollowerState state() const { return {available(), {}, false}; }
    // Sets up the desktop's part where state() offers it; done runs on the main thread afterwards.
    virtual void enableHelper(std::function<void()> done) {
        if (done) {
            done();
        }
    }
    // Installs the watch; onFocus runs on the main thread each time another window gets the focus
    // (with empty names when none has it). Installing again replaces the earlier watch.
    virtual void install(std::function<void(const FocusedWindow&)> onFocus) = 0;
    // Removes the watch; no effect when none is installed.
    virtual void remove() = 0;
};

} // namespace padloom

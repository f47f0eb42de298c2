// Watches which window of the desktop has the focus (presets that follow the focused program).
#pragma once

#include <functional>
#include <string>

namespace padloom {

// The window that has the focus, named as the desktop names its program (X11: WM_CLASS).
struct FocusedWindow {
    std::string instanceName; // "steam_app_620", "Navigator"
    std::string className;    // "steam_app_620", "firefox"
    bool ownWindow = false;   // one of this application's own windows
};

class FocusMonitor {
public:
    virtual ~FocusMonitor() = default;
    // False where the focused window cannot be known (a session that is not X11).
    virtual bool available() const = 0;
    // Installs the watch; onFocus runs on the main thread each time another window gets the focus
    // (with empty names when none has it). Installing again replaces the earlier watch.
    virtual void install(std::function<void(const FocusedWindow&)> onFocus) = 0;
    // Removes the watch; no effect when none is installed.
    virtual void remove() = 0;
};

} // namespace padloom

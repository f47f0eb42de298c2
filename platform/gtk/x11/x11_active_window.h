// SPDX-License-Identifier: GPL-3.0-or-later
// The active window of an X11 session, as the window manager announces it in the root window's
// _NET_ACTIVE_WINDOW, and the property changes of that window. One GDK event filter serves every
// listener (the full-screen fix, presets that follow the focused program); it is installed while
// there is a listener. On other sessions nothing is ever reported.
#pragma once

#include <string>
#include <vector>

namespace padloom {

class X11ActiveWindow {
public:
    using WindowId = unsigned long; // an X window id; 0 for none

    class Listener {
    public:
        virtual ~Listener() = default;
        // Another window became active (0: none); not called for the window active when the first
        // listener came.
        virtual void activeWindowChanged(WindowId window) = 0;
        // A property of the active window changed.
        virtual void activeWindowPropertyChanged(unsigned long /*atom*/) {}
    };

    X11ActiveWindow() = default;
    ~X11ActiveWindow();
    X11ActiveWindow(const X11ActiveWindow&) = delete;
    X11ActiveWindow& operator=(const X11ActiveWindow&) = delete;

    // Whether the default display is an X11 display.
    static bool available();
    void addListener(Listener* listener);
    void removeListener(Listener* listener);
    WindowId active() const { return active_; }

    // An atom of the default display.
    static unsigned long atom(const char* name);
    // The property's 32-bit items; empty when the window is gone or has no such property.
    static std::vector<unsigned long> property(WindowId window, const char* name, unsigned long type);
    // The window's WM_CLASS: its instance and class names, empty when it has none (or is gone).
    static void windowClass(WindowId window, std::string& instanceName, std::string& className);
    // Whether the window is one of this process's own.
    static bool isOwnWindow(WindowId window);

private:
    struct Filter;
    // Reads _NET_ACTIVE_WINDOW; when it names another window, follows that one and, if tell, says so.
    void followActiveWindow(bool tell);
    void stopFollowing();

    std::vector<Listener*> listeners_;
    bool filtering_ = false;
    WindowId active_ = 0;
    bool watchingForeign_ = false; // we selected property events on active_
};

} // namespace padloom

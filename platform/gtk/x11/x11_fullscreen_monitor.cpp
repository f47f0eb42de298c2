// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/x11/x11_fullscreen_monitor.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace padloom {

X11FullscreenMonitor::~X11FullscreenMonitor() {
    remove();
}

void X11FullscreenMonitor::install(std::function<void()> onChange) {
    remove();
    onChange_ = std::move(onChange);
    installed_ = true;
    activeWindow_.addListener(this);
    activeFullscreen_ = activeIsFullscreen();
}

void X11FullscreenMonitor::remove() {
    if (!installed_) {
        return;
    }
    installed_ = false;
    onChange_ = nullptr;
    activeWindow_.removeListener(this);
}

void X11FullscreenMonitor::activeWindowChanged(X11ActiveWindow::WindowId) {
    checkFullscreen();
}

void X11FullscreenMonitor::activeWindowPropertyChanged(unsigned long atom) {
    if (atom == X11ActiveWindow::atom("_NET_WM_STATE")) {
        checkFullscreen();
    }
}

bool X11FullscreenMonitor::activeIsFullscreen() const {
    const X11ActiveWindow::WindowId window = activeWindow_.active();
    if (window == 0) {
        return false;
    }
    const unsigned long wanted = X11ActiveWindow::atom("_NET_WM_STATE_FULLSCREEN");
    for (unsigned long state : X11ActiveWindow::property(window, "_NET_WM_STATE", XA_ATOM)) {
        if (state == wanted) {
            return true;
        }
    }
    return false;
}

// Fires only when the active window's full-screen state differs from what it was, so a change of
// focus between two ordinary windows, or another state flag, passes unnoticed.
void X11FullscreenMonitor::checkFullscreen() {
    const bool fullscreen = activeIsFullscreen();
    if (fullscreen == activeFullscreen_) {
        return;
    }
    activeFullscreen_ = fullscreen;
    if (onChange_) {
        onChange_();
    }
}

} // namespace padloom

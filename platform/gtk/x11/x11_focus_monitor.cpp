// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/x11/x11_focus_monitor.h"

#include "app/desktop/focus_session.h"

namespace padloom {

X11FocusMonitor::~X11FocusMonitor() {
    remove();
}

FollowerState X11FocusMonitor::state() const {
    return followerState(available() ? FocusSource::x11 : FocusSource::none);
}

void X11FocusMonitor::install(std::function<void(const FocusedWindow&)> onFocus) {
    remove();
    onFocus_ = std::move(onFocus);
    activeWindow_.addListener(this);
}

void X11FocusMonitor::remove() {
    if (!onFocus_) {
        return;
    }
    onFocus_ = nullptr;
    activeWindow_.removeListener(this);
}

void X11FocusMonitor::activeWindowChanged(X11ActiveWindow::WindowId window) {
    FocusedWindow focused;
    X11ActiveWindow::windowClass(window, focused.instanceName, focused.className);
    focused.ownWindow = window != 0 && X11ActiveWindow::isOwnWindow(window);
    if (onFocus_) {
        onFocus_(focused);
    }
}

} // namespace padloom

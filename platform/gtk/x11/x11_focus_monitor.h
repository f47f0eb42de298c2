// SPDX-License-Identifier: GPL-3.0-or-later
// Presets that follow the focused program, on X11: the window class (WM_CLASS) of each window
// that becomes active (X11ActiveWindow). Elsewhere it is not available and never reports.
#pragma once

#include "app/ui/focus_monitor.h"
#include "platform/gtk/x11/x11_active_window.h"

namespace padloom {

class X11FocusMonitor : public FocusMonitor, private X11ActiveWindow::Listener {
public:
    explicit X11FocusMonitor(X11ActiveWindow& activeWindow) : activeWindow_(activeWindow) {}
    ~X11FocusMonitor() override;
    X11FocusMonitor(const X11FocusMonitor&) = delete;
    X11FocusMonitor& operator=(const X11FocusMonitor&) = delete;

    bool available() const override { return X11ActiveWindow::available(); }
    FollowerState state() const override;
    void install(std::function<void(const FocusedWindow&)> onFocus) override;
    void remove() override;

private:
    void activeWindowChanged(X11ActiveWindow::WindowId window) override;

    X11ActiveWindow& activeWindow_;
    std::function<void(const FocusedWindow&)> onFocus_;
};

} // namespace padloom

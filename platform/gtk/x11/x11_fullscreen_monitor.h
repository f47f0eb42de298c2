// SPDX-License-Identifier: GPL-3.0-or-later
// The full-screen fix on X11: notices when the active window enters or leaves full screen, by
// watching the active window (X11ActiveWindow) and its _NET_WM_STATE. On other sessions the watch
// installs and removes but never fires.
#pragma once

#include "app/ui/presentation_monitor.h"
#include "platform/gtk/x11/x11_active_window.h"

namespace padloom {

class X11FullscreenMonitor : public PresentationMonitor, private X11ActiveWindow::Listener {
public:
    explicit X11FullscreenMonitor(X11ActiveWindow& activeWindow) : activeWindow_(activeWindow) {}
    ~X11FullscreenMonitor() override;
    X11FullscreenMonitor(const X11FullscreenMonitor&) = delete;
    X11FullscreenMonitor& operator=(const X11FullscreenMonitor&) = delete;

    void install(std::function<void()> onChange) override;
    void remove() override;
    bool installed() const { return installed_; }

private:
    void activeWindowChanged(X11ActiveWindow::WindowId window) override;
    void activeWindowPropertyChanged(unsigned long atom) override;
    void checkFullscreen();
    bool activeIsFullscreen() const;

    X11ActiveWindow& activeWindow_;
    std::function<void()> onChange_;
    bool installed_ = false;
    bool activeFullscreen_ = false;
};

} // namespace padloom

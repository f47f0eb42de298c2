// The full-screen fix on X11: notices when the active window enters or leaves full screen, by
// watching the root window's _NET_ACTIVE_WINDOW and the active window's _NET_WM_STATE. On other
// sessions the watch installs and removes but never fires.
#pragma once

#include "app/ui/presentation_monitor.h"

#include <cstdint>

typedef struct _GdkDisplay GdkDisplay;

namespace padloom {

class X11FullscreenMonitor : public PresentationMonitor {
public:
    X11FullscreenMonitor() = default;
    ~X11FullscreenMonitor() override;
    X11FullscreenMonitor(const X11FullscreenMonitor&) = delete;
    X11FullscreenMonitor& operator=(const X11FullscreenMonitor&) = delete;

    void install(std::function<void()> onChange) override;
    void remove() override;
    bool installed() const { return installed_; }

private:
    struct Filter;
    void followActiveWindow();
    void checkFullscreen();
    bool activeIsFullscreen() const;

    std::function<void()> onChange_;
    bool installed_ = false;
    bool x11_ = false;
    unsigned long activeWindow_ = 0; // X window id, 0 when none
    bool watchingForeign_ = false;   // we selected property events on activeWindow_
    bool activeFullscreen_ = false;
};

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// Presets that follow the focused program on wlroots compositors (Sway, Hyprland, labwc, river,
// Wayfire): the compositor's window list, zwlr_foreign_toplevel_manager_v1, on a Wayland
// connection of Padloom's own, so it works whether the app's windows are native or on XWayland.
// The focused window is the toplevel whose state holds "activated"; its app id names the program
// (an XWayland window's is its WM_CLASS class name).
#pragma once

#include "app/ui/focus_monitor.h"

#include <list>
#include <memory>
#include <string>

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

namespace padloom {

class WlrFocusMonitor : public FocusMonitor {
public:
    // Connects to the compositor of WAYLAND_DISPLAY; none when it can't be reached or offers no
    // window list.
    static std::unique_ptr<WlrFocusMonitor> connect();
    ~WlrFocusMonitor() override;
    WlrFocusMonitor(const WlrFocusMonitor&) = delete;
    WlrFocusMonitor& operator=(const WlrFocusMonitor&) = delete;

    // False once the compositor has gone or ended the list.
    bool available() const override { return display_ != nullptr && manager_ != nullptr; }
    FollowerState state() const override;
    void install(std::function<void(const FocusedWindow&)> onFocus) override;
    void remove() override;

    struct Toplevel {
        WlrFocusMonitor* monitor;
        zwlr_foreign_toplevel_handle_v1* handle;
        std::string appId;
        bool activated = false;
        bool pendingActivated = false;
    };

private:
    struct Events;
    WlrFocusMonitor() = default;
    // A toplevel's batch of changes is complete, or it is gone.
    void toplevelDone(Toplevel& toplevel);
    void toplevelClosed(Toplevel& toplevel);
    // Tells the window that is activated now, when it is another than last told.
    void tell();
    void read();
    void lost();
    void disconnect();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    std::list<Toplevel> toplevels_; // stable addresses: each is its handle's listener data
    std::function<void(const FocusedWindow&)> onFocus_;
    unsigned watch_ = 0;   // the GLib source reading the connection
    std::string told_;     // the app id last told
    bool toldAny_ = false; // whether a window was told (else: none)
};

} // namespace padloom

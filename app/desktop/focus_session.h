// SPDX-License-Identifier: GPL-3.0-or-later
// How this session lets Padloom learn the focused program, and what the editor says about it.
// X11 tells any client; a Wayland compositor tells only through its own means: wlroots
// compositors through their window list (zwlr_foreign_toplevel_manager_v1), KDE Plasma through a
// KWin script and GNOME Shell through an extension, both of which report to the app over D-Bus.
#pragma once

#include "app/ui/focus_monitor.h"

#include <string>
#include <string_view>

namespace padloom {

enum class FocusSource {
    x11,          // _NET_ACTIVE_WINDOW of the X server
    wlroots,      // the compositor's window list
    kwin,         // Padloom's KWin script, loaded by the app
    gnomeShell,   // Padloom's GNOME Shell extension, enabled by the user
    otherWayland, // a Wayland desktop without any of these: only a helper of the user's may report
    none,         // no desktop session
};

// What the session shows at start.
struct SessionFacts {
    bool wayland = false;         // WAYLAND_DISPLAY is set, or XDG_SESSION_TYPE is "wayland"
    bool x11Display = false;      // the app's windows are on an X server (an X11 session or XWayland)
    std::string currentDesktop{}; // XDG_CURRENT_DESKTOP: names separated by ':' ("ubuntu:GNOME")
    bool wlrToplevels = false;    // the compositor offers zwlr_foreign_toplevel_manager_v1
    bool kwinOnBus = false;       // org.kde.KWin has an owner on the session bus
    bool gnomeShellOnBus = false; // org.gnome.Shell has an owner on the session bus
};

// On a Wayland session the X server (XWayland) sees only its own windows, so a Wayland way wins.
FocusSource chooseFocusSource(const SessionFacts& facts);

// The app ids (and WM_CLASS names) this application's windows carry, in either case.
bool isOwnAppId(std::string_view appId);
// A window reported by its Wayland app id (an XWayland window's by its class).
FocusedWindow windowOfAppId(std::string_view appId);

// What a desktop helper's reports look like to the editor.
FollowerState followerState(FocusSource source);
// On another Wayland desktop, a program of the user's reports the focus.
FollowerState otherHelperReports();
// The KWin script could not be loaded: why.
FollowerState kwinScriptFailed(const std::string& why);

// What GNOME Shell says of Padloom's extension, and what the editor makes of it.
struct GnomeExtensionFacts {
    bool known = false;             // the shell has read the extension (installed before it started)
    int state = 0;                  // the shell's state number for it (1 active, 2 disabled, 3 error, ...)
    std::string error{};            // the shell's error text, if any
    bool enabledInSettings = false; // listed in org.gnome.shell enabled-extensions
    bool userExtensionsOff = false; // org.gnome.shell disable-user-extensions
    bool reported = false;          // a report has come from it since the app started
};
FollowerState gnomeExtensionState(const GnomeExtensionFacts& facts);

} // namespace padloom

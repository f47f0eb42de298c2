// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/wayland/focus_chooser.h"

#include "platform/gtk/wayland/desktop_helpers.h"
#include "platform/gtk/wayland/wlr_focus_monitor.h"
#include "platform/gtk/x11/x11_focus_monitor.h"

#include <gio/gio.h>

namespace padloom {
namespace {

std::string environment(const char* name) {
    const char* value = g_getenv(name);
    return value != nullptr ? value : "";
}

bool hasOwner(GDBusConnection* bus, const char* name) {
    if (bus == nullptr) {
        return false;
    }
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned;
}

std::unique_ptr<FocusMonitor> reports(GDBusConnection* bus, const std::string& objectPath,
                                      std::unique_ptr<DesktopHelper> helper) {
    return std::make_unique<FocusReports>(bus, objectPath, std::move(helper));
}

} // namespace

// The facts are asked for only as far as the choice needs them: a wlroots compositor, for one,
// is asked for its window list once, and that connection is kept.
FocusChoice chooseFocusMonitor(X11ActiveWindow& activeWindow, GDBusConnection* bus,
                               const std::string& objectPath, const std::string& resourceDir) {
    SessionFacts facts;
    facts.wayland = !environment("WAYLAND_DISPLAY").empty() || environment("XDG_SESSION_TYPE") == "wayland";
    facts.x11Display = X11ActiveWindow::available();
    facts.currentDesktop = environment("XDG_CURRENT_DESKTOP");
    std::unique_ptr<WlrFocusMonitor> wlr = facts.wayland ? WlrFocusMonitor::connect() : nullptr;
    facts.wlrToplevels = wlr != nullptr;
    if (facts.wayland && !facts.wlrToplevels) {
        facts.kwinOnBus = hasOwner(bus, "org.kde.KWin");
        facts.gnomeShellOnBus = hasOwner(bus, "org.gnome.Shell");
    }
    FocusChoice choice;
    choice.source = chooseFocusSource(facts);
    switch (choice.source) {
    case FocusSource::x11:
    case FocusSource::none:
        choice.monitor = std::make_unique<X11FocusMonitor>(activeWindow);
        break;
    case FocusSource::wlroots:
        choice.monitor = std::move(wlr);
        break;
    case FocusSource::kwin:
        choice.monitor = reports(bus, objectPath,
                                 std::make_unique<KWinScript>(bus, resourceDir + "/kwin/padloom-focus.js"));
        break;
    case FocusSource::gnomeShell:
        choice.monitor = reports(bus, objectPath, std::make_unique<GnomeExtension>(bus));
        break;
    case FocusSource::otherWayland:
        choice.monitor = reports(bus, objectPath, std::make_unique<NoDesktopHelper>());
        break;
    }
    return choice;
}

} // namespace padloom

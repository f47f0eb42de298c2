// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/focus_session.h"

#include <algorithm>
#include <array>

namespace padloom {
namespace {

bool sameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Whether the ':'-separated desktop list names desktop.
bool desktopNamed(std::string_view list, std::string_view desktop) {
    while (!list.empty()) {
        const std::size_t colon = std::min(list.find(':'), list.size());
        if (sameText(list.substr(0, colon), desktop)) {
            return true;
        }
        list.remove_prefix(std::min(colon + 1, list.size()));
    }
    return false;
}

// GNOME Shell's numbers for an extension's state (org.gnome.Shell.Extensions).
enum GnomeState { gnomeActive = 1, gnomeDisabled = 2, gnomeError = 3, gnomeOutOfDate = 4 };

constexpr char gnomeEnable[] = "GNOME Shell: enable the Padloom extension to follow the focused program.";

} // namespace

FocusSource chooseFocusSource(const SessionFacts& facts) {
    if (!facts.wayland) {
        return facts.x11Display ? FocusSource::x11 : FocusSource::none;
    }
    if (facts.wlrToplevels) {
        return FocusSource::wlroots;
    }
    if (facts.kwinOnBus || desktopNamed(facts.currentDesktop, "KDE")) {
        return FocusSource::kwin;
    }
    if (facts.gnomeShellOnBus || desktopNamed(facts.currentDesktop, "GNOME")) {
        return FocusSource::gnomeShell;
    }
    return FocusSource::otherWayland;
}

bool isOwnAppId(std::string_view appId) {
    static constexpr std::array<std::string_view, 2> own = {"io.github.padloom.Padloom", "padloom"};
    return std::any_of(own.begin(), own.end(), [&](std::string_view id) { return sameText(id, appId); });
}

FocusedWindow windowOfAppId(std::string_view appId) {
    return {std::string(appId), std::string(appId), isOwnAppId(appId)};
}

FollowerState followerState(FocusSource source) {
    switch (source) {
    case FocusSource::x11:
        return {true, "Follows the focused window of this X11 session.", false};
    case FocusSource::wlroots:
        return {true, "Follows the focused window through the compositor's window list (wlroots).", false};
    case FocusSource::kwin:
        return {true, "KDE Plasma: Padloom's KWin script reports the focused window.", false};
    case FocusSource::gnomeShell:
        return {true, "GNOME Shell: the Padloom extension reports the focused window.", false};
    case FocusSource::otherWayland:
        return {false,
                "This Wayland desktop tells no program which window has the focus, and Padloom has no "
                "helper for it: the programs are kept with the preset, but nothing is switched.",
                false};
    case FocusSource::none:
        break;
    }
    return {false, "Following the focused program needs a desktop session.", false};
}

FollowerState otherHelperReports() {
    return {true, "A program of this desktop reports the focused window to Padloom.", false};
}

FollowerState kwinScriptFailed(const std::string& why) {
    return {false,
            "KDE Plasma: Padloom's KWin script could not be loaded (" + why + "); nothing is switched.",
            false};
}

FollowerState gnomeExtensionState(const GnomeExtensionFacts& facts) {
    if (facts.reported || (facts.known && facts.state == gnomeActive)) {
        return followerState(FocusSource::gnomeShell);
    }
    if (facts.known && facts.state == gnomeError) {
        return {false, "GNOME Shell: the Padloom extension failed: " + facts.error, false};
    }
    if (facts.known && facts.state == gnomeOutOfDate) {
        return {false, "GNOME Shell: the Padloom extension does not support this version of GNOME Shell.",
                false};
    }
    if (facts.userExtensionsOff) {
        return {
            false,
            "GNOME Shell: extensions are switched off; switch them on (in the Extensions app), then enable "
            "the Padloom extension.",
            false};
    }
    if (!facts.enabledInSettings) {
        return {false, gnomeEnable, true};
    }
    // Enabled, but the shell has not taken it up: on Wayland it reads newly installed extensions at
    // log-in only.
    return {false, "GNOME Shell: the Padloom extension is enabled but not active yet; log out and back in.",
            false};
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/focus_session.h"

#include <gtest/gtest.h>

namespace padloom {
namespace {

TEST(FocusSession, TheSessionChoosesTheWayOfFollowing) {
    const struct {
        const char* what;
        SessionFacts facts;
        FocusSource source;
    } rows[] = {
        {"X11 session", {.x11Display = true, .currentDesktop = "XFCE"}, FocusSource::x11},
        {"no display at all", {}, FocusSource::none},
        {"sway: its window list",
         {.wayland = true, .currentDesktop = "sway", .wlrToplevels = true},
         FocusSource::wlroots},
        {"the window list wins over names", {true, true, "KDE", true, true, true}, FocusSource::wlroots},
        {"KWin on the bus", {.wayland = true, .kwinOnBus = true}, FocusSource::kwin},
        {"Plasma by name, KWin not yet on the bus",
         {.wayland = true, .currentDesktop = "KDE"},
         FocusSource::kwin},
        {"GNOME Shell on the bus", {.wayland = true, .gnomeShellOnBus = true}, FocusSource::gnomeShell},
        {"GNOME by one of its names, in any case",
         {.wayland = true, .currentDesktop = "ubuntu:gnome"},
         FocusSource::gnomeShell},
        {"a name that only contains GNOME",
         {.wayland = true, .currentDesktop = "GNOME-Flashback"},
         FocusSource::otherWayland},
        {"Wayland elsewhere: XWayland's X server sees its own windows only",
         {.wayland = true, .x11Display = true, .currentDesktop = "Hyprland"},
         FocusSource::otherWayland},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(chooseFocusSource(row.facts), row.source) << row.what;
    }
}

TEST(FocusSession, TheAppsOwnIdsNameOwnWindowsAndAnAppIdIsBothNames) {
    const struct {
        const char* appId;
        bool own;
    } rows[] = {{"io.github.padloom.Padloom", true},
                {"padloom", true},
                {"Padloom", true},
                {"IO.GITHUB.PADLOOM.PADLOOM", true},
                {"padloomctl", false},
                {"io.github.padloom", false},
                {"", false},
                {"steam_app_620", false}};
    for (const auto& row : rows) {
        const FocusedWindow window = windowOfAppId(row.appId);
        EXPECT_EQ(window.ownWindow, row.own) << row.appId;
        EXPECT_EQ(window.instanceName, row.appId);
        EXPECT_EQ(window.className, row.appId);
    }
}

TEST(FocusSession, TheEditorSaysWhatBecomesOfGnomeShellsExtension) {
    const struct {
        const char* what;
        GnomeExtensionFacts facts;
        bool followable, offerEnable;
        const char* says;
    } rows[] = {
        {"active", {.known = true, .state = 1}, true, false, "extension reports"},
        {"not yet read, not enabled", {}, false, true, "enable the Padloom extension"},
        {"read, disabled", {.known = true, .state = 2}, false, true, "enable the Padloom extension"},
        {"enabled but not read yet", {.enabledInSettings = true}, false, false, "log out and back in"},
        {"failed", {true, 3, "TypeError: x is null", true, false, false}, false, false, "failed: TypeError"},
        {"out of date",
         {.known = true, .state = 4, .enabledInSettings = true},
         false,
         false,
         "does not support"},
        {"extensions switched off",
         {.known = true, .state = 2, .enabledInSettings = true, .userExtensionsOff = true},
         false,
         false,
         "extensions are switched off"},
        {"it reports, whatever the shell said", {.reported = true}, true, false, "extension reports"},
    };
    for (const auto& row : rows) {
        const FollowerState state = gnomeExtensionState(row.facts);
        EXPECT_EQ(state.followable, row.followable) << row.what;
        EXPECT_EQ(state.offerEnable, row.offerEnable) << row.what;
        EXPECT_NE(state.text.find(row.says), std::string::npos) << row.what << ": " << state.text;
    }
}

} // namespace
} // namespace padloom

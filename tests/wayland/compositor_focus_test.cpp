// SPDX-License-Identifier: GPL-3.0-or-later
// Presets follow the focused program on a real Wayland desktop (tests/wayland/desktop-session
// starts it, with three windows of other programs): the shell in-process picks the desktop's way
// of following (the wlroots window list, Padloom's KWin script, Padloom's GNOME Shell extension)
// as the app does at start, and the preset switches as the test moves the focus between two
// native Wayland windows and an XWayland one, and comes back. The shell's own windows are native
// Wayland windows of the compositor with the app id "padloom", or XWayland windows of that class.
#include "platform/gtk/desktop/remote_client.h"
#include "platform/gtk/x11/x11_active_window.h"
#include "tests/integration/shell_harness.h"

#include <cstdlib>
#include <gio/gio.h>
#include <map>
#include <optional>
#include <sstream>

namespace padloom::test {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Moves the desktop's focus to the window of that app id, as a user's click would.
bool moveFocus(const std::string& appId) {
    std::vector<std::string> words;
    std::istringstream command(environment("PADLOOM_TEST_MOVE_FOCUS") + " " + appId);
    for (std::string word; command >> word;) {
        words.push_back(word);
    }
    return runProgram(words).exit == 0;
}

bool kwinScriptLoaded(GDBusConnection* bus) {
    GVariant* reply =
        g_dbus_connection_call_sync(bus, "org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting",
                                    "isScriptLoaded", g_variant_new("(s)", "padloom-focus"),
                                    G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    gboolean loaded = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &loaded);
        g_variant_unref(reply);
    }
    return loaded;
}

class CompositorFocus : public ::testing::Test {
protected:
    void SetUp() override {
        desktop = environment("PADLOOM_TEST_DESKTOP");
        if (desktop.empty()) {
            GTEST_SKIP() << "not inside tests/wayland/desktop-session";
        }
        g_set_prgname("padloom"); // the app id of the shell's windows, as the app's own
        ASSERT_TRUE(ShellHarness::displayAvailable()) << "GTK cannot open the compositor's display";
        // The shell's windows are on XWayland exactly when desktop-session asks for it.
        ASSERT_EQ(X11ActiveWindow::available(), environment("GDK_BACKEND") == "x11");
        application.reset(g_application_new(remote::applicationId, G_APPLICATION_DEFAULT_FLAGS));
        ASSERT_TRUE(g_application_register(application.get(), nullptr, nullptr));
        harness.emplace();
        harness->bus = g_application_get_dbus_connection(application.get());
        harness->busObjectPath = g_application_get_dbus_object_path(application.get());
        harness->writePreset("Hand.txt", presetText("Hand", "by hand"));
        harness->writePreset("A.txt",
                             R"({"name":"A","activateFor":["loomtest-a"],"joysticks":[{"binds":{}}]})");
        harness->writePreset("X.txt",
                             R"({"name":"X","activateFor":["LOOMTEST-X*"],"joysticks":[{"binds":{}}]})");
    }

    FocusFollowing& following() { return harness->controller().focusFollowing(); }
    bool runs(const std::string& file) {
        return pumpUntil([&] { return following().currentPreset().value_or("") == file; });
    }

    std::string desktop;
    std::unique_ptr<GApplication, void (*)(gpointer)> application{nullptr, g_object_unref};
    std::optional<ShellHarness> harness;
};

TEST_F(CompositorFocus, PresetsSwitchAndComeBackAsTheFocusMoves) {
    const std::map<std::string, std::string> wayOfFollowing = {
        {"sway", "wlroots"}, {"kwin", "KWin script"}, {"gnome", "GNOME Shell"}};
    harness->plug(2, 4, 1);
    harness->start();
    if (desktop == "gnome") {
        // The extension is installed, not yet enabled: the editor offers the button, which enables it.
        EXPECT_TRUE(following().state().offerEnable) << following().state().text;
        harness->controller().enableFocusHelper();
    }
    ASSERT_TRUE(pumpUntil([&] { return following().state().followable; })) << following().state().text;
    EXPECT_NE(following().state().text.find(wayOfFollowing.at(desktop)), std::string::npos)
        << following().state().text;

    // Which window the desktop focused first varies; the hand switch is made while a known program
    // has the focus, so that each step below is a change of program.
    ASSERT_TRUE(moveFocus("loomtest-x11"));
    ASSERT_TRUE(runs("X.txt")) << following().currentPreset().value_or("none") << " runs";
    ASSERT_TRUE(harness->controller().activatePreset("Hand.txt"));
    const std::pair<const char*, const char*> steps[] = {
        // the window that gets the focus, and the preset that runs then
        {"loomtest-a", "A.txt"}, {"loomtest-b", "Hand.txt"}, {"loomtest-x11", "X.txt"},
        {"loomtest-a", "A.txt"}, {"loomtest-x11", "X.txt"},  {"loomtest-b", "Hand.txt"},
    };
    for (const auto& [window, preset] : steps) {
        ASSERT_TRUE(moveFocus(window)) << window;
        EXPECT_TRUE(runs(preset)) << window << " has the focus, and "
                                  << following().currentPreset().value_or("none") << " runs";
    }
    if (desktop == "kwin") {
        GDBusConnection* bus = harness->bus;
        EXPECT_TRUE(kwinScriptLoaded(bus));
        harness.reset(); // the app quits
        EXPECT_FALSE(kwinScriptLoaded(bus));
    }
}

} // namespace
} // namespace padloom::test

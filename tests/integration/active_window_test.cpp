// SPDX-License-Identifier: GPL-3.0-or-later
// The active-window watch on a real X server: other clients' windows become active (as a window
// manager announces it) and enter or leave full screen; the full-screen fix and presets that
// follow the focused program listen to the same watch.
// gtest comes before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "platform/gtk/x11/x11_focus_monitor.h"
#include "platform/gtk/x11/x11_fullscreen_monitor.h"
#include "tests/integration/shell_harness.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

namespace padloom::test {
namespace {

// A second X connection playing another application, with a window of class "Focustest-<name>"
// (instance "focustest-<name>"), and the window manager.
class OtherClient {
public:
    explicit OtherClient(const std::string& name) : display_(XOpenDisplay(nullptr)) {
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
        std::string instance = "focustest-" + name, windowClass = "Focustest-" + name;
        XClassHint hint{instance.data(), windowClass.data()};
        XSetClassHint(display_, window_, &hint);
        XFlush(display_);
    }
    ~OtherClient() {
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }

    // Makes window (this client's by default; 0: none) the active one.
    void makeActive(bool active, unsigned long window = 0) {
        ::Window value = active ? (window ? window : window_) : 0;
        set(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW, &value, 1);
    }
    // Sets the window's state list: full screen or not, with another flag beside it.
    void setFullscreen(bool fullscreen) {
        Atom states[] = {atom("_NET_WM_STATE_ABOVE"), atom("_NET_WM_STATE_FULLSCREEN")};
        set(window_, "_NET_WM_STATE", XA_ATOM, states, fullscreen ? 2 : 1);
    }

private:
    Atom atom(const char* name) { return XInternAtom(display_, name, False); }
    void set(::Window window, const char* property, Atom type, void* values, int count) {
        XChangeProperty(display_, window, atom(property), type, 32, PropModeReplace,
                        static_cast<unsigned char*>(values), count);
        XSync(display_, False);
    }
    Display* display_; // the test is skipped without an X display
    ::Window window_;
};

// Handles every event the other client has caused so far: its changes are on the server
// (it synced), and a round trip on GDK's own connection brings their notifications in.
void settle() {
    XSync(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), False);
    drainMainLoop();
}

class ActiveWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ShellHarness::displayAvailable() || !GDK_IS_X11_DISPLAY(gdk_display_get_default())) {
            GTEST_SKIP() << "no X11 display";
        }
        game.emplace("Game");
        editor.emplace("Editor");
        game->makeActive(false); // X window ids are reused: an earlier test's active one may be game's
        settle();
    }
    std::optional<OtherClient> game, editor;
};

TEST_F(ActiveWindow, ReportsEachWindowsClassAndFullScreenChanges) {
    GtkWidget* own = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_realize(own);
    const unsigned long ownWindow = GDK_WINDOW_XID(gtk_widget_get_window(own));
    X11ActiveWindow watch;
    X11FullscreenMonitor fullscreen(watch);
    X11FocusMonitor focus(watch);
    int changes = 0;
    std::vector<std::string> seen;
    fullscreen.install([&] { ++changes; });
    fullscreen.install([&] { ++changes; }); // installing again keeps one watch
    focus.install([&](const FocusedWindow& w) {
        seen.push_back(w.ownWindow ? "own" : w.instanceName + "/" + w.className);
    });
    ASSERT_TRUE(focus.available());
    const std::string gameClass = "focustest-Game/Focustest-Game";
    const std::tuple<const char*, std::function<void()>, int, std::string> steps[] = {
        // what happens, the full-screen changes so far, the last window reported
        {"full screen but not active yet", [&] { game->setFullscreen(true); }, 0, ""},
        {"an active full-screen window appears", [&] { game->makeActive(true); }, 1, gameClass},
        {"the active window leaves full screen", [&] { game->setFullscreen(false); }, 2, gameClass},
        {"another state change that is not full screen", [&] { game->setFullscreen(false); }, 2, gameClass},
        {"full screen again", [&] { game->setFullscreen(true); }, 3, gameClass},
        {"an ordinary window", [&] { editor->makeActive(true); }, 4, "focustest-Editor/Focustest-Editor"},
        {"our own window", [&] { game->makeActive(true, ownWindow); }, 4, "own"},
        {"no window", [&] { game->makeActive(false); }, 4, "/"},
        {"the focus watch alone", [&] { fullscreen.remove(), game->makeActive(true); }, 4, gameClass},
    };
    for (const auto& [what, step, changesSoFar, lastSeen] : steps) {
        step();
        settle();
        EXPECT_EQ(changes, changesSoFar) << what;
        EXPECT_EQ(seen.empty() ? "" : seen.back(), lastSeen) << what;
    }
    EXPECT_EQ(seen.size(), 5u); // only changes of the active window are reported
    focus.remove();
    gtk_widget_destroy(own);
}

// The game's preset is marked while its window is active; leaving it releases what it held.
TEST_F(ActiveWindow, AGamesPresetRunsWhileItsWindowIsActive) {
    ShellHarness harness;
    harness.writePreset("Hand.txt", presetText("Hand", "by hand"));
    harness.writePreset(
        "Game.txt",
        R"({"name":"Game","activateFor":["focustest-game"],"joysticks":[{"binds":{"btn 0":["key 5"]}}]})");
    harness.start();
    VirtualJoystick& pad = harness.plug(2, 4, 1);
    const auto runs = [&](const std::string& file) {
        return pumpUntil([&] {
            return harness.controller().focusFollowing().currentPreset().value_or("") == file &&
                   harness.markedPresets() == file;
        });
    };
    ASSERT_EQ(harness.awaitMain("app.activatePreset_('Hand.txt')").value, ScriptValue(true));
    game->makeActive(true);
    ASSERT_TRUE(runs("Game.txt"));
    pad.setButton(0, true);
    ASSERT_TRUE(pumpUntil([&] { return harness.sink.count() == 1; }));
    editor->makeActive(true);
    ASSERT_TRUE(runs("Hand.txt"));
    harness.sink.expectKey(11, true, 0); // key 5, the letter B
    harness.sink.expectKey(11, false, 0);
    harness.sink.expectNoEvents();
    EXPECT_TRUE(
        pumpUntil([&] { return harness.main("$('#blockLayer').is(':visible')") == ScriptValue(false); }));
}

} // namespace
} // namespace padloom::test

// The active-window watch on a real X server: other clients' windows become active (as a window
// manager announces it) and enter or leave full screen; the full-screen fix and presets that
// follow the focused program listen to the same watch.
// gtest comes before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "platform/gtk/x11_focus_monitor.h"
#include "platform/gtk/x11_fullscreen_monitor.h"
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

// A second X connection playing another application, with a window of the given class, and the
// window manager.
class OtherClient {
public:
    explicit OtherClient(const char* windowClass) : display_(XOpenDisplay(nullptr)) {
        if (!display_)
            return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
        std::string instance = windowClass;
        instance[0] = static_cast<char>(std::tolower(instance[0]));
        XClassHint hint{instance.data(), const_cast<char*>(windowClass)};
        XSetClassHint(display_, window_, &hint);
        XFlush(display_);
    }
    ~OtherClient() {
        if (!display_)
            return;
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
    bool ok() const { return display_ != nullptr; }

    // Makes window (this client's by default; 0: none) the active one.
    void makeActive(bool active, unsigned long window = 0) {
        ::Window value = active ? (window ? window : window_) : 0;
        XChangeProperty(display_, DefaultRootWindow(display_), atom("_NET_ACTIVE_WINDOW"), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
        XSync(display_, False);
    }
    // Sets the window's state list: full screen or not, with another flag beside it.
    void setFullscreen(bool fullscreen) {
        Atom states[] = {atom("_NET_WM_STATE_ABOVE"), atom("_NET_WM_STATE_FULLSCREEN")};
        XChangeProperty(display_, window_, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(states), fullscreen ? 2 : 1);
        XSync(display_, False);
    }

private:
    Atom atom(const char* name) { return XInternAtom(display_, name, False); }
    Display* display_;
    ::Window window_ = 0;
};

// Handles every event the other client has caused so far: its changes are on the server
// (it synced), and a round trip on GDK's own connection brings their notifications in.
void settle() {
    XSync(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), False);
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

bool x11() {
    return ShellHarness::displayAvailable() && GDK_IS_X11_DISPLAY(gdk_display_get_default());
}

TEST(ActiveWindowWatch, ReportsEachActiveWindowsClassAndItsFullScreenChangesUntilRemoved) {
    if (!x11())
        GTEST_SKIP() << "no X11 display";
    OtherClient game("Focustest-Game"), editor("Focustest-Editor");
    ASSERT_TRUE(game.ok() && editor.ok());
    game.makeActive(false); // X window ids are reused: an earlier test's active one may be game's
    settle();
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
    const struct {
        const char* what;
        std::function<void()> step;
        int changes;
        std::string seen; // the last window reported
    } steps[] = {
        {"full screen but not active yet", [&] { game.setFullscreen(true); }, 0, ""},
        {"an active full-screen window appears", [&] { game.makeActive(true); }, 1, gameClass},
        {"the active window leaves full screen", [&] { game.setFullscreen(false); }, 2, gameClass},
        {"another state change that is not full screen", [&] { game.setFullscreen(false); }, 2, gameClass},
        {"full screen again", [&] { game.setFullscreen(true); }, 3, gameClass},
        {"an ordinary window becomes active", [&] { editor.makeActive(true); }, 4,
         "focustest-Editor/Focustest-Editor"},
        {"our own window", [&] { game.makeActive(true, ownWindow); }, 4, "own"},
        {"no window", [&] { game.makeActive(false); }, 4, "/"},
    };
    for (const auto& step : steps) {
        step.step();
        settle();
        EXPECT_EQ(changes, step.changes) << step.what;
        EXPECT_EQ(seen.empty() ? "" : seen.back(), step.seen) << step.what;
    }
    fullscreen.remove(); // the focus watch goes on alone
    game.makeActive(true);
    settle();
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(seen.size(), 5u); // only changes of the active window are reported
    EXPECT_EQ(seen.back(), gameClass);
    focus.remove();
    gtk_widget_destroy(own);
}

std::string gamePreset() {
    return R"({"name":"Game","activateFor":["focustest-game"],"joysticks":[{"binds":{"btn 0":["key 5"]}}]})";
}

TEST(FocusFollowing,
     AGameWindowSwitchesItsPresetOnAndLeavingItReleasesAndReturnsToThePresetSwitchedOnByHand) {
    if (!x11())
        GTEST_SKIP() << "no X11 display";
    OtherClient game("Focustest-Game"), editor("Focustest-Editor");
    ASSERT_TRUE(game.ok() && editor.ok());
    game.makeActive(false);
    ShellHarness harness;
    harness.writePreset("Hand.txt", presetText("Hand", "by hand"));
    harness.writePreset("Game.txt", gamePreset());
    harness.start();
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    const auto marked = [&] { return harness.main("$('.preset.selected').data('file') || ''").text(); };
    const auto active = [&] { return harness.controller().focusFollowing.currentPreset().value_or(""); };
    ASSERT_EQ(harness.awaitMain("app.activatePreset_('Hand.txt')").value, ScriptValue(true));

    game.makeActive(true);
    ASSERT_TRUE(pumpUntil([&] { return active() == "Game.txt" && marked() == "Game.txt"; }));
    pad.setButton(0, true);
    ASSERT_TRUE(pumpUntil([&] { return harness.sink.count() == 1; }));

    editor.makeActive(true);
    ASSERT_TRUE(pumpUntil([&] { return active() == "Hand.txt" && marked() == "Hand.txt"; }));
    harness.sink.expectKey(11, true, 0); // key 5, the letter B
    harness.sink.expectKey(11, false, 0);
    harness.sink.expectNoEvents();
    EXPECT_TRUE(
        pumpUntil([&] { return harness.main("$('#blockLayer').is(':visible')") == ScriptValue(false); }));
}

} // namespace
} // namespace padloom::test

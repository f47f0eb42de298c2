// The full-screen watch on a real X server: another client's window becomes active and enters or
// leaves full screen, as a window manager would announce it.
// gtest comes before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "platform/gtk/x11_fullscreen_monitor.h"
#include "tests/integration/shell_harness.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

// A second X connection playing the other application and the window manager.
class OtherClient {
public:
    OtherClient() : display_(XOpenDisplay(nullptr)) {
        if (!display_)
            return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
        XFlush(display_);
    }
    ~OtherClient() {
        if (!display_)
            return;
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
    bool ok() const { return display_ != nullptr; }

    void makeActive(bool active) {
        ::Window value = active ? window_ : 0;
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

TEST(FullscreenMonitor, FiresWhenTheActiveWindowEntersOrLeavesFullScreenAndNotAfterRemoval) {
    if (!ShellHarness::displayAvailable() || !GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        GTEST_SKIP() << "no X11 display";
    OtherClient other;
    ASSERT_TRUE(other.ok());
    other.makeActive(false);

    X11FullscreenMonitor monitor;
    int changes = 0;
    monitor.install([&] { ++changes; });

    other.setFullscreen(true); // not the active window yet: no change of presentation
    other.makeActive(true);    // an active full-screen window appears
    settle();
    EXPECT_EQ(changes, 1);

    other.setFullscreen(false); // the active window leaves full screen
    settle();
    EXPECT_EQ(changes, 2);

    other.setFullscreen(false); // another state change that is not full screen
    other.makeActive(true);
    settle();
    EXPECT_EQ(changes, 2);

    monitor.remove();
    other.setFullscreen(true);
    other.makeActive(false);
    settle();
    EXPECT_EQ(changes, 2);
}

TEST(FullscreenMonitor, InstallingTwiceKeepsOneWatch) {
    if (!ShellHarness::displayAvailable() || !GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        GTEST_SKIP() << "no X11 display";
    OtherClient other;
    ASSERT_TRUE(other.ok());
    other.makeActive(true);
    other.setFullscreen(false);

    X11FullscreenMonitor monitor;
    int first = 0, second = 0;
    monitor.install([&] { ++first; });
    monitor.install([&] { ++second; });
    other.setFullscreen(true);
    settle();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    monitor.remove();
}

} // namespace
} // namespace padloom::test

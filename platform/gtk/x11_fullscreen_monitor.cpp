#include "platform/gtk/x11_fullscreen_monitor.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <vector>

namespace padloom {

namespace {

Display* xDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

Atom atom(const char* name) {
    return gdk_x11_get_xatom_by_name_for_display(gdk_display_get_default(), name);
}

// The property's 32-bit items; empty when the window is gone or has no such property.
std::vector<unsigned long> windowProperty(::Window window, Atom property, Atom type) {
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(xDisplay(), window, property, 0, 1024, False, type, &actualType, &format,
                                    &count, &after, &data);
    gdk_x11_display_error_trap_pop_ignored(display);
    std::vector<unsigned long> items;
    if (status == Success && data && format == 32) {
        items.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    }
    if (data) {
        XFree(data);
    }
    return items;
}

// Windows of this process already get property events through GDK; selecting on them here
// would replace GDK's own event mask.
bool isOwnWindow(::Window window) {
    return gdk_x11_window_lookup_for_display(gdk_display_get_default(), window) != nullptr;
}

void selectPropertyEvents(::Window window, bool on) {
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    XSelectInput(xDisplay(), window, on ? PropertyChangeMask : NoEventMask);
    gdk_x11_display_error_trap_pop_ignored(display);
}

} // namespace

struct X11FullscreenMonitor::Filter {
    static GdkFilterReturn run(GdkXEvent* native, GdkEvent*, gpointer data) {
        auto* monitor = static_cast<X11FullscreenMonitor*>(data);
        auto* event = static_cast<XEvent*>(native);
        if (event->type != PropertyNotify) {
            return GDK_FILTER_CONTINUE;
        }
        const XPropertyEvent& property = event->xproperty;
        if (property.window == DefaultRootWindow(xDisplay()) && property.atom == atom("_NET_ACTIVE_WINDOW")) {
            monitor->followActiveWindow();
            monitor->checkFullscreen();
        } else if (property.window == monitor->activeWindow_ && property.atom == atom("_NET_WM_STATE")) {
            monitor->checkFullscreen();
        }
        return GDK_FILTER_CONTINUE;
    }
};

X11FullscreenMonitor::~X11FullscreenMonitor() {
    remove();
}

void X11FullscreenMonitor::install(std::function<void()> onChange) {
    remove();
    onChange_ = std::move(onChange);
    installed_ = true;
    GdkDisplay* display = gdk_display_get_default();
    x11_ = display && GDK_IS_X11_DISPLAY(display);
    if (!x11_) {
        return;
    }
    GdkWindow* root = gdk_get_default_root_window();
    gdk_window_set_events(root, GdkEventMask(gdk_window_get_events(root) | GDK_PROPERTY_CHANGE_MASK));
    gdk_window_add_filter(nullptr, Filter::run, this);
    followActiveWindow();
    activeFullscreen_ = activeIsFullscreen();
}

void X11FullscreenMonitor::remove() {
    if (!installed_) {
        return;
    }
    installed_ = false;
    onChange_ = nullptr;
    if (!x11_) {
        return;
    }
    gdk_window_remove_filter(nullptr, Filter::run, this);
    if (watchingForeign_) {
        selectPropertyEvents(activeWindow_, false);
    }
    watchingForeign_ = false;
    activeWindow_ = 0;
}

void X11FullscreenMonitor::followActiveWindow() {
    std::vector<unsigned long> active =
        windowProperty(DefaultRootWindow(xDisplay()), atom("_NET_ACTIVE_WINDOW"), XA_WINDOW);
    ::Window window = active.empty() ? 0 : active.front();
    if (window == activeWindow_) {
        return;
    }
    if (watchingForeign_) {
        selectPropertyEvents(activeWindow_, false);
    }
    activeWindow_ = window;
    watchingForeign_ = window != 0 && !isOwnWindow(window);
    if (watchingForeign_) {
        selectPropertyEvents(window, true);
    }
}

bool X11FullscreenMonitor::activeIsFullscreen() const {
    if (activeWindow_ == 0) {
        return false;
    }
    Atom wanted = atom("_NET_WM_STATE_FULLSCREEN");
    for (unsigned long state : windowProperty(activeWindow_, atom("_NET_WM_STATE"), XA_ATOM)) {
        if (state == wanted) {
            return true;
        }
    }
    return false;
}

// Fires only when the active window's full-screen state differs from what it was, so a change of
// focus between two ordinary windows, or another state flag, passes unnoticed.
void X11FullscreenMonitor::checkFullscreen() {
    bool fullscreen = activeIsFullscreen();
    if (fullscreen == activeFullscreen_) {
        return;
    }
    activeFullscreen_ = fullscreen;
    if (onChange_) {
        onChange_();
    }
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/x11/x11_active_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace padloom {
namespace {

Display* xDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

void selectPropertyEvents(::Window window, bool on) {
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    XSelectInput(xDisplay(), window, on ? PropertyChangeMask : NoEventMask);
    gdk_x11_display_error_trap_pop_ignored(display);
}

} // namespace

struct X11ActiveWindow::Filter {
    static GdkFilterReturn run(GdkXEvent* native, GdkEvent*, gpointer data) {
        auto* watch = static_cast<X11ActiveWindow*>(data);
        auto* event = static_cast<XEvent*>(native);
        if (event->type != PropertyNotify) {
            return GDK_FILTER_CONTINUE;
        }
        const XPropertyEvent& property = event->xproperty;
        if (property.window == DefaultRootWindow(xDisplay()) && property.atom == atom("_NET_ACTIVE_WINDOW")) {
            watch->followActiveWindow(true);
        } else if (property.window == watch->active_ && property.window != 0) {
            // A listener may remove itself, or another, while it is told.
            const std::vector<Listener*> listeners = watch->listeners_;
            for (Listener* listener : listeners) {
                listener->activeWindowPropertyChanged(property.atom);
            }
        }
        return GDK_FILTER_CONTINUE;
    }
};

X11ActiveWindow::~X11ActiveWindow() {
    listeners_.clear();
    stopFollowing();
}

bool X11ActiveWindow::available() {
    GdkDisplay* display = gdk_display_get_default();
    return display && GDK_IS_X11_DISPLAY(display);
}

void X11ActiveWindow::addListener(Listener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
    if (filtering_ || !available()) {
        return;
    }
    filtering_ = true;
    GdkWindow* root = gdk_get_default_root_window();
    gdk_window_set_events(root, GdkEventMask(gdk_window_get_events(root) | GDK_PROPERTY_CHANGE_MASK));
    gdk_window_add_filter(nullptr, Filter::run, this);
    active_ = 0;
    followActiveWindow(false);
}

void X11ActiveWindow::removeListener(Listener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
    if (listeners_.empty()) {
        stopFollowing();
    }
}

void X11ActiveWindow::stopFollowing() {
    if (!filtering_) {
        return;
    }
    filtering_ = false;
    gdk_window_remove_filter(nullptr, Filter::run, this);
    if (watchingForeign_) {
        selectPropertyEvents(active_, false);
    }
    watchingForeign_ = false;
    active_ = 0;
}

// Windows of this process already get property events through GDK; selecting on them here would
// replace GDK's own event mask.
void X11ActiveWindow::followActiveWindow(bool tell) {
    const std::vector<unsigned long> active =
        property(DefaultRootWindow(xDisplay()), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    const WindowId window = active.empty() ? 0 : active.front();
    if (window == active_) {
        return;
    }
    if (watchingForeign_) {
        selectPropertyEvents(active_, false);
    }
    active_ = window;
    watchingForeign_ = window != 0 && !isOwnWindow(window);
    if (watchingForeign_) {
        selectPropertyEvents(window, true);
    }
    if (!tell) {
        return;
    }
    const std::vector<Listener*> listeners = listeners_;
    for (Listener* listener : listeners) {
        listener->activeWindowChanged(window);
    }
}

unsigned long X11ActiveWindow::atom(const char* name) {
    return gdk_x11_get_xatom_by_name_for_display(gdk_display_get_default(), name);
}

std::vector<unsigned long> X11ActiveWindow::property(WindowId window, const char* name, unsigned long type) {
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(xDisplay(), window, atom(name), 0, 1024, False, type, &actualType,
                                          &format, &count, &after, &data);
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

void X11ActiveWindow::windowClass(WindowId window, std::string& instanceName, std::string& className) {
    instanceName.clear();
    className.clear();
    if (window == 0) {
        return;
    }
    GdkDisplay* display = gdk_display_get_default();
    gdk_x11_display_error_trap_push(display);
    XClassHint hint{};
    const Status found = XGetClassHint(xDisplay(), window, &hint);
    gdk_x11_display_error_trap_pop_ignored(display);
    if (found == 0) {
        return;
    }
    if (hint.res_name) {
        instanceName = hint.res_name;
        XFree(hint.res_name);
    }
    if (hint.res_class) {
        className = hint.res_class;
        XFree(hint.res_class);
    }
}

bool X11ActiveWindow::isOwnWindow(WindowId window) {
    return gdk_x11_window_lookup_for_display(gdk_display_get_default(), window) != nullptr;
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/gtk_window_adapter.h"

#include "app/pages/shown_text.h"

#include <cmath>
#include <gtk/gtk.h>
#include <utility>

namespace padloom {

namespace {

float screenHeight(GtkWindow* window) {
    GdkScreen* screen = gtk_window_get_screen(window);
    return static_cast<float>(gdk_window_get_height(gdk_screen_get_root_window(screen)));
}

} // namespace

WindowFrame flipFrame(const WindowFrame& frame, float height) {
    return {frame.x, height - frame.y - frame.height, frame.width, frame.height};
}

GtkWindowAdapter::GtkWindowAdapter(GtkWindow* window, ChromeExcess chromeExcess)
    : window_(window), chromeExcess_(std::move(chromeExcess)) {
    g_signal_connect(window_, "map",
                     G_CALLBACK(+[](GtkWidget*, gpointer placed) { *static_cast<bool*>(placed) = true; }),
                     &placed_);
}

GtkWindowAdapter::~GtkWindowAdapter() {
    g_signal_handlers_disconnect_by_data(window_, &placed_);
}

WindowFrame GtkWindowAdapter::frame() const {
    int x = 0, y = 0, width = 0, height = 0;
    gtk_window_get_position(window_, &x, &y);
    gtk_window_get_size(window_, &width, &height);
    WindowFrame topLeft{float(x), float(y), float(width), float(height - chromeExcess())};
    return flipFrame(topLeft, screenHeight(window_));
}

// GTK has no animated resize; the window takes its new frame at once.
void GtkWindowAdapter::setFrame(const WindowFrame& frame, bool) {
    if (frame.width < 1 || frame.height < 1) {
        return;
    }
    WindowFrame topLeft = flipFrame(frame, screenHeight(window_));
    if (placed_) {
        gtk_window_move(window_, int(std::lround(topLeft.x)), int(std::lround(topLeft.y)));
    }
    gtk_window_resize(window_, int(std::lround(topLeft.width)),
                      int(std::lround(topLeft.height)) + chromeExcess());
}

bool GtkWindowAdapter::visible() const {
    return gtk_widget_get_visible(GTK_WIDGET(window_));
}

void GtkWindowAdapter::bringToFront() {
    gtk_widget_show(GTK_WIDGET(window_));
    gtk_window_present(window_);
}

// A title may hold a preset's name, which need not be UTF-8.
void GtkWindowAdapter::setTitle(const std::string& title) {
    gtk_window_set_title(window_, validUtf8(title).c_str());
}

} // namespace padloom

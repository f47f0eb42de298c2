// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/gtk_menu_item.h"

#include "app/pages/shown_text.h"

#include <gtk/gtk.h>

namespace padloom {

// A title may come from a preset file; GTK takes only UTF-8.
GtkMenuItemAdapter::GtkMenuItemAdapter(const std::string& title, bool checkable, std::function<void()> action)
    : title_(validUtf8(title)), action_(std::move(action)) {
    widget_ = checkable ? gtk_check_menu_item_new_with_label(title_.c_str())
                        : gtk_menu_item_new_with_label(title_.c_str());
    g_object_ref_sink(widget_);
    handler_ = g_signal_connect(widget_, "activate", G_CALLBACK(onActivate), this);
}

GtkMenuItemAdapter::~GtkMenuItemAdapter() {
    // Destroying the menu bar already dropped the handlers of its items.
    if (g_signal_handler_is_connected(widget_, handler_)) {
        g_signal_handler_disconnect(widget_, handler_);
    }
    g_object_unref(widget_);
}

// GTK flips a check item before "activate" reaches this handler, and setting the check mark from
// code emits "activate" again; the handler is blocked while the mark is put back to the state.
void GtkMenuItemAdapter::showState() {
    if (!GTK_IS_CHECK_MENU_ITEM(widget_)) {
        return;
    }
    g_signal_handler_block(widget_, handler_);
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget_), state_);
    g_signal_handler_unblock(widget_, handler_);
}

void GtkMenuItemAdapter::onActivate(GtkWidget*, void* self) {
    auto* item = static_cast<GtkMenuItemAdapter*>(self);
    item->showState();
    if (item->action_) {
        item->action_();
    }
}

void GtkMenuItemAdapter::activate() {
    if (enabled()) {
        gtk_menu_item_activate(GTK_MENU_ITEM(widget_));
    }
}

void GtkMenuItemAdapter::setState(bool on) {
    state_ = on;
    showState();
}

bool GtkMenuItemAdapter::enabled() const {
    return gtk_widget_get_sensitive(widget_);
}

void GtkMenuItemAdapter::setEnabled(bool enabled) {
    gtk_widget_set_sensitive(widget_, enabled);
}

} // namespace padloom

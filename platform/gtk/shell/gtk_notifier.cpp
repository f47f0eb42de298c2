// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/gtk_notifier.h"

#include <gio/gio.h>

namespace padloom {

// One id for every notification, so that a switch replaces the notice of the one before.
void GtkNotifier::notify(const std::string& title, const std::string& body) {
    GApplication* application = g_application_get_default();
    if (application == nullptr) {
        return;
    }
    GNotification* notification = g_notification_new(title.c_str());
    g_notification_set_body(notification, body.c_str());
    g_application_send_notification(application, "preset-switch", notification);
    g_object_unref(notification);
}

} // namespace padloom

#include "platform/gtk/gio_desktop_services.h"

#include <cstdio>
#include <gio/gio.h>
#include <memory>
#include <string>

namespace padloom {

namespace {

void launchDefault(const std::string& uri) {
    GError* error = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) {
        std::fprintf(stderr, "padloom: can't open %s: %s\n", uri.c_str(), error->message);
        g_error_free(error);
    }
}

void onShowItemsDone(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::string> uri(static_cast<std::string*>(data));
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply) {
        g_variant_unref(reply);
        return;
    }
    g_error_free(error);
    launchDefault(*uri);
}

void onBusReady(GObject*, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::string> uri(static_cast<std::string*>(data));
    GDBusConnection* bus = g_bus_get_finish(result, nullptr);
    if (!bus) {
        launchDefault(*uri);
        return;
    }
    const char* uris[] = {uri->c_str(), nullptr};
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris, ""),
                           nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, onShowItemsDone, uri.release());
    g_object_unref(bus);
}

} // namespace

void GioDesktopServices::openUri(const std::string& uri) {
    launchDefault(uri);
}

void GioDesktopServices::revealFolder(const std::string& path) {
    char* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (!uri) {
        return;
    }
    g_bus_get(G_BUS_TYPE_SESSION, nullptr, onBusReady, new std::string(uri));
    g_free(uri);
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/desktop/gio_desktop_services.h"

#include <cstdio>
#include <gio/gio.h>
#include <memory>
#include <string>

namespace padloom {

namespace {

void launchDefault(const std::string& uri, const NothingOpened& nothingOpened) {
    GError* error = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) {
        std::fprintf(stderr, "padloom: can't open %s: %s\n", uri.c_str(), error->message);
        g_error_free(error);
        if (nothingOpened) {
            nothingOpened();
        }
    }
}

std::string fileUri(const std::string& path) {
    char* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    const std::string text = uri ? uri : "";
    g_free(uri);
    return text;
}

// One reveal on its way: the item to select, and what to open when no file manager answers.
struct Reveal {
    std::string itemUri;
    std::string fallbackUri; // the folder itself, or a file's folder
    NothingOpened nothingOpened;
};

void onShowItemsDone(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<Reveal> reveal(static_cast<Reveal*>(data));
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply) {
        g_variant_unref(reply);
        return;
    }
    g_error_free(error);
    launchDefault(reveal->fallbackUri, reveal->nothingOpened);
}

void onBusReady(GObject*, GAsyncResult* result, gpointer data) {
    std::unique_ptr<Reveal> reveal(static_cast<Reveal*>(data));
    GDBusConnection* bus = g_bus_get_finish(result, nullptr);
    if (!bus) {
        launchDefault(reveal->fallbackUri, reveal->nothingOpened);
        return;
    }
    const char* uris[] = {reveal->itemUri.c_str(), nullptr};
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris, ""),
                           nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, onShowItemsDone, reveal.release());
    g_object_unref(bus);
}

} // namespace

void GioDesktopServices::openUri(const std::string& uri, NothingOpened nothingOpened) {
    launchDefault(uri, nothingOpened);
}

void GioDesktopServices::revealFolder(const std::string& path, NothingOpened nothingOpened) {
    const bool folder = g_file_test(path.c_str(), G_FILE_TEST_IS_DIR);
    char* parent = g_path_get_dirname(path.c_str());
    auto reveal = std::make_unique<Reveal>(
        Reveal{fileUri(path), fileUri(folder ? path : parent), std::move(nothingOpened)});
    g_free(parent);
    if (reveal->itemUri.empty() || reveal->fallbackUri.empty()) {
        if (reveal->nothingOpened) {
            reveal->nothingOpened();
        }
        return;
    }
    g_bus_get(G_BUS_TYPE_SESSION, nullptr, onBusReady, reveal.release());
}

} // namespace padloom

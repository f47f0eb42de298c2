// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/keyfile_settings_store.h"

#include <cstdio>
#include <glib.h>
#include <glib/gstdio.h>

namespace padloom {
namespace {

constexpr char group[] = "Options";

} // namespace

// Read from the environment at each call (GLib caches its answer for the process's life).
std::string KeyfileSettingsStore::defaultPath() {
    const char* configHome = g_getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && g_path_is_absolute(configHome)) {
        return std::string(configHome) + "/padloom/settings.ini";
    }
    const char* home = g_getenv("HOME");
    return std::string(home != nullptr ? home : g_get_home_dir()) + "/.config/padloom/settings.ini";
}

KeyfileSettingsStore::KeyfileSettingsStore(std::string path)
    : path_(std::move(path)), file_(g_key_file_new()) {
    GError* error = nullptr;
    if (!g_key_file_load_from_file(file_, path_.c_str(), G_KEY_FILE_KEEP_COMMENTS, &error) &&
        !g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT)) {
        loadProblem_ = error->message;
        keepFile_ = true;
        // What a failed load left behind is not the user's settings.
        g_key_file_free(file_);
        file_ = g_key_file_new();
    }
    g_clear_error(&error);
}

KeyfileSettingsStore::~KeyfileSettingsStore() {
    g_key_file_free(file_);
}

bool KeyfileSettingsStore::has(const std::string& key) const {
    GError* error = nullptr;
    g_key_file_get_boolean(file_, group, key.c_str(), &error);
    if (error != nullptr) {
        g_error_free(error);
        return false;
    }
    return true;
}

bool KeyfileSettingsStore::getBool(const std::string& key) const {
    return g_key_file_get_boolean(file_, group, key.c_str(), nullptr) != FALSE;
}

void KeyfileSettingsStore::setBool(const std::string& key, bool value) {
    g_key_file_set_boolean(file_, group, key.c_str(), value ? TRUE : FALSE);
    if (keepFile_) {
        return;
    }
    gchar* folder = g_path_get_dirname(path_.c_str());
    g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    GError* error = nullptr;
    if (!g_key_file_save_to_file(file_, path_.c_str(), &error)) {
        std::fprintf(stderr, "padloom: can't save the settings in %s: %s\n", path_.c_str(), error->message);
        g_error_free(error);
    }
}

std::optional<std::string> KeyfileSettingsStore::setAside() {
    if (!keepFile_) {
        return std::nullopt;
    }
    std::string aside = path_ + ".bad";
    for (int n = 1; g_file_test(aside.c_str(), G_FILE_TEST_EXISTS) && n < 1000; ++n) {
        aside = path_ + ".bad." + std::to_string(n);
    }
    if (g_rename(path_.c_str(), aside.c_str()) != 0) {
        return std::nullopt;
    }
    keepFile_ = false;
    return aside;
}

std::string setAsideUnreadableSettings(KeyfileSettingsStore& store) {
    if (store.loadProblem().empty()) {
        return {};
    }
    const std::string problem =
        "Your settings file \"" + store.path() + "\" could not be read (" + store.loadProblem() + ").";
    if (const std::optional<std::string> aside = store.setAside()) {
        return problem + "\nIt was kept as \"" + *aside + "\", and Padloom starts with the default settings.";
    }
    return problem +
           "\nIt could not be moved aside either, so Padloom leaves it as it is and starts with the "
           "default settings; options you change are kept until Padloom quits.";
}

} // namespace padloom

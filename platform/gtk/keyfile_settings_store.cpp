#include "platform/gtk/keyfile_settings_store.h"

#include <cstdio>
#include <glib.h>

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
    g_key_file_load_from_file(file_, path_.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
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
    gchar* folder = g_path_get_dirname(path_.c_str());
    g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    GError* error = nullptr;
    if (!g_key_file_save_to_file(file_, path_.c_str(), &error)) {
        std::fprintf(stderr, "padloom: can't save the settings in %s: %s\n", path_.c_str(), error->message);
        g_error_free(error);
    }
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presets/folders.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace padloom {
namespace {

std::optional<std::string> homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home);
    }
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
        return std::string(entry->pw_dir);
    }
    return std::nullopt;
}

Outcome<std::string> existingOrCreated(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return path;
    }
    // Asked without the closing "/", which would hide a file of that name.
    if (std::filesystem::exists(path.substr(0, path.find_last_not_of('/') + 1), error)) {
        return Problem{"\"" + path + "\" is a file, not a folder"};
    }
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path, error)) {
        return Problem{"\"" + path + "\" can't be created (" + error.message() + ")"};
    }
    return path;
}

} // namespace

Outcome<std::string> userDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return std::string(dataHome);
    }
    const std::optional<std::string> home = homeFolder();
    if (!home) {
        return Problem{"no home folder is known (HOME is not set)"};
    }
    return *home + "/.local/share";
}

Outcome<std::string> applicationSupportFolder() {
    const Outcome<std::string> data = userDataFolder();
    return data ? existingOrCreated(*data + "/Padloom") : data;
}

Outcome<std::string> presetFolder() {
    const Outcome<std::string> support = applicationSupportFolder();
    const Outcome<std::string> folder = support ? existingOrCreated(*support + "/presets/") : support;
    if (!folder) {
        return Problem{"The preset folder can't be used: " + folder.problem() + "."};
    }
    return folder;
}

} // namespace padloom

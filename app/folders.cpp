#include "app/folders.h"

#include <cstdlib>
#include <filesystem>
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

std::optional<std::string> existingOrCreated(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return path;
    }
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path, error)) {
        return std::nullopt;
    }
    return path;
}

} // namespace

std::optional<std::string> userDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return std::string(dataHome);
    }
    std::optional<std::string> home = homeFolder();
    if (!home) {
        return std::nullopt;
    }
    return *home + "/.local/share";
}

std::optional<std::string> applicationSupportFolder() {
    std::optional<std::string> data = userDataFolder();
    if (!data) {
        return std::nullopt;
    }
    return existingOrCreated(*data + "/Padloom");
}

std::optional<std::string> presetFolder() {
    std::optional<std::string> support = applicationSupportFolder();
    if (!support) {
        return std::nullopt;
    }
    return existingOrCreated(*support + "/presets/");
}

} // namespace padloom

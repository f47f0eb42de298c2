#include "app/presets/folders.h"

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

std::optional<std::string> existingOrCreated(const std::string& path, std::string& problem) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return path;
    }
    // Asked without the closing "/", which would hide a file of that name.
    if (std::filesystem::exists(path.substr(0, path.find_last_not_of('/') + 1), error)) {
        problem = "\"" + path + "\" is a file, not a folder";
        return std::nullopt;
    }
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path, error)) {
        problem = "\"" + path + "\" can't be created (" + error.message() + ")";
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> supportFolder(std::string& problem) {
    std::optional<std::string> data = userDataFolder();
    if (!data) {
        problem = "no home folder is known (HOME is not set)";
        return std::nullopt;
    }
    return existingOrCreated(*data + "/Padloom", problem);
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
    std::string problem;
    return supportFolder(problem);
}

std::optional<std::string> presetFolder(std::string& problem) {
    std::string reason;
    std::optional<std::string> support = supportFolder(reason);
    std::optional<std::string> folder =
        support ? existingOrCreated(*support + "/presets/", reason) : std::nullopt;
    if (!folder) {
        problem = "The preset folder can't be used: " + reason + ".";
    }
    return folder;
}

std::optional<std::string> presetFolder() {
    std::string problem;
    return presetFolder(problem);
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/resource_locator.h"

#include <filesystem>
#include <system_error>

namespace padloom {

namespace {

bool holdsMainPage(const std::filesystem::path& dir) {
    std::error_code error;
    return std::filesystem::is_regular_file(dir / "gui" / "window_main.htm", error);
}

} // namespace

std::string resourceDirBeside(const std::string& executablePath) {
    std::filesystem::path dir = std::filesystem::path(executablePath).parent_path() / "resources";
    return holdsMainPage(dir) ? dir.string() : std::string();
}

std::string installedResourceDir(const std::string& executablePath) {
    std::filesystem::path dir =
        std::filesystem::path(executablePath).parent_path().parent_path() / PADLOOM_RELATIVE_DATA_DIR;
    return holdsMainPage(dir) ? dir.lexically_normal().string() : std::string();
}

// Beside the program (a build folder), then the data folder of the prefix the program was
// installed to (which may differ from the configured one), then the configured data folder.
std::string findResourceDir() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        for (const std::string& dir :
             {resourceDirBeside(self.string()), installedResourceDir(self.string())}) {
            if (!dir.empty()) {
                return dir;
            }
        }
    }
    std::filesystem::path configured = PADLOOM_DATA_DIR;
    return holdsMainPage(configured) ? configured.string() : std::string();
}

} // namespace padloom

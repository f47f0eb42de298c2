#include "platform/gtk/resource_locator.h"

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

std::string findResourceDir() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::string beside = resourceDirBeside(self.string());
        if (!beside.empty())
            return beside;
    }
    std::filesystem::path installed = PADLOOM_DATA_DIR;
    return holdsMainPage(installed) ? installed.string() : std::string();
}

} // namespace padloom

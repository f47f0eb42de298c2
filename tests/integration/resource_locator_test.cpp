// Where the program finds its pages: beside itself in a build folder, or in the data folder of
// the prefix it was installed to.
#include "platform/gtk/resource_locator.h"
#include "tests/integration/shell_harness.h"

#include <fstream>
#include <gtest/gtest.h>

namespace padloom::test {
namespace {

void makeMainPage(const std::filesystem::path& resources) {
    std::filesystem::create_directories(resources / "gui");
    std::ofstream(resources / "gui" / "window_main.htm") << "<html></html>";
}

TEST(ResourceLocator, FindsThePagesBesideABuiltProgramOrUnderItsInstallPrefix) {
    TempFolder root;
    const std::filesystem::path build = root.path() / "build";
    const std::filesystem::path prefix = root.path() / "opt" / "padloom";
    makeMainPage(build / "resources");
    makeMainPage(prefix / "share" / "padloom");
    std::filesystem::create_directories(root.path() / "empty" / "bin");
    std::filesystem::create_directories(root.path() / "gui-only" / "resources");

    struct Case {
        std::filesystem::path program;
        std::string beside;
        std::string installed;
    };
    const Case cases[] = {
        {build / "padloom", (build / "resources").string(), ""},
        {prefix / "bin" / "padloom", "", (prefix / "share" / "padloom").string()},
        {root.path() / "empty" / "bin" / "padloom", "", ""},
        // A resources folder without the main page is not the application's.
        {root.path() / "gui-only" / "padloom", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(resourceDirBeside(c.program.string()), c.beside);
        EXPECT_EQ(installedResourceDir(c.program.string()), c.installed);
    }
}

} // namespace
} // namespace padloom::test

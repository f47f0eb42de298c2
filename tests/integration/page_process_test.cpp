// The pages come back after their process dies, without costing the user an edit.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <map>
#include <unistd.h>

namespace padloom::test {
namespace {

// Kills this process's WebKit page processes (children, or grandchildren under the sandbox), as a
// crash would end them.
int killPageProcesses() {
    std::map<int, int> parentOf;
    std::vector<int> pages;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        int pid = 0, parent = 0;
        std::string comm, state;
        if (!(stat >> pid >> comm >> state >> parent))
            continue;
        parentOf[pid] = parent;
        if (comm.find("WebKitWebProces") != std::string::npos)
            pages.push_back(pid);
    }
    int killed = 0;
    for (int page : pages) {
        for (int up = parentOf[page]; up > 1; up = parentOf[up]) {
            if (up == getpid()) {
                killed += kill(page, SIGKILL) == 0;
                break;
            }
        }
    }
    return killed;
}

class PageProcessTest : public HarnessTest {
protected:
    PageProcessTest() : HarnessTest({{"Pad.txt", presetText("Pad", "tag")}}) {}
};

TEST_F(PageProcessTest, TheMainPageIsLoadedAndFilledAgainAfterItsProcessDies) {
    ASSERT_GT(killPageProcesses(), 0);
    ASSERT_TRUE(pumpUntil([&] { return harness.shell().mainPageFills() >= 2; }));
    EXPECT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
    EXPECT_EQ(harness.config("typeof appconfig.scanJoystickInput_inBindNo_"), ScriptValue("function"));
}

TEST_F(PageProcessTest, TheConfigurationPageLearnsTheJoystickNamesWhenItLoadsAgain) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 8, 1);
    ASSERT_TRUE(pad.attached());
    harness.shell().configPage().reload();
    EXPECT_TRUE(pumpUntil([&] { return harness.config("joystickNames.length") == ScriptValue(1.0); },
                          std::chrono::seconds(10)));
}

TEST_F(PageProcessTest, AnOpenEditorWhosePageDiedDoesNotOverwriteThePresetWhenClosed) {
    const std::filesystem::path file = harness.presetFolder() / "Pad.txt";
    const std::string before = presetText("Pad", "tag");
    ASSERT_EQ(harness.main("$('.preset .edit').first().click().length"), ScriptValue(1.0));
    GtkWidget* editor = GTK_WIDGET(harness.shell().configWindow());
    ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_visible(editor); }));
    ASSERT_GT(killPageProcesses(), 0);
    ASSERT_TRUE(pumpUntil([&] { return harness.shell().mainPageFills() >= 2; }));

    gtk_window_close(harness.shell().configWindow());
    ASSERT_TRUE(pumpUntil([&] { return !gtk_widget_get_visible(editor); }));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
    // The editor's page is back for the next edit.
    EXPECT_TRUE(
        pumpUntil([&] { return harness.config("typeof clearJoysticks") == ScriptValue("function"); }));
}

} // namespace
} // namespace padloom::test

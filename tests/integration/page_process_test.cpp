// The pages come back after their process dies, without costing the user an edit.
#include "tests/integration/shell_harness.h"
#include "tests/support/virtual_joystick.h"

#include <csignal>
#include <fstream>
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
        std::ifstream stat(entry.path() / "stat");
        int pid = 0, parent = 0;
        std::string comm, state;
        if (!(stat >> pid >> comm >> state >> parent)) {
            continue;
        }
        parentOf[pid] = parent;
        if (comm.find("WebKitWebProces") != std::string::npos) {
            pages.push_back(pid);
        }
    }
    int killed = 0;
    for (int page : pages) {
        int up = parentOf[page];
        while (up > 1 && up != getpid()) {
            up = parentOf[up];
        }
        killed += up == getpid() && kill(page, SIGKILL) == 0;
    }
    return killed;
}

class PageProcess : public HarnessTest {
protected:
    PageProcess() : HarnessTest({{"Pad.txt", presetText("Pad", "tag")}}) {}

    bool configPageBack() {
        return pumpUntil([&] { return harness.config("joystickNames.length") == ScriptValue(1.0); });
    }
};

TEST_F(PageProcess, BothPagesAreFilledAgainAfterTheirProcessDies) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 8, 1);
    ASSERT_TRUE(pad.attached());
    ASSERT_GT(killPageProcesses(), 0);
    ASSERT_TRUE(pumpUntil([&] { return harness.shell().mainPageFills() >= 2; }));
    EXPECT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
    EXPECT_TRUE(configPageBack()); // the reloaded page learnt the joystick names again
}

TEST_F(PageProcess, AnOpenEditorWhosePageDiedDoesNotOverwriteThePreset) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 8, 1);
    ASSERT_TRUE(harness.openEditor());
    ASSERT_GT(killPageProcesses(), 0);
    ASSERT_TRUE(pumpUntil([&] { return harness.shell().mainPageFills() >= 2; }));
    ASSERT_TRUE(harness.closeEditor());
    EXPECT_EQ(harness.presetFileText("Pad.txt"), presetText("Pad", "tag"));
    EXPECT_TRUE(configPageBack()); // back for the next edit
}

} // namespace
} // namespace padloom::test

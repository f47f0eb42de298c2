#include "app/running/headless_session.h"
#include "tests/app/app_fixture.h"

#include <array>

namespace padloom::test {
namespace {

// Columns: what is stored; lock cursor, avoid corners and Minecraft fix as read back. Titles of
// fixed-key items are not keys.
TEST(HeadlessOptions, ComeFromTheKeysTheDesktopMenuStores) {
    const std::pair<std::map<std::string, bool>, std::array<bool, 3>> cases[] = {
        {{}, {false, false, false}},
        {{{"shouldLock_mi", true}, {"Avoid Screen Corners", true}, {"Minecraft Fix", true}},
         {true, true, true}},
        {{{"Lock Cursor to Main Display", true}}, {false, false, false}},
        {{{"Avoid Screen Corners", true}, {"Key Repeat", true}}, {false, true, false}},
    };
    for (const auto& [stored, expected] : cases) {
        MemorySettings settings;
        settings.values = stored;
        const HeadlessOptions o = storedHeadlessOptions(settings);
        EXPECT_EQ((std::array{o.lockCursor, o.avoidCorners, o.minecraftFix}), expected) << stored.size();
    }
}

using HeadlessRun = JoystickAppTest;

TEST_F(HeadlessRun, ReportsWhyItCouldNotStart) {
    writePreset("space.txt", presetText("Space"));
    bool waited = false;
    HeadlessHooks hooks;
    hooks.waitForStop = [&] { waited = true; };
    EXPECT_EQ(runPresetUntilStopped(presets() + "space.txt", {}, hooks), ActivationResult::noJoystick);
    addPad();
    EXPECT_EQ(runPresetUntilStopped(presets() + "missing.txt", {}, hooks), ActivationResult::unreadable);
    EXPECT_FALSE(waited);
}

} // namespace
} // namespace padloom::test

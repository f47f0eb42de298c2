#include "app/headless_session.h"
#include "tests/app/joystick_fixture.h"

namespace padloom::test {
namespace {

struct StoredOptionsCase {
    const char* what;
    std::map<std::string, bool> stored;
    bool lock;
    bool corners;
    bool minecraft;
};

TEST(HeadlessOptions, ComeFromTheKeysTheDesktopMenuStores) {
    const StoredOptionsCase cases[] = {
        {"first start", {}, false, false, false},
        {"all on",
         {{"shouldLock_mi", true}, {"Avoid Screen Corners", true}, {"Minecraft Fix", true}},
         true,
         true,
         true},
        {"titles of fixed-key items are not keys",
         {{"Lock Cursor to Main Display", true}},
         false,
         false,
         false},
        {"only corners", {{"Avoid Screen Corners", true}, {"Key Repeat", true}}, false, true, false},
    };
    for (const StoredOptionsCase& c : cases) {
        MemorySettings settings;
        settings.values = c.stored;
        const HeadlessOptions options = storedHeadlessOptions(settings);
        EXPECT_EQ(options.lockCursor, c.lock) << c.what;
        EXPECT_EQ(options.avoidCorners, c.corners) << c.what;
        EXPECT_EQ(options.minecraftFix, c.minecraft) << c.what;
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

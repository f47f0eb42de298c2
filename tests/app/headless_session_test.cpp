#include "app/headless_session.h"
#include "engine/mouse_motion.h"
#include "engine/screen_geometry.h"
#include "tests/app/joystick_fixture.h"
#include "tests/support/fixed_displays.h"

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
        {"first start",
         {},
         options::lockCursorInitial,
         options::avoidCornersInitial,
         options::minecraftFixInitial},
        {"all on",
         {{options::lockCursorKey, true},
          {options::avoidCornersTitle, true},
          {options::minecraftFixTitle, true}},
         true,
         true,
         true},
        {"titles of fixed-key items are not keys", {{options::lockCursorTitle, true}}, false, false, false},
        {"only corners",
         {{options::avoidCornersTitle, true}, {options::keyRepeatTitle, true}},
         false,
         true,
         false},
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

TEST_F(HeadlessRun, MapsTheVirtualJoystickUntilStoppedThenDeactivates) {
    FixedDisplays displays{{0, 0, 800, 600}, {800, 0, 800, 600}};
    VirtualJoystick& pad = addPad();
    writePreset("space.txt", presetText("Space"));
    int counted = -1;

    HeadlessHooks hooks;
    hooks.loaded = [&](int count) { counted = count; };
    hooks.waitForStop = [&] {
        EXPECT_EQ(screenGeometry.bounds().w, 800) << "locked to the main display";
        EXPECT_TRUE(minecraftFix.load());
        pad.setButton(0, true);
        EXPECT_TRUE(eventually([&] { return seams.sink.count() >= 1; }));
    };
    const ActivationResult result =
        runPresetUntilStopped(presets() + "space.txt", {true, false, true}, hooks);

    EXPECT_EQ(result, ActivationResult::started);
    EXPECT_EQ(counted, 1);
    ASSERT_GE(seams.sink.count(), 1u);
    EXPECT_EQ(seams.sink.events()[0].keyCode, 49);
    EXPECT_TRUE(seams.sink.events()[0].down);
    minecraftFix = false;
}

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

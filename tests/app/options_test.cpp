#include "engine/mouse_motion.h"
#include "engine/screen_geometry.h"
#include "tests/app/app_fixture.h"
#include "tests/support/fixed_displays.h"

#include "platform/gtk/keyfile_settings_store.h"

#include <filesystem>

namespace padloom::test {
namespace {

using Options = AppTest;

struct StoredCase {
    const char* what;
    std::optional<bool> stored;
    bool itemState;
    bool expectedLoad;   // loadMenuOption's result and the item's state after it
    bool expectedToggle; // toggleMenuOption's result, the stored value and the item's state after it
};

// Names the case in test output.
inline void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.what;
}

class TitleKeyedOption : public AppTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(TitleKeyedOption, LoadAdoptsTheStoredValueAndToggleFlipsIt) {
    const StoredCase& c = GetParam();
    if (c.stored) {
        settings.values[options::keyRepeatTitle] = *c.stored;
    }
    keyRepeat.setState(c.itemState);

    EXPECT_EQ(controller().loadMenuOption(&keyRepeat), c.expectedLoad);
    EXPECT_EQ(keyRepeat.state(), c.expectedLoad);
    EXPECT_EQ(settings.getBool(options::keyRepeatTitle), c.expectedLoad);

    keyRepeat.setState(c.itemState); // the item disagrees again, as after an interface change
    EXPECT_EQ(controller().toggleMenuOption(&keyRepeat), c.expectedToggle);
    EXPECT_EQ(keyRepeat.state(), c.expectedToggle);
    EXPECT_EQ(settings.getBool(options::keyRepeatTitle), c.expectedToggle);
}

INSTANTIATE_TEST_SUITE_P(Cases, TitleKeyedOption,
                         ::testing::Values(StoredCase{"NothingStoredItemOn", std::nullopt, true, true, false},
                                           StoredCase{"NothingStoredItemOff", std::nullopt, false, false,
                                                      true},
                                           StoredCase{"StoredTrueItemOff", true, false, true, false},
                                           StoredCase{"StoredFalseItemOn", false, true, false, true}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(Options, FirstStartStoresEveryOptionAndShowsWarningsOn) {
    shouldShowWarnings.setState(false);
    controller().applicationDidFinishLaunching();

    for (const char* key : {options::avoidCornersTitle, options::compactListTitle, options::minecraftFixTitle,
                            options::keyRepeatTitle, options::fullscreenFixTitle, options::lockCursorKey,
                            options::showWarningsKey}) {
        EXPECT_TRUE(settings.has(key)) << key;
    }
    EXPECT_TRUE(settings.getBool(options::showWarningsKey));
    EXPECT_TRUE(shouldShowWarnings.state());
    EXPECT_EQ(settings.getBool(options::lockCursorKey), shouldLock.state());
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(Options, LaterStartRestoresStoredStatesWithoutAlerts) {
    FixedDisplays displays{{0, 0, 800, 600}, {800, 0, 800, 600}};
    settings.values = {{options::lockCursorKey, true},
                       {options::showWarningsKey, false},
                       {options::minecraftFixTitle, true},
                       {options::avoidCornersTitle, true},
                       {options::fullscreenFixTitle, true}};

    controller().applicationDidFinishLaunching();

    EXPECT_TRUE(shouldLock.state());
    EXPECT_FALSE(shouldShowWarnings.state());
    EXPECT_TRUE(minecraftFix.load());
    EXPECT_TRUE(controller().shouldAvoidCorners);
    EXPECT_EQ(screenGeometry.bounds().w, 800) << "locked to the main display";
    EXPECT_EQ(monitor.installs, 1) << "the full-screen fix comes back on";
    EXPECT_TRUE(dialogs.alerts.empty());
    minecraftFix = false;
}

TEST_F(Options, LockCursorFollowsTheItemAndRecomputesTheGeometry) {
    FixedDisplays displays{{0, 0, 800, 600}, {800, 0, 800, 600}};
    controller().LockCursor();
    EXPECT_TRUE(settings.getBool(options::lockCursorKey));
    EXPECT_EQ(screenGeometry.bounds().w, 800);
    controller().LockCursor();
    EXPECT_FALSE(settings.getBool(options::lockCursorKey));
    EXPECT_FALSE(shouldLock.state());
    EXPECT_EQ(screenGeometry.bounds().w, 1600);
}

TEST_F(Options, MinecraftFixAlertsOnlyWhenTurnedOn) {
    controller().toggleMinecraftFix();
    EXPECT_TRUE(minecraftFix.load());
    controller().toggleMinecraftFix();
    EXPECT_FALSE(minecraftFix.load());
    EXPECT_EQ(dialogs.alerts,
              std::vector<std::string>{"Please disable this if you experience problems like the "
                                       "mouse cursor getting stuck when not playing Minecraft."});
}

TEST_F(Options, FullScreenFixInstallsAndRemovesOneWatchThatRebuildsTheGeometry) {
    FixedDisplays displays{{0, 0, 800, 600}};
    controller().toggleFullScreenFix();
    ASSERT_TRUE(monitor.handler);
    monitor.handler();
    EXPECT_EQ(screenGeometry.bounds().w, 800);
    controller().toggleFullScreenFix();
    EXPECT_EQ(monitor.installs, 1);
    EXPECT_EQ(monitor.removals, 1);
    EXPECT_FALSE(monitor.handler);
}

TEST_F(Options, CompactListAppliesTheClassAndWarningsToggleTheStoredValue) {
    controller().compactList();
    EXPECT_TRUE(mainPage.evaluated("$('body').addClass('compactList')"));
    controller().compactList();
    EXPECT_EQ(mainPage.startingWith("$('body').removeClass('compactList')").size(), 1u);

    controller().toggleWarnings();
    EXPECT_EQ(settings.getBool(options::showWarningsKey), shouldShowWarnings.state());
}

TEST_F(Options, KeyFileStoreKeepsValuesAcrossRunsInTheConfigFolder) {
    const std::string path = temp.path().string() + "/config/padloom/settings.ini";
    {
        KeyfileSettingsStore store;
        EXPECT_EQ(store.path(), path);
        EXPECT_TRUE(store.loadProblem().empty());
        EXPECT_FALSE(store.has(options::avoidCornersTitle));
        store.setBool(options::avoidCornersTitle, true);
        store.setBool(options::lockCursorKey, false);
    }
    KeyfileSettingsStore reopened;
    EXPECT_TRUE(reopened.has(options::avoidCornersTitle));
    EXPECT_TRUE(reopened.getBool(options::avoidCornersTitle));
    EXPECT_TRUE(reopened.has(options::lockCursorKey));
    EXPECT_FALSE(reopened.getBool(options::lockCursorKey));
    EXPECT_FALSE(reopened.getBool("never stored"));
}

TEST_F(Options, KeyFileStoreNeverWritesOverAnUnreadableFileAndMovesItAside) {
    const std::string path = temp.path().string() + "/config/padloom/settings.ini";
    struct Case {
        const char* damage;
        const char* text; // null: a folder in the file's place
        const char* aside;
    };
    const Case cases[] = {
        {"a stray line above the group", "stray\n[Options]\nKey Repeat=true\n", ".bad"},
        {"garbage", "\x01 not a key file [[[", ".bad.1"},
        {"a folder", nullptr, ".bad.2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        if (c.text) {
            writeFile(path, c.text);
        } else {
            std::filesystem::create_directories(path);
        }
        KeyfileSettingsStore store;
        EXPECT_FALSE(store.loadProblem().empty());
        EXPECT_FALSE(store.has(options::keyRepeatTitle));
        store.setBool(options::keyRepeatTitle, true);
        EXPECT_TRUE(store.getBool(options::keyRepeatTitle));
        if (c.text) {
            EXPECT_EQ(readFile(path), c.text);
        }

        EXPECT_EQ(store.setAside(), path + c.aside);
        if (c.text) {
            EXPECT_EQ(readFile(path + c.aside), c.text);
        }
        store.setBool(options::keyRepeatTitle, false);
        KeyfileSettingsStore reopened;
        EXPECT_TRUE(reopened.loadProblem().empty());
        EXPECT_TRUE(reopened.has(options::keyRepeatTitle));
        std::filesystem::remove(path);
    }
}

} // namespace
} // namespace padloom::test

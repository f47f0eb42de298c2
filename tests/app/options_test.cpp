// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"
#include "tests/support/fixed_displays.h"

#include "platform/gtk/shell/keyfile_settings_store.h"

#include <filesystem>
#include <set>

namespace padloom::test {
namespace {

using Options = AppTest;

// Columns: the stored value (none if empty), the item's state, then the state after loading and
// after toggling (each also the result and the stored value).
TEST_F(Options, TitleKeyedOptionLoadAdoptsTheStoredValueAndToggleFlipsIt) {
    for (const auto& [stored, item, loaded, toggled] :
         {std::tuple{std::optional<bool>(), true, true, false},
          std::tuple{std::optional<bool>(), false, false, true},
          std::tuple{std::optional(true), false, true, false},
          std::tuple{std::optional(false), true, false, true}}) {
        settings.values.clear();
        if (stored) {
            settings.values["Key Repeat"] = *stored;
        }
        keyRepeat.setState(item);
        EXPECT_EQ(loadMenuOption(settings, keyRepeat), loaded);
        EXPECT_EQ(keyRepeat.state(), loaded);
        EXPECT_EQ(settings.getBool("Key Repeat"), loaded);

        keyRepeat.setState(item); // the item disagrees again, as after an interface change
        EXPECT_EQ(toggleMenuOption(settings, keyRepeat), toggled);
        EXPECT_EQ(keyRepeat.state(), toggled);
        EXPECT_EQ(settings.getBool("Key Repeat"), toggled);
    }
}

// A row added without care would give two items one title, or two options one setting. (The
// fixture's menu checks that every outlet has exactly one row.)
TEST(MenuEntries, GiveEveryItemATitleAndEveryOptionAKeyOfItsOwn) {
    std::set<std::string> titles;
    std::set<std::string> keys;
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.kind != MenuKind::separator) {
            EXPECT_TRUE(titles.insert(entry.title).second) << "a second item titled " << entry.title;
        }
        if (entry.kind == MenuKind::option) {
            EXPECT_NE(entry.outlet, nullptr) << entry.title;
            EXPECT_TRUE(keys.insert(entry.key()).second) << "a second option stored as " << entry.key();
        }
    }
}

// The first start stores every option and turns warnings on.
TEST_F(Options, FirstStartStoresEveryOptionAndALaterOneRestoresThemWithoutAlerts) {
    FixedDisplays displays{{0, 0, 800, 600}, {800, 0, 800, 600}};
    Engine& engine = controller().runner().engine;
    engine.displaySource.set(&displays);
    shouldShowWarnings.setState(false);
    controller().applicationDidFinishLaunching();
    for (const char* key : {"Avoid Screen Corners", "Compact Preset List", "Minecraft Fix", "Key Repeat",
                            "Full-Screen Fix", "shouldLock_mi", "shouldShowWarnings_mi"}) {
        EXPECT_TRUE(settings.has(key)) << key;
    }
    EXPECT_TRUE(settings.getBool("shouldShowWarnings_mi") && shouldShowWarnings.state());
    EXPECT_EQ(settings.getBool("shouldLock_mi"), shouldLock.state());

    settings.values = {{"shouldLock_mi", true},
                       {"shouldShowWarnings_mi", false},
                       {"Minecraft Fix", true},
                       {"Avoid Screen Corners", true},
                       {"Full-Screen Fix", true}};
    controller().applicationDidFinishLaunching();
    EXPECT_TRUE(shouldLock.state());
    EXPECT_FALSE(shouldShowWarnings.state());
    EXPECT_TRUE(engine.minecraftFix.load());
    EXPECT_TRUE(item(&MenuOutlets::shouldAvoidCorners_mi).state());
    EXPECT_EQ(engine.screenGeometry.bounds().w, 800) << "locked to the main display";
    EXPECT_EQ(monitor.installs, 1) << "the full-screen fix comes back on";
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(Options, TogglesApplyTheirOptionAndMinecraftFixAlertsOnlyWhenTurnedOn) {
    Engine& engine = controller().runner().engine;
    FixedDisplays two{{0, 0, 800, 600}, {800, 0, 800, 600}};
    FixedDisplays one{{0, 0, 640, 480}};
    {
        engine.displaySource.set(&two);
        controller().LockCursor();
        EXPECT_TRUE(settings.getBool("shouldLock_mi"));
        EXPECT_EQ(engine.screenGeometry.bounds().w, 800);
        controller().LockCursor();
        EXPECT_FALSE(settings.getBool("shouldLock_mi") || shouldLock.state());
        EXPECT_EQ(engine.screenGeometry.bounds().w, 1600);
    }
    {
        engine.displaySource.set(&one);
        controller().toggleFullScreenFix();
        ASSERT_TRUE(monitor.handler);
        monitor.handler();
        EXPECT_EQ(engine.screenGeometry.bounds().w, 640) << "the watch rebuilds the geometry";
        controller().toggleFullScreenFix();
        EXPECT_EQ(monitor.installs, 1);
        EXPECT_EQ(monitor.removals, 1);
        EXPECT_FALSE(monitor.handler);
    }
    controller().toggleMinecraftFix();
    EXPECT_TRUE(engine.minecraftFix.load());
    controller().toggleMinecraftFix();
    EXPECT_FALSE(engine.minecraftFix.load());
    EXPECT_EQ(dialogs.alerts,
              std::vector<std::string>{"Please disable this if you experience problems like the "
                                       "mouse cursor getting stuck when not playing Minecraft."});
}

TEST_F(Options, KeyFileStoreKeepsValuesAcrossRunsButNeverWritesOverAnUnreadableFile) {
    const std::string path = temp.path().string() + "/config/padloom/settings.ini";
    // Columns: the damage, the file's text ("" for none, "/" for a folder in its place) and where it
    // is set aside ("" when it loads).
    for (const auto& [damage, text, aside] :
         {std::tuple<const char*, std::string, std::string>{"none", "", ""},
          {"a stray line above the group", "stray\n[Options]\nKey Repeat=true\n", ".bad"},
          {"garbage", "\x01 not a key file [[[", ".bad.1"},
          {"a folder", "/", ".bad.2"}}) {
        SCOPED_TRACE(damage);
        if (text == "/") {
            std::filesystem::create_directories(path);
        } else if (!text.empty()) {
            writeFile(path, text);
        }
        KeyfileSettingsStore store;
        EXPECT_EQ(store.path(), path);
        EXPECT_EQ(store.loadProblem().empty(), aside.empty());
        EXPECT_FALSE(store.has("Key Repeat"));
        store.setBool("Key Repeat", true);
        EXPECT_TRUE(store.getBool("Key Repeat"));
        if (!aside.empty()) {
            EXPECT_EQ(text == "/" ? text : readBytes(path), text); // not written over
            EXPECT_EQ(store.setAside(), path + aside);
            EXPECT_EQ(text == "/" ? text : readBytes(path + aside), text);
        }
        store.setBool("shouldLock_mi", false);
        KeyfileSettingsStore reopened;
        EXPECT_TRUE(reopened.loadProblem().empty());
        EXPECT_TRUE(reopened.getBool("Key Repeat") && reopened.has("shouldLock_mi"));
        EXPECT_FALSE(reopened.getBool("shouldLock_mi") || reopened.has("never stored"));
        std::filesystem::remove(path);
    }
}

} // namespace
} // namespace padloom::test

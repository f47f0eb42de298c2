// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

#include "app/presets/folders.h"

namespace padloom::test {

MenuOutlets AppTest::fakeMenu(std::vector<std::unique_ptr<FakeMenuItem>>& items) {
    MenuOutlets outlets;
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.outlet != nullptr) {
            EXPECT_EQ(outlets.*entry.outlet, nullptr)
                << "a second menu row for the outlet of " << entry.title;
            items.push_back(std::make_unique<FakeMenuItem>(entry.title, entry.firstStart));
            outlets.*entry.outlet = items.back().get();
        }
    }
    EXPECT_EQ(items.size(), sizeof(MenuOutlets) / sizeof(MenuItem*)) << "a menu outlet without its row";
    return outlets;
}

AppTest::AppTest() {
    app = std::make_unique<TesselAppDelegate>(TesselAppDelegate::Outlets{.menu = menu,
                                                                         .mainwindow = &mainWindow,
                                                                         .mainScriptObject = &mainPage,
                                                                         .lblJoysticksConnected = &label,
                                                                         .configwindow = &configWindow,
                                                                         .configScriptObject = &configPage,
                                                                         .dialogs = &dialogs,
                                                                         .settings = &settings,
                                                                         .desktop = &desktop,
                                                                         .mainLoop = &loop,
                                                                         .presentationMonitor = &monitor,
                                                                         .captureEvents = &captureEvents,
                                                                         .notifier = &notifier},
                                              HelpSites{"", "", resources});
}

std::string AppTest::presets() {
    return presetFolder().value_or("");
}

void AppTest::writePreset(const std::string& fileName, const std::string& text) {
    writeFile(presets() + fileName, text);
}

bool AppTest::menuShows(bool active) const {
    for (MenuOutlet idleOnly : {&MenuOutlets::refreshJoysticks_mi, &MenuOutlets::reloadPresetList_mi,
                                &MenuOutlets::loadExamples_mi, &MenuOutlets::whichJoysticks_mi}) {
        if (item(idleOnly).enabled() == active) {
            return false;
        }
    }
    return item(&MenuOutlets::deactivatePreset_mi).enabled() == active;
}

void JoystickAppTest::SetUp() {
    ASSERT_TRUE(sdl.ok()) << SDL_GetError();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    if (SDL_NumJoysticks() != 0) {
        GTEST_SKIP() << "a joystick other than the test's own is connected";
    }
}

void JoystickAppTest::TearDown() {
    app.reset();
    pads.clear();
}

VirtualJoystick& JoystickAppTest::addPad() {
    pads.push_back(std::make_unique<VirtualJoystick>(4, 12, 1));
    EXPECT_TRUE(pads.back()->attached()) << SDL_GetError();
    return *pads.back();
}

} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

constexpr uint16_t spaceKeyCode = 49;  // key 44 in the preset numbering
constexpr uint16_t letterAKeyCode = 0; // key 4

const std::string letterPreset = R"({"name":"Letter","joysticks":[{"binds":{"btn 0":["key 4"]}}]})";

using Activation = JoystickAppTest;

// Refusals name the reason, with the block layer shown and the menu idle. A preset in a subfolder
// is activated by its listed path, and closing the editor leaves it running.
TEST_F(Activation, IsRefusedWithAReasonOrReplacesThePresetWithOnePollingTask) {
    writePreset("space.txt", presetText("Space"));
    writePreset("broken.txt", "{ nope");
    writePreset("sub/letter.txt", letterPreset);
    writePreset("subletter.txt", "{ nope");
    label.text = "stale";
    for (const auto& [name, reason] :
         {std::pair{"space.txt", "No joystick is connected. Connect one and try again."},
          std::pair{"broken.txt", "could not be read: Error at line 1"},
          std::pair{"missing.txt", "could not be read: Can't open"},
          std::pair{"../broken.txt", "is not a preset file name"}}) {
        mainPage.scripts.clear();
        const Outcome<> done = controller().activatePreset(name);
        EXPECT_FALSE(done) << name;
        EXPECT_NE(done.problem().find(reason), std::string::npos) << done.problem();
        EXPECT_EQ(mainPage.scripts, std::vector<std::string>{"$('#blockLayer').show();"}) << name;
        EXPECT_TRUE(menuShows(false)) << name;
        EXPECT_FALSE(controller().runner().active()) << name;
        if (pads.empty()) {
            EXPECT_EQ(label.text, "No Joysticks Connected");
            EXPECT_TRUE(controller().deactivatePreset());
            addPad();
        }
    }

    ASSERT_TRUE(controller().activatePreset("space.txt"));
    ASSERT_TRUE(controller().activatePreset("sub/letter.txt"));
    controller().windowWillClose(&configWindow);
    pads[0]->setButton(0, true);
    ASSERT_TRUE(eventually([&] { return seams.sink.count() >= 1; }));
    seams.sink.expectKey(letterAKeyCode, true, 0);
    seams.sink.expectNoEvents();
    EXPECT_TRUE(menuShows(true));
    EXPECT_TRUE(controller().deactivatePreset());
    EXPECT_FALSE(controller().runner().joystickPollingTaskRunning);
}

// The engine's sink for its lifetime; notes, with each key release, whether the engine still had
// the pad open.
struct ReleaseWitness : RecordingSink {
    explicit ReleaseWitness(Engine& runs) : engine(runs) { engine.eventSink.set(this); }
    ~ReleaseWitness() override { engine.eventSink.set(nullptr); }
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override {
        if (!down) {
            padOpenAtRelease.push_back(padOpen());
        }
        RecordingSink::postKeyboard(keyCode, down, flags);
    }
    std::function<bool()> padOpen;
    std::vector<bool> padOpenAtRelease;
    Engine& engine; // the one that posts here
};

struct StopCase {
    const char* what;
    std::function<void(TesselAppDelegate&)> stop;
    bool activeAfter;
    bool menuIdleAfter;
    const char* lastMainScript;
};

TEST_F(Activation, ButtonsReachTheSinkUntilEveryWayOfStoppingReleasesWhatThePadHoldsBeforeThePadCloses) {
    writePreset("space.txt", presetText("Space"));
    writePreset("letter.txt", letterPreset);
    ReleaseWitness witness(controller().runner().engine);
    const StopCase cases[] = {
        {"deactivating", [](TesselAppDelegate& c) { EXPECT_TRUE(c.deactivatePreset()); }, false, true,
         "$('#blockLayer').fadeOut();"},
        {"the menu's deactivation, which unmarks the preset",
         [](TesselAppDelegate& c) { c.panicDeactivate(); }, false, true,
         "$('.selected').removeClass('selected');"},
        {"activating another preset",
         [](TesselAppDelegate& c) { EXPECT_TRUE(c.activatePreset("letter.txt")); }, true, false,
         "$('#blockLayer').fadeOut();"},
        {"quitting, before SDL shuts down", [](TesselAppDelegate& c) { c.applicationWillTerminate(); }, false,
         false, "$('#blockLayer').fadeOut();"},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.what);
        pads.clear();
        const SDL_JoystickID pad = addPad().instanceId();
        witness.padOpen = [&] { return controller().runner().joyManager.mapForInstance(pad) != nullptr; };
        witness.padOpenAtRelease.clear();
        witness.clear();
        mainPage.scripts.clear();
        ASSERT_TRUE(controller().activatePreset("space.txt"));
        EXPECT_TRUE(menuShows(true));
        EXPECT_EQ(mainPage.scripts,
                  (std::vector<std::string>{"$('#blockLayer').show();", "$('#blockLayer').fadeOut();"}));
        EXPECT_EQ(label.text, "1 Joystick Connected");
        pads.back()->setButton(0, true);
        ASSERT_TRUE(eventually([&] { return witness.count() == 1; }));

        c.stop(controller());
        EXPECT_EQ(controller().runner().active(), c.activeAfter);
        EXPECT_EQ(menuShows(false), c.menuIdleAfter);
        EXPECT_EQ(mainPage.scripts.back(), c.lastMainScript);

        witness.expectKey(spaceKeyCode, true, 0);
        witness.expectKey(spaceKeyCode, false, 0);
        witness.expectNoEvents();
        EXPECT_EQ(witness.padOpenAtRelease, std::vector<bool>{true});
    }
    EXPECT_FALSE(controller().runner().joystickPollingTaskRunning);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

// A switch that can't be made leaves the running preset as it was: still mapping, the key it
// holds still held, the menu in its active state. The last row unplugs the pad first.
TEST_F(Activation, ASwitchThatCannotBeMadeKeepsTheRunningPreset) {
    writePreset("space.txt", presetText("Space"));
    writePreset("broken.txt", "{ nope");
    writePreset("letter.txt", letterPreset);
    addPad();
    ASSERT_TRUE(controller().activatePreset("space.txt"));
    pads[0]->setButton(0, true);
    ASSERT_TRUE(eventually([&] { return seams.sink.count() == 1; }));
    const std::pair<const char*, const char*> cases[] = {
        {"broken.txt", "could not be read: Error at line 1"},
        {"missing.txt", "could not be read: Can't open"},
        {"../broken.txt", "is not a preset file name"},
        {"letter.txt", "No joystick is connected."},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        const bool unplug = name == cases[std::size(cases) - 1].first;
        if (unplug) {
            pads.clear();
            ASSERT_TRUE(eventually([&] { return seams.sink.count() == 2; })); // its release
        }
        const Outcome<> done = controller().activatePreset(name);
        EXPECT_FALSE(done);
        EXPECT_NE(done.problem().find(reason), std::string::npos) << done.problem();
        EXPECT_TRUE(controller().runner().active());
        EXPECT_EQ(controller().runner().activePath(), presets() + "space.txt");
        EXPECT_TRUE(menuShows(true));
        EXPECT_EQ(seams.sink.count(), unplug ? 2u : 1u);
    }
    seams.sink.expectKey(spaceKeyCode, true, 0);
    seams.sink.expectKey(spaceKeyCode, false, 0);
    seams.sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test

#include "tests/app/joystick_fixture.h"

namespace padloom::test {
namespace {

constexpr uint16_t spaceKeyCode = 49;  // key 44 in the preset numbering
constexpr uint16_t letterAKeyCode = 0; // key 4

std::string presetWithButton0(const std::string& name, int keyNumber) {
    return "{\"name\":\"" + name +
           "\",\"tag\":\"t\",\"joysticks\":[{\"tag\":\"Pad\",\"binds\":{\"btn 0\":[\"key " +
           std::to_string(keyNumber) + "\"]}}]}";
}

class Activation : public JoystickAppTest {
protected:
    size_t keyPresses(uint16_t code) const {
        size_t n = 0;
        for (const RecordedEvent& e : seams.sink.events()) {
            n += e.kind == RecordedEvent::Kind::keyboard && e.keyCode == code && e.down ? 1 : 0;
        }
        return n;
    }
};

TEST_F(Activation, ButtonReachesTheSinkThroughThePollingThreadUntilDeactivated) {
    VirtualJoystick& pad = addPad();
    writePreset("space.txt", presetWithButton0("Space", 44));

    ASSERT_TRUE(controller().activatePreset("space.txt"));
    EXPECT_TRUE(menuShowsActive());
    EXPECT_EQ(mainPage.scripts,
              (std::vector<std::string>{"$('#blockLayer').show();", "$('#blockLayer').fadeOut();"}));
    EXPECT_EQ(label.text, "1 Joystick Connected");

    pad.setButton(0, true);
    EXPECT_TRUE(eventually([&] { return keyPresses(spaceKeyCode) == 1; }));
    EXPECT_TRUE(controller().runner.joystickPollingTaskRunning);

    EXPECT_TRUE(controller().deactivatePreset());
    EXPECT_TRUE(menuShowsIdle());
    EXPECT_FALSE(controller().runner.joystickPollingTaskRunning);
    EXPECT_FALSE(controller().runner.joyManager.wasInit);
}

TEST_F(Activation, ActivatingWhileActiveReplacesThePresetWithOnePollingTask) {
    VirtualJoystick& pad = addPad();
    writePreset("space.txt", presetWithButton0("Space", 44));
    writePreset("letter.txt", presetWithButton0("Letter", 4));

    ASSERT_TRUE(controller().activatePreset("space.txt"));
    ASSERT_TRUE(controller().activatePreset("letter.txt"));
    pad.setButton(0, true);

    EXPECT_TRUE(eventually([&] { return keyPresses(letterAKeyCode) == 1; }));
    EXPECT_EQ(keyPresses(spaceKeyCode), 0u);
    EXPECT_TRUE(menuShowsActive());
    EXPECT_TRUE(controller().deactivatePreset());
    EXPECT_FALSE(controller().runner.joystickPollingTaskRunning);
}

TEST_F(Activation, ActivatingAnotherPresetStopsTheActiveOneEvenWhenTheNewOneFails) {
    addPad();
    writePreset("space.txt", presetWithButton0("Space", 44));
    ASSERT_TRUE(controller().activatePreset("space.txt"));

    EXPECT_FALSE(controller().activatePreset("missing.txt"));

    EXPECT_FALSE(controller().runner.active());
    EXPECT_FALSE(controller().runner.joyManager.wasInit);
    EXPECT_FALSE(controller().runner.joystickPollingTaskRunning);
    EXPECT_TRUE(menuShowsIdle());
}

TEST_F(Activation, PresetInASubfolderIsActivatedByItsListedPath) {
    addPad();
    writePreset("sub/a.txt", presetWithButton0("A", 44));
    writePreset("suba.txt", "{ nope");
    EXPECT_TRUE(controller().activatePreset("sub/a.txt"));
}

TEST_F(Activation, RefusalsNameTheReasonWithTheBlockLayerShownAndTheMenuIdle) {
    addPad();
    writePreset("broken.txt", "{ nope");
    for (const auto& [name, reason] : {std::pair{"broken.txt", "could not be read: Error at line 1"},
                                       std::pair{"missing.txt", "could not be read: Can't open"},
                                       std::pair{"../broken.txt", "is not a preset file name"}}) {
        mainPage.scripts.clear();
        std::string whyNot;
        EXPECT_FALSE(controller().activatePreset(name, &whyNot)) << name;
        EXPECT_NE(whyNot.find(reason), std::string::npos) << whyNot;
        EXPECT_EQ(mainPage.scripts, std::vector<std::string>{"$('#blockLayer').show();"}) << name;
        EXPECT_TRUE(menuShowsIdle()) << name;
        EXPECT_FALSE(controller().runner.active()) << name;
    }
}

TEST_F(Activation, NoJoystickFailsAndTheLabelSaysSo) {
    writePreset("space.txt", presetWithButton0("Space", 44));
    label.text = "stale";

    std::string whyNot;
    EXPECT_FALSE(controller().activatePreset("space.txt", &whyNot));
    EXPECT_EQ(whyNot, "No joystick is connected. Connect one and try again.");
    EXPECT_EQ(label.text, "No Joysticks Connected");
    EXPECT_TRUE(controller().deactivatePreset());
    EXPECT_TRUE(menuShowsIdle());
}

TEST_F(Activation, PanicDeactivateUnmarksTheActivePreset) {
    addPad();
    writePreset("space.txt", presetWithButton0("Space", 44));
    ASSERT_TRUE(controller().activatePreset("space.txt"));

    controller().panicDeactivate();

    EXPECT_EQ(mainPage.scripts.back(), "$('.selected').removeClass('selected');");
    EXPECT_FALSE(controller().runner.active());
}

TEST_F(Activation, ClosingTheEditorLeavesAnActivePresetRunning) {
    VirtualJoystick& pad = addPad();
    writePreset("space.txt", presetWithButton0("Space", 44));
    ASSERT_TRUE(controller().activatePreset("space.txt"));

    controller().windowWillClose(&configWindow);
    pad.setButton(0, true);

    EXPECT_TRUE(eventually([&] { return keyPresses(spaceKeyCode) == 1; }));
    EXPECT_TRUE(menuShowsActive());
}

TEST_F(Activation, QuittingStopsTheActivePresetBeforeSdlShutsDown) {
    addPad();
    writePreset("space.txt", presetWithButton0("Space", 44));
    ASSERT_TRUE(controller().activatePreset("space.txt"));
    ASSERT_TRUE(eventually([&] { return controller().runner.joystickPollingTaskRunning.load(); }));

    controller().applicationWillTerminate();

    EXPECT_FALSE(controller().runner.active());
    EXPECT_FALSE(controller().runner.joystickPollingTaskRunning);
    EXPECT_FALSE(controller().runner.joyManager.wasInit);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

} // namespace
} // namespace padloom::test

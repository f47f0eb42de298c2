#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

constexpr int bindNo = 3;

// One thing that happens during a capture, at a time on the capture's clock: a change of the pad
// (b: button, a: axis, h: hat), of the other pad (o: its button), Escape (e), the editor closing
// (c); or J, the pad's stick jittering below the limit every millisecond from then on; or E,
// a second request and Escape before the capture begins.
struct Happening {
    uint32_t at;
    char what;
    int index = 0;
    int value = 1;
};

struct CaptureCase {
    const char* what;
    std::vector<Happening> happenings;
    std::string expectedText;
};

class CaptureFixture : public JoystickAppTest {
protected:
    void SetUp() override {
        JoystickAppTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        pad = &addPad();
        other = &addPad();
        pad->setButton(11, false); // opens the device for the test, so SDL updates it
        other->setButton(11, false);
    }
    // Requests the capture of device 0 as the page does and runs it.
    void capture() {
        controller().scanJoystickInput(0, bindNo);
        ASSERT_EQ(loop.runQueued(), 1);
    }
    std::string reported() const {
        const std::vector<std::string> results = configPage.startingWith("selectInputInBind(");
        return results.size() == 1 ? results[0] : "reported " + std::to_string(results.size()) + " times";
    }
    VirtualJoystick* pad = nullptr;
    VirtualJoystick* other = nullptr;
};

class Capture : public CaptureFixture, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(Capture, ReportsTheInputAndClosesThePanel) {
    for (const Happening& h : GetParam().happenings) {
        VirtualJoystick& p = h.what == 'o' ? *other : *pad;
        TesselAppDelegate& a = controller();
        switch (h.what) {
        case 'E':
            a.scanJoystickInput(0, bindNo);
            a.escapeCapture();
            break;
        case 'J':
            for (uint32_t t = h.at; t < 3000; ++t) {
                captureEvents.at(t, [&p, t] { p.setAxis(0, t % 2 ? 9000 : -9000); });
            }
            break;
        default:
            captureEvents.at(h.at, [&p, &a, h] {
                switch (h.what) {
                case 'a':
                    p.setAxis(h.index, static_cast<int16_t>(h.value));
                    break;
                case 'h':
                    p.setHat(h.index, static_cast<uint8_t>(h.value));
                    break;
                case 'e':
                    a.escapeCapture();
                    break;
                case 'c':
                    a.windowWillClose(a.configwindow);
                    break;
                default:
                    p.setButton(h.index, true);
                }
            });
        }
    }
    capture();
    EXPECT_EQ(reported(), "selectInputInBind(0, 3, '" + GetParam().expectedText + "')");
    EXPECT_EQ(configPage.scripts.back(), "stopModal()");
    EXPECT_FALSE(controller().runner.joystickPollingEnabled);
    EXPECT_FALSE(controller().runner.joystickPollingTaskRunning);
    EXPECT_FALSE(controller().captureRunning());
    EXPECT_TRUE(menuShows(false));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Capture,
    ::testing::Values(CaptureCase{"Timeout", {}, ""}, CaptureCase{"Button", {{1500, 'b', 2}}, "btn 2"},
                      CaptureCase{"LastButtonWithinTheWindowWins", {{1500, 'b', 2}, {1950, 'b', 5}}, "btn 5"},
                      CaptureCase{"ButtonAfterTheWindowIsNotTakenThoughAStickJitters",
                                  {{1500, 'b', 2}, {2100, 'b', 5}, {1501, 'J'}},
                                  "btn 2"},
                      CaptureCase{"AxisAtSixtyPercentIsIgnored", {{100, 'a', 1, 19660}}, ""},
                      CaptureCase{"AxisJustBeyondIsTaken", {{100, 'a', 1, 19661}}, "axi 1 +"},
                      CaptureCase{"NegativeAxis", {{100, 'a', 2, -19661}}, "axi 2 -"},
                      CaptureCase{"HatStraightUp", {{100, 'h', 0, SDL_HAT_UP}}, "hat 0 U"},
                      CaptureCase{"HatLeft", {{100, 'h', 0, SDL_HAT_LEFT}}, "hat 0 L"},
                      CaptureCase{"HatDiagonalIsIgnored", {{100, 'h', 0, SDL_HAT_RIGHTUP}}, ""},
                      CaptureCase{"OtherJoystickIsIgnored", {{100, 'o', 1}}, ""},
                      CaptureCase{"EscapeDuringCountdown", {{1200, 'e'}, {3000, 'b', 4}}, ""},
                      CaptureCase{"EscapeBeforeTheCaptureBegins", {{0, 'E'}, {1500, 'b', 4}}, ""},
                      CaptureCase{"EscapeAfterInputKeepsIt", {{1200, 'b', 4}, {1300, 'e'}}, "btn 4"},
                      CaptureCase{"EditorClosedDuringCountdown", {{2500, 'c'}}, ""}),
    [](const auto& info) { return std::string(info.param.what); });

class CaptureCountdown : public CaptureFixture, public ::testing::WithParamInterface<uint32_t> {};

// Events that are not taken, however many, neither hold the countdown up nor repeat its steps.
TEST_P(CaptureCountdown, ShowsFiveToOneAndEndsFiveSecondsAfterItBeganWhateverArrives) {
    const uint32_t jitterMs = GetParam(); // a stick event below the limit this often (0: none)
    for (uint32_t t = jitterMs, n = 0; jitterMs > 0 && t < 5000; t += jitterMs, ++n) {
        captureEvents.at(t, [this, n] { pad->setAxis(0, n % 2 ? 9000 : -9000); });
    }
    capture();
    EXPECT_EQ(configPage.startingWith("$('#timeOut')"),
              (std::vector<std::string>{"$('#timeOut').text(' [5]')", "$('#timeOut').text(' [4]')",
                                        "$('#timeOut').text(' [3]')", "$('#timeOut').text(' [2]')",
                                        "$('#timeOut').text(' [1]')"}));
    EXPECT_TRUE(configPage.startingWith("$('#inputReceived').text('[input").empty());
    EXPECT_EQ(reported(), "selectInputInBind(0, 3, '')");
    EXPECT_GE(captureEvents.now, 5000u);
    EXPECT_LE(captureEvents.now, 5001u);
}

INSTANTIATE_TEST_SUITE_P(JitterEveryMs, CaptureCountdown, ::testing::Values(0u, 1u, 5u));

TEST_F(Capture, FirstInputShowsTheReceivedMessageOnceAndStopsTheCountdown) {
    captureEvents.at(1500, [this] { pad->setButton(2, true); });
    captureEvents.at(1700, [this] { pad->setButton(3, true); });
    capture();
    EXPECT_EQ(configPage.startingWith("$('#inputReceived').text('[input received]").size(), 1u);
    EXPECT_EQ(configPage.startingWith("$('#timeOut')").size(), 2u);
    const std::vector<std::string> endScripts(configPage.scripts.end() - 3, configPage.scripts.end());
    EXPECT_EQ(endScripts, (std::vector<std::string>{"$('#inputReceived').text('Press ESC to cancel.')",
                                                    "selectInputInBind(0, 3, 'btn 3')", "stopModal()"}));
}

// A slot without joystick is refused with an alert; a negative bind number ends the capture at once.
TEST_F(Capture, RequestsThatCannotBeCapturedCloseThePanelWithoutReport) {
    controller().scanJoystickInput(2, bindNo);
    EXPECT_EQ(loop.tasks.size(), 0u);
    EXPECT_EQ(dialogs.alerts, std::vector<std::string>{"There is no joystick connected at slot #2"});
    controller().scanJoystickInput(0, -1);
    ASSERT_EQ(loop.runQueued(), 1);
    EXPECT_EQ(configPage.startingWith("stopModal()").size(), 2u);
    EXPECT_TRUE(configPage.startingWith("selectInputInBind(").empty());
    EXPECT_FALSE(controller().captureRunning());
    EXPECT_TRUE(menuShows(false));
}

TEST_F(Capture, RequestWhileAPresetIsActiveIsRefusedAndThePresetKeepsRunning) {
    writePreset("space.txt", presetText("S"));
    ASSERT_TRUE(controller().activatePreset("space.txt"));

    controller().scanJoystickInput(0, bindNo);

    EXPECT_EQ(loop.tasks.size(), 0u);
    ASSERT_EQ(dialogs.alerts.size(), 1u);
    EXPECT_EQ(configPage.scripts.back(), "stopModal()");
    EXPECT_TRUE(controller().runner.joystickPollingEnabled);
    EXPECT_TRUE(menuShows(true));
    pad->setButton(0, true);
    EXPECT_TRUE(eventually([this] { return seams.sink.count() >= 1; }));
}

TEST_F(Capture, ActivationIsRefusedWhileACaptureIsQueued) {
    writePreset("space.txt", "{\"name\":\"S\",\"tag\":\"t\"}");
    controller().scanJoystickInput(0, bindNo);
    std::string whyNot;
    EXPECT_FALSE(controller().activatePreset("space.txt", &whyNot));
    EXPECT_NE(whyNot.find("being detected in the editor"), std::string::npos) << whyNot;
    loop.runQueued();
    EXPECT_FALSE(controller().runner.active());
}

} // namespace
} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

constexpr int bindNo = 3;

// One thing that happens during a capture, at a time on the capture's clock: a change of the pad
// (b: button, a: axis, h: hat), of the other pad (o: its button), Escape (e), the editor closing
// (c); J, the pad's stick jittering below the limit every index ms from then until value ms; or
// E, a second request and Escape before the capture begins.
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
    bool runsOut = false; // the countdown shows every step and ends five seconds after it began
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
    // Requests the capture of device 0 as the page does, runs it, and checks that it reported text
    // once and closed the panel.
    void captureReports(const std::string& text) {
        controller().scanJoystickInput(0, bindNo);
        ASSERT_EQ(loop.runQueued(), 1);
        EXPECT_EQ(configPage.startingWith("selectInputInBind(").size(), 1u);
        EXPECT_EQ(std::vector<std::string>(configPage.scripts.end() - 3, configPage.scripts.end()),
                  (std::vector<std::string>{"$('#inputReceived').text('Press ESC to cancel.')",
                                            "selectInputInBind(0, 3, '" + text + "')", "stopModal()"}));
    }
    VirtualJoystick* pad = nullptr;
    VirtualJoystick* other = nullptr;
};

class Capture : public CaptureFixture, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(Capture, ReportsTheInputAndClosesThePanel) {
    const std::map<char, std::function<void(const Happening&)>> act = {
        {'b', [&](const Happening& h) { pad->setButton(h.index, true); }},
        {'o', [&](const Happening& h) { other->setButton(h.index, true); }},
        {'a', [&](const Happening& h) { pad->setAxis(h.index, static_cast<int16_t>(h.value)); }},
        {'h', [&](const Happening& h) { pad->setHat(h.index, static_cast<uint8_t>(h.value)); }},
        {'e', [&](const Happening&) { controller().escapeCapture(); }},
        {'c', [&](const Happening&) { controller().windowWillClose(&configWindow); }},
        {'J',
         [&](const Happening& h) {
             for (uint32_t t = h.at, n = 0; t < static_cast<uint32_t>(h.value); t += h.index, ++n) {
                 captureEvents.at(t, [this, n] { pad->setAxis(0, n % 2 ? 9000 : -9000); });
             }
         }},
    };
    for (const Happening& h : GetParam().happenings) {
        if (h.what == 'E') {
            controller().scanJoystickInput(0, bindNo);
            controller().escapeCapture();
        } else {
            captureEvents.at(h.at, [&act, h] { act.at(h.what)(h); });
        }
    }
    captureReports(GetParam().expectedText);
    // The first input taken shows the received message once, and no countdown step follows it.
    const std::vector<std::string>& s = configPage.scripts;
    const auto received = std::find_if(s.begin(), s.end(), [](const std::string& x) {
        return x.starts_with("$('#inputReceived').text('[input");
    });
    EXPECT_EQ(std::count_if(received, s.end(),
                            [](const std::string& x) {
                                return x.starts_with("$('#timeOut')") ||
                                       x.starts_with("$('#inputReceived').text('[input");
                            }),
              GetParam().expectedText.empty() ? 0 : 1);
    // Events that are not taken, however many, neither hold the countdown up nor repeat its steps.
    const std::vector<std::string> shown = configPage.startingWith("$('#timeOut')");
    const std::vector<std::string> steps = {"$('#timeOut').text(' [5]')", "$('#timeOut').text(' [4]')",
                                            "$('#timeOut').text(' [3]')", "$('#timeOut').text(' [2]')",
                                            "$('#timeOut').text(' [1]')"};
    EXPECT_EQ(shown,
              std::vector<std::string>(steps.begin(), steps.begin() + std::min(shown.size(), steps.size())));
    EXPECT_EQ(shown.size() == 5 && captureEvents.now >= 5000 && captureEvents.now <= 5001, GetParam().runsOut)
        << captureEvents.now;
    EXPECT_FALSE(controller().runner().joystickPollingEnabled);
    EXPECT_FALSE(controller().runner().joystickPollingTaskRunning);
    EXPECT_FALSE(controller().captureRunning());
    EXPECT_TRUE(menuShows(false));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Capture,
    ::testing::Values(CaptureCase{"Timeout", {}, "", true}, CaptureCase{"Button", {{1500, 'b', 2}}, "btn 2"},
                      CaptureCase{"LastButtonWithinTheWindowWins", {{1500, 'b', 2}, {1950, 'b', 5}}, "btn 5"},
                      CaptureCase{"ButtonAfterTheWindowIsNotTakenThoughAStickJitters",
                                  {{1500, 'b', 2}, {2100, 'b', 5}, {1501, 'J', 1, 3000}},
                                  "btn 2"},
                      CaptureCase{"AxisAtSixtyPercentIsIgnored", {{100, 'a', 1, 19660}}, "", true},
                      CaptureCase{"AxisJustBeyondIsTaken", {{100, 'a', 1, 19661}}, "axi 1 +"},
                      CaptureCase{"NegativeAxis", {{100, 'a', 2, -19661}}, "axi 2 -"},
                      CaptureCase{"HatStraightUp", {{100, 'h', 0, SDL_HAT_UP}}, "hat 0 U"},
                      CaptureCase{"HatLeft", {{100, 'h', 0, SDL_HAT_LEFT}}, "hat 0 L"},
                      CaptureCase{"HatDiagonalIsIgnored", {{100, 'h', 0, SDL_HAT_RIGHTUP}}, "", true},
                      CaptureCase{"OtherJoystickIsIgnored", {{100, 'o', 1}}, "", true},
                      CaptureCase{"StickJitteringEveryMs", {{1, 'J', 1, 5000}}, "", true},
                      CaptureCase{"StickJitteringEvery5Ms", {{5, 'J', 5, 5000}}, "", true},
                      CaptureCase{"EscapeDuringCountdown", {{1200, 'e'}, {3000, 'b', 4}}, ""},
                      CaptureCase{"EscapeBeforeTheCaptureBegins", {{0, 'E'}, {1500, 'b', 4}}, ""},
                      CaptureCase{"EscapeAfterInputKeepsIt", {{1200, 'b', 4}, {1300, 'e'}}, "btn 4"},
                      CaptureCase{"EditorClosedDuringCountdown", {{2500, 'c'}}, ""}),
    [](const auto& info) { return std::string(info.param.what); });

// A slot without joystick, and a request while a preset is active, are refused with an alert; a
// negative bind number ends the capture at once.
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

    writePreset("space.txt", presetText("S"));
    ASSERT_TRUE(controller().activatePreset("space.txt"));
    controller().scanJoystickInput(0, bindNo);
    EXPECT_EQ(loop.tasks.size(), 0u);
    EXPECT_EQ(dialogs.alerts.size(), 2u);
    EXPECT_EQ(configPage.startingWith("stopModal()").size(), 3u);
    EXPECT_TRUE(menuShows(true));
    pad->setButton(0, true);
    EXPECT_TRUE(eventually([this] { return seams.sink.count() >= 1; }));
}

TEST_F(Capture, WhileOneIsQueuedActivationIsRefusedAndTheJoystickListWaits) {
    writePreset("space.txt", presetText("S"));
    controller().scanJoystickInput(0, bindNo);
    configPage.scripts.clear();
    label.text.clear();
    controller().refreshJoysticks();
    EXPECT_TRUE(configPage.scripts.empty());
    EXPECT_TRUE(label.text.empty());
    const Outcome<> done = controller().activatePreset("space.txt");
    EXPECT_NE(done.problem().find("being detected in the editor"), std::string::npos) << done.problem();
    loop.runQueued();
    EXPECT_FALSE(controller().runner().active());
}

} // namespace
} // namespace padloom::test

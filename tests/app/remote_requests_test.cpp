// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/remote_requests.h"
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

class RemoteRequestsFixture : public JoystickAppTest {
public:
    // For the cases of the table.
    using AppTest::captureEvents;
    using AppTest::controller;
    using AppTest::dialogs;

    void SetUp() override {
        JoystickAppTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        writePreset("space.txt", presetText("Space"));
        addPad();
        requests.attach(&controller());
    }
    // Page-ready handling has filled the main page.
    void showList() {
        mainPage.answers["document.body.offsetHeight"] = ScriptValue(700.0);
        controller().webViewDocumentReady();
    }
    void ask() {
        requests.activate("space.txt", [this](const RemoteAnswer& answer) { answers.push_back(answer); });
    }
    // The checks the requests schedule, count times.
    void check(int count = 1) {
        for (int i = 0; i < count; ++i) {
            loop.runQueued();
        }
    }

    RemoteRequests requests{loop};
    std::vector<RemoteAnswer> answers;
};

struct RequestCase {
    const char* what;
    std::function<void(RemoteRequestsFixture&)> happen; // a request is asked in here
    const char* problem;                                // a part of the answer's; "" when done
};

class Requests : public RemoteRequestsFixture, public ::testing::WithParamInterface<RequestCase> {};

// Each request is answered once. Busy is no reason to refuse; a panel or a detection is.
TEST_P(Requests, AreAnsweredOnceWhenTheyHaveRunOrCannot) {
    GetParam().happen(*this);
    ASSERT_EQ(answers.size(), 1u);
    const std::string problem = GetParam().problem;
    EXPECT_NE(answers[0].done.problem().find(problem), std::string::npos) << answers[0].done.problem();
    EXPECT_EQ(answers[0].done.problem().empty(), problem.empty()) << answers[0].done.problem();
    EXPECT_EQ(controller().runner().active(), problem.empty());
    EXPECT_EQ(answers[0].activeFile, problem.empty() ? "space.txt" : "");
    EXPECT_EQ(requests.waiting(), 0u);
}

constexpr char waitingForAnswer[] = "Padloom is waiting for an answer in one of its windows";

INSTANTIATE_TEST_SUITE_P(
    Cases, Requests,
    ::testing::Values(RequestCase{"asked_while_another_operation_runs_waits_its_turn",
                                  [](RemoteRequestsFixture& f) {
                                      f.showList();
                                      f.controller().operations().run([&f] {
                                          f.ask();
                                          f.check();
                                          EXPECT_TRUE(f.answers.empty());
                                      });
                                  },
                                  ""},
                      RequestCase{"waiting_its_turn_when_a_panel_opens_is_refused",
                                  [](RemoteRequestsFixture& f) {
                                      f.showList();
                                      f.controller().operations().run([&f] {
                                          f.ask();
                                          f.dialogs.open = true;
                                          f.check();
                                          f.dialogs.open = false;
                                      });
                                  },
                                  waitingForAnswer},
                      RequestCase{"asked_during_a_joystick_detection_is_refused",
                                  [](RemoteRequestsFixture& f) {
                                      f.showList();
                                      f.captureEvents.at(100, [&f] { f.ask(); });
                                      f.controller().scanJoystickInput(0, 0);
                                      f.check();
                                  },
                                  waitingForAnswer},
                      RequestCase{"the_app_quitting_first_answers_it",
                                  [](RemoteRequestsFixture& f) {
                                      f.ask();
                                      f.requests.attach(nullptr);
                                  },
                                  "Padloom quit before it could do this."},
                      RequestCase{"a_start_that_takes_too_long_answers_it_before_the_caller_gives_up",
                                  [](RemoteRequestsFixture& f) {
                                      f.ask();
                                      f.check(250);
                                      EXPECT_TRUE(f.answers.empty());
                                      f.check();
                                  },
                                  "Padloom is still starting"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test

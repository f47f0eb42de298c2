#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

using Lifecycle = AppTest;

TEST_F(Lifecycle, QuitQuestionIsTheSixLineMessage) {
    controller().runner.joystickPollingEnabled = true;
    settings.values["shouldShowWarnings_mi"] = true;
    controller().askBeforeQuit();
    controller().runner.joystickPollingEnabled = false;
    ASSERT_EQ(dialogs.confirms.size(), 1u);
    EXPECT_EQ(dialogs.confirms[0],
              "Please note that if you exit this app, it will stop reacting to your joysticks.\n"
              "If it is not what you want, I suggest you to Minimize this window instead.\n\n"
              "(Note also that you can disable all these warnings in \"Quick Options menu\")\n\n"
              "Do you want to exit?");
}

struct HeightCase {
    const char* what;
    ScriptValue contentHeight;
    float expectedMainHeight;
    float expectedConfigHeight;
};

class WindowFitting : public AppTest, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(WindowFitting, HeightFollowsThePageWithTheTopEdgeKept) {
    mainPage.answers["getContentHeight()"] = GetParam().contentHeight;
    configPage.answers["getContentHeight()"] = GetParam().contentHeight;
    const WindowFrame before = mainWindow.frame();

    controller().updateMainWindowHeight();
    controller().updateConfigWindowHeight();

    for (const auto& [window, height] : {std::pair{&mainWindow, GetParam().expectedMainHeight},
                                         std::pair{&configWindow, GetParam().expectedConfigHeight}}) {
        const WindowFrame after = window->frame();
        EXPECT_EQ(after.height, height);
        EXPECT_EQ(after.y + after.height, before.y + before.height);
        EXPECT_EQ(after.x, before.x);
        EXPECT_EQ(after.width, before.width);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowFitting,
                         ::testing::Values(HeightCase{"Number", ScriptValue(300.0), 346, 322},
                                           HeightCase{"Fraction", ScriptValue(300.7), 346, 322},
                                           HeightCase{"Undefined", ScriptValue(), 500, 500},
                                           HeightCase{"String", ScriptValue("300"), 500, 500}),
                         [](const auto& info) { return std::string(info.param.what); });

// Sites may be given with or without a scheme and a trailing slash; without one the local page is used.
TEST_F(Lifecycle, HelpOpensTheSitePathOrTheLocalHelpSection) {
    EXPECT_EQ(helpUri(HelpTopic::xboxController, {"padloom.test/", "", "/res"}),
              "http://padloom.test/faq/#xbox360controller");
    EXPECT_EQ(helpUri(HelpTopic::gaugeview, {"padloom.test", "https://maker.test/", "/res"}),
              "https://maker.test/app/gaugeview/");
    EXPECT_EQ(helpUri(HelpTopic::gaugeview, {"padloom.test", "", "/res/"}),
              "file:///res/help/index.html#gaugeview");
    EXPECT_EQ(helpUri(HelpTopic::faq, {"", "", "/opt/My Games/#1 100%"}),
              "file:///opt/My%20Games/%231%20100%25/help/index.html#faq");
    controller().showHelp(HelpTopic::faq);
    EXPECT_EQ(desktop.uris, std::vector<std::string>{"file://" + resources + "/help/index.html#faq"});
}

} // namespace
} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

using Lifecycle = AppTest;

TEST_F(Lifecycle, WindowHeightFollowsThePageWithTheTopEdgeKept) {
    const WindowFrame before = mainWindow.frame();
    for (const auto& [content, mainHeight, configHeight] :
         {std::tuple{ScriptValue(300.0), 346.f, 322.f}, std::tuple{ScriptValue(300.7), 346.f, 322.f},
          std::tuple{ScriptValue(), 500.f, 500.f}, std::tuple{ScriptValue("300"), 500.f, 500.f}}) {
        mainWindow.frame_ = configWindow.frame_ = before;
        mainPage.answers["getContentHeight()"] = configPage.answers["getContentHeight()"] = content;
        controller().updateMainWindowHeight();
        controller().updateConfigWindowHeight();
        for (const auto& [window, height] :
             {std::pair{&mainWindow, mainHeight}, std::pair{&configWindow, configHeight}}) {
            const WindowFrame after = window->frame();
            EXPECT_EQ(after.height, height);
            EXPECT_EQ(std::tuple(after.x, after.width, after.y + after.height),
                      std::tuple(before.x, before.width, before.y + before.height));
        }
    }
}

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
}

// Without a site, each help topic opens a section of the help page that ships in the resources.
TEST_F(Lifecycle, EveryHelpTopicHasItsSectionInTheShippedHelpPage) {
    const std::string page = readBytes(PADLOOM_SOURCE_DIR "/resources/help/index.html");
    ASSERT_FALSE(page.empty());
    for (int topic = 0; topic <= static_cast<int>(HelpTopic::makerWebsite); ++topic) {
        const std::string uri = helpUri(static_cast<HelpTopic>(topic), {"", "", "/res"});
        const std::string anchor = uri.substr(uri.find('#') + 1);
        EXPECT_NE(page.find("id=\"" + anchor + "\""), std::string::npos) << anchor;
    }
}

} // namespace
} // namespace padloom::test

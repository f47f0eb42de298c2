// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

#include <filesystem>

namespace padloom::test {
namespace {

using Bridge = AppTest;

// Only the operations the pages use are reachable; anything else, or the wrong arguments, is refused.
TEST_F(Bridge, OtherCallsAreRefusedWithoutRunningAnything) {
    const std::pair<std::string, std::vector<ScriptValue>> calls[] = {
        {"showAlert", {ScriptValue("x")}},
        {"applicationWillTerminate", {}},
        {"activatePreset:", {ScriptValue("a.txt")}},
        {"joyManager", {}},
        {"activatePreset_", {}},
        {"deactivatePreset", {ScriptValue(1.0)}},
        {"deletePreset_", {ScriptValue(3.0)}},
        {"scanJoystickInput_inBindNo_", {ScriptValue("0"), ScriptValue(1.0)}},
        {"scanJoystickInput_inBindNo_", {ScriptValue(0.5), ScriptValue(1.0)}},
        {"scanJoystickInput_inBindNo_", {ScriptValue(1e12), ScriptValue(1.0)}}};
    for (const auto& [operation, args] : calls) {
        const BridgeReply reply = controller().callFromPage(operation, args);
        EXPECT_FALSE(reply) << operation;
        EXPECT_FALSE(reply.problem().empty()) << operation;
    }
    EXPECT_TRUE(mainPage.scripts.empty() && configPage.scripts.empty() && dialogs.alerts.empty());
}

TEST_F(Bridge, OperationsAnswerWithTheirResults) {
    writePreset("a.txt", presetText("A"));
    const ScriptValue name =
        controller().callFromPage("generateValidFilenameWithName_", {ScriptValue("a.txt")}).value_or({});
    ASSERT_TRUE(name.isString());
    EXPECT_TRUE(std::filesystem::exists(presets() + name.string()));
    EXPECT_EQ(*controller().callFromPage("deactivatePreset", {}), ScriptValue(true));
    EXPECT_EQ(*controller().callFromPage("deletePreset_", {name}), ScriptValue(true));
    EXPECT_FALSE(std::filesystem::exists(presets() + name.string()));
}

TEST_F(Bridge, DocumentReadyRetriesEverySecondUntilTheBodyExists) {
    writePreset("a.txt", presetText("A"));
    controller().callFromPage("webViewDocumentReady", {});
    EXPECT_EQ(loop.delays, std::vector<uint32_t>{1000});
    EXPECT_TRUE(mainPage.startingWith("fillPresetList").empty());

    loop.runQueued();
    EXPECT_EQ(loop.delays.size(), 2u);
    EXPECT_EQ(controller().mainPageFills(), 0);

    mainPage.answers["document.body.offsetHeight"] = ScriptValue(700.0);
    shouldCompactList.setState(true);
    loop.runQueued();
    EXPECT_EQ(loop.tasks.size(), 0u);
    EXPECT_TRUE(mainPage.evaluated("$('body').addClass('compactList')"));
    EXPECT_EQ(mainPage.startingWith("fillPresetList([{file:\"a.txt\"").size(), 1u);
    EXPECT_EQ(label.text, "No Joysticks Connected");
    EXPECT_EQ(configPage.startingWith("joystickNames = ").size(), 1u);
    EXPECT_EQ(controller().mainPageFills(), 1);
}

// A relative XDG_DATA_HOME is ignored in favour of HOME.
TEST_F(Bridge, FolderIsTheDataHomesPadloomPresets) {
    EXPECT_EQ(presets(), temp.path().string() + "/data/Padloom/presets/");
    EXPECT_TRUE(std::filesystem::is_directory(presets()));
    controller().openPresetFolder();
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"folder " + presets()});
    ScopedEnv relative("XDG_DATA_HOME", "relative/data");
    ScopedEnv home("HOME", temp.path().string() + "/home");
    EXPECT_EQ(presets(), temp.path().string() + "/home/.local/share/Padloom/presets/");
}

} // namespace
} // namespace padloom::test

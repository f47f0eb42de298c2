#include "tests/app/app_fixture.h"

#include <filesystem>

namespace padloom::test {
namespace {

using Bridge = AppTest;

TEST_F(Bridge, PagesReachExactlyTheListedOperations) {
    EXPECT_EQ(TesselAppDelegate::pageOperations(),
              (std::vector<std::string>{"activatePreset_", "deactivatePreset", "createOrEditPreset_",
                                        "deletePreset_", "showPresetFile_", "generateValidFilename",
                                        "generateValidFilenameWithName_", "updateConfigWindowHeight",
                                        "scanJoystickInput_inBindNo_", "webViewDocumentReady"}));
}

struct RefusedCall {
    const char* what;
    std::string operation;
    std::vector<ScriptValue> args;
};

class RefusedCalls : public AppTest, public ::testing::WithParamInterface<RefusedCall> {};

TEST_P(RefusedCalls, AreRefusedWithoutRunningAnything) {
    const BridgeReply reply = controller().callFromPage(GetParam().operation, GetParam().args);
    EXPECT_TRUE(reply.refused);
    EXPECT_FALSE(reply.error.empty());
    EXPECT_TRUE(mainPage.scripts.empty());
    EXPECT_TRUE(configPage.scripts.empty());
    EXPECT_TRUE(dialogs.alerts.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedCalls,
    ::testing::Values(
        RefusedCall{"OtherSelector", "showAlert", {ScriptValue("x")}},
        RefusedCall{"QuitOperation", "applicationWillTerminate", {}},
        RefusedCall{"SelectorSpelling", "activatePreset:", {ScriptValue("a.txt")}},
        RefusedCall{"Property", "joyManager", {}}, RefusedCall{"MissingArgument", "activatePreset_", {}},
        RefusedCall{"ExtraArgument", "deactivatePreset", {ScriptValue(1.0)}},
        RefusedCall{"NumberForText", "deletePreset_", {ScriptValue(3.0)}},
        RefusedCall{"TextForNumber", "scanJoystickInput_inBindNo_", {ScriptValue("0"), ScriptValue(1.0)}},
        RefusedCall{"FractionForNumber", "scanJoystickInput_inBindNo_", {ScriptValue(0.5), ScriptValue(1.0)}},
        RefusedCall{"HugeNumber", "scanJoystickInput_inBindNo_", {ScriptValue(1e12), ScriptValue(1.0)}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Bridge, OperationsAnswerWithTheirResults) {
    writePreset("a.txt", presetText("A"));
    const BridgeReply name =
        controller().callFromPage("generateValidFilenameWithName_", {ScriptValue("a.txt")});
    ASSERT_FALSE(name.refused);
    ASSERT_TRUE(name.value.isString());
    EXPECT_TRUE(fileExists(presets() + name.value.string()));

    const BridgeReply deactivated = controller().callFromPage("deactivatePreset", {});
    EXPECT_EQ(deactivated.value, ScriptValue(true));

    const BridgeReply deleted =
        controller().callFromPage("deletePreset_", {ScriptValue(name.value.string())});
    EXPECT_EQ(deleted.value, ScriptValue(true));
    EXPECT_FALSE(fileExists(presets() + name.value.string()));
}

TEST_F(Bridge, DocumentReadyRetriesEverySecondUntilTheBodyExists) {
    writePreset("a.txt", presetText("A"));
    controller().callFromPage("webViewDocumentReady", {});
    EXPECT_EQ(loop.delays, std::vector<uint32_t>{1000});
    EXPECT_TRUE(mainPage.startingWith("cleanPresetList").empty());

    loop.runQueued();
    EXPECT_EQ(loop.delays.size(), 2u);
    EXPECT_EQ(controller().mainPageFills(), 0);

    mainPage.answers["document.body.offsetHeight"] = ScriptValue(700.0);
    shouldCompactList.setState(true);
    loop.runQueued();
    EXPECT_EQ(loop.tasks.size(), 0u);
    EXPECT_TRUE(mainPage.evaluated("$('body').addClass('compactList')"));
    EXPECT_EQ(mainPage.startingWith("cleanPresetList()").size(), 1u);
    EXPECT_EQ(mainPage.startingWith("addPresetUI(").size(), 1u);
    EXPECT_EQ(label.text, "No Joysticks Connected");
    EXPECT_EQ(configPage.startingWith("joystickNames = ").size(), 1u);
    EXPECT_EQ(controller().mainPageFills(), 1);
}

TEST_F(Bridge, FolderIsTheDataHomesPadloomPresets) {
    EXPECT_EQ(presets(), temp.path().string() + "/data/Padloom/presets/");
    EXPECT_TRUE(std::filesystem::is_directory(presets()));
    controller().openPresetFolder();
    EXPECT_EQ(desktop.folders, std::vector<std::string>{presets()});
}

TEST_F(Bridge, RelativeDataHomeIsIgnoredInFavourOfHome) {
    ScopedEnv relative("XDG_DATA_HOME", "relative/data");
    ScopedEnv home("HOME", temp.path().string() + "/home");
    EXPECT_EQ(presets(), temp.path().string() + "/home/.local/share/Padloom/presets/");
}

} // namespace
} // namespace padloom::test

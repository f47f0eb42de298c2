#include "app/preset_files.h"
#include "preset/vantry_document.h"
#include "tests/app/app_fixture.h"

#include <filesystem>

namespace padloom::test {
namespace {

using PresetLibrary = AppTest;

TEST_F(PresetLibrary, ListsReadablePresetsOfTheThreeExtensionsWithTheirTextsIntact) {
    writePreset("a.txt", presetText("Plain", "t1"));
    writePreset("b.json", presetText("Quote \\\" and back\\\\slash", "</script>"));
    writePreset("c.vantry", presetText("V"));
    writePreset("d.text", presetText("Wrong extension"));
    writePreset("broken.txt", "{ not json");
    writePreset("sub/e.txt", presetText("Nested"));

    controller().loadPresets();

    ASSERT_FALSE(mainPage.scripts.empty());
    EXPECT_EQ(mainPage.scripts.front(), "cleanPresetList()");
    std::vector<std::string> listed = mainPage.startingWith("addPresetUI(");
    std::sort(listed.begin(), listed.end());
    const std::vector<std::string> expected = {
        R"(addPresetUI("Nested","tag","sub/e.txt"))",
        R"(addPresetUI("Plain","t1","a.txt"))",
        R"(addPresetUI("Quote \" and back\\slash","<\/script>","b.json"))",
        R"(addPresetUI("V","tag","c.vantry"))",
    };
    EXPECT_EQ(listed, expected);
}

TEST_F(PresetLibrary, ExamplesAreCopiedUnderFreeNamesAndStopAfterAHundredCollisions) {
    writeFile(resources + "/presetexamples/Racing.txt", presetText("Racing"));
    writeFile(resources + "/presetexamples/Other.json", presetText("Json example"));
    writePreset("Racing.txt", presetText("Mine"));
    writePreset("Racing.txt0.txt", presetText("Mine too"));

    controller().copyPresetExamples();

    EXPECT_TRUE(fileExists(presets() + "Racing.txt1.txt"));
    EXPECT_FALSE(fileExists(presets() + "Other.json"));
    EXPECT_EQ(readFile(presets() + "Racing.txt"), presetText("Mine"));
    EXPECT_EQ(mainPage.startingWith("addPresetUI(").size(), 3u);

    for (int i = 2; i < 100; ++i) {
        writePreset("Racing.txt" + std::to_string(i) + ".txt", presetText("Taken"));
    }
    mainPage.scripts.clear();
    controller().copyPresetExamples();
    EXPECT_TRUE(mainPage.startingWith("cleanPresetList").empty())
        << "the list is not reloaded after giving up";
}

TEST_F(PresetLibrary, NewPresetsMadeInTheSameSecondNeverReplaceEachOther) {
    writePreset("source.txt", presetText("Source"));
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        names.push_back(controller().generateValidFilenameWithName("source.txt"));
        names.push_back(controller().generateValidFilenameWithName("no such file"));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "a generated name was used twice";
    for (const std::string& name : names) {
        VantryDocument document;
        EXPECT_TRUE(document.load((presets() + name).c_str())) << name;
    }
}

struct CopyCase {
    const char* what;
    std::string name;
    std::string tag;
};

// Names the case in test output.
inline void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.what;
}

class PresetCopies : public AppTest, public ::testing::WithParamInterface<CopyCase> {};

// The copy must read back with exactly the source's texts (plus " copy"), whatever they hold.
TEST_P(PresetCopies, CopyReadsBackWithTheSourceTexts) {
    VantryDocument source;
    source.name = GetParam().name;
    source.tag = GetParam().tag;
    ASSERT_TRUE(source.save((presets() + "src.txt").c_str()));

    const std::string copy = controller().generateValidFilenameWithName("src.txt");

    VantryDocument copied;
    ASSERT_TRUE(copied.load((presets() + copy).c_str())) << copied.lastError();
    EXPECT_EQ(copied.name, GetParam().name + " copy");
    EXPECT_EQ(copied.tag, GetParam().tag);
}

INSTANTIATE_TEST_SUITE_P(Texts, PresetCopies,
                         ::testing::Values(CopyCase{"plain", "Racing", "wheel"},
                                           CopyCase{"quotes", "The \"best\"", "say \"hi\""},
                                           CopyCase{"backslashes", "C:\\games\\", "a\\nb"},
                                           CopyCase{"both", "\\\"", "\"\\"},
                                           CopyCase{"control_characters", "Tab\there", "two\nlines"}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(PresetLibrary, NewPresetFromUnknownNameIsNamedNewPresetWithoutJoysticks) {
    const std::string name = controller().generateValidFilenameWithName("missing.txt");
    VantryDocument document;
    ASSERT_TRUE(document.load((presets() + name).c_str()));
    EXPECT_EQ(document.name, "New Preset");
    EXPECT_EQ(document.tag, "No tag");
    EXPECT_FALSE(document.joysticks);
}

TEST_F(PresetLibrary, EditingAMissingFileCreatesItAndFillsThePage) {
    controller().createOrEditPreset("fresh.txt");

    VantryDocument document;
    ASSERT_TRUE(document.load((presets() + "fresh.txt").c_str()));
    EXPECT_EQ(document.name, "New Preset");
    EXPECT_TRUE(configPage.evaluated("$('#name').val(\"New Preset\")"));
    EXPECT_TRUE(configPage.evaluated("$('#tag').val(\"No tag\")"));
    EXPECT_FALSE(reloadPresetList.enabled());
    EXPECT_FALSE(loadExamples.enabled());
    EXPECT_EQ(configWindow.broughtToFront, 1);
}

TEST_F(PresetLibrary, EditingFillsOneAddBindPerOutputWithEncodedTexts) {
    writePreset("p.txt", "{\"name\":\"It's\",\"tag\":\"x\",\"joysticks\":[{\"tag\":\"Pad 'A'\",\"binds\":{"
                         "\"btn 3\":[\"key 4\",\"key 5\"],\"axi 1 -\":[\"mou 0 - 6\"]}}]}");

    controller().createOrEditPreset("p.txt");

    EXPECT_EQ(configPage.startingWith("clearJoysticks()").size(), 1u);
    EXPECT_TRUE(configPage.evaluated("$('#name').val(\"It\\'s\")"));
    EXPECT_EQ(configPage.startingWith("addJoystick("),
              std::vector<std::string>{"addJoystick(\"Pad \\'A\\'\")"});
    const std::vector<std::string> binds = configPage.startingWith("addBind(");
    ASSERT_EQ(binds.size(), 3u);
    EXPECT_EQ(binds[0], "addBind(0, 'btn 3', 'key 4')");
    EXPECT_EQ(binds[1], "addBind(0, 'btn 3', 'key 5')");
}

TEST_F(PresetLibrary, AnUnreadablePresetIsKeptAsideBeforeEditingAndTheUserIsTold) {
    writePreset("bad.txt", "{\"name\": oops}");

    controller().createOrEditPreset("bad.txt");

    ASSERT_EQ(dialogs.alerts.size(), 1u);
    EXPECT_NE(dialogs.alerts[0].find("could not be read"), std::string::npos);
    EXPECT_EQ(readFile(presets() + "bad.txt.unreadable"), "{\"name\": oops}");
    EXPECT_TRUE(configPage.evaluated("$('#name').val(\"New Preset\")"));
}

TEST_F(PresetLibrary, FinishingSavesThePageTextAndUpdatesTheListEntry) {
    writePreset("p.txt", presetText("Old"));
    controller().createOrEditPreset("p.txt");
    const std::string edited = presetText("Ed \\\"it\\\"", "new tag");
    configPage.answers["generatePresetString()"] = ScriptValue(edited);
    configPage.answers["$('#name').val()"] = ScriptValue("Ed \"it\"");
    configPage.answers["$('#tag').val()"] = ScriptValue("new tag");

    controller().finishEditingPreset();

    EXPECT_EQ(readFile(presets() + "p.txt"), edited);
    EXPECT_TRUE(configPage.evaluated("$('input[type=text]').blur()"));
    EXPECT_TRUE(mainPage.evaluated(
        "$('.editing > text').find('h2').text(\"Ed \\\"it\\\"\").end().find('p').text(\"new tag\")"));
    EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
    EXPECT_FALSE(controller().editingPresetPath);
    EXPECT_TRUE(menuShowsIdle());
    EXPECT_TRUE(dialogs.alerts.empty());
}

struct BadPageText {
    const char* what;
    ScriptValue text;
};

// Names the case in test output.
inline void PrintTo(const BadPageText& c, std::ostream* os) {
    *os << c.what;
}

class UnreadableEditorText : public AppTest, public ::testing::WithParamInterface<BadPageText> {};

TEST_P(UnreadableEditorText, KeepsTheOldFileAndShowsTheReadersMessage) {
    writePreset("p.txt", presetText("Old"));
    controller().createOrEditPreset("p.txt");
    configPage.answers["generatePresetString()"] = GetParam().text;

    controller().finishEditingPreset();

    EXPECT_EQ(readFile(presets() + "p.txt"), presetText("Old"));
    ASSERT_EQ(dialogs.alerts.size(), 1u);
    VantryDocument reader;
    reader.readText(GetParam().text.text());
    EXPECT_NE(dialogs.alerts[0].find(reader.lastError()), std::string::npos) << dialogs.alerts[0];
    EXPECT_TRUE(mainPage.startingWith("$('.editing").empty());
    EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(presets()), {}), 1)
        << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(Texts, UnreadableEditorText,
                         ::testing::Values(BadPageText{"syntax", ScriptValue("{\"name\" : \"x\",")},
                                           BadPageText{"undefined", ScriptValue()},
                                           BadPageText{"number", ScriptValue(3.0)}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(PresetLibrary, FinishingWithoutAnOpenEditOnlyClosesThePanel) {
    controller().finishEditingPreset();
    EXPECT_EQ(mainPage.scripts, std::vector<std::string>{"stopModal()"});
    EXPECT_TRUE(configPage.scripts.empty());
}

TEST_F(PresetLibrary, DeletingRemovesOnlyTheNamedFileInsideTheFolder) {
    writePreset("keep.txt", presetText("Keep"));
    writePreset("gone.txt", presetText("Gone"));
    for (const std::string name : {"", ".", "..", "/", "sub/../keep.txt"}) {
        controller().deletePreset(name);
    }
    controller().deletePreset("go/ne.txt");
    EXPECT_TRUE(fileExists(presets() + "keep.txt"));
    EXPECT_FALSE(fileExists(presets() + "gone.txt"));
}

} // namespace
} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presets/preset_files.h"
#include "preset/vantry_document.h"
#include "tests/app/app_fixture.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace padloom::test {
namespace {

namespace fs = std::filesystem;

using PresetLibrary = AppTest;

// Sorted by name (case aside, numbers as numbers), then file name; unreadable files last, with
// the reader's message.
TEST_F(PresetLibrary, ListsPresetsOfTheThreeExtensionsSortedWithTheUnreadableOnesLast) {
    writePreset("a.txt", presetText("plain", "t1"));
    writePreset("0.txt", presetText("plain", "t1"));
    writePreset("b.json", presetText("Quote \\\" and back\\\\slash", "</script>"));
    writePreset("c.vantry", presetText("V 10"));
    writePreset("v.txt", presetText("V 9"));
    writePreset("d.text", presetText("Wrong extension"));
    writePreset("broken.txt", "{ not json");
    writePreset("sub/e.txt", presetText("Nested"));

    controller().reloadPresets();

    EXPECT_EQ(mainPage.scripts.front(), "showPresetFolder(\"" + presets() + "\")");
    const std::string expected =
        R"(fillPresetList([{file:"sub/e.txt",shown:"sub/e.txt",name:"Nested",tag:"tag"},)"
        R"({file:"0.txt",shown:"0.txt",name:"plain",tag:"t1"},)"
        R"({file:"a.txt",shown:"a.txt",name:"plain",tag:"t1"},)"
        R"({file:"b.json",shown:"b.json",name:"Quote \" and back\\slash",tag:"<\/script>"},)"
        R"({file:"v.txt",shown:"v.txt",name:"V 9",tag:"tag"},)"
        R"({file:"c.vantry",shown:"c.vantry",name:"V 10",tag:"tag"},)"
        R"({file:"broken.txt",shown:"broken.txt",problem:"Error at line 1: )";
    const std::vector<std::string> fills = mainPage.startingWith("fillPresetList(");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].substr(0, expected.size()), expected);
    EXPECT_TRUE(fills[0].ends_with("\"}])"));
    EXPECT_EQ(controller().switching().listedPresets().size(), 7u);
}

TEST_F(PresetLibrary, ExamplesAreCopiedUnderFreeNamesAndStopAfterAHundredCollisions) {
    writeFile(resources + "/presetexamples/Racing.txt", presetText("Racing"));
    writeFile(resources + "/presetexamples/Other.json", presetText("Json example"));
    writeFile(resources + "/presetexamples/Linked.txt", presetText("Linked"));
    writePreset("Racing.txt", presetText("Mine"));
    writePreset("Racing.txt0.txt", presetText("Mine too"));
    const std::string outside = temp.file("outside.txt");
    fs::create_symlink(outside, presets() + "Linked.txt"); // leads nowhere

    controller().copyPresetExamples();

    EXPECT_TRUE(fs::exists(presets() + "Racing.txt1.txt"));
    EXPECT_FALSE(fs::exists(presets() + "Other.json"));
    EXPECT_EQ(readBytes(presets() + "Racing.txt"), presetText("Mine"));
    EXPECT_FALSE(fs::exists(outside)) << "an example was written through a link";
    EXPECT_EQ(readBytes(presets() + "Linked.txt0.txt"), presetText("Linked"));
    EXPECT_EQ(controller().switching().listedPresets().size(), 4u);
    const size_t files = findFiles(presets(), {""}).size();
    controller().copyPresetExamples();
    EXPECT_EQ(findFiles(presets(), {""}).size(), files) << "an example already there was copied again";

    for (int i = 1; i < 100; ++i) {
        writePreset("Racing.txt" + std::to_string(i) + ".txt", presetText("Taken"));
    }
    mainPage.scripts.clear();
    controller().copyPresetExamples();
    EXPECT_TRUE(mainPage.startingWith("fillPresetList").empty())
        << "the list is not reloaded after giving up";
}

// Copies of copies continue the series ("X copy", "X copy 2", ...) and read back with the source's
// texts, whatever they hold.
TEST_F(PresetLibrary, NewPresetsAndCopiesMadeInTheSameSecondGetDistinctFilesAndNames) {
    VantryDocument source;
    ASSERT_TRUE(source.readText(presetText("")) && source.interpret());
    source.name = "C:\\games\\ say \"hi\"\tTab";
    source.tag = "two\nlines a\\nb \\\"";
    ASSERT_TRUE(source.save((presets() + "source.txt").c_str()));
    std::vector<std::string> files;
    for (int i = 0; i < 3; ++i) {
        files.push_back(controller().generateValidFilenameWithName(i == 2 ? files[0] : "source.txt"));
        files.push_back(controller().generateValidFilenameWithName("no such file"));
    }
    const std::string copies[] = {" copy", " copy 2", " copy 3"};
    for (size_t i = 0; i < files.size(); ++i) {
        VantryDocument document;
        EXPECT_TRUE(document.load((presets() + files[i]).c_str())) << files[i];
        EXPECT_EQ(document.name, i % 2 ? "New Preset" : source.name + copies[i / 2]);
        EXPECT_EQ(document.tag, i % 2 ? "No tag" : source.tag);
        EXPECT_EQ(document.joysticks != nullptr, i % 2 == 0);
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(std::unique(files.begin(), files.end()), files.end()) << "a generated name was used twice";
}

TEST_F(PresetLibrary, GeneratedNamesCarryTheDateAndTheFirstFreeNumber) {
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 5, t.tm_hour = 15, t.tm_min = 38, t.tm_sec = 1;
    EXPECT_EQ(generatedFileName(t), "20261205_15-38-01.txt");
    for (const auto& [taken, name, free] :
         {std::tuple{"", "p.txt", "p.txt"}, std::tuple{"p.txt", "p.txt", "p-2.txt"},
          std::tuple{"p-2.txt", "p.txt", "p-3.txt"}, std::tuple{".rc", ".rc", ".rc-2"}}) {
        writePreset(taken, "x");
        EXPECT_EQ(unusedFileName(presets(), name), free) << taken;
    }
}

TEST_F(PresetLibrary, EditingFillsOneAddBindPerOutputAndOneAddStickPerStickWithEncodedTexts) {
    writePreset("p.txt", "{\"name\":\"It's\",\"tag\":\"x\",\"joysticks\":[{\"tag\":\"Pad 'A'\",\"sticks\":[{"
                         "\"axes\":\"trigger 5\",\"curve\":\"2\"}],\"binds\":{"
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
    EXPECT_EQ(
        configPage.startingWith("addStick("),
        std::vector<std::string>{"addStick(0, {axes:'trigger 5',deadZone:'axial 0.15',outerDeadZone:'0',"
                                 "curve:'2',acceleration:'off'})"});
}

struct DropCase {
    const char* what;
    std::string text;
    bool answer;
    std::string asks; // part of the question; empty: none is asked
};

class EditingAPresetWithMembersNotRead : public AppTest, public ::testing::WithParamInterface<DropCase> {};

// Saving from the editor writes only what the reader took, so opening a preset whose file holds more
// asks first; "No" leaves the file as it is and the editor closed.
TEST_P(EditingAPresetWithMembersNotRead, AsksFirstAndNoLeavesTheFile) {
    const DropCase& c = GetParam();
    writePreset("p.txt", c.text);
    dialogs.answer = c.answer;

    controller().createOrEditPreset("p.txt");

    ASSERT_EQ(dialogs.confirms.size(), c.asks.empty() ? 0u : 1u);
    if (!c.asks.empty()) {
        EXPECT_NE(dialogs.confirms[0].find(c.asks), std::string::npos) << dialogs.confirms[0];
    }
    const bool opens = c.asks.empty() || c.answer;
    EXPECT_EQ(configWindow.broughtToFront, opens ? 1 : 0);
    EXPECT_EQ(controller().editor().editingPresetPath().has_value(), opens);
    if (!opens) {
        EXPECT_EQ(readBytes(presets() + "p.txt"), c.text);
        EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
        EXPECT_TRUE(menuShows(false));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditingAPresetWithMembersNotRead,
    ::testing::Values(
        DropCase{
            "BindsBeforeTagNo",
            "{\"name\":\"Order\",\"joysticks\":[{\"binds\":{\"btn 0\":[\"key 4\"]},\"tag\":\"P\"}]}", false,
            "The preset \"Order\" holds members that this version of Padloom does not read, and saving it "
            "from the editor will drop them:\n• member \"binds\" of joystick section 1\n• member \"tag\" of "
            "joystick section 1\n(In the file, a joystick section is read only from a first member \"tag\" "
            "and "
            "a last member \"binds\".)\n\nEdit it anyway?"},
        DropCase{"BindsBeforeTagYes", "{\"joysticks\":[{\"binds\":{},\"tag\":\"P\"}]}", true,
                 "member \"binds\""},
        DropCase{
            "MembersTheEditorWritesAreNotAsked",
            R"({"joysticks":[{"tag":"P","modes":{"btn 0":"toggle"},"layers":[{"while":"btn 1","binds":{}}],)"
            R"("sequences":{"btn 2":["wait 5"]},"switches":[{"press":["btn 3"],"to":"next"}],)"
            R"("sticks":[{"axes":"0 1"}],"binds":{}}]})",
            false, ""},
        DropCase{"ALongList",
                 "{\"a\":0,\"b\":0,\"c\":0,\"d\":0,\"e\":0,\"f\":0,\"g\":0,\"h\":0,\"i\":0,\"j\":0}", false,
                 "• member \"h\" at the top level\n• and 2 more\n\nEdit it anyway?"},
        DropCase{"EverythingRead", presetText("Plain"), false, ""},
        DropCase{"ATextThatDoesNotReadIsEditedAsNew", "{\"x\":1,\"name\":5}", false, ""}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(PresetLibrary, UnreadableEditorTextKeepsTheOldFileAndShowsTheReadersMessage) {
    writePreset("p.txt", presetText("Old"));
    for (const ScriptValue& text : {ScriptValue("{\"name\" : \"x\","), ScriptValue(), ScriptValue(3.0)}) {
        controller().createOrEditPreset("p.txt");
        configPage.answers["generatePresetString()"] = text;
        dialogs.alerts.clear();

        controller().windowWillClose(&configWindow);

        EXPECT_EQ(readBytes(presets() + "p.txt"), presetText("Old"));
        ASSERT_EQ(dialogs.alerts.size(), 1u);
        VantryDocument reader;
        reader.readText(text.text());
        EXPECT_NE(dialogs.alerts[0].find(reader.lastError()), std::string::npos) << dialogs.alerts[0];
        EXPECT_TRUE(mainPage.startingWith("$('.editing").empty());
        EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
        EXPECT_EQ(std::distance(fs::directory_iterator(presets()), {}), 1) << "no temporary file is left";
    }
}

TEST_F(PresetLibrary, NamesThatAreNotPathsInsideTheFolderAreRefusedWithAReason) {
    for (const char* name : {"", ".", "..", "/", "/abs.txt", "sub//a.txt", "sub/../a.txt", "a.txt/"}) {
        const Outcome<std::string> path = presetFilePath(presets(), name);
        EXPECT_FALSE(path) << name;
        EXPECT_FALSE(path.problem().empty()) << name;
    }
}

TEST_F(PresetLibrary, PlacesThatNothingOpensAreGivenInAnAlertToOpenByHand) {
    writePreset("a.txt", presetText("A"));
    desktop.nothingOpens = true;
    controller().openPresetFolder();
    controller().showPresetFile("a.txt");
    controller().showHelp(HelpTopic::faq);
    const std::string places[] = {presets(), presets() + "a.txt",
                                  "file://" + resources + "/help/index.html#faq"};
    ASSERT_EQ(dialogs.alerts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(dialogs.alerts[i].ends_with("by hand:\n" + places[i])) << dialogs.alerts[i];
    }
}

// Root ignores permission bits: cases that rely on them are skipped for root, and other cases
// reach the same code through failures that hold for root too.
const bool asRoot = geteuid() == 0;

struct DeleteCase {
    const char* what;
    std::string name;
    std::string refusal; // part of the reason given; empty: deleted
};

class DeletingAPreset : public AppTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeletingAPreset, RemovesExactlyTheListedFileOrSaysWhyNot) {
    if (GetParam().name == "locked/p.txt" && asRoot) {
        GTEST_SKIP() << "root may delete from a read-only folder";
    }
    const std::vector<std::string> files = {"keep.txt",   "suba.txt",     "sub/a.txt",
                                            "dir.txt/in", "locked/p.txt", "../../../outside/x.txt"};
    for (const std::string& file : files) {
        writePreset(file, "x");
    }
    fs::create_directory_symlink(temp.file("outside"), presets() + "out");
    fs::permissions(presets() + "locked", fs::perms::owner_write, fs::perm_options::remove);

    const Outcome<> deleted = controller().deletePreset(GetParam().name);
    const std::string& whyNot = deleted.problem();
    EXPECT_EQ(bool(deleted), GetParam().refusal.empty());

    fs::permissions(presets() + "locked", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_NE(whyNot.find(GetParam().refusal), std::string::npos) << whyNot;
    for (const std::string& file : files) {
        EXPECT_EQ(fs::exists(presets() + file), file != GetParam().name || !whyNot.empty()) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, DeletingAPreset,
    ::testing::Values(DeleteCase{"InASubfolder", "sub/a.txt", ""}, DeleteCase{"AlreadyGone", "gone.txt", ""},
                      DeleteCase{"ThroughALinkedFolder", "out/x.txt", "leads outside the preset folder"},
                      DeleteCase{"AFolder", "dir.txt", "could not be deleted: Is a directory"},
                      DeleteCase{"ReadOnlyFolder", "locked/p.txt",
                                 "could not be deleted: Permission denied"}),
    [](const auto& info) { return std::string(info.param.what); });

struct EditCase {
    const char* what;
    const char* file; // written in the preset folder first ("": nothing; null: the folder is a file)
    const char* text;
    unsigned mode; // the file's mode, 0 to leave it
    bool opens;    // p.txt opens in the editor (the text kept aside first)
    std::string alertPart;
};

class EditingAPresetThatDoesNotLoad : public AppTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditingAPresetThatDoesNotLoad, KeepsItsTextAsideOrIsRefusedWithAnAlert) {
    const EditCase& c = GetParam();
    if (c.mode != 0 && asRoot) {
        GTEST_SKIP() << "root reads files whatever their mode";
    }
    const std::string folder = presets();
    if (c.file == nullptr) {
        fs::remove_all(folder);
        writeFile(folder.substr(0, folder.size() - 1), c.text);
    } else if (*c.file != '\0') {
        writeFile(folder + c.file, c.text);
    }
    if (c.mode != 0) {
        fs::permissions(folder + c.file, static_cast<fs::perms>(c.mode));
    }

    controller().createOrEditPreset("p.txt");

    const std::string alert = dialogs.alerts.empty() ? "" : dialogs.alerts[0];
    EXPECT_EQ(dialogs.alerts.size(), c.alertPart.empty() ? 0u : 1u);
    EXPECT_NE(alert.find(c.alertPart), std::string::npos) << alert;
    EXPECT_EQ(configWindow.broughtToFront, c.opens ? 1 : 0);
    EXPECT_EQ(controller().editor().editingPresetPath().has_value(), c.opens);
    if (c.opens) {
        EXPECT_TRUE(configPage.evaluated("$('#name').val(\"New Preset\")"));
        EXPECT_FALSE(item(&MenuOutlets::reloadPresetList_mi).enabled());
        // A missing preset is created at once; the text of one that does not read is kept aside.
        VantryDocument document;
        EXPECT_EQ(document.load((folder + "p.txt").c_str()), c.alertPart.empty());
        EXPECT_EQ(readBytes(folder + "p.txt.unreadable"), c.alertPart.empty() ? "" : c.text);
    } else {
        EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
        EXPECT_TRUE(menuShows(false));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EditingAPresetThatDoesNotLoad,
                         ::testing::Values(EditCase{"TextThatDoesNotRead", "p.txt", "{\"name\": oops}", 0,
                                                    true, "could not be read (Error at line 1"},
                                           EditCase{"MissingFile", "", "", 0, true, ""},
                                           EditCase{"PresetFolderIsAFile", nullptr, "x", 0, false,
                                                    "Padloom/presets/\" is a file, not a folder"},
                                           EditCase{"AFolderInItsPlace", "p.txt/in", "x", 0, false,
                                                    "its text could not be kept aside (Is a directory)"},
                                           EditCase{"OwnerCannotRead", "p.txt", "{}", 0200, false,
                                                    "its text could not be kept aside (Permission denied)"}),
                         [](const auto& info) { return std::string(info.param.what); });

// Saving the editor's text, and updating the list entry that the main page marks as edited.
struct SaveCase {
    const char* what;
    bool throughLink;   // p.txt links to a file outside the preset folder
    unsigned mode;      // the mode that file starts with
    unsigned modeAfter; // 0: the file refuses the edit, which is kept beside p.txt
};

class SavingAnEdit : public AppTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SavingAnEdit, WritesThroughLinksAndNeverOverARefusingFile) {
    const SaveCase& c = GetParam();
    if (c.mode == 0200 && !asRoot) {
        GTEST_SKIP() << "only root can open a preset its owner may not read";
    }
    const std::string file = c.throughLink ? temp.file("elsewhere/p.txt") : presets() + "p.txt";
    writeFile(file, presetText("Old"));
    if (c.throughLink) {
        fs::create_symlink(file, presets() + "p.txt");
    }
    fs::permissions(file, static_cast<fs::perms>(c.mode));
    controller().createOrEditPreset("p.txt");
    configPage.answers["generatePresetString()"] = ScriptValue(presetText("New"));
    configPage.answers["$('#name').val()"] = ScriptValue("Ed \"it\"");

    controller().windowWillClose(&configWindow);

    EXPECT_TRUE(configPage.evaluated("$('input[type=text]').blur()"));
    EXPECT_EQ(mainPage.evaluated(
                  "$('.editing > text').find('h2').text(\"Ed \\\"it\\\"\").end().find('p').text(\"\")"),
              c.modeAfter != 0);
    EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
    EXPECT_FALSE(controller().editor().editingPresetPath());
    EXPECT_TRUE(menuShows(false));
    EXPECT_EQ(fs::is_symlink(presets() + "p.txt"), c.throughLink);
    EXPECT_EQ(static_cast<unsigned>(fs::status(file).permissions()), c.modeAfter ? c.modeAfter : c.mode);
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(readBytes(file), presetText(c.modeAfter ? "New" : "Old"));
    EXPECT_EQ(readBytes(presets() + "p.txt.edited"), c.modeAfter ? "" : presetText("New"));
    EXPECT_EQ(dialogs.alerts.size(), c.modeAfter ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SavingAnEdit,
                         ::testing::Values(SaveCase{"Plain", false, 0640, 0640},
                                           SaveCase{"ThroughALink", true, 0644, 0644},
                                           SaveCase{"ReadOnly", false, 0444, 0},
                                           SaveCase{"WriteOnlyBecomesReadable", false, 0200, 0600}),
                         [](const auto& info) { return std::string(info.param.what); });

// Writes to files fail as on a full disk while the size limit is 0 (for root too).
TEST_F(PresetLibrary, OnAFullDiskAFailedCreationLeavesNoFileBehind) {
    writePreset("src.txt", presetText("Source"));
    writeFile(resources + "/presetexamples/Example.txt", presetText("Example"));
    const std::function<void(TesselAppDelegate&)> creations[] = {
        [](TesselAppDelegate& a) { a.generateValidFilenameWithName(""); },
        [](TesselAppDelegate& a) { a.generateValidFilenameWithName("src.txt"); },
        [](TesselAppDelegate& a) { a.copyPresetExamples(); },
        [](TesselAppDelegate& a) { a.createOrEditPreset("fresh.txt"); }};
    for (size_t i = 0; i < std::size(creations); ++i) {
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit none{0, old.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &none);
        creations[i](controller());
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(findFiles(presets(), {""}), std::vector<std::string>{"src.txt"}) << i;
        EXPECT_FALSE(controller().editor().editingPresetPath()) << i;
    }
}

} // namespace
} // namespace padloom::test

#include "app/preset_files.h"
#include "preset/vantry_document.h"
#include "tests/app/app_fixture.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

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
    writeFile(resources + "/presetexamples/Linked.txt", presetText("Linked"));
    writePreset("Racing.txt", presetText("Mine"));
    writePreset("Racing.txt0.txt", presetText("Mine too"));
    const std::string outside = temp.file("outside.txt");
    std::filesystem::create_symlink(outside, presets() + "Linked.txt"); // leads nowhere

    controller().copyPresetExamples();

    EXPECT_TRUE(fileExists(presets() + "Racing.txt1.txt"));
    EXPECT_FALSE(fileExists(presets() + "Other.json"));
    EXPECT_EQ(readFile(presets() + "Racing.txt"), presetText("Mine"));
    EXPECT_FALSE(fileExists(outside)) << "an example was written through a link";
    EXPECT_EQ(readFile(presets() + "Linked.txt0.txt"), presetText("Linked"));
    EXPECT_EQ(mainPage.startingWith("addPresetUI(").size(), 4u);

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

// Root ignores permission bits, so cases that rely on them are skipped for root; other cases
// reach the same code through failures that hold for root too.
bool runningAsRoot() {
    return geteuid() == 0;
}

// The files every case below starts with, relative to the temporary folder.
const std::vector<std::string> startingFiles = {
    "data/Padloom/presets/keep.txt",     "data/Padloom/presets/suba.txt",
    "data/Padloom/presets/sub/a.txt",    "data/Padloom/presets/dir.txt/inner.txt",
    "data/Padloom/presets/locked/p.txt", "outside/x.txt"};

struct DeleteCase {
    const char* what;
    std::string name;
    std::string gone;    // the starting file it removes, or empty
    std::string refusal; // part of the reason given, or empty when deleted
    bool needsPermissions = false;
};

// Names the case in test output.
inline void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << c.what;
}

class DeletingAPreset : public AppTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeletingAPreset, RemovesExactlyTheListedFileOrSaysWhyNot) {
    const DeleteCase& c = GetParam();
    if (c.needsPermissions && runningAsRoot()) {
        GTEST_SKIP() << "root may delete from a read-only folder";
    }
    presets();
    for (const std::string& file : startingFiles) {
        writeFile(temp.file(file), "x");
    }
    std::filesystem::create_directory_symlink(temp.file("outside"), presets() + "out");
    std::filesystem::permissions(presets() + "locked", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);

    std::string whyNot;
    const bool deleted = controller().deletePreset(c.name, &whyNot);

    std::filesystem::permissions(presets() + "locked", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(deleted, c.refusal.empty());
    EXPECT_NE(whyNot.find(c.refusal), std::string::npos) << whyNot;
    for (const std::string& file : startingFiles) {
        EXPECT_EQ(fileExists(temp.file(file)), file != c.gone) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, DeletingAPreset,
    ::testing::Values(DeleteCase{"TopLevel", "keep.txt", "data/Padloom/presets/keep.txt", ""},
                      DeleteCase{"InASubfolder", "sub/a.txt", "data/Padloom/presets/sub/a.txt", ""},
                      DeleteCase{"AlreadyGone", "missing.txt", "", ""},
                      DeleteCase{"Empty", "", "", "No preset file was named"},
                      DeleteCase{"Dot", ".", "", "is not a preset file name"},
                      DeleteCase{"ThroughTheParent", "sub/../keep.txt", "", "is not a preset file name"},
                      DeleteCase{"EmptyPart", "sub//a.txt", "", "is not a preset file name"},
                      DeleteCase{"Absolute", "/keep.txt", "", "is not a preset file name"},
                      DeleteCase{"ThroughALinkedFolder", "out/x.txt", "", "leads outside the preset folder"},
                      DeleteCase{"AFolder", "dir.txt", "", "could not be deleted: Is a directory"},
                      DeleteCase{"ReadOnlyFolder", "locked/p.txt", "",
                                 "could not be deleted: Permission denied", true}),
    [](const auto& info) { return std::string(info.param.what); });

struct EditRefusal {
    const char* what;
    std::function<void(const std::string& folder)> setUp; // folder: the preset folder
    std::string name;
    std::string alertPart;
    bool needsPermissions = false;
};

// Names the case in test output.
inline void PrintTo(const EditRefusal& c, std::ostream* os) {
    *os << c.what;
}

class RefusedEdit : public AppTest, public ::testing::WithParamInterface<EditRefusal> {};

TEST_P(RefusedEdit, AlertsAndLeavesTheEditorClosed) {
    if (GetParam().needsPermissions && runningAsRoot()) {
        GTEST_SKIP() << "root reads files whatever their mode";
    }
    presets();
    GetParam().setUp(presets());

    controller().createOrEditPreset(GetParam().name);

    ASSERT_EQ(dialogs.alerts.size(), 1u);
    EXPECT_NE(dialogs.alerts[0].find(GetParam().alertPart), std::string::npos) << dialogs.alerts[0];
    EXPECT_EQ(configWindow.broughtToFront, 0);
    EXPECT_FALSE(controller().editingPresetPath);
    EXPECT_EQ(mainPage.scripts.back(), "stopModal()");
    EXPECT_TRUE(menuShowsIdle());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedEdit,
    ::testing::Values(EditRefusal{"NameOutsideTheFolder", [](const std::string&) {}, "../p.txt",
                                  "is not a preset file name"},
                      EditRefusal{"PresetFolderIsAFile",
                                  [](const std::string& folder) {
                                      std::filesystem::remove_all(folder);
                                      writeFile(folder.substr(0, folder.size() - 1), "x");
                                  },
                                  "p.txt", "Padloom/presets/\" is a file, not a folder"},
                      EditRefusal{"FolderInPlaceOfThePreset",
                                  [](const std::string& folder) { writeFile(folder + "p.txt/in", "x"); },
                                  "p.txt", "its text could not be kept aside (Is a directory)"},
                      EditRefusal{"LinkThatLeadsNowhere",
                                  [](const std::string& folder) {
                                      std::filesystem::create_symlink(folder + "../nowhere.txt",
                                                                      folder + "p.txt");
                                  },
                                  "p.txt", "its text could not be kept aside (No such file or directory)"},
                      EditRefusal{"OwnerCannotRead",
                                  [](const std::string& folder) {
                                      writeFile(folder + "p.txt", presetText("Secret"));
                                      std::filesystem::permissions(folder + "p.txt",
                                                                   std::filesystem::perms::owner_write);
                                  },
                                  "p.txt", "its text could not be kept aside (Permission denied)", true}),
    [](const auto& info) { return std::string(info.param.what); });

struct SaveCase {
    const char* what;
    bool throughLink;       // p.txt links to a file outside the preset folder
    unsigned mode;          // the mode the preset's file starts with
    bool saved;             // the file p.txt leads to takes the edit; else it is kept aside
    unsigned modeAfter;     // when saved
    bool needsRoot = false; // the mode keeps the owner from reading: only root edits it
};

// Names the case in test output.
inline void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.what;
}

class SavingAnEdit : public AppTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SavingAnEdit, WritesThroughLinksAndNeverOverARefusingFile) {
    const SaveCase& c = GetParam();
    if (c.needsRoot && !runningAsRoot()) {
        GTEST_SKIP() << "only root can open a preset its owner may not read";
    }
    namespace fs = std::filesystem;
    const std::string file = c.throughLink ? temp.file("elsewhere/p.txt") : presets() + "p.txt";
    writeFile(file, presetText("Old"));
    if (c.throughLink) {
        fs::create_symlink(file, presets() + "p.txt");
    }
    fs::permissions(file, static_cast<fs::perms>(c.mode));
    controller().createOrEditPreset("p.txt");
    configPage.answers["generatePresetString()"] = ScriptValue(presetText("New"));

    controller().finishEditingPreset();

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(fs::is_symlink(presets() + "p.txt"), c.throughLink);
    EXPECT_EQ(readFile(file), presetText(c.saved ? "New" : "Old"));
    EXPECT_EQ(fileExists(presets() + "p.txt.edited"), !c.saved);
    if (c.saved) {
        EXPECT_TRUE(dialogs.alerts.empty());
        EXPECT_EQ(static_cast<unsigned>(fs::status(file).permissions()), c.modeAfter);
    } else {
        EXPECT_EQ(readFile(presets() + "p.txt.edited"), presetText("New"));
        ASSERT_EQ(dialogs.alerts.size(), 1u);
        EXPECT_NE(dialogs.alerts[0].find("read-only"), std::string::npos) << dialogs.alerts[0];
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SavingAnEdit,
                         ::testing::Values(SaveCase{"Plain", false, 0640, true, 0640},
                                           SaveCase{"ThroughALink", true, 0644, true, 0644},
                                           SaveCase{"ReadOnly", false, 0444, false, 0},
                                           SaveCase{"ReadOnlyLinkTarget", true, 0444, false, 0},
                                           SaveCase{"WriteOnlyBecomesReadable", false, 0200, true, 0600,
                                                    true}),
                         [](const auto& info) { return std::string(info.param.what); });

// Writes to regular files fail once they pass the limit, as on a full disk (root too).
class NoRoomForFiles {
public:
    NoRoomForFiles() {
        getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit none{0, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &none);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~NoRoomForFiles() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

struct FullDiskCase {
    const char* what;
    std::function<void(TesselAppDelegate&)> create;
};

// Names the case in test output.
inline void PrintTo(const FullDiskCase& c, std::ostream* os) {
    *os << c.what;
}

class OnAFullDisk : public AppTest, public ::testing::WithParamInterface<FullDiskCase> {};

TEST_P(OnAFullDisk, AFailedCreationLeavesNoFileBehind) {
    writePreset("src.txt", presetText("Source"));
    writeFile(resources + "/presetexamples/Example.txt", presetText("Example"));
    {
        NoRoomForFiles full;
        GetParam().create(controller());
    }
    EXPECT_EQ(findFiles(presets(), {""}), std::vector<std::string>{"src.txt"});
    EXPECT_FALSE(controller().editingPresetPath);
}

INSTANTIATE_TEST_SUITE_P(
    Creations, OnAFullDisk,
    ::testing::Values(
        FullDiskCase{"NewPreset",
                     [](TesselAppDelegate& a) { EXPECT_EQ(a.generateValidFilenameWithName(""), ""); }},
        FullDiskCase{"Copy",
                     [](TesselAppDelegate& a) { EXPECT_EQ(a.generateValidFilenameWithName("src.txt"), ""); }},
        FullDiskCase{"ExampleCopy", [](TesselAppDelegate& a) { a.copyPresetExamples(); }},
        FullDiskCase{"EditOfANewName", [](TesselAppDelegate& a) { a.createOrEditPreset("fresh.txt"); }}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Names from files as the pages, menus, D-Bus and terminals get them.
#include "app/desktop/remote_control.h"
#include "app/pages/shown_text.h"
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

constexpr char replacement[] = "\xEF\xBF\xBD";

TEST(ShownText, RepairsWhatIsNotUtf8AndEscapesControlsForTerminals) {
    const struct {
        const char* what;
        std::string text, valid, terminal;
    } rows[] = {
        {"plain", "Racing.txt", "Racing.txt", "Racing.txt"},
        {"UTF-8 of every length", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
         "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"a raw byte", "caf\xE9.txt", "caf" + std::string(replacement) + ".txt", "caf\\xe9.txt"},
        {"an encoded surrogate", "\xED\xA0\x80!", std::string(replacement) + replacement + replacement + "!",
         "\\xed\\xa0\\x80!"},
        {"a cut sequence is one mark", "\xE2\x82x", std::string(replacement) + "x", "\\xe2\\x82x"},
        {"overlong and beyond U+10FFFF", "\xC0\xAF\xF4\x90\x80\x80",
         std::string(replacement) + replacement + replacement + replacement + replacement + replacement,
         "\\xc0\\xaf\\xf4\\x90\\x80\\x80"},
        {"a cut sequence at the end", "a\xF0\x9F\x98", "a" + std::string(replacement), "a\\xf0\\x9f\\x98"},
        {"control characters", "\x1b]0;pwned\x07\x1b[2J\x7f.txt", "\x1b]0;pwned\x07\x1b[2J\x7f.txt",
         "\\x1b]0;pwned\\x07\\x1b[2J\\x7f.txt"},
        {"C1 controls, not the characters after them", "\xC2\x9B[2J\xC2\xA0", "\xC2\x9B[2J\xC2\xA0",
         "\\xc2\\x9b[2J\xC2\xA0"},
        {"line breaks and tabs", "a\nb\tc", "a\nb\tc", "a\\x0ab\\x09c"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(validUtf8(row.text), row.valid);
        EXPECT_EQ(terminalText(row.text), row.terminal);
    }
    EXPECT_EQ(terminalText("line one\nline\ttwo\r", true), "line one\nline\\x09two\\x0d");
}

TEST(ShownText, PageKeysFindTheirFilesAgain) {
    const struct {
        std::string file, key;
    } rows[] = {
        {"Racing.txt", "Racing.txt"},
        {"sub/caf\xC3\xA9 100%.txt", "sub/caf\xC3\xA9 100%.txt"},
        {"caf\xE9.txt", "/caf%E9.txt"},
        {"100%\xFF\xC3\xA9.txt", "/100%25%FF\xC3\xA9.txt"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(pageKey(row.file), row.key);
        EXPECT_EQ(fileFromPageKey(row.key), row.file);
        EXPECT_EQ(validUtf8(row.key), row.key) << "a page takes only UTF-8";
    }
    for (const std::string bad : {"/%", "/a%4", "/%zz", "/%-1"}) {
        EXPECT_EQ(fileFromPageKey(bad), bad); // the preset folder refuses names that start with "/"
    }
}

TEST(ShownText, RequestsFindPresetsByNamesAsShown) {
    const std::vector<ListedPreset> listed = {
        {"caf\xE9.txt", true, "Caf\xE9", "", {}, ""},
        {"twin-a.txt", true, "Twin", "", {}, ""},
        {"twin-b.txt", true, "Twin", "", {}, ""},
        {"broken.txt", false, "", "", {}, "Error"},
    };
    const struct {
        std::string name, found, problem;
    } rows[] = {
        {"caf\xE9.txt", "caf\xE9.txt", ""},
        {"caf" + std::string(replacement) + ".txt", "caf\xE9.txt", ""},
        {"Caf" + std::string(replacement), "caf\xE9.txt", ""},
        {"broken.txt", "broken.txt", ""},
        {"Twin", "",
         "Several presets are named \"Twin\" (twin-a.txt, twin-b.txt); name one by its file name."},
        {"nothing", "", "No preset has the file name or the name \"nothing\"."},
    };
    for (const auto& row : rows) {
        const Outcome<std::string> found = findPresetByName(listed, row.name);
        EXPECT_EQ(found.value_or(""), row.found) << row.name;
        EXPECT_EQ(found.problem(), row.problem);
    }
}

// A name that is not UTF-8, or holds control characters, reaches the page as UTF-8 with a key
// that finds its file again, switches on and is edited; standard error gets it escaped.
struct OddName {
    const char* what;
    std::string file, nameInFile;
    std::string key;      // the page's name for the file
    std::string entry;    // the start of its entry in the script that fills the list
    std::string terminal; // the file name in the line an edit's save writes on standard error
};

class OddNames : public JoystickAppTest, public ::testing::WithParamInterface<OddName> {};

TEST_P(OddNames, ShowAsUtf8AndSwitchOnByTheirKey) {
    const OddName& c = GetParam();
    addPad();
    writePreset(c.file, presetText(c.nameInFile));
    controller().reloadPresets();
    const std::string fill = mainPage.startingWith("fillPresetList(").back();
    EXPECT_NE(fill.find(c.entry), std::string::npos) << fill;
    EXPECT_EQ(validUtf8(fill), fill);

    EXPECT_EQ(controller().callFromPage("activatePreset_", {ScriptValue(c.key)}).value_or({}),
              ScriptValue(true));
    EXPECT_EQ(controller().runner().activePath(), presets() + c.file);
    controller().deactivatePreset();
    controller().callFromPage("createOrEditPreset_", {ScriptValue(c.key)});
    configPage.answers["generatePresetString()"] = ScriptValue(presetText("Saved"));
    testing::internal::CaptureStderr();
    controller().windowWillClose(&configWindow);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "File '" + presets() + c.terminal + "' saved.\n");
    EXPECT_EQ(readBytes(presets() + c.file), presetText("Saved"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, OddNames,
    ::testing::Values(
        OddName{"RawByteInTheFileName", "caf\xE9.txt", "Cafe", "/caf%E9.txt",
                "{file:\"/caf%E9.txt\",shown:\"caf\xEF\xBF\xBD.txt\",name:\"Cafe\"", "caf\\xe9.txt"},
        OddName{"PercentBesideARawByte", "100%\xFF.txt", "P", "/100%25%FF.txt",
                "{file:\"/100%25%FF.txt\",shown:\"100%\xEF\xBF\xBD.txt\"", "100%\\xff.txt"},
        OddName{"RawByteInThePresetName", "raw.txt", "caf\xE9", "raw.txt",
                "{file:\"raw.txt\",shown:\"raw.txt\",name:\"caf\xEF\xBF\xBD\"", "raw.txt"},
        OddName{"SurrogateEscapes", "pair.txt", "\\ud800 \\ud83d\\ude00", "pair.txt",
                "{file:\"pair.txt\",shown:\"pair.txt\",name:\"\xEF\xBF\xBD \xF0\x9F\x98\x80\"", "pair.txt"},
        OddName{
            "ControlCharacters", "\x1b]0;pwned\x07\x1b[2J.txt", "Ctl", "\x1b]0;pwned\x07\x1b[2J.txt",
            "{file:\"\\u001b]0;pwned\\u0007\\u001b[2J.txt\",shown:\"\\u001b]0;pwned\\u0007\\u001b[2J.txt\"",
            "\\x1b]0;pwned\\x07\\x1b[2J.txt"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test

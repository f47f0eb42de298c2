#include "preset/vantry_document.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace padloom {
namespace {

using test::readBytes;
using test::TempFolder;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

// name|tag|sections, each section as "[joystick name: input=(output)...]"; "-" when the list is absent,
// nothing when it is present but empty; then "|for p q" when the preset names programs.
std::string summary(const VantryDocument& document) {
    std::string text = document.name + "|" + document.tag + "|";
    std::string programs = document.activateFor.empty() ? "" : "|for";
    for (const std::string& program : document.activateFor) {
        programs += " " + program;
    }
    if (!document.joysticks) {
        return text + "-" + programs;
    }
    for (const VantryDocument::JoystickData& joystick : *document.joysticks) {
        text += "[" + joystick.name + ":";
        for (const VantryDocument::BindData& bind : joystick.binds) {
            text += " " + inputToText(bind.input) + "=";
            for (const BindOutput& output : bind.outputs) {
                text += "(" + outputToText(output) + ")";
            }
        }
        text += "]";
    }
    return text + programs;
}

// The preset of the format's example, and its written form as (tabs, text) lines.
void fillRacing(VantryDocument& document) {
    document.name = "Racing";
    document.tag = "Driving games";
    document.joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    document.joysticks->push_back(
        {"USB Gamepad",
         {{{InputKind::button, 0, 0, 0}, {{OutputKind::key, 49, 0, 0}}},
          {{InputKind::axis, 1, -1, 0.42f}, {{OutputKind::mouseMotion, 1, -1, 6}}},
          {{InputKind::hat, 0, 1, 0}, {{OutputKind::wheelStep, 1, 1, 6}, {OutputKind::key, 36, 0, 0}}}}});
}

const std::vector<std::pair<int, std::string>> racingLines = {
    {0, "{"},
    {1, "\"name\" : \"Racing\","},
    {1, "\"tag\" : \"Driving games\","},
    {1, "\"joysticks\" : ["},
    {2, "{"},
    {3, "\"tag\" : \"USB Gamepad\","},
    {3, "\"binds\" : {"},
    {4, "\"btn 0\" : ["},
    {5, "\"key 49\""},
    {4, "],"},
    {4, "\"axi 1 -\" : ["},
    {5, "\"mou 1 - 6\""},
    {4, "],"},
    {4, "\"hat 0 U\" : ["},
    {5, "\"whs 1 +\","},
    {5, "\"key 36\""},
    {4, "]"},
    {3, "}"},
    {2, "}"},
    {1, "]"},
    {0, "}"},
};

std::string racingText() {
    std::string text;
    for (const auto& [tabs, line] : racingLines) {
        text += std::string(static_cast<std::size_t>(tabs), '\t') + line + "\n";
    }
    return text;
}

TEST(PresetSave, WritesTheExamplePresetByteForByte) {
    TempFolder folder;
    VantryDocument document;
    fillRacing(document);
    ASSERT_TRUE(document.save(folder.file("racing.json").c_str()));
    EXPECT_EQ(readBytes(folder.file("racing.json")), racingText());
}

TEST(PresetSave, TheExampleFileLoadsIntoTheSameFields) {
    TempFolder folder;
    VantryDocument written;
    fillRacing(written);
    VantryDocument read;
    ASSERT_TRUE(read.load(folder.write("racing.json", racingText()).c_str()));
    EXPECT_EQ(summary(read), summary(written));
    EXPECT_EQ((*read.joysticks)[0].binds[1].input, (BindInput{InputKind::axis, 1, -1, 0.42f}));
}

struct RoundTripCase {
    const char* what;
    std::string text;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.what;
}

class PresetRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

// Load, save, load again: the same fields, and the saved text is stable.
TEST_P(PresetRoundTrip, SavedFieldsLoadBackEqual) {
    TempFolder folder;
    VantryDocument first;
    ASSERT_TRUE(first.load(folder.write("in.json", GetParam().text).c_str())) << first.lastError();
    ASSERT_TRUE(first.save(folder.file("out.json").c_str()));
    VantryDocument second;
    ASSERT_TRUE(second.load(folder.file("out.json").c_str())) << second.lastError();
    EXPECT_EQ(summary(second), summary(first));
    ASSERT_TRUE(second.save(folder.file("again.json").c_str()));
    EXPECT_EQ(readBytes(folder.file("again.json")), readBytes(folder.file("out.json")));
}

INSTANTIATE_TEST_SUITE_P(
    Presets, PresetRoundTrip,
    ::testing::Values(
        RoundTripCase{"no_sections", "{\"name\":\"Solo\",\"tag\":\"t\"}"},
        RoundTripCase{
            "every_kind",
            "{\"name\":\"All\",\"joysticks\":[{\"tag\":\"A\",\"binds\":{\"btn 1\":[\"key 4\",\"mbt 2\"],"
            "\"axi 0 +\":[\"mou 0 + 0.25\",\"whe 1 - 1e-05\"],\"hat 3 L\":[\"whs 0 -\"]}},"
            "{\"binds\":{\"btn 4294967295\":[\"key 2147483648\"]}}]}"},
        RoundTripCase{"empty_outputs_and_duplicate_keys",
                      "{\"joysticks\":[{\"tag\":\"P\",\"binds\":{\"btn 1\":[],\"btn 1\":[\"key 5\"]}}]}"},
        RoundTripCase{
            "programs_after_sections",
            "{\"activateFor\":[\"steam_app_*\",\"Mine\\\"craft*\"],\"joysticks\":[{\"tag\":\"A\"}]}"},
        RoundTripCase{"utf8_names",
                      "{\"name\":\"Caf\\u00e9\",\"joysticks\":[{\"tag\":\"\xE2\x98\x83\",\"binds\":{}}]}"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PresetSave, AbsentAndEmptySectionListsDiffer) {
    TempFolder folder;
    VantryDocument absent;
    absent.name = "A";
    ASSERT_TRUE(absent.save(folder.file("absent.json").c_str()));
    EXPECT_EQ(readBytes(folder.file("absent.json")), "{\n\t\"name\" : \"A\",\n\t\"tag\" : \"\"\n}\n");

    VantryDocument empty;
    empty.name = "E";
    empty.joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    ASSERT_TRUE(empty.save(folder.file("empty.json").c_str()));
    EXPECT_EQ(readBytes(folder.file("empty.json")),
              "{\n\t\"name\" : \"E\",\n\t\"tag\" : \"\",\n\t\"joysticks\" : [\n\t]\n}\n");
    VantryDocument read;
    ASSERT_TRUE(read.load(folder.file("empty.json").c_str()));
    EXPECT_EQ(read.joysticks, nullptr);
}

struct SchemaCase {
    const char* what;
    std::string text;
    bool loads;
    std::string fields; // summary after the load, successful or not
};

void PrintTo(const SchemaCase& c, std::ostream* os) {
    *os << c.what;
}

class PresetSchema : public ::testing::TestWithParam<SchemaCase> {};

TEST_P(PresetSchema, InterpretsTheTreeOrRefusesIt) {
    VantryDocument document;
    ASSERT_TRUE(document.readText(GetParam().text));
    EXPECT_EQ(document.interpret(), GetParam().loads);
    EXPECT_EQ(summary(document), GetParam().fields);
    EXPECT_EQ(document.lastError().empty(), GetParam().loads) << document.lastError();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PresetSchema,
    ::testing::Values(
        SchemaCase{"name_only", "{\"name\":\"N\"}", true, "N||-"},
        SchemaCase{"missing_name", "{\"tag\":\"T\"}", true, "Unnamed preset|T|-"},
        SchemaCase{"empty_name", "{\"name\":\"\"}", true, "Unnamed preset||-"},
        SchemaCase{"later_name_wins", "{\"name\":\"A\",\"name\":\"B\"}", true, "B||-"},
        SchemaCase{"unknown_keys_ignored", "{\"name\":\"N\",\"x\":5,\"y\":{\"z\":[]}}", true, "N||-"},
        SchemaCase{"name_not_text", "{\"name\":5}", false, "||-"},
        SchemaCase{"tag_not_text", "{\"name\":\"N\",\"tag\":[]}", false, "N||-"},
        SchemaCase{"root_is_array", "[{\"name\":\"N\"}]", false, "||-"},
        SchemaCase{"joysticks_not_list", "{\"name\":\"N\",\"joysticks\":{}}", false, "N||-"},
        SchemaCase{"empty_joysticks_is_absent", "{\"joysticks\":[]}", true, "Unnamed preset||-"},
        SchemaCase{"later_joysticks_replace",
                   "{\"joysticks\":[{\"tag\":\"A\"}],\"joysticks\":[{\"tag\":\"B\"}]}", true,
                   "Unnamed preset||[B:]"},
        SchemaCase{"later_empty_joysticks_change_nothing",
                   "{\"joysticks\":[{\"tag\":\"A\"}],\"joysticks\":[]}", true, "Unnamed preset||[A:]"},
        SchemaCase{"section_not_object", "{\"joysticks\":[{\"tag\":\"A\"},[]]}", false, "||[A:]"},
        SchemaCase{"binds_then_tag_are_not_looked_at",
                   "{\"joysticks\":[{\"binds\":{\"btn 1\":[\"key 4\"]},\"tag\":\"A\"}]}", true,
                   "Unnamed preset||[:]"},
        SchemaCase{"only_binds", "{\"joysticks\":[{\"binds\":{\"btn 1\":[\"key 4\"]}}]}", true,
                   "Unnamed preset||[: btn 1=(key 4)]"},
        SchemaCase{"empty_section", "{\"joysticks\":[{}]}", true, "Unnamed preset||[:]"},
        SchemaCase{"middle_members_ignored", "{\"joysticks\":[{\"tag\":\"A\",\"x\":[1],\"binds\":{}}]}", true,
                   "Unnamed preset||[A:]"},
        SchemaCase{"bind_not_list", "{\"joysticks\":[{\"binds\":{\"btn 1\":\"key 4\"}}]}", false, "||"},
        SchemaCase{"output_not_text", "{\"joysticks\":[{\"binds\":{\"btn 1\":[4]}}]}", false, "||"},
        SchemaCase{"bad_input_text", "{\"joysticks\":[{\"binds\":{\"axi 2\":[]}}]}", false, "||"},
        SchemaCase{"bad_output_text", "{\"joysticks\":[{\"binds\":{\"btn 2\":[\"mou 0 6\"]}}]}", false, "||"},
        SchemaCase{"programs", "{\"activateFor\":[\"a*\",\"\"],\"name\":\"N\"}", true, "N||-|for a* "},
        SchemaCase{"later_programs_replace", "{\"activateFor\":[\"a\"],\"activateFor\":[]}", true,
                   "Unnamed preset||-"},
        SchemaCase{"programs_not_list", "{\"name\":\"N\",\"activateFor\":\"a\"}", false, "N||-"},
        SchemaCase{"program_not_text", "{\"activateFor\":[\"a\",1]}", false, "||-"},
        SchemaCase{"keyless_bind", "{\"joysticks\":[{\"binds\":{[\"key 4\"]}}]}", false, "||"},
        // a failure keeps what came before it and drops the section being built
        SchemaCase{
            "partial_state_after_failure",
            "{\"name\":\"N\",\"tag\":\"T\",\"joysticks\":[{\"tag\":\"A\",\"binds\":{\"btn 0\":[\"key 4\"]}},"
            "{\"tag\":\"B\",\"binds\":{\"btn 1\":[\"key 5\"],\"btn 2 +\":[]}}],\"name\":\"Later\"}",
            false, "N|T|[A: btn 0=(key 4)]"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PresetInterpret, DropsTheSectionsOfAnEarlierInterpret) {
    VantryDocument document;
    ASSERT_TRUE(document.readText("{\"name\":\"N\",\"joysticks\":[{\"tag\":\"A\"}]}"));
    ASSERT_TRUE(document.interpret());
    ASSERT_TRUE(document.readText("{\"tag\":\"T\"}"));
    ASSERT_TRUE(document.interpret());
    EXPECT_EQ(summary(document), "N|T|-");
}

TEST(PresetInterpret, FailsWithoutATree) {
    VantryDocument document;
    EXPECT_FALSE(document.interpret());
    EXPECT_FALSE(document.lastError().empty());
}

TEST(PresetLoad, AMissingFileIsReportedWithItsPath) {
    TempFolder folder;
    const std::string path = folder.file("missing.json");
    VantryDocument document;
    CaptureStdout();
    EXPECT_FALSE(document.load(path.c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Can't open " + path + "\n");
    EXPECT_EQ(document.lastError(), "Can't open " + path);
    EXPECT_EQ(document.name, "");
}

TEST(PresetLoad, ASyntaxErrorShowsLineMessageAndTheRestOfTheText) {
    TempFolder folder;
    VantryDocument document;
    CaptureStdout();
    EXPECT_FALSE(
        document.load(folder.write("p.json", "{\n\t\"name\" : \"B\",\n\t\"tag\" : oops\n}\n").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Error at line 3: Unexpected character\noops\n}\n\n\n");
    EXPECT_EQ(document.lastError(), "Error at line 3: Unexpected character");
    EXPECT_EQ(document.root, nullptr);
    EXPECT_EQ(document.name, "");
}

TEST(PresetLoad, AnEmptyFileIsDescribedNotPrintedAsNull) {
    TempFolder folder;
    VantryDocument document;
    CaptureStdout();
    EXPECT_FALSE(document.load(folder.write("empty.json", "").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Error at line 0: Empty file\n\n\n");
    EXPECT_EQ(document.lastError(), "Error at line 0: Empty file");
}

struct RefusedCase {
    const char* what;
    std::string (*make)(const TempFolder&); // the path to load
    const char* reason;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.what;
}

class PresetLoadRefuses : public ::testing::TestWithParam<RefusedCase> {};

// Only a regular file is read: a device or a FIFO would be read without end, or wait forever for a
// writer. What was loaded before stays, tree and fields.
TEST_P(PresetLoadRefuses, WhatIsNotAPresetFileAndKeepsTheDocument) {
    TempFolder folder;
    VantryDocument document;
    ASSERT_TRUE(document.load(folder.write("kept.json", "{\"name\":\"Kept\"}").c_str()));
    const json_value* root = document.root;
    const std::string path = GetParam().make(folder);
    CaptureStdout();
    EXPECT_FALSE(document.load(path.c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Can't open " + path + "\n");
    EXPECT_EQ(document.lastError(), "Can't open " + path + ": " + GetParam().reason);
    EXPECT_EQ(document.name, "Kept");
    ASSERT_EQ(document.root, root);
    EXPECT_STREQ(root->first_child->string_value, "Kept");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PresetLoadRefuses,
    ::testing::Values(RefusedCase{"folder", [](const TempFolder& f) { return f.path().string(); },
                                  "it is a folder"},
                      RefusedCase{"device", [](const TempFolder&) { return std::string("/dev/zero"); },
                                  "it is not a regular file"},
                      RefusedCase{"fifo",
                                  [](const TempFolder& f) {
                                      mkfifo(f.file("fifo").c_str(), 0600);
                                      return f.file("fifo");
                                  },
                                  "it is not a regular file"},
                      RefusedCase{"over_64_MiB",
                                  [](const TempFolder& f) {
                                      const std::string path = f.write("huge.json", "{}");
                                      std::filesystem::resize_file(path, (std::uintmax_t{64} << 20) + 1);
                                      return path;
                                  },
                                  "it is larger than 64 MiB"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PresetLoad, ReadTextParsesLikeAFile) {
    TempFolder folder;
    VantryDocument fromFile;
    VantryDocument fromText;
    ASSERT_TRUE(fromFile.load(folder.write("p.json", racingText()).c_str()));
    ASSERT_TRUE(fromText.readText(racingText()));
    ASSERT_TRUE(fromText.interpret());
    EXPECT_EQ(summary(fromText), summary(fromFile));
}

// Sets HOME for the length of a test (unset when value is null) and restores it.
class HomeVariable {
public:
    explicit HomeVariable(const char* value) {
        const char* old = std::getenv("HOME");
        hadHome_ = old != nullptr;
        old_ = hadHome_ ? old : "";
        value != nullptr ? setenv("HOME", value, 1) : unsetenv("HOME");
    }
    ~HomeVariable() { hadHome_ ? setenv("HOME", old_.c_str(), 1) : unsetenv("HOME"); }

private:
    bool hadHome_ = false;
    std::string old_;
};

struct TildeCase {
    const char* what;
    const char* path;
    const char* fileUnderFolder; // the file the path should open, relative to the temp folder; null: none
    const char* home;            // relative to the temp folder; null: HOME unset
    std::string message;         // expected stdout when it does not open
};

void PrintTo(const TildeCase& c, std::ostream* os) {
    *os << c.what;
}

class PresetTilde : public ::testing::TestWithParam<TildeCase> {};

TEST_P(PresetTilde, ExpandsALeadingTildeToHome) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "home");
    const std::string home = GetParam().home != nullptr ? folder.file(GetParam().home) : "";
    HomeVariable variable(GetParam().home != nullptr ? home.c_str() : nullptr);
    if (GetParam().fileUnderFolder != nullptr) {
        folder.write(GetParam().fileUnderFolder, "{\"name\":\"Found\"}");
    }
    VantryDocument document;
    CaptureStdout();
    const bool loaded = document.load(GetParam().path);
    const std::string printed = GetCapturedStdout();
    EXPECT_EQ(loaded, GetParam().fileUnderFolder != nullptr) << printed;
    EXPECT_EQ(printed, GetParam().message.empty() ? "" : "Can't open " + GetParam().message + "\n");
    if (loaded) {
        EXPECT_EQ(document.name, "Found");
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, PresetTilde,
                         ::testing::Values(TildeCase{"slash", "~/p.json", "home/p.json", "home", ""},
                                           TildeCase{"no_slash", "~p.json", "homep.json", "home", ""},
                                           TildeCase{"lone_tilde_is_a_file_name", "~", nullptr, "home", "~"},
                                           TildeCase{"no_home", "~/padloom-no-such-preset.json", nullptr,
                                                     nullptr, "/padloom-no-such-preset.json"}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(PresetSave, AFailedWriteIsNotReportedAsSuccess) {
    VantryDocument document;
    fillRacing(document);
    EXPECT_FALSE(document.save("/dev/full"));
    EXPECT_FALSE(document.lastError().empty());
}

TEST(PresetSave, AnUnwritablePlaceIsReported) {
    TempFolder folder;
    VantryDocument document;
    const std::string path = folder.file("no-such-folder/p.json");
    CaptureStdout();
    EXPECT_FALSE(document.save(path.c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Can't open " + path + "\n");
}

// A path of exactly the given length that names the file p.json in the folder ("./" steps pad it).
std::string paddedPath(const TempFolder& folder, std::size_t length) {
    std::string path = folder.path().string() + "/";
    const std::string tail = "p.json";
    while (path.size() + tail.size() + 2 <= length) {
        path += "./";
    }
    if (path.size() + tail.size() < length) {
        path += "/";
    }
    return path + tail;
}

struct LengthCase {
    std::size_t length;
    bool opens;
};

class PresetPathLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(PresetPathLength, ExpandedPathsBeyondTheBufferAreRefused) {
    TempFolder folder;
    folder.write("p.json", "{\"name\":\"Long\"}");
    const std::string path = paddedPath(folder, GetParam().length);
    ASSERT_EQ(path.size(), GetParam().length);
    VantryDocument document;
    CaptureStdout();
    EXPECT_EQ(document.load(path.c_str()), GetParam().opens);
    EXPECT_EQ(GetCapturedStdout(), GetParam().opens ? "" : "Can't open " + path + "\n");
    CaptureStdout();
    EXPECT_EQ(document.save(path.c_str()), GetParam().opens);
    GetCapturedStdout();
}

INSTANTIATE_TEST_SUITE_P(Lengths, PresetPathLength,
                         ::testing::Values(LengthCase{2046, true}, LengthCase{2047, true},
                                           LengthCase{2048, false}, LengthCase{4000, false}));

} // namespace
} // namespace padloom

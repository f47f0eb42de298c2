// SPDX-License-Identifier: GPL-3.0-or-later
// The preset document: what a tree means, which files and paths it reads and writes, and how it
// fails. The written layout and the load messages of whole files are pinned by padloomctl check
// and format on tests/fixtures/presets; any preset saves and loads back, by the fuzz corpus test.
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

const std::string racing = PADLOOM_SOURCE_DIR "/tests/fixtures/presets/racing.json";

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

// What load printed, and whether it loaded.
struct Printed {
    bool loaded;
    std::string out;
};

Printed load(VantryDocument& document, const std::string& path) {
    CaptureStdout();
    const bool loaded = document.load(path.c_str());
    return {loaded, GetCapturedStdout()};
}

TEST(PresetSchema, InterpretsTheTreeOrRefusesIt) {
    struct Row {
        const char* what;
        std::string text;
        bool loads;
        std::string fields; // summary after the load, successful or not
    };
    const Row rows[] = {
        {"name_only", "{\"name\":\"N\"}", true, "N||-"},
        {"missing_name", "{\"tag\":\"T\"}", true, "Unnamed preset|T|-"},
        {"empty_name", "{\"name\":\"\"}", true, "Unnamed preset||-"},
        {"later_name_wins", "{\"name\":\"A\",\"name\":\"B\"}", true, "B||-"},
        {"unknown_keys_ignored", "{\"name\":\"N\",\"x\":5,\"y\":{\"z\":[]}}", true, "N||-"},
        {"name_not_text", "{\"name\":5}", false, "||-"},
        {"tag_not_text", "{\"name\":\"N\",\"tag\":[]}", false, "N||-"},
        {"root_is_array", "[{\"name\":\"N\"}]", false, "||-"},
        {"joysticks_not_list", "{\"name\":\"N\",\"joysticks\":{}}", false, "N||-"},
        {"empty_joysticks_is_absent", "{\"joysticks\":[]}", true, "Unnamed preset||-"},
        {"later_joysticks_replace", "{\"joysticks\":[{\"tag\":\"A\"}],\"joysticks\":[{\"tag\":\"B\"}]}", true,
         "Unnamed preset||[B:]"},
        {"later_empty_joysticks_change_nothing", "{\"joysticks\":[{\"tag\":\"A\"}],\"joysticks\":[]}", true,
         "Unnamed preset||[A:]"},
        {"section_not_object", "{\"joysticks\":[{\"tag\":\"A\"},[]]}", false, "||[A:]"},
        {"binds_then_tag_are_not_looked_at",
         "{\"joysticks\":[{\"binds\":{\"btn 1\":[\"key 4\"]},\"tag\":\"A\"}]}", true, "Unnamed preset||[:]"},
        {"only_binds", "{\"joysticks\":[{\"binds\":{\"btn 1\":[\"key 4\"]}}]}", true,
         "Unnamed preset||[: btn 1=(key 4)]"},
        {"empty_section", "{\"joysticks\":[{}]}", true, "Unnamed preset||[:]"},
        {"middle_members_ignored", "{\"joysticks\":[{\"tag\":\"A\",\"x\":[1],\"binds\":{}}]}", true,
         "Unnamed preset||[A:]"},
        {"bind_not_list", "{\"joysticks\":[{\"binds\":{\"btn 1\":\"key 4\"}}]}", false, "||"},
        {"output_not_text", "{\"joysticks\":[{\"binds\":{\"btn 1\":[4]}}]}", false, "||"},
        {"bad_input_text", "{\"joysticks\":[{\"binds\":{\"axi 2\":[]}}]}", false, "||"},
        {"bad_output_text", "{\"joysticks\":[{\"binds\":{\"btn 2\":[\"mou 0 6\"]}}]}", false, "||"},
        {"programs", "{\"activateFor\":[\"a*\",\"\"],\"name\":\"N\"}", true, "N||-|for a* "},
        {"later_programs_replace", "{\"activateFor\":[\"a\"],\"activateFor\":[]}", true, "Unnamed preset||-"},
        {"programs_not_list", "{\"name\":\"N\",\"activateFor\":\"a\"}", false, "N||-"},
        {"program_not_text", "{\"activateFor\":[\"a\",1]}", false, "||-"},
        {"keyless_bind", "{\"joysticks\":[{\"binds\":{[\"key 4\"]}}]}", false, "||"},
        // a failure keeps what came before it and drops the section being built
        {"partial_state_after_failure",
         "{\"name\":\"N\",\"tag\":\"T\",\"joysticks\":[{\"tag\":\"A\",\"binds\":{\"btn 0\":[\"key 4\"]}},"
         "{\"tag\":\"B\",\"binds\":{\"btn 1\":[\"key 5\"],\"btn 2 +\":[]}}],\"name\":\"Later\"}",
         false, "N|T|[A: btn 0=(key 4)]"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        VantryDocument document;
        ASSERT_TRUE(document.readText(row.text));
        EXPECT_EQ(document.interpret(), row.loads);
        EXPECT_EQ(summary(document), row.fields);
        EXPECT_EQ(document.lastError().empty(), row.loads) << document.lastError();
    }
}

// What the reader passes over is listed, so that a check or the editor can say that saving drops it.
TEST(PresetSchema, ListsTheMembersItPassesOver) {
    struct Row {
        const char* what;
        std::string text;
        std::string ignored; // each described, "+" after a member later builds read
    };
    const Row rows[] = {
        {"read_members",
         "{\"name\":\"N\",\"tag\":\"T\",\"joysticks\":[{\"tag\":\"A\",\"binds\":{}}],"
         "\"activateFor\":[]}",
         ""},
        {"top_level", "{\"x\":1,\"name\":\"N\",[2]}",
         "member \"x\" at the top level; a member without a key at the top level; "},
        {"binds_then_tag", "{\"joysticks\":[{\"binds\":{\"btn 0\":[\"key 4\"]},\"tag\":\"P\"}]}",
         "member \"binds\" of joystick section 1; member \"tag\" of joystick section 1; "},
        {"middle_and_extensions",
         "{\"joysticks\":[{\"tag\":\"A\"},{\"tag\":\"B\",\"x\":1,\"modes\":{},\"sticks\":[],\"binds\":{}}]}",
         "member \"x\" of joystick section 2; "},
        {"read_members_last_are_not", "{\"joysticks\":[{\"layers\":[],\"modes\":5}]}",
         "member \"modes\" of joystick section 1; "},
        {"wrong_types_first_and_last", "{\"joysticks\":[{\"tag\":5,\"binds\":[]},{\"binds\":{}}]}",
         "member \"tag\" of joystick section 1; member \"binds\" of joystick section 1; "},
        {"lone_tag_read_lone_keyless_not", "{\"joysticks\":[{\"tag\":\"A\"},{[]}]}",
         "a member without a key in joystick section 2; "},
        {"replaced_sections_forgotten",
         "{\"joysticks\":[{\"y\":1}],\"z\":0,\"joysticks\":[{},{\"tag\":\"B\",\"w\":[],\"binds\":{}}]}",
         "member \"z\" at the top level; member \"w\" of joystick section 2; "},
        {"control_characters_escaped", "{\"a\\u001b]0;t\\u0007\\u007f\\\"\\\\\":1}",
         "member \"a\\u001b]0;t\\u0007\\u007f\\\"\\\\\" at the top level; "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        VantryDocument document;
        ASSERT_TRUE(document.readText(row.text));
        ASSERT_TRUE(document.interpret());
        std::string ignored;
        for (const VantryDocument::IgnoredMember& member : document.ignoredMembers) {
            ignored += describeIgnoredMember(member) + (member.extension ? "+; " : "; ");
        }
        EXPECT_EQ(ignored, row.ignored);
    }
}

TEST(PresetInterpret, DropsTheSectionsOfAnEarlierInterpretAndNeedsATree) {
    VantryDocument document;
    EXPECT_FALSE(document.interpret());
    EXPECT_FALSE(document.lastError().empty());
    ASSERT_TRUE(document.readText("{\"name\":\"N\",\"joysticks\":[{\"tag\":\"A\"}]}"));
    ASSERT_TRUE(document.interpret());
    ASSERT_TRUE(document.readText("{\"tag\":\"T\"}"));
    ASSERT_TRUE(document.interpret());
    EXPECT_EQ(summary(document), "N|T|-");
}

// Only a regular file is read: a device or a FIFO would be read without end, or wait forever for a
// writer. What was loaded before stays, tree and fields.
TEST(PresetLoad, WhatIsNotAPresetFileIsRefusedAndTheDocumentKept) {
    struct Row {
        std::string (*make)(const TempFolder&); // the path to load
        const char* reason;
    };
    const Row rows[] = {
        {[](const TempFolder& f) { return f.path().string(); }, "it is a folder"},
        {[](const TempFolder&) { return std::string("/dev/zero"); }, "it is not a regular file"},
        {[](const TempFolder& f) {
             mkfifo(f.file("fifo").c_str(), 0600);
             return f.file("fifo");
         },
         "it is not a regular file"},
        {[](const TempFolder& f) {
             const std::string path = f.write("huge.json", "{}");
             std::filesystem::resize_file(path, (std::uintmax_t{64} << 20) + 1);
             return path;
         },
         "it is larger than 64 MiB"},
    };
    for (const Row& row : rows) {
        TempFolder folder;
        VantryDocument document;
        ASSERT_TRUE(document.load(folder.write("kept.json", "{\"name\":\"Kept\"}").c_str()));
        const json_value* root = document.root;
        const std::string path = row.make(folder);
        SCOPED_TRACE(path);
        EXPECT_EQ(load(document, path).out, "Can't open " + path + "\n");
        EXPECT_EQ(document.lastError(), "Can't open " + path + ": " + row.reason);
        EXPECT_EQ(document.name, "Kept");
        ASSERT_EQ(document.root, root);
        EXPECT_STREQ(root->first_child->string_value, "Kept");
    }
}

struct TildeCase {
    const char* path;
    const char* fileUnderFolder; // the file the path should open, relative to the temp folder; null: none
    bool homeSet;                // HOME is the temp folder's "home", or unset
    std::string message;         // expected stdout when it does not open
};

TEST(PresetLoad, ALeadingTildeIsHome) {
    const TildeCase cases[] = {
        {"~/p.json", "home/p.json", true, ""},
        {"~p.json", "homep.json", true, ""},
        {"~", nullptr, true, "~"}, // a lone tilde is a file name
        {"~/padloom-no-such-preset.json", nullptr, false, "/padloom-no-such-preset.json"},
    };
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    for (const TildeCase& c : cases) {
        SCOPED_TRACE(c.path);
        TempFolder folder;
        std::filesystem::create_directory(folder.path() / "home");
        c.homeSet ? setenv("HOME", folder.file("home").c_str(), 1) : unsetenv("HOME");
        if (c.fileUnderFolder != nullptr) {
            folder.write(c.fileUnderFolder, "{\"name\":\"Found\"}");
        }
        VantryDocument document;
        const Printed printed = load(document, c.path);
        EXPECT_EQ(printed.loaded, c.fileUnderFolder != nullptr) << printed.out;
        EXPECT_EQ(printed.out, c.message.empty() ? "" : "Can't open " + c.message + "\n");
        EXPECT_EQ(document.name, printed.loaded ? "Found" : "");
    }
    home ? setenv("HOME", oldHome.c_str(), 1) : unsetenv("HOME");
}

TEST(PresetSave, AbsentAndEmptySectionListsDiffer) {
    TempFolder folder;
    VantryDocument document;
    document.name = "E";
    document.joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    ASSERT_TRUE(document.save(folder.file("empty.json").c_str()));
    EXPECT_EQ(readBytes(folder.file("empty.json")),
              "{\n\t\"name\" : \"E\",\n\t\"tag\" : \"\",\n\t\"joysticks\" : [\n\t]\n}\n");
    ASSERT_TRUE(document.load(folder.file("empty.json").c_str()));
    EXPECT_EQ(document.joysticks, nullptr);
}

TEST(PresetSave, FailuresAreReported) {
    TempFolder folder;
    VantryDocument document;
    ASSERT_TRUE(document.load(racing.c_str()));
    EXPECT_FALSE(document.save("/dev/full"));
    EXPECT_FALSE(document.lastError().empty());
    const std::string path = folder.file("no-such-folder/p.json");
    CaptureStdout();
    EXPECT_FALSE(document.save(path.c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Can't open " + path + "\n");
}

// An expanded path must fit the 2048-byte buffer with its terminating zero.
TEST(PresetPath, PathsBeyondTheBufferAreRefused) {
    TempFolder folder;
    folder.write("p.json", "{\"name\":\"Long\"}");
    for (const std::size_t length : {2046, 2047, 2048, 4000}) {
        // "./" steps, and one "/" where needed, pad the path to the length.
        std::string path = folder.path().string() + "/";
        while (path.size() + 8 <= length) {
            path += "./";
        }
        path += std::string(length - path.size() - 6, '/') + "p.json";
        const bool opens = length < 2048;
        VantryDocument document;
        const Printed printed = load(document, path);
        EXPECT_EQ(printed.loaded, opens) << length;
        EXPECT_EQ(printed.out, opens ? "" : "Can't open " + path + "\n");
        CaptureStdout();
        EXPECT_EQ(document.save(path.c_str()), opens) << length;
        GetCapturedStdout();
    }
}

} // namespace
} // namespace padloom

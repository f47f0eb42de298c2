// SPDX-License-Identifier: GPL-3.0-or-later
// Modes, layers, sequences and switches of a joystick section: their texts, and the files they make
// unreadable, with the line and the text named. Their layout is pinned by padloomctl format on
// tests/fixtures/presets/binds-that-do-more*.json.
#include "preset/section_members.h"
#include "preset/vantry_document.h"

#include <gtest/gtest.h>

namespace padloom {
namespace {

TEST(SectionMemberTexts, ReadAndWriteBack) {
    struct Row {
        const char* text;
        const char* written; // null: does not read
    };
    const Row modes[] = {
        {"toggle", "toggle"},     {"turbo 10", "turbo 10"}, {"turbo  12.50 ", "turbo 12.5"},
        {"turbo 1", "turbo 1"},   {"turbo 50", "turbo 50"}, {"turbo 0.5", nullptr},
        {"turbo 50.01", nullptr}, {"turbo nan", nullptr},   {"turbo inf", nullptr},
        {"turbo", nullptr},       {"turbo10", nullptr},     {"Toggle", nullptr},
        {"toggle ", nullptr},     {"normal", nullptr},      {"turbo 5 x", nullptr},
    };
    for (const Row& row : modes) {
        SCOPED_TRACE(row.text);
        const std::optional<BindMode> mode = modeFromText(row.text);
        ASSERT_EQ(mode.has_value(), row.written != nullptr);
        if (mode) {
            EXPECT_EQ(modeToText(*mode), row.written);
        }
    }
    const Row steps[] = {
        {"key 4", "key 4"},     {"mbt 1", "mbt 1"},           {"whs 1 + 3", "whs 1 +"},
        {"wait 0", "wait 0"},   {"wait 60000", "wait 60000"}, {"wait 60001", nullptr},
        {"wait -1", nullptr},   {"wait 5x", nullptr},         {"wait", nullptr},
        {"mou 0 + 5", nullptr}, {"whe 1 - 3", nullptr},       {"btn 1", nullptr},
    };
    for (const Row& row : steps) {
        SCOPED_TRACE(row.text);
        const std::optional<SequenceStep> step = stepFromText(row.text);
        ASSERT_EQ(step.has_value(), row.written != nullptr);
        if (step) {
            EXPECT_EQ(stepToText(*step), row.written);
        }
    }
}

// Each refusal names the line, the member and the text; the escaped line feeds of the name were
// not lines of the file.
TEST(SectionMembers, WrongTypesAndTextsMakeThePresetUnreadable) {
    const std::string head = "{\"name\":\"a\\nb\\u000a\",\n\"joysticks\":[{\"tag\":\"P\",\n";
    const std::string tail = ",\n\"binds\":{}}]}";
    struct Row {
        const char* member;
        const char* error;
    };
    const Row rows[] = {
        {"\"modes\":[]",
         "Error at line 3: \"modes\" of joystick section 1 is not an object of input texts and "
         "modes"},
        {"\"modes\":{\"btn 0\":\"toggle\",\n\"btn 1\":\"turbo 80\"}",
         "Error at line 4: \"modes\" of joystick section 1, \"btn 1\": \"turbo 80\" is not a mode (a mode is "
         "\"toggle\", or \"turbo R\" with R from 1 to 50 times a second)"},
        {"\"modes\":{\"btm 1\":\"toggle\"}",
         "Error at line 3: \"modes\" of joystick section 1: \"btm 1\" is not a joystick input"},
        {"\"modes\":{\"btn 1\":1}",
         "Error at line 3: \"modes\" of joystick section 1: the mode of \"btn 1\" is "
         "not a text"},
        {"\"layers\":{}", "Error at line 3: \"layers\" of joystick section 1 is not a list of layers"},
        {"\"layers\":[{\"binds\":{}}]",
         "Error at line 3: \"layers\" of joystick section 1, layer 1 has no \"while\": the input that holds "
         "it in effect"},
        {"\"layers\":[{\"while\":\"btn 4\"},\n{\"while\":\"btn 5\",\"binds\":{\n\"btn 0\":[\"key 4\",\"mou 0 "
         "6\"]}}]",
         "Error at line 5: \"layers\" of joystick section 1, layer 2, bind \"btn 0\": \"mou 0 6\" is not an "
         "output"},
        {"\"layers\":[{\"while\":\"btn\"}]",
         "Error at line 3: \"layers\" of joystick section 1: \"btn\" is not a joystick input"},
        {"\"layers\":[{\"while\":\"btn 1\",\"modes\":{}}]",
         "Error at line 3: \"layers\" of joystick section 1, layer 1: \"modes\" is not a member of a layer "
         "(\"while\", \"binds\")"},
        {"\"sequences\":{\"btn 2\":[\"key 4\",\n\"whe 1 + 3\"]}",
         "Error at line 4: \"sequences\" of joystick section 1, \"btn 2\": \"whe 1 + 3\" is not a step (a "
         "step "
         "is the text of a key, a mouse button or a wheel step, or \"wait MS\" with MS from 0 to 60000)"},
        {"\"sequences\":{\"btn 2\":\"key 4\"}",
         "Error at line 3: \"sequences\" of joystick section 1: the steps of \"btn 2\" are not a list"},
        {"\"switches\":[{\"press\":[],\"to\":\"next\"}]",
         "Error at line 3: \"switches\" of joystick section 1, switch 1 has no \"press\": the inputs that, "
         "held together, switch"},
        {"\"switches\":[{\"press\":[\"btn 1\"]}]", "Error at line 3: \"switches\" of joystick section 1, "
                                                   "switch 1 has no \"to\": the preset it switches "
                                                   "to"},
        {"\"switches\":[{\"press\":[\"btn 1\",\n\"hat 0 X\"],\"to\":\"next\"}]",
         "Error at line 4: \"switches\" of joystick section 1: \"hat 0 X\" is not a joystick input"},
        {"\"modes\":{\"btn 1\\u001b]0;x\\u0007\":\"toggle\"}",
         "Error at line 3: \"modes\" of joystick section 1: \"btn 1\\u001b]0;x\\u0007\" is not a joystick "
         "input"},
        {"\"switches\":[{\"press\":[\"btn 1\"],\"to\":5}]",
         "Error at line 3: \"switches\" of joystick section 1, switch 1: \"to\" is not a text"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.member);
        VantryDocument document;
        ASSERT_TRUE(document.readText(head + row.member + tail));
        EXPECT_FALSE(document.interpret());
        EXPECT_EQ(document.lastError(), row.error);
    }
}

} // namespace
} // namespace padloom

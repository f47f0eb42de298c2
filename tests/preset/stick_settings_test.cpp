// SPDX-License-Identifier: GPL-3.0-or-later
// A section's "sticks": what each text reads as, what is written back, and the message for each
// way a member can fail to read. Their effect on the engine is pinned by the replay fixtures
// tests/fixtures/replay/sticks-*.
#include "preset/stick_settings.h"

#include "preset/json/json_value.h"
#include "preset/vantry_document.h"

#include <gtest/gtest.h>

#include <string>

namespace padloom {
namespace {

// The texts written for the first section's sticks, "|" between settings, ";" between sticks.
std::string written(VantryDocument& document) {
    std::string text;
    const json_value* member = sticksMember(document, document.joysticks->front().sticks);
    for (const json_value* stick = member->first_child; stick != nullptr; stick = stick->next_sibling) {
        for (const json_value* setting = stick->first_child; setting != nullptr;
             setting = setting->next_sibling) {
            text += std::string(setting->string_value) + (setting->next_sibling ? "|" : ";");
        }
    }
    return text;
}

TEST(StickSettings, ReadWhatTheyCanAndNameWhatTheyCannot) {
    struct Row {
        const char* what;
        std::string sticks; // the member's value, in a one-line file
        std::string result; // written(), or the reader's message for a file that does not read
    };
    const Row rows[] = {
        {"defaults", "[{\"axes\":\"0 1\"}]", "0 1|axial 0.15|0|1|off;"},
        {"every_setting",
         "[{\"acceleration\":\"3 500 0.9\",\"curve\":\"2.50\",\"outerDeadZone\":\"5e-2\","
         "\"deadZone\":\"round\\t0.1\",\"axes\":\" 3  4 \"}]",
         "3 4|round 0.1|0.05|2.5|3 500 0.9;"},
        {"single_and_trigger",
         "[{\"axes\":\"7\",\"deadZone\":\"axial -0\"},{\"axes\":\"trigger 5\",\"curve\":\"0.1\"}]",
         "7|axial 0|0|1|off;trigger 5|axial 0.15|0|0.1|off;"},
        {"later_setting_wins",
         "[{\"curve\":\"2\",\"axes\":\"1\",\"curve\":\"3\",\"acceleration\":\"2 0 1\"}]",
         "1|axial 0.15|0|3|2 0 1;"},
        {"acceleration_off_again", "[{\"axes\":\"1\",\"acceleration\":\"2 10 1\",\"acceleration\":\"off\"}]",
         "1|axial 0.15|0|1|off;"},
        {"empty_list", "[]", ""},
        {"not_a_list", "{}", "Joystick section 1, \"sticks\" is not a list (line 1)"},
        {"stick_not_object", "[{\"axes\":\"0\"},5]",
         "Joystick section 1, \"sticks\", stick 2 is not an object"},
        {"unknown_setting", "[{\"axes\":\"0\",\"deadzone\":\"round 0.1\"}]",
         "\"sticks\", stick 1: \"deadzone\" is not a setting of a stick (\"axes\", \"deadZone\", "
         "\"outerDeadZone\", \"curve\", \"acceleration\")"},
        {"setting_not_text", "[{\"axes\":0}]", "\"sticks\", stick 1: \"axes\" is not a text"},
        {"no_axes", "[{\"curve\":\"2\"}]", "\"sticks\", stick 1 names no axes: it needs \"axes\""},
        {"same_axis_twice", "[{\"axes\":\"2 2\"}]", "\"axes\" \"2 2\" does not read: expected two different"},
        {"three_axes", "[{\"axes\":\"0 1 2\"}]", "\"axes\" \"0 1 2\" does not read"},
        {"negative_axis", "[{\"axes\":\"-1\"}]", "\"axes\" \"-1\" does not read"},
        {"trigger_without_axis", "[{\"axes\":\"trigger\"}]", "\"axes\" \"trigger\" does not read"},
        {"dead_zone_without_shape", "[{\"axes\":\"0\",\"deadZone\":\"0.1\"}]",
         "\"deadZone\" \"0.1\" does not read"},
        {"dead_zone_whole_travel", "[{\"axes\":\"0\",\"deadZone\":\"round 1\"}]",
         "\"deadZone\" \"round 1\" does"},
        {"decimal_comma", "[{\"axes\":\"0\",\"outerDeadZone\":\"0,1\"}]",
         "\"outerDeadZone\" \"0,1\" does not"},
        {"no_number", "[{\"axes\":\"0\",\"curve\":\"nan\"}]",
         "\"curve\" \"nan\" does not read: expected a number"},
        {"curve_too_flat", "[{\"axes\":\"0\",\"curve\":\"0.09\"}]", "\"curve\" \"0.09\" does not read"},
        {"acceleration_short", "[{\"axes\":\"0\",\"acceleration\":\"3 500\"}]",
         "\"acceleration\" \"3 500\" does"},
        {"acceleration_factor", "[{\"axes\":\"0\",\"acceleration\":\"11 5 1\"}]", "\"11 5 1\" does not read"},
        {"acceleration_ramp", "[{\"axes\":\"0\",\"acceleration\":\"2 10001 1\"}]", "\"2 10001 1\" does not"},
        {"acceleration_from_0", "[{\"axes\":\"0\",\"acceleration\":\"2 5 0\"}]", "\"2 5 0\" does not read"},
        {"no_travel_left", "[{\"axes\":\"0\",\"deadZone\":\"axial 0.5\",\"outerDeadZone\":\"0.5\"}]",
         "\"sticks\", stick 1: \"deadZone\" and \"outerDeadZone\" leave no travel between them (0.5 and "
         "0.5)"},
        {"axis_in_two_sticks", "[{\"axes\":\"0 1\"},{\"axes\":\"trigger 1\"}]",
         "\"sticks\", stick 2: axis 1 is in stick 1 too"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        VantryDocument document;
        ASSERT_TRUE(document.readText("{\"joysticks\":[{\"tag\":\"P\",\"sticks\":" + row.sticks +
                                      ",\"binds\":{}}]}"));
        if (document.interpret()) {
            EXPECT_EQ(written(document), row.result);
            EXPECT_TRUE(document.ignoredMembers.empty());
        } else {
            EXPECT_NE(document.lastError().find(row.result), std::string::npos) << document.lastError();
        }
    }
}

// The message names the line of the setting that does not read, also after texts with escaped
// line feeds, which are not lines of the file.
TEST(StickSettings, TheMessageNamesTheLineOfTheText) {
    VantryDocument document;
    ASSERT_TRUE(
        document.readText("{\"name\":\"a\\nb\\u000a\",\n\"joysticks\":[{\"tag\":\"P\",\n\"sticks\":[{\n"
                          "\"axes\":\"0 1\",\n\n\"curve\":\"steep\"}],\"binds\":{}}]}"));
    EXPECT_FALSE(document.interpret());
    EXPECT_EQ(document.lastError(),
              "Joystick section 1, \"sticks\", stick 1: \"curve\" \"steep\" does not read: "
              "expected a number from 0.1 to 10 (line 6)");
}

} // namespace
} // namespace padloom

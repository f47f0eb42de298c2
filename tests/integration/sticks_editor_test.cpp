// SPDX-License-Identifier: GPL-3.0-or-later
// Sticks in the editor: a preset saved from the page is the file the preset writer makes of it,
// the fields refuse what the reader refuses, the curve's picture is the engine's, and the live view
// shows the stick against its dead zones.
#include "app/pages/page_scripts.h"
#include "engine/stick.h"
#include "tests/integration/shell_harness.h"
#include "tests/support/temp_folder.h"

namespace padloom::test {
namespace {

const std::string fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/presets/";

using SticksInTheEditor = PadTest;

// Opened in the editor and closed again, each preset is what `padloomctl format` writes of it; one
// without sticks stays as it was. Nothing is asked, nothing refused.
TEST_F(SticksInTheEditor, SavesWhatTheWriterWrites) {
    const std::string presets[] = {
        readBytes(fixtures + "sticks.json"), readBytes(fixtures + "racing.json"),
        R"({"name":"Edges","joysticks":[{"tag":"A","sticks":[{"axes":"3","deadZone":"round 0.001953125",
        "outerDeadZone":"5e-5","curve":"10","acceleration":"1 0 1"},{"axes":"1 0","acceleration":"1 10000 0.5"}],
        "binds":{"axi 3 +":["mou 0 + 1234567"]}},{"tag":"B","binds":{}},
        {"tag":"C","sticks":[{"axes":"trigger 2","curve":"0.1"}],"switches":[{"press":["btn 3"],"to":"next"}],
        "modes":{"btn 0":"toggle"},"binds":{"btn 0":["key 4"]}}]})"};
    for (const std::string& text : presets) {
        harness.writePreset("Pad.txt", text);
        const ProgramOutcome formatted = runProgram(
            {PADLOOM_BINARY_DIR "/padloomctl", "format", (harness.presetFolder() / "Pad.txt").string()});
        ASSERT_EQ(formatted.exit, 0) << text;
        ASSERT_TRUE(harness.openEditor());
        ASSERT_TRUE(harness.closeEditor());
        EXPECT_EQ(harness.presetFileText("Pad.txt"), formatted.out);
        EXPECT_TRUE(text.find("sticks") != std::string::npos || formatted.out == text);
    }
    EXPECT_TRUE(harness.dialogs.confirms.empty());
    EXPECT_TRUE(harness.dialogs.alerts.empty()) << harness.dialogs.alerts[0];
}

// Typed one after another into the first stick (axes "0 1") or a second one (axes "2 3").
TEST_F(SticksInTheEditor, FieldsRefuseWhatTheReaderRefuses) {
    ASSERT_TRUE(harness.openEditor());
    harness.config(
        "$('.add-stick').click().click(); $('select.acceleration').val('on').trigger('change'); true");
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        // stick, field, typed, in the preset text afterwards (nullptr: refused)
        {0, "deadZone", "1", nullptr},
        {0, "deadZone", "0.99999999", nullptr}, // 1 as a float
        {0, "deadZone", "0.25", "\"round 0.25\""},
        {0, "outerDeadZone", "0.75", nullptr}, // no travel left
        {0, "outerDeadZone", "0.001953125", "\"0.00195312\""},
        {0, "curve", "0.09", nullptr},
        {0, "curve", "1.2345678", "\"1.23457\""},
        {0, "x", "1", nullptr}, // the stick's y
        {0, "x", "-1", nullptr},
        {0, "x", "4294967296", nullptr},
        {1, "x", "1", nullptr}, // in the first stick
        {1, "y", "4294967295", "\"2 4294967295\""},
        {0, "rampMs", "10001", nullptr},
        {0, "rampMs", "2.5", nullptr},
        {0, "factor", "0.5", nullptr},
        {0, "from", "0", nullptr},
        {0, "factor", "1", "\"1 500 0.9\""},
        {0, "rampMs", "0", "\"1 0 0.9\""},
        {0, "from", "1", "\"acceleration\" : \"off\""}, // does nothing
    };
    for (const auto& [stick, field, typed, saved] : cases) {
        SCOPED_TRACE(std::to_string(stick) + " " + field + " " + typed);
        const std::string input = "$('.stick').eq(" + std::to_string(stick) + ").find('input." + field + "')";
        const std::string before = harness.config("generatePresetString()").text();
        harness.config("$('.field-problem').remove(); " + input + ".val('" + typed +
                       "').trigger('change'); true");
        const std::string note = harness.config(input + ".siblings('.field-problem').text()").text();
        const std::string text = harness.config("generatePresetString()").text();
        EXPECT_EQ(note.empty(), saved != nullptr) << note;
        EXPECT_TRUE(saved ? text.find(saved) != std::string::npos : text == before) << text;
    }
    // A number still being typed when the preset is read is checked as leaving its field would be.
    harness.config("$('.stick').eq(0).find('input.outerDeadZone').val('0.9'); true");
    EXPECT_NE(harness.config("generatePresetString()").text().find("\"0.00195312\""), std::string::npos);
    harness.config("$('.remove-stick').click(); true");
    EXPECT_EQ(harness.config("generatePresetString().includes('\"sticks\"')"), ScriptValue(false));
}

// The picture's curve is the output the engine gives a single axis, for the texts the app hands over.
TEST_F(SticksInTheEditor, DrawsTheCurveTheEngineShapes) {
    ASSERT_TRUE(harness.openEditor());
    StickSettings stick{.axes = StickAxes::single, .x = 2};
    for (const auto& [deadZone, outer, curve] :
         {std::tuple{0.15f, 0.0f, 1.0f}, std::tuple{0.1f, 0.05f, 2.0f}, std::tuple{0.3f, 0.2f, 0.4f}}) {
        stick.deadZone = deadZone;
        stick.outerDeadZone = outer;
        stick.curve = curve;
        harness.config("$('.stick').remove(); " + config_page::addStick(0, stickSettingTexts(stick)));
        for (const float magnitude : {0.0f, 0.1f, 0.2f, 0.5f, 0.77f, 0.96f, 1.0f}) {
            const float position[2] = {magnitude, 0};
            const ScriptValue drawn =
                harness.config("stickOutput(shownStick($('.stick')), " + std::to_string(magnitude) + ")");
            ASSERT_TRUE(drawn.isNumber()) << drawn;
            EXPECT_NEAR(drawn.number(), shapeStick(stick, position).components[0], 1e-5) << magnitude;
        }
    }
    // The picture follows a number as it is typed.
    const std::string curve = "$('svg.stick-curve .curve').attr('points')";
    const std::string before = harness.config(curve).text();
    harness.config("$('.stick input.curve').val('3').trigger('input'); true");
    EXPECT_NE(harness.config(curve).text(), before);
}

// A round dead zone of 0.2: the dot sits where the stick points, grey inside the dead zone; a
// trigger's mark follows its travel. Nothing is shown before the pad is there.
TEST_F(SticksInTheEditor, LiveViewShowsTheStickAgainstItsDeadZones) {
    harness.writePreset("Pad.txt", R"({"name":"Pad","joysticks":[{"tag":"P","sticks":[{"axes":"0 1",
        "deadZone":"round 0.2"},{"axes":"trigger 2"}],"binds":{}}]})");
    ASSERT_TRUE(harness.openEditor());
    const std::string dots =
        "$('svg.stick-position .live-dot').map((i, e) => "
        "[e.getAttribute('cx') || e.getAttribute('x'), e.getAttribute('class')]).get().join()";
    EXPECT_EQ(harness.config(dots), ScriptValue(""));
    VirtualJoystick& pad = harness.plug(3, 2, 0);
    const std::tuple<int, int16_t, const char*> moves[] = {
        {2, -32768, "0,live-dot resting,-1.5,live-dot resting"},
        {0, 32767, "1,live-dot,-1.5,live-dot resting"},
        {0, 3000, "0.0916,live-dot resting,-1.5,live-dot resting"},
        {2, 32767, "0.0916,live-dot resting,118.5,live-dot"},
    };
    for (const auto& [axis, value, shown] : moves) {
        pad.setAxis(axis, value);
        EXPECT_TRUE(pumpUntil([&] { return harness.config(dots).text() == shown; }))
            << shown << " is " << harness.config(dots).text();
    }
}

} // namespace
} // namespace padloom::test

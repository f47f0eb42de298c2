// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a section's modes, layers, sequences and switches in the configuration window: a preset
// saved by the editor is the file the preset writer makes of it, and what the controls make reads
// back as they show it.
#include "app/presets/preset_files.h"
#include "preset/vantry_document.h"
#include "tests/integration/shell_harness.h"

namespace padloom::test {
namespace {

// Every member in a section, and in a second one a switch alone; compact, so that only the writer's
// layout can match what the editor saves.
const char* everyMember =
    R"({"name":"Alpha","tag":"t","joysticks":[{"tag":"Pad","modes":{"btn 0":"toggle","btn 2":"turbo 12.5",)"
    R"("hat 0 U":"turbo 50","btn 9":"toggle"},"layers":[{"while":"btn 4","binds":{"btn 0":["key 5"],"btn 1":[]}},)"
    R"({"while":"axi 2 +","binds":{}}],"sequences":{"btn 2":["key 224","wait 100","mbt 0","whs 1 -"],"btn 3":[]},)"
    R"("switches":[{"press":["btn 6","btn 7"],"to":"next"},{"press":["hat 0 D"],"to":"B.txt"},)"
    R"({"press":["btn 8"],"to":"gone.txt"}],"binds":{"btn 0":["key 4"],"btn 2":["key 44","mbt 1"]}},)"
    R"({"tag":"Second","switches":[{"press":["btn 1"],"to":"previous"}],"binds":{}}],"activateFor":["game*"]})";

// The text the preset writer makes of text.
std::string writtenText(const std::string& text) {
    VantryDocument document;
    EXPECT_TRUE(readPresetText(document, text)) << text;
    TempFolder folder;
    EXPECT_TRUE(document.save(folder.file("written").c_str()));
    return readBytes(folder.file("written"));
}

class SectionMembers : public HarnessTest {
protected:
    SectionMembers()
        : HarnessTest({{"A.txt", everyMember}, {"B.txt", presetText("Beta")}, {"C.txt", "{\"name\" :"}}) {}

    bool edit(const std::string& file) {
        harness.controller().createOrEditPreset(file);
        return pumpUntil([&] { return gtk_widget_get_visible(GTK_WIDGET(harness.shell().configWindow())); });
    }
    // The page's preset text, read back by the preset reader.
    VantryDocument::JoystickData shownSection() {
        const std::string text = harness.config("generatePresetString()").text();
        VantryDocument document;
        EXPECT_TRUE(readPresetText(document, text)) << text;
        return document.joysticks && !document.joysticks->empty() ? document.joysticks->front()
                                                                  : VantryDocument::JoystickData{};
    }
    std::string js(const std::string& script) { return harness.config(script).text(); }
};

TEST_F(SectionMembers, SavesTheFileThePresetWriterMakes) {
    for (const auto& [file, expected] :
         {std::pair<std::string, std::string>{"A.txt", writtenText(everyMember)},
          {"B.txt", presetText("Beta")}}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(edit(file));
        ASSERT_TRUE(harness.closeEditor());
        EXPECT_EQ(harness.presetFileText(file), expected);
    }
    EXPECT_TRUE(harness.dialogs.confirms.empty()) << "the editor keeps every member it was given";
}

TEST_F(SectionMembers, ShowsEachMemberWhereItsControlsAre) {
    ASSERT_TRUE(edit("A.txt"));
    const std::pair<std::string, std::string> shown[] = {
        // Rows of one input share its mode; a layer's rows are hidden until the layer is chosen.
        {"$('.bind:visible').map((i, b) => readBindInput($(b)) + ':' + $(b).find('.mode-kind').val() + "
         "($(b).find('.rate:visible').val() || '')).get().join()",
         "btn 0:toggle,btn 2:turbo12.5"},
        {"$('select.layer-choice').first().find('option').map((i, o) => $(o).text()).get().join()",
         "Base,While Button 4,While Axis 2 +"},
        {"$('.sequence').map((i, s) => $(s).find('.step').length).get().join()", "4,0"},
        {"$('select.switch-to').map((i, s) => $(s).find('option:selected').text()).get().join()",
         "The next preset,Beta (B.txt),gone.txt (not in the list),The previous preset"},
        // A preset that does not read is no target.
        {"$('select.switch-to').first().find('option').map((i, o) => o.value).get().join()",
         "next,previous,A.txt,B.txt"},
    };
    for (const auto& [script, text] : shown) {
        EXPECT_EQ(js(script), text) << script;
    }
    harness.config("$('select.layer-choice').first().val($('select.layer-choice option').eq(1).val())"
                   ".trigger('change'); true");
    EXPECT_EQ(js("$('.bind:visible').map((i, b) => readBindInput($(b)) + ':' + $(b).find('.output').length + "
                 "$(b).find('.mode-kind').val()).get().join()"),
              "btn 0:1toggle,btn 1:0");
}

// Each control changes what the preset says, as the reader reads it back.
TEST_F(SectionMembers, ControlsMakeWhatTheyShow) {
    ASSERT_TRUE(edit("B.txt"));
    const std::string group = "$('itemgroup').first()";
    harness.config(group + ".find('.bind .mode-kind').val('turbo').trigger('change');" + group +
                   ".find('.bind input.rate').val('20').trigger('change');" + group +
                   ".find('.add-layer').click(); " + group + ".find('.add-bind').click(); " + group +
                   ".find('.add-sequence').click(); " + group + ".find('.add-step').click();" + group +
                   ".find('.step select.step-kind').last().val('wait').trigger('change');" + group +
                   ".find('.add-switch').click(); " + group + ".find('.add-press').click();" + group +
                   ".find('select.switch-to').val('B.txt').trigger('change'); true");
    VantryDocument::JoystickData section = shownSection();
    ASSERT_EQ(section.modes.size(), 1u);
    EXPECT_EQ(modeToText(section.modes[0].mode), "turbo 20");
    ASSERT_EQ(section.layers.size(), 1u);
    EXPECT_EQ(inputToText(section.layers[0].whileInput), "btn 1");
    ASSERT_EQ(section.layers[0].binds.size(), 1u);
    EXPECT_EQ(section.binds.size(), 1u) << "the new bind belongs to the layer shown";
    ASSERT_EQ(section.sequences.size(), 1u);
    EXPECT_EQ(section.sequences[0].steps.size(), 2u);
    EXPECT_EQ(stepToText(section.sequences[0].steps[1]), "wait 100");
    ASSERT_EQ(section.switches.size(), 1u);
    EXPECT_EQ(section.switches[0].press.size(), 2u);
    EXPECT_EQ(section.switches[0].to, "B.txt");
    // Normal takes the input's mode out; removing the layer takes its binds.
    harness.config(group + ".find('select.layer-choice').val('').trigger('change');" + group +
                   ".find('.bind .mode-kind').val('').trigger('change'); true");
    harness.dialogs.answer = true;
    harness.config(group +
                   ".find('select.layer-choice').val($('select.layer-choice option').eq(1).val())"
                   ".trigger('change');" +
                   group + ".find('.layer:visible .remove-layer').click(); true");
    section = shownSection();
    EXPECT_TRUE(section.modes.empty());
    EXPECT_TRUE(section.layers.empty());
    EXPECT_EQ(js("String($('.bind').length)"), "1");
    const std::string text = harness.config("generatePresetString()").text();
    EXPECT_EQ(text, writtenText(text));
}

TEST_F(SectionMembers, RefusesRatesAndWaitsThePresetCannotHold) {
    ASSERT_TRUE(edit("A.txt"));
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        // field, typed, in the preset text afterwards, refused
        {".bind input.rate", "0", "\"turbo 12.5\"", true},
        {".bind input.rate", "51", "\"turbo 12.5\"", true},
        {".bind input.rate", "fast", "\"turbo 12.5\"", true},
        {".bind input.rate", "33.5", "\"turbo 33.5\"", false},
        {"input.wait-ms", "-5", "\"wait 100\"", true},
        {"input.wait-ms", "60001", "\"wait 100\"", true},
        {"input.wait-ms", "2.5", "\"wait 100\"", true},
        {"input.wait-ms", "60000", "\"wait 60000\"", false},
    };
    for (const auto& [field, typed, saved, refused] : cases) {
        SCOPED_TRACE(std::string(field) + " " + typed);
        const std::string input = "$('" + std::string(field) + ":visible').first()";
        harness.config("$('.field-problem').remove(); " + input + ".val('" + typed + "').trigger('change')");
        const std::string note = js(input + ".siblings('.field-problem').text()");
        EXPECT_EQ(!note.empty(), refused) << note;
        const std::string text = harness.config("generatePresetString()").text();
        EXPECT_NE(text.find(saved), std::string::npos) << text;
    }
}

// Detect fills a layer's input, a sequence's and a switch's as it fills a bind's.
TEST_F(SectionMembers, DetectFillsEveryInput) {
    VirtualJoystick& pad = harness.plug(2, 12, 1);
    ASSERT_TRUE(edit("A.txt"));
    const std::pair<const char*, int> targets[] = {
        {".layer .detect", 10}, {".sequence .detect", 11}, {".press-input .detect", 5}};
    for (const auto& [detect, button] : targets) {
        SCOPED_TRACE(detect);
        harness.config("window.__captured = false; window.__select = window.__select || selectInputInBind;"
                       "window.selectInputInBind = function () { window.__select.apply(this, arguments); "
                       "window.__captured = true; }; true");
        bool pressed = false;
        const auto input = everyTick([&, button = button] {
            if (!harness.controller().captureListening()) {
                return false;
            }
            pad.setButton(button, true);
            return pressed = true;
        });
        harness.config("$('" + std::string(detect) + "').first().click(); true");
        ASSERT_TRUE(pumpUntil([&] { return harness.config("window.__captured") == ScriptValue(true); }));
        EXPECT_TRUE(pressed);
        pad.setButton(button, false);
        ASSERT_TRUE(pumpUntil([&] { return !harness.controller().operations().busy(); }));
    }
    const VantryDocument::JoystickData section = shownSection();
    EXPECT_EQ(inputToText(section.layers.at(0).whileInput), "btn 10");
    EXPECT_EQ(inputToText(section.sequences.at(0).input), "btn 11");
    EXPECT_EQ(inputToText(section.switches.at(0).press.at(0)), "btn 5");
    EXPECT_EQ(section.binds.size(), 2u) << "no bind row took the input";
}

} // namespace
} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/page_scripts.h"

#include "app/pages/script_text.h"
#include "app/pages/shown_text.h"

#include <cstdio>

namespace padloom {

namespace {

// A short decimal for a value from -1 to 1 (or a hat's bits): three places are plenty on screen.
std::string numberLiteral(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", static_cast<double>(value));
    return text;
}

} // namespace

namespace main_page {

std::string fillPresetList(const std::vector<ListedPreset>& list) {
    std::string text = "fillPresetList([";
    for (const ListedPreset& entry : list) {
        text += text.back() == '[' ? "{file:" : ",{file:";
        text += scriptString(pageKey(entry.file)) + ",shown:" + scriptString(entry.file);
        text += entry.readable ? ",name:" + scriptString(entry.name) + ",tag:" + scriptString(entry.tag)
                               : ",problem:" + scriptString(entry.problem);
        text += '}';
    }
    return text + "])";
}

std::string showPresetFolder(const std::string& path) {
    return scriptCall("showPresetFolder", {path});
}

std::string showEditedPreset(const std::string& name, const std::string& tag) {
    return "$('.editing > text').find('h2').text(" + scriptString(name) + ").end().find('p').text(" +
           scriptString(tag) + ")";
}

std::string stopModal() {
    return "stopModal()";
}

std::string getContentHeight() {
    return "getContentHeight()";
}

std::string showBlockLayer() {
    return "$('#blockLayer').show();";
}

std::string fadeOutBlockLayer() {
    return "$('#blockLayer').fadeOut();";
}

std::string hideBlockLayer() {
    return "$('#blockLayer').stop(true, true).hide();";
}

std::string unmarkActivePreset() {
    return "$('.selected').removeClass('selected');";
}

std::string markActivePreset(const std::string& file) {
    return "$('.selected').removeClass('selected');entryFor(" + scriptString(pageKey(file)) +
           ").addClass('selected');";
}

std::string setCompactList(bool compact) {
    return compact ? "$('body').addClass('compactList')" : "$('body').removeClass('compactList')";
}

std::string bodyHeight() {
    return "document.body.offsetHeight";
}

std::string showNotice(const std::string& title, const std::string& text) {
    return scriptCall("showNotice", {title, text});
}

} // namespace main_page

namespace config_page {

std::string clearJoysticks() {
    return "clearJoysticks()";
}

std::string setName(const std::string& name) {
    return "$('#name').val(" + scriptString(name) + ")";
}

std::string setTag(const std::string& tag) {
    return "$('#tag').val(" + scriptString(tag) + ")";
}

std::string addJoystick(const std::string& name) {
    return scriptCall("addJoystick", {name});
}

std::string addBind(int joystick, const std::string& inputText, const std::string& outputText) {
    return "addBind(" + std::to_string(joystick) + ", " + scriptString(inputText, '\'') + ", " +
           scriptString(outputText, '\'') + ")";
}

std::string addStick(int joystick, const std::vector<std::pair<const char*, std::string>>& settings) {
    std::string members;
    for (const auto& [key, text] : settings) {
        members += (members.empty() ? "" : ",") + std::string(key) + ":" + scriptString(text, '\'');
    }
    return "addStick(" + std::to_string(joystick) + ", {" + members + "})";
}

namespace {

std::string listLiteral(const std::vector<std::string>& texts) {
    std::string text = "[";
    for (const std::string& entry : texts) {
        text += (text.size() > 1 ? "," : "") + scriptString(entry, '\'');
    }
    return text + "]";
}

std::string inputLiteral(const BindInput& input) {
    return scriptString(inputToText(input), '\'');
}

// [[input, [output, ...]], ...]
std::string bindsLiteral(const std::vector<VantryDocument::BindData>& binds) {
    std::string text = "[";
    for (const VantryDocument::BindData& bind : binds) {
        std::vector<std::string> outputs;
        for (const BindOutput& output : bind.outputs) {
            outputs.push_back(outputToText(output));
        }
        text += (text.size() > 1 ? ",[" : "[") + inputLiteral(bind.input) + "," + listLiteral(outputs) + "]";
    }
    return text + "]";
}

std::string modesLiteral(const std::vector<InputMode>& modes) {
    std::string text = "[";
    for (const InputMode& entry : modes) {
        text += (text.size() > 1 ? ",[" : "[") + inputLiteral(entry.input) + "," +
                scriptString(modeToText(entry.mode), '\'') + "]";
    }
    return text + "]";
}

std::string layersLiteral(const std::vector<VantryDocument::LayerData>& layers) {
    std::string text = "[";
    for (const VantryDocument::LayerData& layer : layers) {
        text += (text.size() > 1 ? ",{while:" : "{while:") + inputLiteral(layer.whileInput) +
                ",binds:" + bindsLiteral(layer.binds) + "}";
    }
    return text + "]";
}

std::string sequencesLiteral(const std::vector<InputSequence>& sequences) {
    std::string text = "[";
    for (const InputSequence& sequence : sequences) {
        std::vector<std::string> steps;
        for (const SequenceStep& step : sequence.steps) {
            steps.push_back(stepToText(step));
        }
        text +=
            (text.size() > 1 ? ",[" : "[") + inputLiteral(sequence.input) + "," + listLiteral(steps) + "]";
    }
    return text + "]";
}

std::string switchesLiteral(const std::vector<PresetSwitch>& switches) {
    std::string text = "[";
    for (const PresetSwitch& entry : switches) {
        std::vector<std::string> press;
        for (const BindInput& input : entry.press) {
            press.push_back(inputToText(input));
        }
        text += (text.size() > 1 ? ",{press:" : "{press:") + listLiteral(press) +
                ",to:" + scriptString(entry.to, '\'') + "}";
    }
    return text + "]";
}

} // namespace

std::string setSectionMembers(int joystick, const VantryDocument::JoystickData& section) {
    return "setSectionMembers(" + std::to_string(joystick) + ", {modes:" + modesLiteral(section.modes) +
           ",layers:" + layersLiteral(section.layers) + ",sequences:" + sequencesLiteral(section.sequences) +
           ",switches:" + switchesLiteral(section.switches) + "})";
}

std::string setPresetChoices(const std::vector<ListedPreset>& list) {
    std::string text = "setPresetChoices([";
    for (const ListedPreset& entry : list) {
        if (entry.readable) {
            text += (text.back() == '[' ? "{file:" : ",{file:") + scriptString(entry.file, '\'') +
                    ",shown:" + scriptString(entry.name, '\'') + "}";
        }
    }
    return text + "])";
}

std::string commitTextFields() {
    return "$('input[type=text]').blur()";
}

std::string generatePresetString() {
    return "generatePresetString()";
}

namespace {

std::string followingObject(const FollowerState& following) {
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    return std::string("{followable: ") + flag(following.followable) +
           ", text: " + scriptString(following.text) + ", offerEnable: " + flag(following.offerEnable) + "}";
}

} // namespace

std::string setActivateFor(const std::vector<std::string>& programs, const FollowerState& following) {
    std::string list;
    for (const std::string& program : programs) {
        list += (list.empty() ? "" : ",") + scriptString(program);
    }
    return "setActivateFor([" + list + "], " + followingObject(following) + ")";
}

std::string showFollowing(const FollowerState& following) {
    return "showFollowing(" + followingObject(following) + ")";
}

std::string getName() {
    return "$('#name').val()";
}

std::string getTag() {
    return "$('#tag').val()";
}

std::string getContentHeight() {
    return "getContentHeight()";
}

std::string setJoystickNames(const std::vector<std::string>& names) {
    std::string text = "joystickNames = [";
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += scriptString(names[i], '\'');
    }
    text += "]\n";
    return text;
}

std::string updateRelatedJoysticks() {
    return "$('joysticks > groups > itemgroup').each(updateRelatedJoystick)";
}

std::string showCountdown(int seconds) {
    return "$('#timeOut').text(' [" + std::to_string(seconds) + "]')";
}

std::string showInputReceived() {
    return "$('#inputReceived').text('[input received] Press ESC to dismiss this message.')";
}

std::string resetInputReceived() {
    return "$('#inputReceived').text('Press ESC to cancel.')";
}

std::string selectInputInBind(int joystick, int bindNo, const std::string& inputText) {
    return "selectInputInBind(" + std::to_string(joystick) + ", " + std::to_string(bindNo) + ", " +
           scriptString(inputText, '\'') + ")";
}

std::string stopModal() {
    return "stopModal()";
}

std::string setControlNames(const std::vector<ControlNames>& perJoystick) {
    std::string text = "setControlNames([";
    for (size_t j = 0; j < perJoystick.size(); ++j) {
        text += j > 0 ? ",{" : "{";
        for (size_t i = 0; i < perJoystick[j].size(); ++i) {
            text += i > 0 ? "," : "";
            text += scriptString(perJoystick[j][i].first, '\'') + ":" +
                    scriptString(perJoystick[j][i].second, '\'');
        }
        text += "}";
    }
    return text + "])";
}

std::string setSwitchPoint(float threshold) {
    return "setSwitchPoint(" + numberLiteral(threshold) + ")";
}

std::string showLiveInputs(const std::vector<LiveInput>& moved) {
    std::string text = "showLiveInputs([";
    for (size_t i = 0; i < moved.size(); ++i) {
        const LiveInput& m = moved[i];
        text += i > 0 ? ",[" : "[";
        text += std::to_string(m.joystick) + "," + std::to_string(static_cast<int>(m.kind)) + "," +
                std::to_string(m.index) + "," + numberLiteral(m.value) + "]";
    }
    return text + "])";
}

std::string clearLiveInputs() {
    return "clearLiveInputs()";
}

} // namespace config_page

} // namespace padloom

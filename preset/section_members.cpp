// SPDX-License-Identifier: GPL-3.0-or-later
// "modes", "layers", "sequences" and "switches" of a joystick section, read from the JSON tree and
// written into it. A member of the wrong type, or a text in it that does not read, makes the preset
// unreadable with a message that names the line, the member and the text.
#include "preset/section_members_tree.h"

#include <algorithm>
#include <iterator>

namespace padloom {
namespace {

using BindData = VantryDocument::BindData;
using JoystickData = VantryDocument::JoystickData;
using LayerData = VantryDocument::LayerData;

const char* modeRule = "a mode is \"toggle\", or \"turbo R\" with R from 1 to 50 times a second";
const char* stepRule =
    "a step is the text of a key, a mouse button or a wheel step, or \"wait MS\" with MS from 0 to 60000";

// Reads one member of one section; each failure names the line, the member and what is wrong.
class MemberReader {
public:
    MemberReader(const VantryDocument& document, std::size_t section, const json_value* member)
        : document_(document), member_(member),
          where_(quoted(member->name) + " of joystick section " + std::to_string(section)) {}

    bool modes(std::vector<InputMode>& modes);
    bool layers(std::vector<LayerData>& layers);
    bool sequences(std::vector<InputSequence>& sequences);
    bool switches(std::vector<PresetSwitch>& switches);

    std::string error;

private:
    bool fail(const json_value* at, const std::string& problem);
    bool input(const json_value* at, const char* text, BindInput& input);
    bool layer(const json_value* object, std::size_t number, LayerData& layer);
    bool layerMember(const json_value* node, const std::string& where, LayerData& layer);
    bool sequence(const json_value* member, InputSequence& sequence);
    bool oneSwitch(const json_value* object, const std::string& where, PresetSwitch& entry);
    bool switchMember(const json_value* node, const std::string& where, PresetSwitch& entry);

    const VantryDocument& document_;
    const json_value* member_;
    std::string where_;
};

bool MemberReader::fail(const json_value* at, const std::string& problem) {
    error = "Error at line " + std::to_string(document_.lineOf(at)) + ": " + problem;
    return false;
}

bool MemberReader::input(const json_value* at, const char* text, BindInput& input) {
    input = inputFromText(text != nullptr ? text : "");
    return input.kind != InputKind::none ||
           fail(at, where_ + ": " + quoted(text) + " is not a joystick input");
}

bool MemberReader::modes(std::vector<InputMode>& modes) {
    if (member_->kind != json_object) {
        return fail(member_, where_ + " is not an object of input texts and modes");
    }
    for (const json_value* node = member_->first_child; node != nullptr; node = node->next_sibling) {
        InputMode& entry = modes.emplace_back();
        if (!input(node, node->name, entry.input)) {
            return false;
        }
        if (node->kind != json_string) {
            return fail(node, where_ + ": the mode of " + quoted(node->name) + " is not a text");
        }
        const std::optional<BindMode> mode = modeFromText(node->string_value);
        if (!mode) {
            return fail(node, where_ + ", " + quoted(node->name) + ": " + quoted(node->string_value) +
                                  " is not a mode (" + modeRule + ")");
        }
        entry.mode = *mode;
    }
    return true;
}

bool MemberReader::layers(std::vector<LayerData>& layers) {
    if (member_->kind != json_array) {
        return fail(member_, where_ + " is not a list of layers");
    }
    std::size_t number = 0;
    for (const json_value* node = member_->first_child; node != nullptr; node = node->next_sibling) {
        if (!layer(node, ++number, layers.emplace_back())) {
            return false;
        }
    }
    return true;
}

// {"while": INPUT, "binds": {...}}; "while" is required.
bool MemberReader::layer(const json_value* object, std::size_t number, LayerData& layer) {
    const std::string where = where_ + ", layer " + std::to_string(number);
    if (object->kind != json_object) {
        return fail(object, where + " is not an object with \"while\" and \"binds\"");
    }
    bool hasWhile = false;
    for (const json_value* node = object->first_child; node != nullptr; node = node->next_sibling) {
        if (!layerMember(node, where, layer)) {
            return false;
        }
        hasWhile = hasWhile || hasKey(node, "while");
    }
    return hasWhile || fail(object, where + " has no \"while\": the input that holds it in effect");
}

bool MemberReader::layerMember(const json_value* node, const std::string& where, LayerData& layer) {
    if (hasKey(node, "while")) {
        if (node->kind != json_string) {
            return fail(node, where + ": \"while\" is not a text");
        }
        return input(node, node->string_value, layer.whileInput);
    }
    if (!hasKey(node, "binds")) {
        return fail(node,
                    where + ": " + quoted(node->name) + " is not a member of a layer (\"while\", \"binds\")");
    }
    if (node->kind != json_object) {
        return fail(node, where + ": \"binds\" is not an object");
    }
    layer.binds.clear();
    for (const json_value* bind = node->first_child; bind != nullptr; bind = bind->next_sibling) {
        const std::string problem = readBind(bind, layer.binds.emplace_back());
        if (!problem.empty()) {
            return fail(bind, where + ", bind " + quoted(bind->name) + ": " + problem);
        }
    }
    return true;
}

bool MemberReader::sequences(std::vector<InputSequence>& sequences) {
    if (member_->kind != json_object) {
        return fail(member_, where_ + " is not an object of input texts and steps");
    }
    for (const json_value* node = member_->first_child; node != nullptr; node = node->next_sibling) {
        if (!sequence(node, sequences.emplace_back())) {
            return false;
        }
    }
    return true;
}

bool MemberReader::sequence(const json_value* member, InputSequence& sequence) {
    if (!input(member, member->name, sequence.input)) {
        return false;
    }
    if (member->kind != json_array) {
        return fail(member, where_ + ": the steps of " + quoted(member->name) + " are not a list");
    }
    for (const json_value* node = member->first_child; node != nullptr; node = node->next_sibling) {
        if (node->kind != json_string) {
            return fail(node, where_ + ": a step of " + quoted(member->name) + " is not a text");
        }
        const std::optional<SequenceStep> step = stepFromText(node->string_value);
        if (!step) {
            return fail(node, where_ + ", " + quoted(member->name) + ": " + quoted(node->string_value) +
                                  " is not a step (" + stepRule + ")");
        }
        sequence.steps.push_back(*step);
    }
    return true;
}

bool MemberReader::switches(std::vector<PresetSwitch>& switches) {
    if (member_->kind != json_array) {
        return fail(member_, where_ + " is not a list of switches");
    }
    std::size_t number = 0;
    for (const json_value* node = member_->first_child; node != nullptr; node = node->next_sibling) {
        const std::string where = where_ + ", switch " + std::to_string(++number);
        if (!oneSwitch(node, where, switches.emplace_back())) {
            return false;
        }
    }
    return true;
}

// {"press": [INPUT, ...], "to": NAME}; both are required, neither may be empty.
bool MemberReader::oneSwitch(const json_value* object, const std::string& where, PresetSwitch& entry) {
    if (object->kind != json_object) {
        return fail(object, where + " is not an object with \"press\" and \"to\"");
    }
    for (const json_value* node = object->first_child; node != nullptr; node = node->next_sibling) {
        if (!switchMember(node, where, entry)) {
            return false;
        }
    }
    if (entry.press.empty()) {
        return fail(object, where + " has no \"press\": the inputs that, held together, switch");
    }
    return !entry.to.empty() || fail(object, where + " has no \"to\": the preset it switches to");
}

bool MemberReader::switchMember(const json_value* node, const std::string& where, PresetSwitch& entry) {
    if (hasKey(node, "to")) {
        if (node->kind != json_string) {
            return fail(node, where + ": \"to\" is not a text");
        }
        entry.to = node->string_value;
        return true;
    }
    if (!hasKey(node, "press")) {
        return fail(node,
                    where + ": " + quoted(node->name) + " is not a member of a switch (\"press\", \"to\")");
    }
    if (node->kind != json_array) {
        return fail(node, where + ": \"press\" is not a list of input texts");
    }
    entry.press.clear();
    for (const json_value* element = node->first_child; element != nullptr; element = element->next_sibling) {
        if (element->kind != json_string) {
            return fail(element, where + ": an input of \"press\" is not a text");
        }
        if (!input(element, element->string_value, entry.press.emplace_back())) {
            return false;
        }
    }
    return true;
}

json_value* inputsMember(VantryDocument& document, const char* key, const std::vector<BindInput>& inputs) {
    json_value* member = document.newArrayMember(key);
    for (const BindInput& input : inputs) {
        append_child(member, document.newStringElement(inputToText(input).c_str()));
    }
    return member;
}

json_value* newElementObject(VantryDocument& document) {
    json_value* object = new_json_value(&document.allocator);
    object->kind = json_object;
    return object;
}

json_value* modesMember(VantryDocument& document, const std::vector<InputMode>& modes) {
    json_value* member = document.newObjectMember("modes");
    for (const InputMode& entry : modes) {
        append_child(member, document.newStringMember(inputToText(entry.input).c_str(),
                                                      modeToText(entry.mode).c_str()));
    }
    return member;
}

json_value* layersMember(VantryDocument& document, const std::vector<LayerData>& layers) {
    json_value* member = document.newArrayMember("layers");
    for (const LayerData& layer : layers) {
        json_value* object = newElementObject(document);
        append_child(object, document.newStringMember("while", inputToText(layer.whileInput).c_str()));
        append_child(object, document.newBindsMember(layer.binds));
        append_child(member, object);
    }
    return member;
}

json_value* sequencesMember(VantryDocument& document, const std::vector<InputSequence>& sequences) {
    json_value* member = document.newObjectMember("sequences");
    for (const InputSequence& sequence : sequences) {
        json_value* steps = document.newArrayMember(inputToText(sequence.input).c_str());
        for (const SequenceStep& step : sequence.steps) {
            append_child(steps, document.newStringElement(stepToText(step).c_str()));
        }
        append_child(member, steps);
    }
    return member;
}

json_value* switchesMember(VantryDocument& document, const std::vector<PresetSwitch>& switches) {
    json_value* member = document.newArrayMember("switches");
    for (const PresetSwitch& entry : switches) {
        json_value* object = newElementObject(document);
        append_child(object, inputsMember(document, "press", entry.press));
        append_child(object, document.newStringMember("to", entry.to.c_str()));
        append_child(member, object);
    }
    return member;
}

} // namespace

bool isSectionMember(const json_value* node) {
    return std::any_of(std::begin(sectionMemberKeys), std::end(sectionMemberKeys),
                       [node](const char* key) { return hasKey(node, key); });
}

bool readSectionMember(const VantryDocument& document, std::size_t section, const json_value* node,
                       JoystickData& joystick, std::string& error) {
    MemberReader reader(document, section, node);
    bool read = false;
    if (hasKey(node, "modes")) {
        joystick.modes.clear();
        read = reader.modes(joystick.modes);
    } else if (hasKey(node, "layers")) {
        joystick.layers.clear();
        read = reader.layers(joystick.layers);
    } else if (hasKey(node, "sequences")) {
        joystick.sequences.clear();
        read = reader.sequences(joystick.sequences);
    } else if (hasKey(node, "switches")) {
        joystick.switches.clear();
        read = reader.switches(joystick.switches);
    }
    error = reader.error;
    return read;
}

void appendSectionMembers(VantryDocument& document, json_value* section, const JoystickData& joystick) {
    if (!joystick.modes.empty()) {
        append_child(section, modesMember(document, joystick.modes));
    }
    if (!joystick.layers.empty()) {
        append_child(section, layersMember(document, joystick.layers));
    }
    if (!joystick.sequences.empty()) {
        append_child(section, sequencesMember(document, joystick.sequences));
    }
    if (!joystick.switches.empty()) {
        append_child(section, switchesMember(document, joystick.switches));
    }
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
// VantryDocument::interpret: the preset schema over the JSON tree. On a failure the fields keep
// what was read before it: name, tag and the joystick sections already complete.
#include "preset/section_members_tree.h"
#include "preset/vantry_document.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace padloom {
namespace {

using JoystickData = VantryDocument::JoystickData;
using BindData = VantryDocument::BindData;
using IgnoredMember = VantryDocument::IgnoredMember;

// A key between double quotes as JSON would write it, with DEL escaped too, so that no control
// character of a file reaches a terminal or a panel.
std::string quotedKey(const std::string& key) {
    std::string text = "\"";
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            text += escape;
        } else {
            text += (c == '"' || c == '\\') ? std::string{'\\', c} : std::string{c};
        }
    }
    return text + '"';
}

std::size_t countChildren(const json_value* container) {
    std::size_t count = 0;
    for (const json_value* node = container->first_child; node != nullptr; node = node->next_sibling) {
        ++count;
    }
    return count;
}

class Interpreter {
public:
    explicit Interpreter(VantryDocument& document) : document_(document) {}

    bool run();
    std::string error;

private:
    bool member(const json_value* node);
    bool text(const json_value* node, std::string& field);
    bool sections(const json_value* array);
    bool programs(const json_value* array);
    bool section(const json_value* object, JoystickData& joystick);
    void ignore(const json_value* node, std::size_t section);
    bool readOthers(const json_value* object, const json_value* name, const json_value* binds,
                    JoystickData& joystick);
    bool sticks(const json_value* member, JoystickData& joystick);
    bool bind(const json_value* member, BindData& bind);
    bool fail(std::string message);
    bool failInBind(const json_value* member, const std::string& problem);

    VantryDocument& document_;
    std::size_t sectionNumber_ = 0;
    // The binds of the section being read, collected here first so that each section's list is
    // allocated once, at its final size.
    std::vector<BindData> binds_;
};

bool Interpreter::fail(std::string message) {
    error = std::move(message);
    return false;
}

bool Interpreter::run() {
    if (document_.root == nullptr) {
        return fail("No preset text has been read");
    }
    if (document_.root->kind != json_object) {
        return fail("The preset is not a JSON object");
    }
    document_.joysticks.reset();
    document_.activateFor.clear();
    document_.ignoredMembers.clear();
    for (const json_value* node = document_.root->first_child; node != nullptr; node = node->next_sibling) {
        if (!member(node)) {
            return false;
        }
    }
    if (document_.name.empty()) {
        document_.name = "Unnamed preset";
    }
    return true;
}

// Later occurrences of a key replace earlier ones; unknown keys are ignored whatever their type.
bool Interpreter::member(const json_value* node) {
    if (hasKey(node, "name")) {
        return text(node, document_.name);
    }
    if (hasKey(node, "tag")) {
        return text(node, document_.tag);
    }
    if (hasKey(node, "joysticks")) {
        return sections(node);
    }
    if (hasKey(node, "activateFor")) {
        return programs(node);
    }
    ignore(node, 0);
    return true;
}

void Interpreter::ignore(const json_value* node, std::size_t section) {
    IgnoredMember& member = document_.ignoredMembers.emplace_back();
    member.section = section;
    if (node->name != nullptr) {
        member.key = node->name;
    }
}

// Every member of a section but its name and its binds: "sticks" wherever it is; the other members
// this build reads where they are not the last member; else passed over.
bool Interpreter::readOthers(const json_value* object, const json_value* name, const json_value* binds,
                             JoystickData& joystick) {
    for (const json_value* node = object->first_child; node != nullptr; node = node->next_sibling) {
        if (node == name || node == binds) {
            continue;
        }
        if (hasKey(node, sticksMemberKey)) {
            if (!sticks(node, joystick)) {
                return false;
            }
            continue;
        }
        if (node != object->last_child && isSectionMember(node)) {
            if (!readSectionMember(document_, sectionNumber_, node, joystick, error)) {
                return false;
            }
            continue;
        }
        ignore(node, sectionNumber_);
    }
    return true;
}

// A later "sticks" replaces an earlier one.
bool Interpreter::sticks(const json_value* member, JoystickData& joystick) {
    StickProblem problem;
    if (readSticks(member, joystick.sticks, problem)) {
        return true;
    }
    const int line = document_.lineOf(problem.node);
    return fail("Joystick section " + std::to_string(sectionNumber_) + ", " + problem.text +
                (line > 0 ? " (line " + std::to_string(line) + ")" : ""));
}

bool Interpreter::programs(const json_value* array) {
    if (array->kind != json_array) {
        return fail("The preset's \"activateFor\" is not a list");
    }
    std::vector<std::string> patterns;
    for (const json_value* node = array->first_child; node != nullptr; node = node->next_sibling) {
        if (node->kind != json_string) {
            return fail("The preset's \"activateFor\" holds something that is not a text");
        }
        patterns.emplace_back(node->string_value);
    }
    document_.activateFor = std::move(patterns);
    return true;
}

bool Interpreter::text(const json_value* node, std::string& field) {
    if (node->kind != json_string) {
        return fail("The preset's " + quoted(node->name) + " is not a text");
    }
    field = node->string_value;
    return true;
}

// An empty list changes nothing; a non-empty one replaces the sections read so far.
bool Interpreter::sections(const json_value* array) {
    if (array->kind != json_array) {
        return fail("The preset's \"joysticks\" is not a list");
    }
    if (array->first_child == nullptr) {
        return true;
    }
    document_.joysticks = std::make_unique<std::vector<JoystickData>>();
    std::erase_if(document_.ignoredMembers, [](const IgnoredMember& m) { return m.section != 0; });
    document_.joysticks->reserve(countChildren(array));
    sectionNumber_ = 0;
    for (const json_value* node = array->first_child; node != nullptr; node = node->next_sibling) {
        ++sectionNumber_;
        JoystickData joystick;
        if (!section(node, joystick)) {
            return false;
        }
        document_.joysticks->push_back(std::move(joystick));
    }
    return true;
}

// Only the first member (the name, under "tag") and the last (the binds) are looked at.
bool Interpreter::section(const json_value* object, JoystickData& joystick) {
    if (object->kind != json_object) {
        return fail("Joystick section " + std::to_string(sectionNumber_) + " is not an object");
    }
    const json_value* first = object->first_child;
    const bool named = first != nullptr && first->kind == json_string && hasKey(first, "tag");
    if (named) {
        joystick.name = first->string_value;
    }
    const json_value* last = object->last_child;
    const bool bound = last != nullptr && last->kind == json_object && hasKey(last, "binds");
    if (!readOthers(object, named ? first : nullptr, bound ? last : nullptr, joystick)) {
        return false;
    }
    if (!bound) {
        return true;
    }
    binds_.clear();
    for (const json_value* node = last->first_child; node != nullptr; node = node->next_sibling) {
        if (!bind(node, binds_.emplace_back())) {
            return false;
        }
    }
    joystick.binds.assign(std::make_move_iterator(binds_.begin()), std::make_move_iterator(binds_.end()));
    return true;
}

bool Interpreter::bind(const json_value* member, BindData& data) {
    const std::string problem = readBind(member, data);
    return problem.empty() || failInBind(member, problem);
}

bool Interpreter::failInBind(const json_value* member, const std::string& problem) {
    return fail("Joystick section " + std::to_string(sectionNumber_) + ", bind " + quoted(member->name) +
                ": " + problem);
}

} // namespace

std::string readBind(const json_value* member, BindData& data) {
    if (member->kind != json_array) {
        return "the outputs are not a list";
    }
    data.input = inputFromText(member->name);
    if (data.input.kind == InputKind::none) {
        return "not a joystick input";
    }
    for (const json_value* node = member->first_child; node != nullptr; node = node->next_sibling) {
        if (node->kind != json_string) {
            return "an output is not a text";
        }
        const BindOutput output = outputFromText(node->string_value);
        if (output.kind == OutputKind::none) {
            return quoted(node->string_value) + " is not an output";
        }
        data.outputs.push_back(output);
    }
    return {};
}

std::string quotedText(const std::string& text) {
    return quotedKey(text);
}

std::string describeIgnoredMember(const VantryDocument::IgnoredMember& member) {
    const std::string what = member.key ? "member " + quotedKey(*member.key) : "a member without a key";
    if (member.section == 0) {
        return what + " at the top level";
    }
    return what + (member.key ? " of" : " in") + " joystick section " + std::to_string(member.section);
}

bool VantryDocument::interpret() {
    Interpreter interpreter(*this);
    if (!interpreter.run()) {
        lastError_ = interpreter.error;
        return false;
    }
    lastError_.clear();
    return true;
}

} // namespace padloom

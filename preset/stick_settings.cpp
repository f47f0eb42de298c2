// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing a section's "sticks": one row per setting, with its key, its reader, its
// writer and what its text must be.
#include "preset/stick_settings.h"

#include "preset/json/json_value.h"
#include "preset/section_members_tree.h"
#include "preset/vantry_document.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>
#include <system_error>

namespace padloom {
namespace {

using Words = std::vector<std::string_view>;

constexpr uint32_t longestRampMs = 10000;

// The words of a text, between runs of spaces and tabs.
Words wordsOf(const char* text) {
    Words words;
    const std::string_view all(text);
    std::size_t start = all.find_first_not_of(" \t");
    while (start != std::string_view::npos) {
        const std::size_t end = all.find_first_of(" \t", start);
        words.push_back(all.substr(start, end == std::string_view::npos ? end : end - start));
        start = end == std::string_view::npos ? end : all.find_first_not_of(" \t", end);
    }
    return words;
}

// A decimal number as amounts are written ("0.15", "2", "1e-05"), whole word, in every locale.
bool numberIn(std::string_view word, float lowest, float highest, float& value) {
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value, std::chars_format::general);
    value += 0.0f; // "-0" is written back as "0"
    return error == std::errc() && stop == end && std::isfinite(value) && value >= lowest && value <= highest;
}

// A fraction from 0 up to, but not including, 1.
bool fractionBelowOne(std::string_view word, float& value) {
    return numberIn(word, 0, 1, value) && value < 1;
}

bool wholeNumber(std::string_view word, uint32_t& value) {
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    return error == std::errc() && stop == end;
}

bool readAxes(const Words& words, StickSettings& stick) {
    if (words.size() == 2 && words[0] == "trigger") {
        stick.axes = StickAxes::trigger;
        return wholeNumber(words[1], stick.x);
    }
    if (words.size() == 1) {
        stick.axes = StickAxes::single;
        return wholeNumber(words[0], stick.x);
    }
    stick.axes = StickAxes::pair;
    return words.size() == 2 && wholeNumber(words[0], stick.x) && wholeNumber(words[1], stick.y) &&
           stick.x != stick.y;
}

std::string writeAxes(const StickSettings& stick) {
    switch (stick.axes) {
    case StickAxes::pair:
        return std::to_string(stick.x) + ' ' + std::to_string(stick.y);
    case StickAxes::single:
        return std::to_string(stick.x);
    case StickAxes::trigger:
        return "trigger " + std::to_string(stick.x);
    }
    return {};
}

bool readDeadZone(const Words& words, StickSettings& stick) {
    if (words.size() != 2 || (words[0] != "round" && words[0] != "axial")) {
        return false;
    }
    stick.deadZoneShape = words[0] == "round" ? DeadZoneShape::round : DeadZoneShape::axial;
    return fractionBelowOne(words[1], stick.deadZone);
}

std::string writeDeadZone(const StickSettings& stick) {
    return (stick.deadZoneShape == DeadZoneShape::round ? "round " : "axial ") + amountText(stick.deadZone);
}

bool readOuterDeadZone(const Words& words, StickSettings& stick) {
    return words.size() == 1 && fractionBelowOne(words[0], stick.outerDeadZone);
}

std::string writeOuterDeadZone(const StickSettings& stick) {
    return amountText(stick.outerDeadZone);
}

bool readCurve(const Words& words, StickSettings& stick) {
    return words.size() == 1 && numberIn(words[0], 0.1f, 10, stick.curve);
}

std::string writeCurve(const StickSettings& stick) {
    return amountText(stick.curve);
}

bool readAcceleration(const Words& words, StickSettings& stick) {
    if (words.size() == 1 && words[0] == "off") {
        stick.accelerationFactor = 1;
        stick.accelerationRampMs = 0;
        stick.accelerationFrom = 1;
        return true;
    }
    return words.size() == 3 && numberIn(words[0], 1, 10, stick.accelerationFactor) &&
           wholeNumber(words[1], stick.accelerationRampMs) && stick.accelerationRampMs <= longestRampMs &&
           numberIn(words[2], 0, 1, stick.accelerationFrom) && stick.accelerationFrom > 0;
}

// "off" only for the settings "off" reads as, so that no number written is lost.
std::string writeAcceleration(const StickSettings& stick) {
    const StickSettings plain;
    if (stick.accelerationFactor == plain.accelerationFactor &&
        stick.accelerationRampMs == plain.accelerationRampMs &&
        stick.accelerationFrom == plain.accelerationFrom) {
        return "off";
    }
    return amountText(stick.accelerationFactor) + ' ' + std::to_string(stick.accelerationRampMs) + ' ' +
           amountText(stick.accelerationFrom);
}

struct Setting {
    const char* key;
    const char* expected; // what its text must be, for the message about one that does not read
    bool (*read)(const Words& words, StickSettings& stick);
    std::string (*write)(const StickSettings& stick);
};

// In the order the writer writes them; "axes" first, and it alone is required.
constexpr Setting settings[] = {
    {"axes", "two different axis numbers (\"0 1\"), one (\"3\"), or \"trigger\" and one (\"trigger 5\")",
     readAxes, writeAxes},
    {"deadZone", "\"round\" or \"axial\" and a number from 0 to below 1 (\"round 0.1\")", readDeadZone,
     writeDeadZone},
    {"outerDeadZone", "a number from 0 to below 1", readOuterDeadZone, writeOuterDeadZone},
    {"curve", "a number from 0.1 to 10", readCurve, writeCurve},
    {"acceleration",
     "\"off\", or a factor from 1 to 10, a ramp in ms from 0 to 10000 and the deflection above 0 and up to 1 "
     "where it begins (\"3 500 0.9\")",
     readAcceleration, writeAcceleration},
};

const Setting* settingOf(const json_value* node) {
    for (const Setting& setting : settings) {
        if (hasKey(node, setting.key)) {
            return &setting;
        }
    }
    return nullptr;
}

std::string settingKeys() {
    std::string keys;
    for (const Setting& setting : settings) {
        keys += (keys.empty() ? "" : ", ") + quotedText(setting.key);
    }
    return keys;
}

bool fail(StickProblem& problem, const json_value* node, std::string text) {
    problem = {std::move(text), node};
    return false;
}

class StickReader {
public:
    StickReader(const json_value* object, std::size_t number, StickProblem& problem)
        : object_(object), where_("\"sticks\", stick " + std::to_string(number)), problem_(problem) {}

    bool read(StickSettings& stick);
    // False when an axis of stick is in one of the earlier sticks.
    bool axesFree(const StickSettings& stick, const std::vector<StickSettings>& earlier);

private:
    bool setting(const json_value* node, StickSettings& stick);

    const json_value* object_;
    const json_value* axesNode_ = nullptr;
    std::string where_;
    StickProblem& problem_;
};

bool StickReader::read(StickSettings& stick) {
    if (object_->kind != json_object) {
        return fail(problem_, object_, where_ + " is not an object");
    }
    for (const json_value* node = object_->first_child; node != nullptr; node = node->next_sibling) {
        if (!setting(node, stick)) {
            return false;
        }
    }
    if (axesNode_ == nullptr) {
        return fail(problem_, object_, where_ + " names no axes: it needs \"axes\"");
    }
    if (!(stick.deadZone + stick.outerDeadZone < 1)) {
        return fail(problem_, object_,
                    where_ + ": \"deadZone\" and \"outerDeadZone\" leave no travel between them (" +
                        amountText(stick.deadZone) + " and " + amountText(stick.outerDeadZone) + ")");
    }
    return true;
}

bool StickReader::setting(const json_value* node, StickSettings& stick) {
    const Setting* setting = settingOf(node);
    if (setting == nullptr) {
        const std::string what = node->name != nullptr ? quotedText(node->name) : "a member without a key";
        return fail(problem_, node,
                    where_ + ": " + what + " is not a setting of a stick (" + settingKeys() + ")");
    }
    if (node->kind != json_string) {
        return fail(problem_, node, where_ + ": " + quotedText(setting->key) + " is not a text");
    }
    if (!setting->read(wordsOf(node->string_value), stick)) {
        return fail(problem_, node,
                    where_ + ": " + quotedText(setting->key) + " " + quotedText(node->string_value) +
                        " does not read: expected " + setting->expected);
    }
    if (setting == &settings[0]) {
        axesNode_ = node;
    }
    return true;
}

bool StickReader::axesFree(const StickSettings& stick, const std::vector<StickSettings>& earlier) {
    const uint32_t axes[] = {stick.x, stick.y};
    for (int i = 0; i < stick.axisCount(); ++i) {
        for (std::size_t j = 0; j < earlier.size(); ++j) {
            const StickSettings& other = earlier[j];
            if (axes[i] == other.x || (other.axisCount() == 2 && axes[i] == other.y)) {
                return fail(problem_, axesNode_,
                            where_ + ": axis " + std::to_string(axes[i]) + " is in stick " +
                                std::to_string(j + 1) + " too");
            }
        }
    }
    return true;
}

} // namespace

bool operator==(const StickSettings& a, const StickSettings& b) {
    return a.axes == b.axes && a.x == b.x && a.y == b.y && a.deadZoneShape == b.deadZoneShape &&
           a.deadZone == b.deadZone && a.outerDeadZone == b.outerDeadZone && a.curve == b.curve &&
           a.accelerationFactor == b.accelerationFactor && a.accelerationRampMs == b.accelerationRampMs &&
           a.accelerationFrom == b.accelerationFrom;
}

bool readSticks(const json_value* member, std::vector<StickSettings>& sticks, StickProblem& problem) {
    if (member->kind != json_array) {
        return fail(problem, member, "\"sticks\" is not a list");
    }
    std::vector<StickSettings> read;
    for (const json_value* node = member->first_child; node != nullptr; node = node->next_sibling) {
        StickReader reader(node, read.size() + 1, problem);
        StickSettings stick;
        if (!reader.read(stick) || !reader.axesFree(stick, read)) {
            return false;
        }
        read.push_back(stick);
    }
    sticks = std::move(read);
    return true;
}

std::vector<std::pair<const char*, std::string>> stickSettingTexts(const StickSettings& stick) {
    std::vector<std::pair<const char*, std::string>> texts;
    for (const Setting& setting : settings) {
        texts.emplace_back(setting.key, setting.write(stick));
    }
    return texts;
}

json_value* sticksMember(VantryDocument& document, const std::vector<StickSettings>& sticks) {
    json_value* list = document.newArrayMember(sticksMemberKey);
    for (const StickSettings& stick : sticks) {
        json_value* object = new_json_value(&document.allocator);
        object->kind = json_object;
        for (const auto& [key, text] : stickSettingTexts(stick)) {
            append_child(object, document.newStringMember(key, text.c_str()));
        }
        append_child(list, object);
    }
    return list;
}

} // namespace padloom

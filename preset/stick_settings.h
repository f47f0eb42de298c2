// SPDX-License-Identifier: GPL-3.0-or-later
// How the axes of a joystick section feel for cursor and wheel motion: which axes make a stick,
// its dead zones, its response curve and its acceleration. A section keeps them in its member
// "sticks", a list of objects whose members are texts:
//
//     "axes" : "0 1"                 two axes (x, y); "3" one axis; "trigger 5" a trigger
//     "deadZone" : "round 0.1"       on the pair's length; "axial 0.15" on each axis alone
//     "outerDeadZone" : "0.05"       full output this far before the rim
//     "curve" : "2"                  the output is the deflection to this power; 1 is a line
//     "acceleration" : "3 500 0.9"   factor 3, reached 500 ms after the deflection came to 0.9; "off"
//
// docs/preset-format.md gives the rules in full.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace padloom {

struct json_value;
class VantryDocument;

enum class StickAxes : int32_t {
    pair,    // x and y: a thumbstick
    single,  // one axis that rests in its middle
    trigger, // one axis that rests at -32768 and travels to 32767
};

enum class DeadZoneShape : int32_t {
    axial, // each axis on its own, as every axis that no stick names
    round, // on the length of the pair
};

struct StickSettings {
    StickAxes axes = StickAxes::pair;
    uint32_t x = 0; // the axis of a single axis or a trigger
    uint32_t y = 0; // pairs only
    DeadZoneShape deadZoneShape = DeadZoneShape::axial;
    float deadZone = 0.15f;       // inner, as a fraction of full deflection
    float outerDeadZone = 0;      // before the rim
    float curve = 1;              // the exponent
    float accelerationFactor = 1; // 1: no acceleration
    uint32_t accelerationRampMs = 0;
    float accelerationFrom = 1; // the deflection, between the dead zones, where it begins

    bool accelerates() const { return accelerationFactor != 1; }
    int axisCount() const { return axes == StickAxes::pair ? 2 : 1; }
};

bool operator==(const StickSettings& a, const StickSettings& b);

// The section member that holds them.
inline constexpr const char* sticksMemberKey = "sticks";

// Why a "sticks" member does not read: the problem, and the node it is about.
struct StickProblem {
    std::string text; // "\"sticks\", stick 2: \"curve\" \"0\" is not ..."
    const json_value* node = nullptr;
};

// Reads the value of a section's "sticks" member into sticks (replacing what they held). False,
// with the problem, for a wrong type, a text that does not read, or an axis in two sticks.
bool readSticks(const json_value* member, std::vector<StickSettings>& sticks, StickProblem& problem);
// A stick's settings as the writer writes them: each key with its text, every setting, in the
// order of the list above.
std::vector<std::pair<const char*, std::string>> stickSettingTexts(const StickSettings& stick);
// The member "sticks" for these sticks, built in the document's arena: each stick with every
// setting, in the order of the list above.
json_value* sticksMember(VantryDocument& document, const std::vector<StickSettings>& sticks);

} // namespace padloom

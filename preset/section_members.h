// SPDX-License-Identifier: GPL-3.0-or-later
// What a joystick section may hold besides its binds, each in a member of its own between the
// section's "tag" and its "binds", where builds that do not know them look at nothing:
//
//   "modes"      an input's binds toggle, or pulse while it is held (turbo)
//   "layers"     binds that act instead of the section's while an input is held
//   "sequences"  outputs pressed one after another, with waits, when an input goes on
//   "switches"   inputs that, held together, switch to another preset
//
// The writer puts them in that order, each only when it is not empty. docs/preset-format.md says
// what each does for users; engine/input_roles.h carries them out.
#pragma once

#include "preset/bind_records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace padloom {

// The section members this build reads, in the order the writer puts them.
inline constexpr const char* sectionMemberKeys[] = {"modes", "layers", "sequences", "switches"};

enum class ModeKind : int32_t { normal = 0, toggle = 1, turbo = 2 };

struct BindMode {
    ModeKind kind = ModeKind::normal;
    float rate = 0; // turbo: how often a second the binds go on
};

// Turbo rates a second, and the longest wait of a sequence.
inline constexpr float slowestTurbo = 1;
inline constexpr float fastestTurbo = 50;
inline constexpr uint32_t longestWaitMs = 60000;

// "toggle", "turbo 10" (the rate written as amounts are); empty for normal.
std::string modeToText(const BindMode& mode);
// None when the text is neither "toggle" nor "turbo R" with R from 1 to 50.
std::optional<BindMode> modeFromText(const char* text);

// A step of a sequence: an output of kind key, mouse button or wheel step, or a wait (output of
// kind none).
struct SequenceStep {
    BindOutput output;
    uint32_t waitMs = 0;
};

// The output text, or "wait 250".
std::string stepToText(const SequenceStep& step);
// None when the text is neither such an output nor "wait MS" with MS from 0 to 60000.
std::optional<SequenceStep> stepFromText(const char* text);

struct InputMode {
    BindInput input;
    BindMode mode;
};

struct InputSequence {
    BindInput input;
    std::vector<SequenceStep> steps;
};

struct PresetSwitch {
    std::vector<BindInput> press; // all on at once completes the switch
    std::string to;               // "next", "previous" or a preset's file name
};

} // namespace padloom

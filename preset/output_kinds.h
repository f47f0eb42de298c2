// SPDX-License-Identifier: GPL-3.0-or-later
// What each kind of bind output is, one row a kind: its word in bind texts, its name in the
// editor, which fields its text carries, whether it drives the motion timer, the amount it gets
// when its text carries none, and which codes it takes. The bind-text reader and writer, the
// engine's maps, evaluation and manager, and the configuration page (through a script made from
// this table at build time, tools/output_kinds_script.cpp) all read it. A new kind is a value of
// OutputKind, a row here and its evaluation in the engine.
#pragma once

#include "preset/bind_records.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace padloom {

// What an output's code names, and so which codes the engine takes.
enum class OutputCodes {
    keyNumber,   // a key number of the preset format's keyboard: within the engine's key table
    mouseButton, // 0 left, 1 right, 2 middle, 3 to 7 the others
    axis,        // 0 horizontal, any other number vertical: every code
};

struct OutputKindRow {
    OutputKind kind;
    const char* word;    // the three letters its texts begin with: "mou 0 + 6"
    const char* label;   // its name in the editor
    bool hasSign;        // its text carries + or - after the code
    bool hasAmount;      // its text may carry an amount after the sign
    bool isRate;         // it sets a motion or wheel rate, which the motion timer turns into events
    float defaultAmount; // the record's amount when its text carries none
    OutputCodes codes;
    uint32_t defaultCode; // the code a new output of this kind starts with in the editor
};

// In the order of OutputKind's values, which start at 1.
inline constexpr OutputKindRow outputKindRows[] = {
    {OutputKind::key, "key", "Key", false, false, false, 0, OutputCodes::keyNumber, 44},
    {OutputKind::mouseButton, "mbt", "Mouse button", false, false, false, 0, OutputCodes::mouseButton, 0},
    {OutputKind::mouseMotion, "mou", "Mouse motion", true, true, true, 6, OutputCodes::axis, 0},
    {OutputKind::wheel, "whe", "Wheel", true, true, true, 6, OutputCodes::axis, 1},
    {OutputKind::wheelStep, "whs", "Wheel step", true, false, false, 6, OutputCodes::axis, 1},
};

constexpr bool rowsFollowTheKinds() {
    for (size_t i = 0; i < std::size(outputKindRows); ++i) {
        if (static_cast<size_t>(outputKindRows[i].kind) != i + 1) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheKinds(), "outputKindRows must list the kinds in the order of their values");

// The row of a kind; null for none and for a number that is no kind.
constexpr const OutputKindRow* outputKindRow(OutputKind kind) {
    const uint32_t index = static_cast<uint32_t>(kind) - 1;
    return index < std::size(outputKindRows) ? &outputKindRows[index] : nullptr;
}

// The row whose word is the three bytes at word (compared as they are), or null.
const OutputKindRow* outputKindRowOfWord(const char* word);

// True for the kinds that set a rate; false for the others and for a number that is no kind.
constexpr bool isRate(OutputKind kind) {
    const OutputKindRow* row = outputKindRow(kind);
    return row != nullptr && row->isRate;
}

} // namespace padloom

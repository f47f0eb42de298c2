// SPDX-License-Identifier: GPL-3.0-or-later
// The promise of the preset reader, checked by the fuzz target and by the corpus test: any text
// either reads or is refused with a message, a tree either interprets or is refused, and a preset
// that loads saves and loads again to the same fields, except where the file format cannot hold
// them (numbers above 2147483647 do not read back; amounts keep six significant digits). Returns
// what went wrong, or an empty text.
#pragma once

#include "preset/vantry_document.h"
#include "tests/fuzz/bind_text_round_trip.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace padloom::fuzz {

// Every field of the document, one bind a line, amounts to six significant digits; empty when a
// number lies beyond what the file format holds.
inline std::string fieldsOf(const VantryDocument& document) {
    std::string text = document.name + "\n" + document.tag + "\n";
    for (const std::string& program : document.activateFor) {
        text += "for " + program + "\n";
    }
    const size_t sections = document.joysticks ? document.joysticks->size() : 0;
    for (size_t i = 0; i < sections; ++i) {
        const VantryDocument::JoystickData& section = (*document.joysticks)[i];
        text += "[" + section.name + "]\n";
        for (const VantryDocument::BindData& bind : section.binds) {
            char field[96];
            const BindInput& in = bind.input;
            std::snprintf(field, sizeof field, "%d %u %d %g:", static_cast<int>(in.kind), in.index,
                          in.direction, static_cast<double>(in.threshold));
            text += field;
            for (const BindOutput& out : bind.outputs) {
                std::snprintf(field, sizeof field, " %d %u %d %s", static_cast<int>(out.kind), out.code,
                              out.sign, sixDigits(out.amount).c_str());
                text += field;
                if (out.code > largestTextNumber) {
                    return {};
                }
            }
            if (in.index > largestTextNumber) {
                return {};
            }
            text += "\n";
        }
    }
    return text;
}

inline std::string presetTextFault(std::string_view text, const std::string& savePath) {
    VantryDocument document;
    if (!document.readText(text)) {
        return document.lastError().empty() ? "a text was refused without a message" : "";
    }
    if (document.root == nullptr) {
        return "a successful read left no tree";
    }
    if (!document.interpret()) {
        return document.lastError().empty() ? "a tree was refused without a message" : "";
    }
    if (document.name.empty()) {
        return "an interpreted preset has no name";
    }
    const std::string fields = fieldsOf(document);
    if (fields.empty()) {
        return {};
    }
    if (!document.save(savePath.c_str())) {
        return "a loaded preset could not be saved";
    }
    VantryDocument again;
    if (!again.load(savePath.c_str())) {
        return "a saved preset did not load: " + again.lastError();
    }
    const std::string fieldsAgain = fieldsOf(again);
    return fields == fieldsAgain ? "" : "saved:\n" + fields + "read back:\n" + fieldsAgain;
}

} // namespace padloom::fuzz

// The promise of the preset reader, checked by the fuzz target and by the corpus test: any text
// either reads or is refused with a message, a tree either interprets or is refused, and a preset
// that loads saves and loads again to the same fields, except where the file format cannot hold
// them (numbers above 2147483647 do not read back; amounts keep six significant digits). Returns
// what went wrong, or an empty text.
#pragma once

#include "preset/vantry_document.h"
#include "tests/fuzz/bind_text_round_trip.h"

#include <string>
#include <string_view>

namespace padloom::fuzz {

inline bool fitsTheFormat(const VantryDocument& document) {
    if (!document.joysticks) {
        return true;
    }
    for (const VantryDocument::JoystickData& section : *document.joysticks) {
        for (const VantryDocument::BindData& bind : section.binds) {
            if (bind.input.index > largestTextNumber) {
                return false;
            }
            for (const BindOutput& output : bind.outputs) {
                if (output.code > largestTextNumber) {
                    return false;
                }
            }
        }
    }
    return true;
}

inline bool sameOutput(const BindOutput& a, const BindOutput& b) {
    return a.kind == b.kind && a.code == b.code && a.sign == b.sign && sameAmount(a.amount, b.amount);
}

inline std::string sectionFault(const VantryDocument::JoystickData& a,
                                const VantryDocument::JoystickData& b) {
    if (a.name != b.name || a.binds.size() != b.binds.size()) {
        return "a joystick section changed its name or its number of binds";
    }
    for (size_t i = 0; i < a.binds.size(); ++i) {
        const VantryDocument::BindData& x = a.binds[i];
        const VantryDocument::BindData& y = b.binds[i];
        if (!(x.input == y.input) || x.outputs.size() != y.outputs.size()) {
            return "bind " + inputToText(x.input) + " changed its input or its number of outputs";
        }
        for (size_t k = 0; k < x.outputs.size(); ++k) {
            if (!sameOutput(x.outputs[k], y.outputs[k])) {
                return "output " + outputToText(x.outputs[k]) + " read back as " + outputToText(y.outputs[k]);
            }
        }
    }
    return {};
}

// Saves the document to savePath and loads it again.
inline std::string saveAndLoadFault(VantryDocument& document, const std::string& savePath) {
    if (!document.save(savePath.c_str())) {
        return "a loaded preset could not be saved";
    }
    VantryDocument again;
    if (!again.load(savePath.c_str())) {
        return "a saved preset did not load: " + again.lastError();
    }
    if (again.name != document.name || again.tag != document.tag ||
        again.activateFor != document.activateFor) {
        return "the name, the tag or the programs changed";
    }
    const size_t sections = document.joysticks ? document.joysticks->size() : 0;
    const size_t sectionsAgain = again.joysticks ? again.joysticks->size() : 0;
    if (sections != sectionsAgain) {
        return "the number of joystick sections changed";
    }
    for (size_t i = 0; i < sections; ++i) {
        if (std::string fault = sectionFault((*document.joysticks)[i], (*again.joysticks)[i]);
            !fault.empty()) {
            return fault;
        }
    }
    return {};
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
    return fitsTheFormat(document) ? saveAndLoadFault(document, savePath) : "";
}

} // namespace padloom::fuzz

// SPDX-License-Identifier: GPL-3.0-or-later
// Writing bind texts: "btn 3", "axi 1 -", "hat 0 U", "key 44", "mou 0 + 6", "whs 1 -".
#include "preset/output_kinds.h"
#include "preset/vantry_document.h"

#include <locale>
#include <sstream>

namespace padloom {
namespace {

const char* hatLetter(int32_t direction) {
    switch (direction) {
    case 1:
        return " U";
    case 2:
        return " R";
    case 4:
        return " D";
    case 8:
        return " L";
    default:
        return "";
    }
}

const char* signText(int32_t sign) {
    return sign == 1 ? " +" : sign == -1 ? " -" : "";
}

} // namespace

// Six significant digits, exponent notation below 1e-4 and from 1e6 up, no trailing zeros: the
// default format of a stream, with a decimal point in every locale.
std::string amountText(float amount) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << amount;
    return out.str();
}

std::string inputToText(const BindInput& input) {
    const std::string index = std::to_string(input.index);
    switch (input.kind) {
    case InputKind::button:
        return "btn " + index;
    case InputKind::axis:
        return "axi " + index + signText(input.direction);
    case InputKind::hat:
        return "hat " + index + hatLetter(input.direction);
    default:
        return {};
    }
}

std::string outputToText(const BindOutput& output) {
    const OutputKindRow* row = outputKindRow(output.kind);
    if (row == nullptr) {
        return {};
    }
    std::string text = std::string(row->word) + ' ' + std::to_string(output.code);
    if (!row->hasSign) {
        return text;
    }
    text += signText(output.sign);
    if (row->hasAmount) {
        text += ' ' + amountText(output.amount);
    }
    return text;
}

} // namespace padloom

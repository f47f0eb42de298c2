// SPDX-License-Identifier: GPL-3.0-or-later
// The promise of the bind-text readers and writers, checked by the fuzz target and by the corpus
// test: a text that reads as an input or an output writes back to a text that reads to the same
// record, except where the text form cannot hold it (numbers above 2147483647; amounts keep six
// significant digits). The check returns what went wrong, or an empty text.
#pragma once

#include "preset/vantry_document.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace padloom::fuzz {

constexpr uint32_t largestTextNumber = 2147483647;

// An amount to the six significant digits the text form keeps.
inline std::string sixDigits(float amount) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(amount));
    return text;
}

// Both records the text may read as. Numbers beyond the text form, and amounts equal to six digits,
// count as read back.
inline std::string bindTextRoundTripFault(const std::string& text) {
    std::string faults;
    const std::string differs = "\" was written as \"";
    const BindInput input = inputFromText(text.c_str());
    if (input.kind != InputKind::none) {
        const std::string written = inputToText(input);
        BindInput back = inputFromText(written.c_str());
        back.index = input.index > largestTextNumber ? input.index : back.index;
        faults +=
            back == input ? "" : "input \"" + text + differs + written + "\", which reads back differently\n";
    }
    const BindOutput output = outputFromText(text.c_str());
    if (output.kind != OutputKind::none && !std::isfinite(output.amount)) {
        return faults + "output \"" + text + "\" was read with an amount that is not a finite number";
    }
    if (output.kind != OutputKind::none) {
        const std::string written = outputToText(output);
        BindOutput back = outputFromText(written.c_str());
        back.code = output.code > largestTextNumber ? output.code : back.code;
        back.amount = sixDigits(output.amount) == sixDigits(back.amount) ? output.amount : back.amount;
        faults +=
            back == output ? "" : "output \"" + text + differs + written + "\", which reads back differently";
    }
    return faults;
}

} // namespace padloom::fuzz

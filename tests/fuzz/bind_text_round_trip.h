// The promise of the bind-text readers and writers, checked by the fuzz target and by the corpus
// test: a text that reads as an input or an output writes back to a text that reads to the same
// record, except where the text form cannot hold it (numbers above 2147483647; amounts keep six
// significant digits). Each check returns what went wrong, or an empty text.
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

inline std::string inputRoundTripFault(const std::string& text) {
    const BindInput input = inputFromText(text.c_str());
    if (input.kind == InputKind::none) {
        return {};
    }
    const std::string written = inputToText(input);
    const BindInput back = inputFromText(written.c_str());
    const bool sameIndex = input.index > largestTextNumber || back.index == input.index;
    if (back.kind != input.kind || back.direction != input.direction || back.threshold != input.threshold ||
        !sameIndex) {
        return "input \"" + text + "\" was written as \"" + written + "\", which reads back differently";
    }
    return {};
}

inline std::string outputRoundTripFault(const std::string& text) {
    const BindOutput output = outputFromText(text.c_str());
    if (output.kind == OutputKind::none) {
        return {};
    }
    if (!std::isfinite(output.amount)) {
        return "output \"" + text + "\" was read with an amount that is not a finite number";
    }
    const std::string written = outputToText(output);
    const BindOutput back = outputFromText(written.c_str());
    const bool sameCode = output.code > largestTextNumber || back.code == output.code;
    if (back.kind != output.kind || back.sign != output.sign ||
        sixDigits(output.amount) != sixDigits(back.amount) || !sameCode) {
        return "output \"" + text + "\" was written as \"" + written + "\", which reads back differently";
    }
    return {};
}

} // namespace padloom::fuzz

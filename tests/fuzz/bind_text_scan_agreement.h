// SPDX-License-Identifier: GPL-3.0-or-later
// The bind-text scan must give what sscanf gives with "%3c %d %c" and "%3c %d %c %f" in the "C"
// locale: the same count, and the same bytes in every field, converted or left alone. Checked by
// the differential fuzz target and by the tests. Returns what differed, or an empty text.
#pragma once

#include "preset/bind_text_scan.h"
#include "preset/json/scoped_c_locale.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace padloom::fuzz {

inline std::string describe(int converted, const BindTextFields& f) {
    uint32_t amountBits = 0;
    std::memcpy(&amountBits, &f.amount, sizeof amountBits);
    char text[128];
    std::snprintf(text, sizeof text, "%d fields, word %02x %02x %02x, number %d, mark %02x, amount %a (%08x)",
                  converted, static_cast<unsigned char>(f.word[0]), static_cast<unsigned char>(f.word[1]),
                  static_cast<unsigned char>(f.word[2]), f.number, static_cast<unsigned char>(f.mark),
                  static_cast<double>(f.amount), amountBits);
    return text;
}

inline std::string scanDisagreement(const std::string& text) {
    std::string faults;
    for (const bool withAmount : {false, true}) {
        // Values no scan would produce by chance, so that a stray write shows.
        const BindTextFields start{{'#', '#', '#'}, 0x5a5a5a5a, '#', 6.0f};
        BindTextFields mine = start;
        BindTextFields theirs = start;
        const int converted = scanBindText(text.c_str(), mine, withAmount);
        int expected = 0;
        {
            const scoped_c_locale numbersWithPoint;
            expected = withAmount ? std::sscanf(text.c_str(), "%3c %d %c %f", theirs.word, &theirs.number,
                                                &theirs.mark, &theirs.amount)
                                  : std::sscanf(text.c_str(), "%3c %d %c", theirs.word, &theirs.number,
                                                &theirs.mark);
        }
        const std::string got = describe(converted, mine);
        const std::string wanted = describe(expected, theirs);
        if (got != wanted) {
            faults += std::string(withAmount ? "output" : "input") + " scan of \"" + text + "\": " + got +
                      "; sscanf: " + wanted + "\n";
        }
    }
    return faults;
}

} // namespace padloom::fuzz

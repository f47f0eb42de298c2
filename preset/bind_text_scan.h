// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of a bind text, read exactly as the C library's scanner reads the formats "%3c %d %c"
// (inputs) and "%3c %d %c %f" (outputs) in the "C" locale, without ever switching the locale: the
// kind word, the number, the direction or sign character and the amount. Preset files written
// before keep the meaning they had, bit for bit, whatever language the desktop runs in.
#pragma once

#include <cstdint>

namespace padloom {

struct BindTextFields {
    char word[3];   // the first three bytes of the text, as they are
    int32_t number; // the index or code
    char mark;      // the direction or sign character
    float amount;   // outputs only
};

// Returns the number of fields converted, as sscanf counts them: -1 for an empty text, else 1 to 3
// (4 with the amount). A field that is not converted keeps the value it had; a word cut short by
// the end of the text keeps its remaining bytes.
int scanBindText(const char* text, BindTextFields& fields, bool withAmount);

} // namespace padloom

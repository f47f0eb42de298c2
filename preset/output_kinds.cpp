// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/output_kinds.h"

#include <cstring>

namespace padloom {

const OutputKindRow* outputKindRowOfWord(const char* word) {
    for (const OutputKindRow& row : outputKindRows) {
        if (std::memcmp(word, row.word, 3) == 0) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace padloom

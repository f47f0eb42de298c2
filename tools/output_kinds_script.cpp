// SPDX-License-Identifier: GPL-3.0-or-later
// padloom_output_kinds_script FILE: writes the configuration page's table of output kinds, a
// script made from the table the bind-text reader and the engine use (preset/output_kinds.h), so
// that the editor offers and writes exactly the kinds the reader reads. The build runs it into
// the built resources as gui/output_kinds.js.
#include "preset/output_kinds.h"

#include <cstdio>
#include <string>

namespace padloom {
namespace {

const char* codesName(OutputCodes codes) {
    switch (codes) {
    case OutputCodes::keyNumber:
        return "keyNumber";
    case OutputCodes::mouseButton:
        return "mouseButton";
    case OutputCodes::axis:
        return "axis";
    }
    return "";
}

// A script string literal; the table's texts are plain, so quotes and backslashes are all there is
// to escape.
std::string quoted(const char* text) {
    std::string out = "'";
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\'' || *p == '\\') {
            out += '\\';
        }
        out += *p;
    }
    return out + "'";
}

const char* boolean(bool value) {
    return value ? "true" : "false";
}

std::string rowText(const OutputKindRow& row) {
    char amount[32];
    std::snprintf(amount, sizeof amount, "%g", static_cast<double>(row.defaultAmount));
    return "  Object.freeze({ word: " + quoted(row.word) + ", label: " + quoted(row.label) +
           ", hasSign: " + boolean(row.hasSign) + ", hasAmount: " + boolean(row.hasAmount) +
           ", isRate: " + boolean(row.isRate) + ", defaultAmount: " + amount + ", codes: '" +
           codesName(row.codes) + "', defaultCode: " + std::to_string(row.defaultCode) + " })";
}

std::string script() {
    std::string text =
        "// Made by the build from the table of output kinds that the preset reader and the engine\n"
        "// use (preset/output_kinds.h); not to be edited.\n"
        "'use strict';\n\n"
        "const OUTPUT_KIND_TABLE = Object.freeze([\n";
    for (const OutputKindRow& row : outputKindRows) {
        text += rowText(row) + (&row == std::end(outputKindRows) - 1 ? "\n" : ",\n");
    }
    return text + "]);\n";
}

} // namespace
} // namespace padloom

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const std::string text = padloom::script();
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "%s: could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}

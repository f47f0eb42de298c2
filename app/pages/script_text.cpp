// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/script_text.h"

#include "app/pages/shown_text.h"

#include <cstdio>

namespace padloom {
namespace {

void appendControl(std::string& out, unsigned char c) {
    switch (c) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
        out += buffer;
    }
}

// U+2028 and U+2029 end a line inside a script literal in older engines: E2 80 A8 / E2 80 A9.
bool isLineSeparatorAt(std::string_view text, size_t i) {
    return i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xE2 &&
           static_cast<unsigned char>(text[i + 1]) == 0x80 &&
           (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
            static_cast<unsigned char>(text[i + 2]) == 0xA9);
}

} // namespace

std::string scriptString(std::string_view raw, char quote) {
    // A script is UTF-8 text: bytes from a file that are not reach the page as U+FFFD.
    const std::string text = validUtf8(raw);
    std::string out;
    out.reserve(text.size() + 2);
    out += quote;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\' || c == '"' || c == '\'') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            appendControl(out, c);
        } else if (c == '<' && i + 1 < text.size() && text[i + 1] == '/') {
            out += "<\\/";
            ++i;
        } else if (isLineSeparatorAt(text, i)) {
            out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += quote;
    return out;
}

std::string scriptCall(std::string_view function, const std::vector<std::string>& texts) {
    std::string out(function);
    out += '(';
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += scriptString(texts[i]);
    }
    out += ')';
    return out;
}

} // namespace padloom

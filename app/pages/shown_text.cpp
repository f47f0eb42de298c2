// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pages/shown_text.h"

#include <charconv>
#include <cstdio>

namespace padloom {
namespace {

struct Sequence {
    size_t length; // bytes it takes; when not valid, those that could still have begun a valid one
    bool valid;
};

// The UTF-8 sequence at the start of text (not empty), by the table of well-formed sequences:
// the second byte's range depends on the first, which rules out overlong forms, surrogates and
// code points beyond U+10FFFF.
Sequence sequenceAt(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {1, true};
    }
    size_t continuations = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return {1, false};
    }
    size_t i = 1;
    for (; i <= continuations && i < text.size(); ++i) {
        if (byte(i) < (i == 1 ? low : 0x80) || byte(i) > (i == 1 ? high : 0xBF)) {
            return {i, false};
        }
    }
    return {i, i == continuations + 1};
}

bool isControl(std::string_view sequence, bool keepLineBreaks) {
    const unsigned char first = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) {
        return (first < 0x20 && !(keepLineBreaks && first == '\n')) || first == 0x7F;
    }
    // U+0080 to U+009F, the C1 controls: C2 80 to C2 9F.
    return sequence.size() == 2 && first == 0xC2 && static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

void appendBytes(std::string& out, std::string_view bytes, const char* format) {
    for (const char c : bytes) {
        char code[8];
        std::snprintf(code, sizeof code, format, static_cast<unsigned char>(c));
        out += code;
    }
}

} // namespace

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Sequence s = sequenceAt(text);
        out += s.valid ? text.substr(0, s.length) : "\xEF\xBF\xBD";
        text.remove_prefix(s.length);
    }
    return out;
}

std::string terminalText(std::string_view text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Sequence s = sequenceAt(text);
        const std::string_view part = text.substr(0, s.length);
        if (!s.valid || isControl(part, keepLineBreaks)) {
            appendBytes(out, part, "\\x%02x");
        } else {
            out += part;
        }
        text.remove_prefix(s.length);
    }
    return out;
}

std::string pageKey(const std::string& fileName) {
    if (validUtf8(fileName) == fileName) {
        return fileName;
    }
    std::string key = "/";
    for (std::string_view rest = fileName; !rest.empty();) {
        const Sequence s = sequenceAt(rest);
        const std::string_view part = rest.substr(0, s.length);
        if (!s.valid || part == "%") {
            appendBytes(key, part, "%%%02X");
        } else {
            key += part;
        }
        rest.remove_prefix(s.length);
    }
    return key;
}

std::string fileFromPageKey(const std::string& key) {
    if (!key.starts_with('/')) {
        return key;
    }
    std::string fileName;
    for (size_t i = 1; i < key.size(); ++i) {
        if (key[i] != '%') {
            fileName += key[i];
            continue;
        }
        unsigned byte = 0;
        const char* digits = key.data() + i + 1;
        if (i + 2 >= key.size() || std::from_chars(digits, digits + 2, byte, 16).ptr != digits + 2) {
            return key;
        }
        fileName += static_cast<char>(byte);
        i += 2;
    }
    return fileName;
}

} // namespace padloom

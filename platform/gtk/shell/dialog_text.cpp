// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/dialog_text.h"

#include <algorithm>
#include <vector>

namespace padloom {
namespace {

constexpr std::string_view ellipsis = "\u2026";

struct Quote {
    std::string_view open;
    std::string_view close;
};

constexpr Quote quotes[] = {{"\"", "\""}, {"\u201c", "\u201d"}};

// Byte offsets at which the characters of a UTF-8 text begin.
std::vector<size_t> characterStarts(std::string_view text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            starts.push_back(i);
        }
    }
    return starts;
}

std::string shortened(std::string_view part, size_t maxChars) {
    const std::vector<size_t> starts = characterStarts(part);
    if (starts.size() <= maxChars || maxChars < 3) {
        return std::string(part);
    }
    const size_t tail = (maxChars - 1) / 2;
    const size_t head = maxChars - 1 - tail;
    std::string result(part.substr(0, starts[head]));
    result += ellipsis;
    result += part.substr(starts[starts.size() - tail]);
    return result;
}

} // namespace

std::string shortenQuotedParts(std::string_view text, size_t maxChars) {
    std::string result;
    size_t at = 0;
    while (at < text.size()) {
        const Quote* first = nullptr;
        size_t open = std::string_view::npos;
        for (const Quote& quote : quotes) {
            const size_t found = text.find(quote.open, at);
            if (found < open) {
                open = found;
                first = &quote;
            }
        }
        if (first == nullptr) {
            break;
        }
        const size_t inner = open + first->open.size();
        const size_t close = text.find(first->close, inner);
        if (close == std::string_view::npos) {
            break;
        }
        result += text.substr(at, inner - at);
        result += shortened(text.substr(inner, close - inner), maxChars);
        result += first->close;
        at = close + first->close.size();
    }
    result += text.substr(std::min(at, text.size()));
    return result;
}

} // namespace padloom

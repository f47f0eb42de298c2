// Which line of the read text a node of its tree begins on, for messages about what it holds.
#include "preset/vantry_document.h"

#include <algorithm>
#include <cstring>

namespace padloom {
namespace {

// Where in the text the node's own bytes are: its key, its text, or its first member's.
const char* textOf(const json_value* node) {
    for (; node != nullptr; node = node->first_child) {
        if (node->name != nullptr) {
            return node->name;
        }
        if (node->kind == json_string) {
            return node->string_value;
        }
    }
    return nullptr;
}

std::size_t newlinesIn(const char* begin, const char* end) {
    return static_cast<std::size_t>(std::count(begin, end, '\n'));
}

// The next node in the order of the text, by the parent links: nesting may be as deep as memory
// allows, too deep for the stack.
const json_value* nextInText(const json_value* node) {
    if (node->first_child != nullptr) {
        return node->first_child;
    }
    while (node != nullptr && node->next_sibling == nullptr) {
        node = node->parent;
    }
    return node != nullptr ? node->next_sibling : nullptr;
}

// The line feeds that escapes ("\n", "\u000a") in the keys and texts before at wrote into the
// text: decoded in place, they were not line feeds of the file. The file's own line feeds lie
// between tokens, never inside a string.
std::size_t decodedNewlinesBefore(const json_value* root, const char* text, const char* at) {
    std::size_t count = 0;
    for (const json_value* node = root; node != nullptr; node = nextInText(node)) {
        for (const char* p :
             {static_cast<const char*>(node->name),
              node->kind == json_string ? static_cast<const char*>(node->string_value) : nullptr}) {
            if (p != nullptr && p >= text && p < at) {
                count += newlinesIn(p, p + std::strlen(p));
            }
        }
    }
    return count;
}

} // namespace

int VantryDocument::lineOf(const json_value* node) const {
    const char* at = textOf(node);
    if (text_ == nullptr || at == nullptr || at < text_ || at > text_ + textSize_) {
        return 0;
    }
    const std::size_t newlines = newlinesIn(text_, at) - decodedNewlinesBefore(root, text_, at);
    return static_cast<int>(newlines) + 1;
}

} // namespace padloom

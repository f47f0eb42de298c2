// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/json_writer.h"

#include "preset/json/scoped_c_locale.h"

namespace padloom {
namespace {

bool writeTabs(FILE* out, int level) {
    for (int i = 0; i < level; ++i) {
        if (std::fputc('\t', out) == EOF) {
            return false;
        }
    }
    return true;
}

// The two-byte escape the reader decodes back into c, or null where c may stand as it is.
const char* shortEscape(unsigned char c) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        return nullptr;
    }
}

// Writes a text between double quotes, escaped so that the reader gives back exactly these bytes:
// a quote, a backslash or a control character written as it stands would end the string early,
// start an escape, or make the whole file unreadable.
bool printQuoted(const char* text, FILE* out) {
    bool ok = std::fputc('"', out) != EOF;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (const char* escape = shortEscape(*p)) {
            ok = std::fputs(escape, out) != EOF && ok;
        } else if (*p < 0x20) {
            ok = std::fprintf(out, "\\u%04x", *p) >= 0 && ok;
        } else {
            ok = std::fputc(*p, out) != EOF && ok;
        }
    }
    return std::fputc('"', out) != EOF && ok;
}

bool printNode(const json_value* node, FILE* out, int level);

bool printContainer(const json_value* node, FILE* out, int level) {
    const bool isObject = node->kind == json_object;
    bool ok = std::fputs(isObject ? "{\n" : "[\n", out) != EOF;
    for (const json_value* child = node->first_child; child != nullptr; child = child->next_sibling) {
        if (child != node->first_child) {
            ok = std::fseek(out, -1, SEEK_CUR) == 0 && ok;
            ok = std::fputs(",\n", out) != EOF && ok;
        }
        ok = printNode(child, out, level + 1) && ok;
    }
    ok = writeTabs(out, level) && ok;
    return std::fputs(isObject ? "}\n" : "]\n", out) != EOF && ok;
}

bool printScalar(const json_value* node, FILE* out) {
    switch (node->kind) {
    case json_string:
        return printQuoted(node->string_value, out) && std::fputc('\n', out) != EOF;
    case json_int:
        return std::fprintf(out, "%d\n", node->int_value) >= 0;
    case json_float:
        return std::fprintf(out, "%f\n", static_cast<double>(node->float_value)) >= 0;
    case json_bool:
        return std::fputs(node->int_value != 0 ? "true\n" : "false\n", out) != EOF;
    default:
        return std::fputs("null\n", out) != EOF;
    }
}

bool printNode(const json_value* node, FILE* out, int level) {
    bool ok = writeTabs(out, level);
    if (node == nullptr) {
        return ok;
    }
    if (node->name != nullptr) {
        ok = printQuoted(node->name, out) && std::fputs(" : ", out) != EOF && ok;
    }
    if (node->kind == json_object || node->kind == json_array) {
        return printContainer(node, out, level) && ok;
    }
    return printScalar(node, out) && ok;
}

} // namespace

bool print_json(const json_value* node, FILE* out, int level) {
    const scoped_c_locale numbersWithPoint;
    return printNode(node, out, level) && std::ferror(out) == 0;
}

} // namespace padloom

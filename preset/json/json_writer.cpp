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
        // Written as it stands: a double quote or a backslash in the text is not escaped.
        return std::fprintf(out, "\"%s\"\n", node->string_value) >= 0;
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
        ok = std::fprintf(out, "\"%s\" : ", node->name) >= 0 && ok;
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

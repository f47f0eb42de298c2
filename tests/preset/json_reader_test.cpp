// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/json_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace padloom {
namespace {

// A compact picture of a tree: {a=1,b=[true,"x",f1.5]}; floats carry an f, keyless values no "=".
std::string dump(const json_value* node) {
    std::string text = node->name != nullptr ? std::string(node->name) + "=" : "";
    char number[32];
    switch (node->kind) {
    case json_object:
    case json_array: {
        text += node->kind == json_object ? "{" : "[";
        for (const json_value* child = node->first_child; child != nullptr; child = child->next_sibling) {
            text += child == node->first_child ? "" : ",";
            text += dump(child);
        }
        return text + (node->kind == json_object ? "}" : "]");
    }
    case json_string:
        return text + "\"" + node->string_value + "\"";
    case json_int:
        return text + std::to_string(node->int_value);
    case json_float:
        std::snprintf(number, sizeof number, "f%g", static_cast<double>(node->float_value));
        return text + number;
    case json_bool:
        return text + (node->int_value != 0 ? "true" : "false");
    default:
        return text + "null";
    }
}

// The tree of source, parsed in place in a copy that lives as long as the tree.
struct Parsed {
    explicit Parsed(const std::string& source) : text(source.begin(), source.end()) {
        text.push_back('\0');
        root = parse_json_in_place(text.data(), &errorPos, &errorDesc, &errorLine, &allocator);
    }
    block_allocator allocator{1024};
    std::vector<char> text;
    json_value* root = nullptr;
    char* errorPos = nullptr;
    const char* errorDesc = nullptr;
    int errorLine = 0;
};

struct AcceptedCase {
    std::string text;
    std::string tree;
};

class JsonReaderAccepts : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(JsonReaderAccepts, BuildsTheTree) {
    const Parsed parsed(GetParam().text);
    ASSERT_NE(parsed.root, nullptr) << parsed.errorDesc;
    EXPECT_EQ(dump(parsed.root), GetParam().tree);
    EXPECT_EQ(parsed.errorDesc, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonReaderAccepts,
    ::testing::Values(
        AcceptedCase{"{}", "{}"}, AcceptedCase{"[]", "[]"},
        AcceptedCase{"{ \"a\" : 1, \"b\" : [ true , false , null ] }\n", "{a=1,b=[true,false,null]}"},
        // lenient punctuation
        AcceptedCase{"[1 2,,3,]", "[1,2,3]"}, AcceptedCase{"{\"a\" 1}", "{a=1}"}, AcceptedCase{"{1}", "{1}"},
        AcceptedCase{"{\"a\":1,\"a\":2}", "{a=1,a=2}"},
        // a key left pending when its object closes names the next value
        AcceptedCase{"[{\"a\"},1]", "[{},a=1]"},
        // integers
        AcceptedCase{"[01]", "[1]"}, AcceptedCase{"[-]", "[0]"}, AcceptedCase{"[-5]", "[-5]"},
        AcceptedCase{"[2147483648]", "[-2147483648]"}, AcceptedCase{"[4294967297]", "[1]"},
        // floats
        AcceptedCase{"[1.5e2]", "[f150]"}, AcceptedCase{"[-.5]", "[f-0.5]"}, AcceptedCase{"[1e3]", "[f1000]"},
        AcceptedCase{"[1.5e]", "[f1.5]"}, AcceptedCase{"[2.5E-1]", "[f0.25]"},
        AcceptedCase{"[1e4000000000]", "[finf]"}, AcceptedCase{"[1e-4000000000]", "[f0]"},
        // strings and escapes
        AcceptedCase{"[\"\\u00e9\"]", "[\"\xC3\xA9\"]"},
        AcceptedCase{"[\"\\u0041\\u007f\\u0080\\u07FF\"]", "[\"A\x7F\xC2\x80\xDF\xBF\"]"},
        // surrogates: a pair is its code point, any other half U+FFFD
        AcceptedCase{"[\"\\ud83d\\ude00\\uD800\\uDFFF\"]", "[\"\xF0\x9F\x98\x80\xF0\x90\x8F\xBF\"]"},
        AcceptedCase{"[\"\\ud83d\",\"\\ude00\\ud800\"]", "[\"\xEF\xBF\xBD\",\"\xEF\xBF\xBD\xEF\xBF\xBD\"]"},
        AcceptedCase{"[\"\\ud800x\\ud800\\u005a\\udbff\\ue000\"]",
                     "[\"\xEF\xBF\xBDx\xEF\xBF\xBDZ\xEF\xBF\xBD\xEE\x80\x80\"]"},
        AcceptedCase{"[\"\\uFFFF\\u0800\"]", "[\"\xEF\xBF\xBF\xE0\xA0\x80\"]"},
        AcceptedCase{"[\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"]", "[\"\"\\/\b\f\n\r\t\"]"},
        AcceptedCase{"[\"caf\xC3\xA9\"]", "[\"caf\xC3\xA9\"]"}, AcceptedCase{"[\"\"]", "[\"\"]"},
        AcceptedCase{"{\"k\":[{\"x\":\"y\"},[]],\"z\":{}}", "{k=[{x=\"y\"},[]],z={}}"}));

struct ErrorCase {
    std::string text;
    std::string message;
    int line;
    std::size_t position; // offset of the error position in the text
};

class JsonReaderRefuses : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(JsonReaderRefuses, ReportsMessageLineAndPosition) {
    const Parsed parsed(GetParam().text);
    EXPECT_EQ(parsed.root, nullptr);
    ASSERT_NE(parsed.errorDesc, nullptr);
    EXPECT_EQ(std::string(parsed.errorDesc), GetParam().message);
    EXPECT_EQ(parsed.errorLine, GetParam().line);
    EXPECT_EQ(static_cast<std::size_t>(parsed.errorPos - parsed.text.data()), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonReaderRefuses,
    ::testing::Values(
        ErrorCase{" {}", "Unexpected character", 1, 0}, ErrorCase{"\n{}", "Unexpected character", 1, 0},
        ErrorCase{"\xEF\xBB\xBF{}", "Unexpected character", 1, 0},
        ErrorCase{"5", "Unexpected character", 1, 0}, ErrorCase{"true", "Unexpected character", 1, 0},
        ErrorCase{"{\n\n +1}", "Unexpected character", 3, 4},
        ErrorCase{"[\n'a']", "Unexpected character", 2, 2},
        ErrorCase{"[truex]", "Unexpected character", 1, 5},
        ErrorCase{"{}\n]", "Mismatch closing brace/bracket", 2, 3},
        ErrorCase{"[\n}", "Mismatch closing brace/bracket", 2, 2},
        ErrorCase{"{}\n\n{}", "Second root. Only one root allowed", 3, 5},
        ErrorCase{"[\n\"a\tb\"]", "Control characters not allowed in strings", 2, 3},
        ErrorCase{"[\n\n\"\\u00g1\"]", "Bad unicode codepoint", 3, 4},
        ErrorCase{"[\"\\u12\"]", "Bad unicode codepoint", 1, 2},
        ErrorCase{"[\n\"ab\\q\"]", "Unrecognized escape sequence", 2, 3},
        ErrorCase{"[\n tru]", "Unknown identifier", 2, 3}, ErrorCase{"[nul]", "Unknown identifier", 1, 1},
        ErrorCase{"[1x]", "Bad integer number", 1, 1}, ErrorCase{"[\n\n\n12:3]", "Bad integer number", 4, 4},
        ErrorCase{"[\n1.2.3]", "Bad float number", 2, 2}, ErrorCase{"[1e5x]", "Bad float number", 1, 1},
        ErrorCase{"[1,\n2", "Not all objects/arrays have been properly closed", 2, 5},
        ErrorCase{"[1", "Not all objects/arrays have been properly closed", 1, 2},
        ErrorCase{"[\"abc", "Not all objects/arrays have been properly closed", 1, 5},
        // line feeds written by decoded escapes are not lines of the file
        ErrorCase{"[\"a\\nb\\nc\",\n x]", "Unexpected character", 2, 13},
        ErrorCase{"[\"a\\u000ab\",\n x]", "Unexpected character", 2, 14},
        ErrorCase{"[\n\"a\\nb\\nc\t\"]", "Control characters not allowed in strings", 2, 3},
        ErrorCase{"[\n\"a\\nb\\x\"]", "Unrecognized escape sequence", 2, 3},
        // a line feed decoded at the very start of the string lies at the error position itself
        ErrorCase{"{\"name\":\"\\n\\q\"}", "Unrecognized escape sequence", 1, 9},
        ErrorCase{"{\"name\":\"\\u000a\\q\"}", "Unrecognized escape sequence", 1, 9},
        ErrorCase{"[\"\\n\x01\"]", "Control characters not allowed in strings", 1, 2},
        ErrorCase{"[\"\\n\\u00\"]", "Bad unicode codepoint", 1, 4}));

TEST(JsonReader, DeepNestingNeedsNoStack) {
    const int depth = 200000;
    const Parsed parsed(std::string(depth, '[') + std::string(depth, ']'));
    ASSERT_NE(parsed.root, nullptr);
    int levels = 0;
    for (const json_value* node = parsed.root; node != nullptr; node = node->first_child) {
        ++levels;
    }
    EXPECT_EQ(levels, depth);
}

} // namespace
} // namespace padloom

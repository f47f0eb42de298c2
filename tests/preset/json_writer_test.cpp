// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/json_reader.h"
#include "preset/json/json_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace padloom {
namespace {

// Trees come from the reader: a compact text in, the writer's layout out.
struct Printed {
    std::string text;
    bool ok = false;
};

// Parses json (empty: no tree) and writes the tree, or its first child, to out.
bool printTo(FILE* out, std::string json, bool firstChildOnly, int level) {
    block_allocator allocator(1024);
    char* errorPos = nullptr;
    const char* errorDesc = nullptr;
    int errorLine = 0;
    const json_value* root =
        json.empty() ? nullptr
                     : parse_json_in_place(json.data(), &errorPos, &errorDesc, &errorLine, &allocator);
    return print_json(firstChildOnly ? root->first_child : root, out, level);
}

Printed print(const std::string& json, bool firstChildOnly, int level) {
    FILE* file = std::tmpfile();
    Printed printed;
    printed.ok = printTo(file, json, firstChildOnly, level);
    printed.text.resize(static_cast<std::size_t>(std::ftell(file)));
    std::rewind(file);
    printed.text.resize(std::fread(printed.text.data(), 1, printed.text.size(), file));
    std::fclose(file);
    return printed;
}

TEST(JsonWriter, WritesOneValuePerLineWithCommasAtLineEnds) {
    struct Row {
        const char* what;
        std::string json;
        bool firstChildOnly;
        int level;
        std::string expected;
    };
    const Row rows[] = {
        {"name_and_empty_tag", "{\"name\":\"x\",\"tag\":\"\"}", false, 0,
         "{\n\t\"name\" : \"x\",\n\t\"tag\" : \"\"\n}\n"},
        {"empty_array_member_at_level_4", "{\"btn 0\":[]}", true, 4, "\t\t\t\t\"btn 0\" : [\n\t\t\t\t]\n"},
        {"scalars", "{\"i\":-3,\"f\":1.5,\"t\":true,\"n\":false,\"z\":null}", false, 0,
         "{\n\t\"i\" : -3,\n\t\"f\" : 1.500000,\n\t\"t\" : true,\n\t\"n\" : false,\n\t\"z\" : null\n}\n"},
        {"absent_node_writes_only_its_indentation", "", false, 2, "\t\t"},
        {"nested_containers_close_at_their_own_indentation", "[{\"a\":[1]},{}]", false, 0,
         "[\n\t{\n\t\t\"a\" : [\n\t\t\t1\n\t\t]\n\t},\n\t{\n\t}\n]\n"},
        {"quotes_and_backslashes_are_escaped", "{\"k\\\"\":\"a\\\"b\\\\\"}", false, 0,
         "{\n\t\"k\\\"\" : \"a\\\"b\\\\\"\n}\n"},
        {"control_characters_are_escaped", "[\"\\t\\n\\r\\b\\f\\u0001\\u001f\"]", false, 0,
         "[\n\t\"\\t\\n\\r\\b\\f\\u0001\\u001f\"\n]\n"}};
    for (const Row& row : rows) {
        const Printed printed = print(row.json, row.firstChildOnly, row.level);
        EXPECT_TRUE(printed.ok) << row.what;
        EXPECT_EQ(printed.text, row.expected) << row.what;
    }
}

TEST(JsonWriterFailure, AStreamThatCannotStepBackIsReported) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* pipeEnd = fdopen(fds[1], "w");
    EXPECT_FALSE(printTo(pipeEnd, "[1,2]", false, 0));
    std::fclose(pipeEnd);
    close(fds[0]);
}

} // namespace
} // namespace padloom

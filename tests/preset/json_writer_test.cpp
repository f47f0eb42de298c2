#include "preset/json/json_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

namespace padloom {
namespace {

// Small tree builders over one arena; names and texts are string literals, which outlive the tree.
class Tree {
public:
    json_value* node(json_kind kind, const char* name = nullptr) {
        json_value* v = new_json_value(&allocator_);
        v->kind = kind;
        v->name = const_cast<char*>(name);
        return v;
    }
    json_value* text(const char* name, const char* value) {
        json_value* v = node(json_string, name);
        v->string_value = const_cast<char*>(value);
        return v;
    }
    json_value* integer(const char* name, int32_t value) {
        json_value* v = node(json_int, name);
        v->int_value = value;
        return v;
    }
    json_value* real(const char* name, float value) {
        json_value* v = node(json_float, name);
        v->float_value = value;
        return v;
    }
    json_value* boolean(const char* name, bool value) {
        json_value* v = node(json_bool, name);
        v->int_value = value ? 1 : 0;
        return v;
    }
    json_value* with(json_value* container, std::initializer_list<json_value*> children) {
        for (json_value* child : children) {
            append_child(container, child);
        }
        return container;
    }

private:
    block_allocator allocator_{1024};
};

std::string printed(const json_value* node, int level) {
    FILE* file = std::tmpfile();
    EXPECT_TRUE(print_json(node, file, level));
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
    return text;
}

struct WriterCase {
    const char* what;
    std::function<json_value*(Tree&)> build;
    int level;
    std::string expected;
};

class JsonWriter : public ::testing::TestWithParam<WriterCase> {};

TEST_P(JsonWriter, WritesOneValuePerLineWithCommasAtLineEnds) {
    Tree tree;
    EXPECT_EQ(printed(GetParam().build(tree), GetParam().level), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, JsonWriter,
    ::testing::Values(
        WriterCase{"name_and_empty_tag",
                   [](Tree& t) {
                       return t.with(t.node(json_object), {t.text("name", "x"), t.text("tag", "")});
                   },
                   0, "{\n\t\"name\" : \"x\",\n\t\"tag\" : \"\"\n}\n"},
        WriterCase{"empty_array_member_at_level_4", [](Tree& t) { return t.node(json_array, "btn 0"); }, 4,
                   "\t\t\t\t\"btn 0\" : [\n\t\t\t\t]\n"},
        WriterCase{
            "scalars",
            [](Tree& t) {
                return t.with(t.node(json_object),
                              {t.integer("i", -3), t.real("f", 1.5f), t.boolean("t", true),
                               t.boolean("n", false), t.node(json_null, "z")});
            },
            0,
            "{\n\t\"i\" : -3,\n\t\"f\" : 1.500000,\n\t\"t\" : true,\n\t\"n\" : false,\n\t\"z\" : null\n}\n"},
        WriterCase{"absent_node_writes_only_its_indentation", [](Tree&) { return nullptr; }, 2, "\t\t"},
        WriterCase{"nested_containers_close_at_their_own_indentation",
                   [](Tree& t) {
                       return t.with(t.node(json_array),
                                     {t.with(t.node(json_object),
                                             {t.with(t.node(json_array, "a"), {t.integer(nullptr, 1)})}),
                                      t.node(json_object)});
                   },
                   0, "[\n\t{\n\t\t\"a\" : [\n\t\t\t1\n\t\t]\n\t},\n\t{\n\t}\n]\n"},
        WriterCase{"texts_are_not_escaped",
                   [](Tree& t) { return t.with(t.node(json_array), {t.text(nullptr, "a\"b\\")}); }, 0,
                   "[\n\t\"a\"b\\\"\n]\n"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(JsonWriterFailure, AStreamThatCannotStepBackIsReported) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* out = fdopen(fds[1], "w");
    Tree tree;
    json_value* root = tree.with(tree.node(json_array), {tree.integer(nullptr, 1), tree.integer(nullptr, 2)});
    EXPECT_FALSE(print_json(root, out, 0));
    std::fclose(out);
    close(fds[0]);
}

TEST(JsonWriterFailure, AFullDeviceIsReported) {
    FILE* out = std::fopen("/dev/full", "w");
    ASSERT_NE(out, nullptr);
    Tree tree;
    json_value* root = tree.with(tree.node(json_array), {tree.integer(nullptr, 1), tree.integer(nullptr, 2)});
    EXPECT_FALSE(print_json(root, out, 0));
    std::fclose(out);
}

} // namespace
} // namespace padloom

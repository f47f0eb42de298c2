// padloomctl check and format, run as a program on the fixture presets.
#include "tests/tools/ctl_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace padloom::test {
namespace {

const std::string fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/presets";

struct CommandCase {
    const char* what;
    std::vector<std::string> args;
    std::string out; // "@name": the bytes of that fixture
    int status;
    std::optional<std::string> err = std::nullopt; // checked when given
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.what;
}

class Padloomctl : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Padloomctl, PrintsAndExitsAsDocumented) {
    Ctl ctl(GetParam().args, "", fixtures);
    const int status = ctl.finish();
    const std::string& expected = GetParam().out;
    EXPECT_EQ(ctl.out(),
              expected.rfind('@', 0) == 0 ? fileText(fixtures + "/" + expected.substr(1)) : expected);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, GetParam().status);
    if (GetParam().err) {
        EXPECT_EQ(ctl.err(), *GetParam().err);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, Padloomctl,
    ::testing::Values(
        CommandCase{"check_several",
                    {"check", "racing.json", "name-only.json", "racing-compact.json", "follows-programs.json"},
                    "ok racing.json\nok name-only.json\nok racing-compact.json\nok follows-programs.json\n",
                    0},
        CommandCase{
            "check_schema_failure",
            {"check", "bad-bind.json", "racing.json"},
            "failed bad-bind.json\nok racing.json\n",
            1,
            "padloomctl: bad-bind.json: Joystick section 2, bind \"btn 2 +\": not a joystick input\n"},
        CommandCase{"check_device_then_next_file",
                    {"check", "/dev/zero", "racing.json"},
                    "Can't open /dev/zero\nfailed /dev/zero\nok racing.json\n",
                    1,
                    "padloomctl: /dev/zero: Can't open /dev/zero: it is not a regular file\n"},
        CommandCase{"check_syntax_failure",
                    {"check", "bad-syntax.json"},
                    "Error at line 3: Unexpected character\noops\n}\n\n\nfailed bad-syntax.json\n",
                    1,
                    "padloomctl: bad-syntax.json: Error at line 3: Unexpected character\n"},
        CommandCase{"check_empty_file",
                    {"check", "empty.json"},
                    "Error at line 0: Empty file\n\n\nfailed empty.json\n",
                    1,
                    "padloomctl: empty.json: Error at line 0: Empty file\n"},
        CommandCase{"check_missing_file",
                    {"check", "missing.json"},
                    "Can't open missing.json\nfailed missing.json\n",
                    1,
                    "padloomctl: missing.json: Can't open missing.json\n"},
        CommandCase{"check_without_files", {"check"}, "", 2},
        CommandCase{"format_layout_unchanged", {"format", "racing.json"}, "@racing.json", 0},
        CommandCase{"format_compact_text", {"format", "racing-compact.json"}, "@racing.json", 0},
        CommandCase{"format_keeps_programs_after_sections",
                    {"format", "follows-programs-compact.json"},
                    "@follows-programs.json",
                    0},
        CommandCase{"format_adds_empty_tag",
                    {"format", "name-only.json"},
                    "{\n\t\"name\" : \"Only a name\",\n\t\"tag\" : \"\"\n}\n",
                    0},
        CommandCase{"format_unreadable", {"format", "bad-bind.json"}, "", 1},
        CommandCase{"format_missing_file", {"format", "missing.json"}, "Can't open missing.json\n", 1},
        CommandCase{"format_two_files", {"format", "racing.json", "name-only.json"}, "", 2}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PadloomctlFormat, ReportsAnOutputThatCannotBeWritten) {
    Ctl ctl({"format", "racing.json"}, "", fixtures, {}, "/dev/full");
    const int status = ctl.finish();
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
}

TEST(PadloomctlCheck, EveryShippedExamplePresetChecks) {
    std::vector<std::string> args{"check"};
    std::string expected;
    for (const auto& entry :
         std::filesystem::directory_iterator(PADLOOM_SOURCE_DIR "/resources/presetexamples")) {
        args.push_back(entry.path().string());
        expected += "ok " + entry.path().string() + "\n";
    }
    ASSERT_GT(args.size(), 1u) << "no example presets";
    Ctl ctl(args, "", fixtures);
    EXPECT_EQ(ctl.finish(), 0);
    EXPECT_EQ(ctl.out(), expected);
}

} // namespace
} // namespace padloom::test

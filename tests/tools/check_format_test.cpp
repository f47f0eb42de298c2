// padloomctl check and format, run as a program on the fixture presets.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>

namespace {

const std::string fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/presets";
const std::string program = PADLOOM_BINARY_DIR "/padloomctl";

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;
};

// Runs padloomctl in the fixture folder with the given arguments.
Outcome padloomctl(const std::string& arguments) {
    const padloom::test::TempFolder folder;
    const std::string errors = folder.file("stderr");
    const std::string command =
        "cd '" + fixtures + "' && '" + program + "' " + arguments + " 2>'" + errors + "'";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char chunk[4096];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        run.out.append(chunk, count);
    }
    const int wait = pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    run.err = padloom::test::readBytes(errors);
    return run;
}

std::string fixture(const std::string& name) {
    std::ifstream in(fixtures + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Padloomctl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(program)) << "padloomctl has not been built: " << program;
    }
};

struct CommandCase {
    const char* what;
    std::string arguments;
    std::string out; // "@name": the bytes of that fixture
    int status;
    std::optional<std::string> err = std::nullopt; // checked when given
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.what;
}

class PadloomctlCommand : public Padloomctl, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(PadloomctlCommand, PrintsAndExitsAsDocumented) {
    const Outcome run = padloomctl(GetParam().arguments);
    const std::string& expected = GetParam().out;
    EXPECT_EQ(run.out, expected.rfind('@', 0) == 0 ? fixture(expected.substr(1)) : expected);
    EXPECT_EQ(run.status, GetParam().status);
    if (GetParam().err) {
        EXPECT_EQ(run.err, *GetParam().err);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PadloomctlCommand,
    ::testing::Values(
        CommandCase{"check_one", "check racing.json", "ok racing.json\n", 0},
        CommandCase{
            "check_several", "check racing.json name-only.json racing-compact.json follows-programs.json",
            "ok racing.json\nok name-only.json\nok racing-compact.json\nok follows-programs.json\n", 0},
        CommandCase{
            "check_schema_failure", "check bad-bind.json racing.json",
            "failed bad-bind.json\nok racing.json\n", 1,
            "padloomctl: bad-bind.json: Joystick section 2, bind \"btn 2 +\": not a joystick input\n"},
        CommandCase{"check_device_then_next_file", "check /dev/zero racing.json",
                    "Can't open /dev/zero\nfailed /dev/zero\nok racing.json\n", 1,
                    "padloomctl: /dev/zero: Can't open /dev/zero: it is not a regular file\n"},
        CommandCase{"check_syntax_failure", "check bad-syntax.json",
                    "Error at line 3: Unexpected character\noops\n}\n\n\nfailed bad-syntax.json\n", 1},
        CommandCase{"check_empty_file", "check empty.json",
                    "Error at line 0: Empty file\n\n\nfailed empty.json\n", 1},
        CommandCase{"check_missing_file", "check missing.json",
                    "Can't open missing.json\nfailed missing.json\n", 1},
        CommandCase{"check_without_files", "check", "", 2},
        CommandCase{"format_layout_unchanged", "format racing.json", "@racing.json", 0},
        CommandCase{"format_compact_text", "format racing-compact.json", "@racing.json", 0},
        CommandCase{"format_keeps_programs_after_sections", "format follows-programs-compact.json",
                    "@follows-programs.json", 0},
        CommandCase{"format_adds_empty_tag", "format name-only.json",
                    "{\n\t\"name\" : \"Only a name\",\n\t\"tag\" : \"\"\n}\n", 0},
        CommandCase{"format_unreadable", "format bad-bind.json", "", 1},
        CommandCase{"format_missing_file", "format missing.json", "Can't open missing.json\n", 1},
        CommandCase{"format_without_file", "format", "", 2},
        CommandCase{"format_two_files", "format racing.json name-only.json", "", 2}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Padloomctl, FormatReportsAnOutputThatCannotBeWritten) {
    EXPECT_EQ(padloomctl("format racing.json >/dev/full").status, 1);
}

TEST_F(Padloomctl, EveryShippedExamplePresetChecks) {
    const std::filesystem::path examples = PADLOOM_SOURCE_DIR "/resources/presetexamples";
    std::string arguments = "check";
    std::string expected;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        arguments += " '" + entry.path().string() + "'";
        expected += "ok " + entry.path().string() + "\n";
    }
    if (expected.empty()) {
        GTEST_SKIP() << "no example presets";
    }
    const Outcome run = padloomctl(arguments);
    // directory order is the same for both walks of the same folder
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.status, 0);
}

} // namespace

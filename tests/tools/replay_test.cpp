// padloomctl replay, run as a program: each fixture folder under tests/fixtures/replay holds a
// preset, a script and the events the engine must post for them, worked out by hand from the rules
// of the engine.
#include "tests/tools/ctl_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace padloom::test {
namespace {

namespace fs = std::filesystem;

const fs::path fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/replay";

class ReplayFixture : public ::testing::TestWithParam<std::string> {};

// A folder named explain* holds the plain reading that --explain adds.
TEST_P(ReplayFixture, PrintsTheEventsWorkedOutByHand) {
    const std::string name = GetParam();
    std::vector<std::string> args{"replay", name + "/preset.json", name + "/script.replay"};
    if (name.starts_with("explain")) {
        args.insert(args.begin() + 1, "--explain");
    }
    Ctl ctl(args, "", fixtures.string());
    EXPECT_EQ(ctl.exitStatus(), 0);
    EXPECT_EQ(ctl.out(), readBytes((fixtures / name / "expected.txt").string()));
    EXPECT_EQ(ctl.err(), "");
}

// Every folder of the fixture tree, so that a new fixture runs without being listed here.
std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fixtures)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReplayFixture, ::testing::ValuesIn(fixtureNames()), [](const auto& info) {
    std::string name = info.param;
    std::erase(name, '-');
    return name;
});

TEST(Replay, RunsTheShippedDemo) {
    Ctl ctl({"replay", PADLOOM_SOURCE_DIR "/resources/presetexamples/Desktop Navigation.txt",
             PADLOOM_SOURCE_DIR "/resources/demo/desktop-navigation.replay"},
            "", fixtures.string());
    EXPECT_EQ(ctl.exitStatus(), 0);
    EXPECT_EQ(ctl.err(), "");
    for (const char* event : {"motion 5 ", "scroll pixels ", "mouse 1 "}) {
        EXPECT_NE(ctl.out().find(event), std::string::npos) << ctl.out();
    }
}

} // namespace
} // namespace padloom::test

// padloomctl replay, run as a program: each fixture folder under tests/fixtures/replay holds a
// preset, a script and the events the engine must post for them, worked out by hand from the rules
// of the engine; bad scripts and presets must fail with the documented status and message.
#include "tests/tools/ctl_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace padloom::test {
namespace {

namespace fs = std::filesystem;

const fs::path fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/replay";

std::string readFile(const fs::path& path) {
    return fileText(path.string());
}

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;
};

// Runs `padloomctl replay ARGS...` with input on standard input, from the fixture folder.
Outcome replay(const std::vector<std::string>& args, const std::string& input = "") {
    std::vector<std::string> command{"replay"};
    command.insert(command.end(), args.begin(), args.end());
    Ctl ctl(command, input, fixtures.string());
    const int status = ctl.finish();
    return {ctl.out(), ctl.err(), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// ---- fixtures: the events a preset posts for a script ----

class ReplayFixture : public ::testing::TestWithParam<std::string> {};

// A folder named explain* holds the plain reading that --explain adds.
TEST_P(ReplayFixture, PrintsTheEventsWorkedOutByHand) {
    const std::string name = GetParam();
    std::vector<std::string> args{name + "/preset.json", name + "/script.replay"};
    if (name.starts_with("explain")) {
        args.insert(args.begin(), "--explain");
    }
    const Outcome run = replay(args);
    EXPECT_EQ(run.out, readFile(fixtures / name / "expected.txt"));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
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
    const Outcome run = replay({PADLOOM_SOURCE_DIR "/resources/presetexamples/Desktop Navigation.txt",
                                PADLOOM_SOURCE_DIR "/resources/demo/desktop-navigation.replay"});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("motion 5 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("scroll pixels "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("mouse 1 "), std::string::npos) << run.out;
}

// ---- refusals: nothing is printed, the status and the message say why ----

struct RefusalCase {
    std::string name;
    std::vector<std::string> args;
    std::string script; // standard input
    int status;
    std::string message; // standard error contains this
};

class ReplayRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ReplayRefusal, FailsBeforePrintingAnyEvent) {
    const RefusalCase& c = GetParam();
    const Outcome run = replay(c.args, c.script);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

const std::vector<std::string> keysFromStdin{"keys/preset.json", "-"};

std::string repeated(const std::string& line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += line;
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ReplayRefusal,
    ::testing::Values(
        RefusalCase{"UnknownCommand", keysFromStdin, "button 0 1 down\n\njump 3\n", 2,
                    "line 3: unknown command 'jump'\n"},
        RefusalCase{"DeviceAfterAnEvent", keysFromStdin, "device 1 2 0\nbutton 0 1 down\ndevice 1 1 1\n", 2,
                    "line 3: device lines must come before"},
        RefusalCase{"EventOfAMissingDevice", keysFromStdin, "# one section, one device\nbutton 1 0 down\n", 2,
                    "line 2: there is no device 1"},
        RefusalCase{"ButtonTheDeviceLacks", keysFromStdin, "device 2 4 0\nbutton 0 4 down\n", 2,
                    "line 2: device 0 has no button 4"},
        RefusalCase{"AxisValueOutOfRange", keysFromStdin, "axis 0 0 40000\n", 2, "line 1: an axis VALUE"},
        RefusalCase{"HatValueNoHatReports", keysFromStdin, "hat 0 0 5\n", 2, "line 1: a hat VALUE"},
        RefusalCase{"ButtonStateMisspelt", keysFromStdin, "button 0 1 pressed\n", 2,
                    "line 1: expected 'button D N down|up'"},
        RefusalCase{"DisplayWithoutPosition", keysFromStdin, "displays 1920x1080\n", 2,
                    "line 1: '1920x1080' is not a display"},
        RefusalCase{"UnknownOption", keysFromStdin, "option fullscreen on\n", 2,
                    "line 1: expected 'option lock|corners|minecraft on|off'"},
        RefusalCase{"TickWithoutCount", keysFromStdin, "tick 0\n", 2, "line 1: expected 'tick [COUNT]'"},
        RefusalCase{"ButtonOutOfRange", keysFromStdin, "button 16 0 down\n", 2,
                    "line 1: expected 'button D N down|up' with D from 0 to 15 and N from 0 to 254"},
        RefusalCase{"CursorOutOfRange", keysFromStdin, "cursor 10 2e7\n", 2,
                    "line 1: expected 'cursor X Y' with X and Y from -10000000 to 10000000"},
        RefusalCase{"TooManyDisplays", keysFromStdin, "displays" + repeated(" 10x10+0+0", 17) + "\n", 2,
                    "line 1: a displays line lists at most 16 displays"},
        RefusalCase{"TooManyDevices", keysFromStdin, repeated("device 1 1 1\n", 17), 2,
                    "line 17: a script simulates at most 16 devices"},
        RefusalCase{"TooManyPlugs", keysFromStdin, repeated("plug 1 1 1\n", 16), 2,
                    "line 16: a script simulates at most 16 devices"},
        RefusalCase{"EventOfAnUnpluggedDevice", keysFromStdin, "unplug 0\nbutton 0 0 down\n", 2,
                    "line 2: device 0 is unplugged"},
        RefusalCase{"ReplugOfAPluggedDevice", keysFromStdin, "replug 0\n", 2,
                    "line 1: device 0 is plugged in"},
        RefusalCase{"MissingScript", {"keys/preset.json", "no-such.replay"}, "", 2, "can't read the script"},
        RefusalCase{
            "MissingArgument", {"keys/preset.json"}, "", 2, "replay takes a preset file and a script"},
        RefusalCase{"MissingPreset", {"no-such.json", "-"}, "tick\n", 1, "Can't open no-such.json"},
        RefusalCase{"PresetThatDoesNotParse",
                    {"keys/script.replay", "-"},
                    "tick\n",
                    1,
                    "the preset keys/script.replay did not load"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

} // namespace
} // namespace padloom::test

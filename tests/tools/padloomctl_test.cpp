// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl run as a program: what each command prints and how it exits, the events replay
// prints for the replay fixtures, the scripts and presets it refuses, and the stop signals that
// end a command promptly.
#include "tests/support/eventually.h"
#include "tests/tools/ctl_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace padloom::test {
namespace {

const std::string fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/presets";
const std::string replays = PADLOOM_SOURCE_DIR "/tests/fixtures/replay";

struct CommandCase {
    std::string name;
    std::vector<std::string> args;
    int status;
    std::string out; // exactly this; "@name": the bytes of that fixture
    std::string err; // standard error contains this
    std::string input = "";
    std::vector<std::string> env = {}; // as Ctl takes it
};

class Padloomctl : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Padloomctl, PrintsAndExitsAsDocumented) {
    const CommandCase& c = GetParam();
    Ctl ctl(c.args, c.input, fixtures, c.env);
    EXPECT_EQ(ctl.exitStatus(), c.status);
    EXPECT_EQ(ctl.out(), c.out.starts_with('@') ? readBytes(fixtures + "/" + c.out.substr(1)) : c.out);
    EXPECT_NE(ctl.err().find(c.err), std::string::npos) << ctl.err();
}

std::string repeated(const std::string& line, int times) {
    return times > 0 ? line + repeated(line, times - 1) : "";
}

CommandCase command(std::string name, std::vector<std::string> args, int status, std::string out,
                    std::string err = "", std::vector<std::string> env = {}) {
    return {std::move(name), std::move(args), status, std::move(out), std::move(err), "", std::move(env)};
}

// Refused scripts and presets print no event; the status and the message say why.
CommandCase refused(std::string name, std::string script, std::string message,
                    std::vector<std::string> args = {"replay", "../replay/keys/preset.json", "-"},
                    int status = 2) {
    return {std::move(name), std::move(args), status, "", std::move(message), std::move(script)};
}

// run keeps standard output for events: a failed load says why on standard error.
INSTANTIATE_TEST_SUITE_P(
    Commands, Padloomctl,
    ::testing::Values(
        command("CheckSeveral",
                {"check", "racing.json", "name-only.json", "racing-compact.json", "follows-programs.json"}, 0,
                "ok racing.json\nok name-only.json\nok racing-compact.json\nok follows-programs.json\n"),
        command("CheckSchemaFailure", {"check", "bad-bind.json", "racing.json"}, 1,
                "failed bad-bind.json\nok racing.json\n",
                "padloomctl: bad-bind.json: Joystick section 2, bind \"btn 2 +\": not a joystick input\n"),
        command("CheckSticksFailure", {"check", "bad-sticks.json"}, 1, "failed bad-sticks.json\n",
                "section 1, \"sticks\", stick 1: \"deadZone\" \"circle 0.1\" does not read: expected "
                "\"round\" or \"axial\" and a number from 0 to below 1 (\"round 0.1\") (line 9)\n"),
        command("CheckDeviceThenNextFile", {"check", "/dev/zero", "racing.json"}, 1,
                "Can't open /dev/zero\nfailed /dev/zero\nok racing.json\n",
                "padloomctl: /dev/zero: Can't open /dev/zero: it is not a regular file\n"),
        command("CheckSyntaxFailure", {"check", "bad-syntax.json"}, 1,
                "Error at line 3: Unexpected character\noops\n}\n\n\nfailed bad-syntax.json\n",
                "padloomctl: bad-syntax.json: Error at line 3: Unexpected character\n"),
        command("CheckEmptyFile", {"check", "empty.json"}, 1,
                "Error at line 0: Empty file\n\n\nfailed empty.json\n",
                "padloomctl: empty.json: Error at line 0: Empty file\n"),
        command("CheckMissingFile", {"check", "missing.json"}, 1,
                "Can't open missing.json\nfailed missing.json\n",
                "padloomctl: missing.json: Can't open missing.json\n"),
        command("CheckWithoutFiles", {"check"}, 2, ""),
        command("FormatLayoutUnchanged", {"format", "racing.json"}, 0, "@racing.json"),
        command("FormatCompactText", {"format", "racing-compact.json"}, 0, "@racing.json"),
        command("FormatKeepsProgramsAfterSections", {"format", "follows-programs-compact.json"}, 0,
                "@follows-programs.json"),
        command("FormatWritesSticksAfterTag", {"format", "sticks-compact.json"}, 0, "@sticks.json"),
        command("FormatPutsSectionMembersInOrder", {"format", "binds-that-do-more-compact.json"}, 0,
                "@binds-that-do-more.json"),
        command("CheckReadsSectionMembers", {"check", "binds-that-do-more.json"}, 0,
                "ok binds-that-do-more.json\n"),
        command("FormatAddsEmptyTag", {"format", "name-only.json"}, 0,
                "{\n\t\"name\" : \"Only a name\",\n\t\"tag\" : \"\"\n}\n"),
        command("FormatUnreadable", {"format", "bad-bind.json"}, 1, ""),
        command("FormatMissingFile", {"format", "missing.json"}, 1, "Can't open missing.json\n"),
        command("FormatTwoFiles", {"format", "racing.json", "name-only.json"}, 2, ""),
        command("RunLoadError", {"run", "missing.json", "--output", "print"}, 1, "",
                "Can't open missing.json\n"),
        command("RunOutputChosenByEnvironment", {"run", "missing.json"}, 1, "",
                "x11 (as chosen):", {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "PADLOOM_OUTPUT=x11"}),
        command("RunUnknownOutputNamed", {"run", "missing.json"}, 1, "",
                "PADLOOM_OUTPUT=\"bogus\" is not one of auto, x11, uinput, print", {"PADLOOM_OUTPUT=bogus"}),
        refused("UnknownCommand", "button 0 1 down\n\njump 3\n", "line 3: unknown command 'jump'\n"),
        refused("DeviceAfterAnEvent", "device 1 2 0\nbutton 0 1 down\ndevice 1 1 1\n",
                "line 3: device lines must come before"),
        refused("EventOfAMissingDevice", "# one section, one device\nbutton 1 0 down\n",
                "line 2: there is no device 1"),
        refused("ButtonTheDeviceLacks", "device 2 4 0\nbutton 0 4 down\n",
                "line 2: device 0 has no button 4"),
        refused("AxisValueOutOfRange", "axis 0 0 40000\n", "line 1: an axis VALUE"),
        refused("HatValueNoHatReports", "hat 0 0 5\n", "line 1: a hat VALUE"),
        refused("ButtonStateMisspelt", "button 0 1 pressed\n", "line 1: expected 'button D N down|up'"),
        refused("DisplayWithoutPosition", "displays 1920x1080\n", "line 1: '1920x1080' is not a display"),
        refused("UnknownOption", "option fullscreen on\n",
                "line 1: expected 'option lock|corners|minecraft on|off'"),
        refused("TickWithoutCount", "tick 0\n", "line 1: expected 'tick [COUNT]'"),
        refused("ButtonOutOfRange", "button 16 0 down\n",
                "line 1: expected 'button D N down|up' with D from 0 to 15 and N from 0 to 254"),
        refused("CursorOutOfRange", "cursor 10 2e7\n",
                "line 1: expected 'cursor X Y' with X and Y from -10000000 to 10000000"),
        refused("TooManyDisplays", "displays" + repeated(" 10x10+0+0", 17) + "\n",
                "line 1: a displays line lists at most 16 displays"),
        refused("TooManyDevices", repeated("device 1 1 1\n", 17),
                "line 17: a script simulates at most 16 devices"),
        refused("TooManyPlugs", repeated("plug 1 1 1\n", 16),
                "line 16: a script simulates at most 16 devices"),
        refused("EventOfAnUnpluggedDevice", "unplug 0\nbutton 0 0 down\n", "line 2: device 0 is unplugged"),
        refused("ReplugOfAPluggedDevice", "replug 0\n", "line 1: device 0 is plugged in"),
        refused("MissingScript", "", "can't read the script",
                {"replay", "../replay/keys/preset.json", "no-such.replay"}),
        refused("MissingArgument", "", "replay takes a preset file and a script",
                {"replay", "keys/preset.json"}),
        refused("MissingPreset", "tick\n", "Can't open no-such.json", {"replay", "no-such.json", "-"}, 1),
        refused("PresetThatDoesNotParse", "tick\n", "the preset ../replay/keys/script.replay did not load",
                {"replay", "../replay/keys/script.replay", "-"}, 1)),
    [](const auto& info) { return info.param.name; });

TEST(PadloomctlFormat, ReportsAnOutputThatCannotBeWritten) {
    Ctl ctl({"format", "racing.json"}, "", fixtures, {}, "/dev/full");
    EXPECT_EQ(ctl.exitStatus(), 1);
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
    EXPECT_EQ(ctl.exitStatus(), 0);
    EXPECT_EQ(ctl.out(), expected);
    EXPECT_EQ(ctl.err(), "") << "no warning";
}

// A file that reads is ok, whatever the warnings on standard error say about what in it does nothing:
// members the reader passes over (those later builds read aside), outputs with no key or button.
TEST(PadloomctlCheck, WarnsAboutWhatAPresetThatReadsHoldsInVain) {
    const std::string rule = " is ignored (a joystick section is read only from a first member \"tag\" and a "
                             "last member \"binds\")";
    struct Row {
        const char* what;
        std::string preset;
        std::vector<std::string> warnings;
    };
    const Row rows[] = {
        {"BindsBeforeTag",
         "{\"name\":\"Order\",\"joysticks\":[{\"binds\":{\"btn 0\":[\"key 4\"]},\"tag\":\"P\"}]}",
         {"member \"binds\" of joystick section 1" + rule, "member \"tag\" of joystick section 1" + rule}},
        {"MembersNotRead",
         "{\"name\":\"N\",\"comment\":\"c\",\"activateFor\":[\"x\"],\"joysticks\":[{},{\"tag\":\"B\","
         "\"modes\":{},"
         "\"layers\":[],\"x\":1,\"sequences\":{},\"switches\":[],\"sticks\":[],\"binds\":{}}]}",
         {"member \"comment\" at the top level is ignored", "member \"x\" of joystick section 2" + rule}},
        {"KeysAndButtonsThatDoNothing",
         "{\"joysticks\":[{\"binds\":{\"btn 0\":[\"key 4\",\"key 313\",\"key 314\",\"key 108\"],"
         "\"axi 1 -\":[\"mbt 7\",\"mbt 8\",\"key 315\"]}}]}",
         {"joystick section 1, bind \"btn 0\": \"key 314\" names no key, so it does nothing",
          "joystick section 1, bind \"btn 0\": \"key 108\" names no key, so it does nothing",
          "joystick section 1, bind \"axi 1 -\": \"mbt 8\" names no mouse button (0 to 7), so it does "
          "nothing",
          "joystick section 1, bind \"axi 1 -\": \"key 315\" names no key, so it does nothing"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder folder;
        folder.write("p.json", row.preset);
        Ctl ctl({"check", "p.json"}, "", folder.path().string());
        EXPECT_EQ(ctl.exitStatus(), 0);
        EXPECT_EQ(ctl.out(), "ok p.json\n");
        std::string expected;
        for (const std::string& warning : row.warnings) {
            expected += "padloomctl: p.json: warning: " + warning + "\n";
        }
        EXPECT_EQ(ctl.err(), expected);
    }
}

// Each command answers --help (or -h, anywhere before "--") with its own usage and does nothing
// else: activate reaches for no app, check opens no file, run knows the option.
TEST(PadloomctlHelp, EachCommandAnswersWithItsOwnUsage) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"check", "--help"}, "check FILE...\n"},
        {{"format", "racing.json", "-h"}, "format FILE\n"},
        {{"joysticks", "--help"}, "joysticks\n"},
        {{"replay", "--help"}, "replay [--explain] PRESET SCRIPT\n"},
        {{"run", "racing.json", "--help"}, "run PRESET [--output auto|x11|uinput|print]\n"},
        {{"activate", "--help"}, "activate NAME\n"},
        {{"deactivate", "--help"}, "deactivate\n"},
        {{"status", "-h"}, "status\n"},
        {{"--help"}, "<command> ...\n"},
    };
    for (const auto& [args, usage] : cases) {
        SCOPED_TRACE(args[0]);
        Ctl ctl(args, "", fixtures);
        EXPECT_EQ(ctl.exitStatus(), 0);
        EXPECT_TRUE(ctl.out().starts_with("usage: padloomctl " + usage)) << ctl.out();
        EXPECT_EQ(ctl.err(), "");
    }
    Ctl fileNamedHelp({"check", "--", "--help"}, "", fixtures);
    EXPECT_EQ(fileNamedHelp.exitStatus(), 1);
    EXPECT_NE(fileNamedHelp.out().find("failed --help\n"), std::string::npos);
}

// "NAME 1.2.3" and nothing else; the desktop program needs no display for it.
TEST(Versions, BothProgramsAnswerVersion) {
    const auto isVersionOf = [](const std::string& name, const std::string& out) {
        const std::string number = out.substr(std::min(out.size(), name.size() + 1));
        return out.starts_with(name + " ") && number.ends_with("\n") && number.size() > 1 &&
               number.find_first_not_of("0123456789.\n") == std::string::npos;
    };
    Ctl ctl({"--version"}, "", fixtures);
    EXPECT_EQ(ctl.exitStatus(), 0);
    EXPECT_TRUE(isVersionOf("padloomctl", ctl.out())) << ctl.out();
    const std::string padloom = PADLOOM_BINARY_DIR "/padloom";
    if (!std::filesystem::exists(padloom)) {
        GTEST_SKIP() << "the desktop program is not built";
    }
    TempFolder folder;
    const std::string out = folder.file("out");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + padloom + " --version >" + out;
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(isVersionOf("padloom", readBytes(out))) << readBytes(out);
}

// A replay runs SDL; its handlers must not keep the signals from ending it, with the signal's own
// status, as a program that does not handle it.
TEST(StopSignals, EndAReplay) {
    const std::string longScript = "button 0 1 down\n" + repeated("tick 1000000\n", 20000);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        Ctl replay({"replay", "../replay/keys/preset.json", "-"}, longScript, fixtures);
        ASSERT_TRUE(eventually([&] { return !replay.out().empty(); }))
            << "SDL runs once the first event is out";
        kill(replay.pid(), signal);
        const int status = replay.finish();
        ASSERT_NE(status, -1) << "still running twenty seconds after the signal";
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signal);
    }
}

// Each folder under tests/fixtures/replay holds a preset, a script and the events the engine must
// post for them, worked out by hand from the rules of the engine.
class ReplayFixture : public ::testing::TestWithParam<std::string> {};

// A folder named explain* holds the plain reading that --explain adds.
TEST_P(ReplayFixture, PrintsTheEventsWorkedOutByHand) {
    const std::string name = GetParam();
    std::vector<std::string> args{"replay", name + "/preset.json", name + "/script.replay"};
    if (name.starts_with("explain")) {
        args.insert(args.begin() + 1, "--explain");
    }
    Ctl ctl(args, "", replays);
    EXPECT_EQ(ctl.exitStatus(), 0);
    EXPECT_EQ(ctl.out(), readBytes(replays + "/" + name + "/expected.txt"));
    EXPECT_EQ(ctl.err(), "");
}

// Every folder of the fixture tree, so that a new fixture runs without being listed here.
std::vector<std::string> fixtureNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(replays)) {
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
            "", replays);
    EXPECT_EQ(ctl.exitStatus(), 0);
    EXPECT_EQ(ctl.err(), "");
    for (const char* event : {"motion 5 ", "scroll pixels ", "mouse 1 "}) {
        EXPECT_NE(ctl.out().find(event), std::string::npos) << ctl.out();
    }
}

} // namespace
} // namespace padloom::test

// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl and padloom --activate drive the running app over the session bus (each test runs
// on a bus of its own, under dbus-run-session): the app here is the real shell in-process, with
// its remote control on the bus and a virtual joystick, so presets really switch on.
#include "platform/gtk/desktop/remote_actions.h"
#include "platform/gtk/desktop/remote_client.h"
#include "platform/gtk/wayland/focus_reports.h"
#include "tests/integration/shell_harness.h"

#include <algorithm>
#include <sstream>

namespace padloom::test {
namespace {

const std::string ctl = PADLOOM_BINARY_DIR "/padloomctl";
const std::string padloom = PADLOOM_BINARY_DIR "/padloom";

// The application on the bus, with its remote control, as padloom's main program sets it up.
struct BusApplication {
    BusApplication() { EXPECT_TRUE(g_application_register(application.get(), nullptr, nullptr)); }
    std::unique_ptr<GApplication, void (*)(gpointer)> application{
        g_application_new(remote::applicationId, G_APPLICATION_DEFAULT_FLAGS), g_object_unref};
    RemoteActions actions{application.get()};
};

// gdbus calling a method (by its name in the interface) of the app's object on the session bus.
std::vector<std::string> gdbusCall(const std::string& interface, const std::string& method,
                                   const std::vector<std::string>& args) {
    std::vector<std::string> words = {"gdbus",
                                      "call",
                                      "--session",
                                      "--dest",
                                      remote::applicationId,
                                      "--object-path",
                                      remote::objectPath,
                                      "--method",
                                      interface + "." + method};
    words.insert(words.end(), args.begin(), args.end());
    return words;
}

class RemoteControl : public HarnessTest {
protected:
    RemoteControl()
        : HarnessTest({{"Pad.txt", presetText("Pad", "first")},
                       {"two.json", presetText("Second", "by name")},
                       {"twin-a.txt", presetText("Twin", "a")},
                       {"twin-b.txt", presetText("Twin", "b")},
                       {"Broken.txt", "{ nope"}}) {}
};

TEST_F(RemoteControl, PresetsSwitchByFileOrPresetName) {
    harness.plug(2, 4, 1);
    ProgramOutcome alone = runProgram({ctl, "status"});
    EXPECT_EQ(alone.exit, 1);
    EXPECT_EQ(alone.err, "padloomctl: Padloom is not running.\n");

    BusApplication bus;
    bus.actions.attach(&harness.controller());
    const std::tuple<std::vector<std::string>, int, const char*, const char*, const char*> steps[] = {
        // padloomctl's words or "padloom" and its options; the exit status; the output; a part of
        // the error, which the page's notice also tells; the files the main page marks active
        {{ctl, "status"}, 0, "none\n", "", ""},
        {{ctl, "activate", "Pad.txt"}, 0, "", "", "Pad.txt"},
        {{ctl, "status"}, 0, "Pad.txt\n", "", "Pad.txt"},
        {{ctl, "activate", "Second"}, 0, "", "", "two.json"},
        {{ctl, "activate", "Twin"},
         1,
         "",
         "Several presets are named \"Twin\" (twin-a.txt, twin-b.txt)",
         "two.json"},
        {{ctl, "activate", "nothing.txt"},
         1,
         "",
         "No preset has the file name or the name \"nothing.txt\".",
         "two.json"},
        {{padloom, "--activate", "Pad"}, 0, "", "", "Pad.txt"},
        {{padloom, "--activate", "Nothing"}, 1, "", "No preset has the file name", "Pad.txt"},
        // a file that no longer reads leaves the active preset on
        {{ctl, "activate", "Broken.txt"}, 1, "", "The preset file could not be read", "Pad.txt"},
        {{padloom, "--activate", "Broken.txt"}, 1, "", "The preset file could not be read", "Pad.txt"},
        {{ctl, "status"}, 0, "Pad.txt\n", "", "Pad.txt"},
        {{ctl, "deactivate"}, 0, "", "", ""},
        {{ctl, "status"}, 0, "none\n", "", ""},
        // what scripts may use: the application actions, and the interface itself
        {{"gapplication", "action", remote::applicationId, "activate", "'Second'"}, 0, "", "", "two.json"},
        {{"gapplication", "action", remote::applicationId, "deactivate"}, 0, "", "", ""},
        {gdbusCall(remote::remoteInterface, "Activate", {"Second"}), 0, "('two.json',)\n", "", "two.json"},
        {gdbusCall(remote::remoteInterface, "Activate", {"Twin"}), 1, "", "Several presets are named",
         "two.json"},
    };
    for (const auto& [command, exit, out, errPart, active] : steps) {
        SCOPED_TRACE(command[1] + " " + command.back());
        const ProgramOutcome outcome = runProgram(command);
        EXPECT_EQ(outcome.exit, exit) << outcome.err;
        EXPECT_EQ(outcome.out, out);
        EXPECT_NE(outcome.err.find(errPart), std::string::npos) << outcome.err;
        EXPECT_EQ(harness.markedPresets(), active);
        EXPECT_EQ(harness.controller().runner().active(), *active != '\0');
        if (exit != 0) {
            EXPECT_NE(harness.notice().find(errPart), std::string::npos);
            harness.main("hideNotice()");
        }
    }
}

// A desktop helper that must be enabled before it reports, as GNOME Shell's extension must.
class StandInHelper : public DesktopHelper {
public:
    void start() override { ++started; }
    void stop() override { ++stopped; }
    FollowerState state(bool reported) const override {
        return enabled || reported ? FollowerState{true, "The stand-in reports.", false}
                                   : FollowerState{false, "Enable the stand-in.", true};
    }
    void enable(std::function<void()> done) override {
        enabled = true;
        done();
    }
    int started = 0, stopped = 0;
    bool enabled = false;
};

// Desktop helpers (Padloom's KWin script, its GNOME Shell extension) report the focused window on
// the app's own connection; presets follow these reports as they follow X11's active window.
TEST(FocusReportsOnTheBus, PresetsFollowTheReportedProgram) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    BusApplication bus;
    auto owned = std::make_unique<StandInHelper>();
    StandInHelper& helper = *owned;
    FocusReports reports(g_application_get_dbus_connection(bus.application.get()), remote::objectPath,
                         std::move(owned));
    ShellHarness harness;
    harness.focusMonitor = &reports;
    harness.writePreset("Hand.txt", presetText("Hand", "by hand"));
    harness.writePreset("Game.txt", R"({"name":"Game","activateFor":["org.example.Game"],"joysticks":[{}]})");
    harness.start();
    EXPECT_EQ(helper.started, 1);
    harness.plug(2, 4, 1);

    // The editor tells what the helper says, and its button enables it.
    ASSERT_TRUE(harness.openEditor());
    const auto editorSays = [&](const std::string& text, bool button) {
        return pumpUntil([&] {
            return harness.config("$('#programs > .following').text()") == ScriptValue(text) &&
                   harness.config("$('#programs > .enable-follower').is(':visible')") == ScriptValue(button);
        });
    };
    EXPECT_TRUE(editorSays("Enable the stand-in.", true));
    harness.config("$('#programs > .enable-follower').click(); true");
    EXPECT_TRUE(editorSays("The stand-in reports.", false));
    ASSERT_TRUE(harness.closeEditor());

    const auto report = [](const std::string& method, const std::vector<std::string>& args = {}) {
        return runProgram(gdbusCall("io.github.padloom.Padloom.FocusFollowing", method, args));
    };
    const auto current = [&] { return harness.controller().focusFollowing().currentPreset().value_or(""); };
    const auto runs = [&](const std::string& file) { return pumpUntil([&] { return current() == file; }); };
    ASSERT_TRUE(harness.controller().activatePreset("Hand.txt"));
    EXPECT_EQ(report("WindowFocused", {"org.example.Game", "Game title"}).exit, 0);
    EXPECT_TRUE(runs("Game.txt"));
    // The app's own window, by its app id, right after another program's: nothing switches.
    EXPECT_EQ(report("WindowFocused", {"org.example.Other", ""}).exit, 0);
    EXPECT_EQ(report("WindowFocused", {"io.github.padloom.Padloom", "Padloom"}).exit, 0);
    EXPECT_FALSE(pumpUntil([&] { return current() != "Game.txt"; }, std::chrono::milliseconds(600)));
    EXPECT_EQ(report("FocusGone").exit, 0);
    EXPECT_TRUE(runs("Hand.txt"));

    const ProgramOutcome tooLong = report("WindowFocused", {std::string(513, 'a'), ""});
    EXPECT_EQ(tooLong.exit, 1);
    EXPECT_NE(tooLong.err.find("longer than 512 bytes"), std::string::npos) << tooLong.err;

    // Once following ends (the app quits), the helper is stopped and nothing answers.
    harness.controller().focusFollowing().stop();
    EXPECT_EQ(helper.stopped, 1);
    EXPECT_NE(report("FocusGone").exit, 0);
}

// A second taker of reports on the same connection and path is refused, and says so.
TEST(FocusReportsOnTheBus, ASecondTakerIsRefusedAndSaysWhy) {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_NE(bus, nullptr);
    FocusReports first(bus, remote::objectPath, std::make_unique<StandInHelper>());
    FocusReports second(bus, remote::objectPath, std::make_unique<StandInHelper>());
    first.install([](const FocusedWindow&) {});
    second.install([](const FocusedWindow&) {});
    EXPECT_EQ(first.state().text, "Enable the stand-in.");
    EXPECT_FALSE(second.state().followable);
    EXPECT_NE(second.state().text.find("cannot take focus reports"), std::string::npos)
        << second.state().text;
    g_object_unref(bus);
}

// Names reach the terminal with their control characters escaped, and as UTF-8 over D-Bus; a
// name typed with bytes that are not UTF-8 finds its file as the list shows it.
class RemoteNames : public HarnessTest {
protected:
    RemoteNames()
        : HarnessTest({{"\x1b]0;pwned\x07\x1b[2J.txt", presetText("Ctl", "")},
                       {"caf\xE9.txt", presetText("Cafe", "")}}) {}
};

TEST_F(RemoteNames, ReachTheTerminalEscaped) {
    harness.plug(2, 4, 1);
    BusApplication bus;
    bus.actions.attach(&harness.controller());
    const std::tuple<std::string, int, std::string, std::string> steps[] = {
        // the preset asked for ("" for status), the exit status, the output, the error output
        {"Ctl", 0, "", ""},
        {"", 0, "\\x1b]0;pwned\\x07\\x1b[2J.txt\n", ""},
        {"caf\xE9.txt", 0, "", ""},
        {"", 0, "caf\xEF\xBF\xBD.txt\n", ""},
        {"no\x1b[2J", 1, "", "padloomctl: No preset has the file name or the name \"no\\x1b[2J\".\n"},
    };
    for (const auto& [name, exit, out, err] : steps) {
        SCOPED_TRACE(name);
        const ProgramOutcome outcome =
            runProgram(name.empty() ? std::vector<std::string>{ctl, "status"}
                                    : std::vector<std::string>{ctl, "activate", name});
        EXPECT_EQ(outcome.exit, exit);
        EXPECT_EQ(outcome.out, out);
        EXPECT_EQ(outcome.err, err);
    }
}

// Two callers at once, each in a loop: a deactivation beside activations that fail, and beside
// activations that succeed. Every caller hears the answer to its own request, every time.
TEST_F(RemoteControl, ConcurrentCallersEachHearTheirOwnAnswer) {
    harness.plug(2, 4, 1);
    BusApplication bus;
    bus.actions.attach(&harness.controller());
    // A line per call: its command, its exit status, what it printed on either stream.
    const std::string loops = R"(
        for i in $(seq "$2"); do e=$("$0" deactivate 2>&1); echo "deactivate $? $e"; done &
        for i in $(seq "$2"); do e=$("$0" activate "$1" 2>&1); echo "activate $? $e"; done
        wait)";
    const std::tuple<const char*, const char*, int> cases[] = {
        // the preset activated beside the deactivations, what each activation says, how many of each
        {"NoSuchPreset", "activate 1 padloomctl: No preset has the file name or the name \"NoSuchPreset\".",
         60},
        {"Pad.txt", "activate 0 ", 40},
    };
    for (const auto& [preset, activation, times] : cases) {
        SCOPED_TRACE(preset);
        const ProgramOutcome outcome = runProgram({"sh", "-c", loops, ctl, preset, std::to_string(times)});
        ASSERT_EQ(outcome.exit, 0) << outcome.err;
        std::map<std::string, int> lines;
        std::istringstream in(outcome.out);
        for (std::string line; std::getline(in, line);) {
            ++lines[line];
        }
        EXPECT_EQ(lines, (std::map<std::string, int>{{"deactivate 0 ", times}, {activation, times}}));
    }
}

using RemoteStart = HarnessTest;

// padloom --activate started while the first instance is starting: the request waits until the
// preset list is shown, then the preset is switched on and the caller hears so.
TEST_F(RemoteStart, ARequestDuringStartUpWaitsForThePresetList) {
    harness.writePreset("Pad.txt", presetText("Pad", "first"));
    harness.plug(2, 4, 1);
    BusApplication bus;
    // The app starts once the caller's request waits; a request answered before that fails.
    const auto start = everyTick([&] {
        if (bus.actions.requests().waiting() == 0) {
            return false;
        }
        harness.start();
        bus.actions.attach(&harness.controller());
        return true;
    });
    const ProgramOutcome caller = runProgram({padloom, "--activate", "Pad"});
    EXPECT_EQ(caller.exit, 0) << caller.err;
    EXPECT_EQ(caller.err, "");
    EXPECT_TRUE(harness.controller().runner().active());
    EXPECT_EQ(harness.markedPresets(), "Pad.txt");
}

// A real panel (the page's question before a deletion) refuses requests while it waits for the
// user; once answered, requests are taken again.
TEST_F(RemoteStart, APanelRefusesRequestsUntilItIsAnswered) {
    harness.writePreset("Pad.txt", presetText("Pad", "first"));
    harness.useRealDialogs = true;
    harness.start();
    harness.plug(2, 4, 1);
    BusApplication bus;
    bus.actions.attach(&harness.controller());
    // Later: the page's question holds its script until answered.
    harness.main("setTimeout(() => $('.preset .delete').first().click()); true");
    ASSERT_TRUE(pumpUntil([&] { return harness.controller().switching().panelOpen(); }));
    const ProgramOutcome refused = runProgram({ctl, "activate", "Pad.txt"});
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.err.find("waiting for an answer in one of its windows"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(harness.controller().runner().active());

    PanelReader answer{"No"};
    ASSERT_TRUE(pumpUntil([&] { return answer.seen && !harness.controller().switching().panelOpen(); }));
    EXPECT_EQ(runProgram({ctl, "activate", "Pad.txt"}).exit, 0);
    EXPECT_TRUE(harness.controller().runner().active());
}

} // namespace
} // namespace padloom::test

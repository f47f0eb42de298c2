// padloomctl and padloom --activate drive the running app over the session bus (each test runs
// on a bus of its own, under dbus-run-session): the app here is the real shell in-process, with
// its remote control on the bus and a virtual joystick, so presets really switch on.
#include "platform/gtk/desktop/remote_actions.h"
#include "platform/gtk/desktop/remote_client.h"
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

class RemoteControl : public HarnessTest {
protected:
    RemoteControl()
        : HarnessTest({{"Pad.txt", presetText("Pad", "first")},
                       {"two.json", presetText("Second", "by name")},
                       {"twin-a.txt", presetText("Twin", "a")},
                       {"twin-b.txt", presetText("Twin", "b")},
                       {"Broken.txt", "{ nope"}}) {}

    std::string marked() {
        return harness
            .main("$('#presetList > .preset.selected').map((i, e) => $(e).data('file')).get().join()")
            .text();
    }
};

TEST_F(RemoteControl, PresetsSwitchByFileOrPresetName) {
    HeldJoystick pad(2, 4, 1);
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
        {{"gdbus", "call", "--session", "--dest", remote::applicationId, "--object-path", remote::objectPath,
          "--method", std::string(remote::remoteInterface) + ".Activate", "Second"},
         0,
         "('two.json',)\n",
         "",
         "two.json"},
        {{"gdbus", "call", "--session", "--dest", remote::applicationId, "--object-path", remote::objectPath,
          "--method", std::string(remote::remoteInterface) + ".Activate", "Twin"},
         1,
         "",
         "Several presets are named",
         "two.json"},
    };
    for (const auto& [command, exit, out, errPart, active] : steps) {
        SCOPED_TRACE(command[1] + " " + command.back());
        const ProgramOutcome outcome = runProgram(command);
        EXPECT_EQ(outcome.exit, exit) << outcome.err;
        EXPECT_EQ(outcome.out, out);
        EXPECT_NE(outcome.err.find(errPart), std::string::npos) << outcome.err;
        EXPECT_EQ(marked(), active);
        EXPECT_EQ(harness.controller().runner.active(), *active != '\0');
        if (exit != 0) {
            EXPECT_NE(harness.main("$('#notice.open #noticeText').text()").text().find(errPart),
                      std::string::npos);
            harness.main("hideNotice()");
        }
    }
}

// Two callers at once, each in a loop: a deactivation beside activations that fail, and beside
// activations that succeed. Every caller hears the answer to its own request, every time.
TEST_F(RemoteControl, ConcurrentCallersEachHearTheirOwnAnswer) {
    HeldJoystick pad(2, 4, 1);
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
    HeldJoystick pad(2, 4, 1);
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
    EXPECT_TRUE(harness.controller().runner.active());
    EXPECT_EQ(harness.main("$('.preset.selected').data('file')"), ScriptValue("Pad.txt"));
}

// A real panel (the page's question before a deletion) refuses requests while it waits for the
// user; once answered, requests are taken again.
TEST_F(RemoteStart, APanelRefusesRequestsUntilItIsAnswered) {
    harness.writePreset("Pad.txt", presetText("Pad", "first"));
    harness.useRealDialogs = true;
    harness.start();
    HeldJoystick pad(2, 4, 1);
    BusApplication bus;
    bus.actions.attach(&harness.controller());
    // Later: the page's question holds its script until answered.
    harness.main("setTimeout(() => $('.preset .delete').first().click()); true");
    ASSERT_TRUE(pumpUntil([&] { return harness.controller().panelOpen(); }));
    const ProgramOutcome refused = runProgram({ctl, "activate", "Pad.txt"});
    EXPECT_EQ(refused.exit, 1);
    EXPECT_NE(refused.err.find("waiting for an answer in one of its windows"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(harness.controller().runner.active());

    PanelReader answer{"No"};
    ASSERT_TRUE(pumpUntil([&] { return answer.seen && !harness.controller().panelOpen(); }));
    EXPECT_EQ(runProgram({ctl, "activate", "Pad.txt"}).exit, 0);
    EXPECT_TRUE(harness.controller().runner.active());
}

} // namespace
} // namespace padloom::test

// padloomctl and padloom --activate drive the running app over the session bus (each test runs
// on a bus of its own, under dbus-run-session): the app here is the real shell in-process, with
// its application actions on the bus and a virtual joystick, so presets really switch on.
#include "platform/gtk/desktop/remote_actions.h"
#include "platform/gtk/desktop/remote_client.h"
#include "tests/integration/shell_harness.h"

namespace padloom::test {
namespace {

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
    HeldJoystick pad(2, 4, 1);
    const std::string ctl = PADLOOM_BINARY_DIR "/padloomctl";
    const std::string padloom = PADLOOM_BINARY_DIR "/padloom";

    ProgramOutcome alone = runProgram({ctl, "status"});
    EXPECT_EQ(alone.exit, 1);
    EXPECT_EQ(alone.err, "padloomctl: Padloom is not running.\n");

    std::unique_ptr<GApplication, void (*)(gpointer)> application(
        g_application_new(remote::applicationId, G_APPLICATION_DEFAULT_FLAGS), g_object_unref);
    RemoteActions actions(application.get());
    ASSERT_TRUE(g_application_register(application.get(), nullptr, nullptr));
    actions.attach(&harness.controller());
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
    };
    for (const auto& [command, exit, out, errPart, marked] : steps) {
        SCOPED_TRACE(command[1] + (command.size() > 2 ? " " + command[2] : ""));
        const ProgramOutcome outcome = runProgram(command);
        EXPECT_EQ(outcome.exit, exit) << outcome.err;
        EXPECT_EQ(outcome.out, out);
        EXPECT_NE(outcome.err.find(errPart), std::string::npos) << outcome.err;
        EXPECT_EQ(
            harness.main("$('#presetList > .preset.selected').map((i, e) => $(e).data('file')).get().join()"),
            ScriptValue(marked));
        EXPECT_EQ(harness.controller().runner.active(), *marked != '\0');
        if (exit != 0) {
            EXPECT_NE(harness.main("$('#notice.open #noticeText').text()").text().find(errPart),
                      std::string::npos);
            harness.main("hideNotice()");
        }
    }
}

} // namespace
} // namespace padloom::test

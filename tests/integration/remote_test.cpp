// padloomctl and padloom --activate drive the running app over the session bus (each test runs
// on a bus of its own, under dbus-run-session): the app here is the real shell in-process, with
// its application actions on the bus and a virtual joystick, so presets really switch on.
#include "platform/gtk/remote_actions.h"
#include "platform/gtk/remote_client.h"
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

namespace padloom::test {
namespace {

struct Outcome {
    int exit = -1;
    std::string out, err;
};

// Runs a built program while the main loop keeps serving the app.
Outcome run(const std::vector<std::string>& words) {
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    GSubprocess* process = g_subprocess_newv(
        argv.data(), GSubprocessFlags(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_PIPE),
        nullptr);
    if (!process)
        return {};
    struct Pending {
        bool done = false;
        char *out = nullptr, *err = nullptr;
    } pending;
    g_subprocess_communicate_utf8_async(
        process, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* p = static_cast<Pending*>(data);
            g_subprocess_communicate_utf8_finish(G_SUBPROCESS(source), result, &p->out, &p->err, nullptr);
            p->done = true;
        },
        &pending);
    pumpUntil([&] { return pending.done; }, std::chrono::seconds(40));
    if (!pending.done)
        g_subprocess_force_exit(process);
    pumpUntil([&] { return pending.done; });
    Outcome outcome{g_subprocess_get_if_exited(process) ? g_subprocess_get_exit_status(process) : -1,
                    pending.out ? pending.out : "", pending.err ? pending.err : ""};
    g_free(pending.out);
    g_free(pending.err);
    g_object_unref(process);
    return outcome;
}

struct Step {
    std::vector<std::string> command; // padloomctl's words, or "padloom" and its options
    int exit;
    std::string out;
    std::string errPart; // also what the page's notice tells, when the request failed
    std::string marked;  // the file names the main page marks active, joined by commas
};

class RemoteControlTest : public HarnessTest {
protected:
    RemoteControlTest()
        : HarnessTest({{"Pad.txt", presetText("Pad", "first")},
                       {"two.json", presetText("Second", "by name")},
                       {"twin-a.txt", presetText("Twin", "a")},
                       {"twin-b.txt", presetText("Twin", "b")}}) {}
    void SetUp() override {
        HarnessTest::SetUp();
        if (IsSkipped())
            return;
        application = g_application_new(remote::applicationId, G_APPLICATION_DEFAULT_FLAGS);
        actions = std::make_unique<RemoteActions>(application);
    }
    void TearDown() override {
        actions.reset();
        if (application)
            g_object_unref(application);
    }

    std::string marked() {
        return harness
            .main("$('#presetList > .preset.selected').map((i, e) => $(e).data('file')).get().join()")
            .text();
    }

    GApplication* application = nullptr;
    std::unique_ptr<RemoteActions> actions;
};

TEST_F(RemoteControlTest, PresetsSwitchByFileNameOrPresetNameAndTheMainPageShowsWhichIsActive) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    const std::string ctl = PADLOOM_BINARY_DIR "/padloomctl";
    const std::string padloom = PADLOOM_BINARY_DIR "/padloom";

    Outcome alone = run({ctl, "status"});
    EXPECT_EQ(alone.exit, 1);
    EXPECT_EQ(alone.err, "padloomctl: Padloom is not running.\n");

    ASSERT_TRUE(g_application_register(application, nullptr, nullptr));
    actions->attach(&harness.controller());
    const Step steps[] = {
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
        {{ctl, "deactivate"}, 0, "", "", ""},
        {{ctl, "status"}, 0, "none\n", "", ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command[1] + (step.command.size() > 2 ? " " + step.command[2] : ""));
        const Outcome outcome = run(step.command);
        EXPECT_EQ(outcome.exit, step.exit) << outcome.err;
        EXPECT_EQ(outcome.out, step.out);
        EXPECT_NE(outcome.err.find(step.errPart), std::string::npos) << outcome.err;
        EXPECT_EQ(marked(), step.marked);
        EXPECT_EQ(harness.controller().runner.active(), !step.marked.empty());
        if (step.exit != 0) {
            EXPECT_NE(harness.main("$('#notice.open #noticeText').text()").text().find(step.errPart),
                      std::string::npos);
            harness.main("hideNotice()");
        }
    }
}

} // namespace
} // namespace padloom::test

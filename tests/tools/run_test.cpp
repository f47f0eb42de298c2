// padloomctl run, and the stop signals of the commands that run for a while, run as a program:
// standard output carries only events, and SIGINT, SIGTERM and SIGHUP end a command promptly.
#include "tests/support/eventually.h"
#include "tests/tools/ctl_process.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

const std::string fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/replay";

struct ChannelCase {
    const char* what;
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::string message; // standard error contains this
};

TEST(RunOutput, KeepsStandardOutputForEventsAndFollowsPadloomOutput) {
    const ChannelCase cases[] = {
        {"the preset's load error", {"missing.json", "--output", "print"}, {}, "Can't open missing.json\n"},
        {"PADLOOM_OUTPUT chooses without --output",
         {"missing.json"},
         {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "PADLOOM_OUTPUT=x11"},
         "x11 (as chosen):"},
        {"an unknown PADLOOM_OUTPUT is named",
         {"missing.json"},
         {"PADLOOM_OUTPUT=bogus"},
         "PADLOOM_OUTPUT=\"bogus\""},
    };
    for (const ChannelCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{"run"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Ctl run(args, "", fixtures, c.env);
        const int status = run.finish();
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(run.out(), "");
        EXPECT_NE(run.err().find(c.message), std::string::npos) << run.err();
    }
}

// Ends with the signal's own status, as a program that does not handle it.
void expectEndedBy(Ctl& ctl, int signal) {
    kill(ctl.pid(), signal);
    const int status = ctl.finish();
    ASSERT_NE(status, -1) << "still running twenty seconds after the signal";
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signal);
}

// A replay runs SDL; its handlers must not keep the signals from ending it. (run's load can't be
// held up any more: only regular files of bounded size are read.)
TEST(StopSignals, EndAReplay) {
    std::string longScript = "button 0 1 down\n";
    for (int i = 0; i < 20000; ++i) {
        longScript += "tick 1000000\n";
    }
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        Ctl replay({"replay", "keys/preset.json", "-"}, longScript, fixtures);
        ASSERT_TRUE(eventually([&] { return !replay.out().empty(); }))
            << "SDL runs once the first event is out";
        expectEndedBy(replay, signal);
    }
}

} // namespace
} // namespace padloom::test

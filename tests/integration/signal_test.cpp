// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program itself, told to stop by a signal while a pad's button is held and an edit
// is open: each of the stop signals ends it as quitting does, the key let go and the edit saved
// first. The program is padloom_with_pad, a build of the program with a virtual pad inside it;
// each test runs on a session bus of its own.
#include "tests/integration/shell_harness.h"
#include "tests/tools/ctl_process.h"

#include <cstring>

namespace padloom::test {
namespace {

TEST(DesktopProgram, EachStopSignalLetsGoOfTheHeldKeyAndSavesTheOpenEditFirst) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        Ctl padloom({}, "", "/", {"PADLOOM_OUTPUT=print"}, {},
                    PADLOOM_BINARY_DIR "/tests/integration/padloom_with_pad");
        ASSERT_TRUE(pumpUntil([&] { return padloom.out().find("key 49 down") != std::string::npos; },
                              std::chrono::minutes(1)))
            << padloom.err();
        kill(padloom.pid(), signal);
        const int status = padloom.finish();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself: " << padloom.err();
        EXPECT_EQ(WEXITSTATUS(status), 0);
        const std::string events = padloom.out();
        EXPECT_NE(events.find("key 49 up", events.find("key 49 down")), std::string::npos) << events;
        EXPECT_NE(readBytes(padloom.file("data/Padloom/presets/Pad.txt")).find("\"Renamed\""),
                  std::string::npos);
    }
}

} // namespace
} // namespace padloom::test

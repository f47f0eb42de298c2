// The desktop program itself, told to stop by a signal while a pad's button is held and an edit
// is open: each of the stop signals ends it as quitting does, the key let go and the edit saved
// first. The program is padloom_with_pad, a build of the program with a virtual pad inside it;
// each test runs on a session bus of its own.
#include "tests/integration/shell_harness.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padloom::test {
namespace {

// The program with its own data and config folders, printing its events; standard output and
// error in files. Killed if it still runs at the end.
class DesktopProgram {
public:
    explicit DesktopProgram(const TempFolder& home) : home_(home) {
        const std::string out = home.file("out"), err = home.file("err");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(open(out.c_str(), O_WRONLY | O_CREAT, 0600), 1);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT, 0600), 2);
            // As a terminal's program gets them, whatever the test was started from.
            for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
                std::signal(signal, SIG_DFL);
            }
            setenv("XDG_DATA_HOME", home.file("data").c_str(), 1);
            setenv("XDG_CONFIG_HOME", home.file("config").c_str(), 1);
            setenv("PADLOOM_OUTPUT", "print", 1);
            execl(program, program, nullptr);
            _exit(127);
        }
    }
    ~DesktopProgram() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    pid_t pid() const { return pid_; }
    std::string out() const { return readBytes(home_.file("out")); }
    std::string err() const { return readBytes(home_.file("err")); }
    // waitpid's status once the program has ended; -1 when it still runs after a minute.
    int finish() {
        int status = -1;
        if (pumpUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, std::chrono::minutes(1))) {
            pid_ = -1;
            return status;
        }
        return -1;
    }

private:
    static constexpr const char* program = PADLOOM_BINARY_DIR "/tests/integration/padloom_with_pad";
    const TempFolder& home_;
    pid_t pid_ = -1;
};

TEST(DesktopProgram, EachStopSignalLetsGoOfTheHeldKeyAndSavesTheOpenEditFirst) {
    if (!ShellHarness::displayAvailable()) {
        GTEST_SKIP() << "no display";
    }
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        TempFolder home;
        const std::filesystem::path presets = home.path() / "data" / "Padloom" / "presets";
        std::filesystem::create_directories(presets);
        home.write("data/Padloom/presets/Pad.txt", presetText("Pad", "tag"));
        DesktopProgram padloom(home);
        ASSERT_TRUE(pumpUntil([&] { return padloom.out().find("key 0 down") != std::string::npos; },
                              std::chrono::minutes(1)))
            << padloom.err();
        kill(padloom.pid(), signal);
        const int status = padloom.finish();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself: " << padloom.err();
        EXPECT_EQ(WEXITSTATUS(status), 0);
        const std::string events = padloom.out();
        EXPECT_NE(events.find("key 0 up", events.find("key 0 down")), std::string::npos) << events;
        EXPECT_NE(readBytes((presets / "Pad.txt").string()).find("\"Renamed\""), std::string::npos);
    }
}

} // namespace
} // namespace padloom::test

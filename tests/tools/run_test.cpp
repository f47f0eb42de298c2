// padloomctl run, and the stop signals of the commands that run for a while, run as a program:
// standard output carries only events, and SIGINT, SIGTERM and SIGHUP end a command promptly.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <map>
#include <optional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace padloom::test {
namespace {

const std::string fixtures = PADLOOM_SOURCE_DIR "/tests/fixtures/replay/";

using EnvChanges = std::map<std::string, std::optional<std::string>>; // nullopt: unset

// padloomctl with its standard streams in files of a temporary folder, killed if still running.
class Ctl {
public:
    Ctl(const std::vector<std::string>& args, const std::string& input, EnvChanges env = {}) {
        folder_.write("in", input);
        env.emplace("XDG_DATA_HOME", folder_.file("data")); // no preset or setting of the user's
        env.emplace("XDG_CONFIG_HOME", folder_.file("config"));
        std::vector<std::string> vars;
        for (char** v = environ; *v != nullptr; ++v) {
            const std::string var = *v;
            if (env.count(var.substr(0, var.find('='))) == 0) {
                vars.push_back(var);
            }
        }
        for (const auto& [name, value] : env) {
            if (value) {
                vars.push_back(name + "=" + *value);
            }
        }
        std::vector<std::string> argv{PADLOOM_BINARY_DIR "/padloomctl"};
        argv.insert(argv.end(), args.begin(), args.end());
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, folder_.file("in").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, folder_.file("out").c_str(), O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_addopen(&files, 2, folder_.file("err").c_str(), O_WRONLY | O_CREAT, 0600);
        if (posix_spawn(&pid_, argv[0].c_str(), &files, nullptr, pointers(argv).data(),
                        pointers(vars).data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&files);
    }
    ~Ctl() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Ctl(const Ctl&) = delete;
    Ctl& operator=(const Ctl&) = delete;

    pid_t pid() const { return pid_; }
    std::string out() const { return readText("out"); }
    std::string err() const { return readText("err"); }

    // The status waitpid gives once the program has ended; -1 when it was still running after
    // ten seconds (it is killed then).
    int finish() {
        int status = -1;
        for (int i = 0; i < 1000 && pid_ > 0; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
            usleep(10'000);
        }
        return -1;
    }

private:
    static std::vector<char*> pointers(std::vector<std::string>& texts) {
        std::vector<char*> out;
        for (std::string& text : texts) {
            out.push_back(text.data());
        }
        out.push_back(nullptr);
        return out;
    }
    std::string readText(const char* name) const {
        std::ifstream in(folder_.file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    TempFolder folder_;
    pid_t pid_ = -1;
};

bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000 && !condition(); ++i) {
        usleep(10'000);
    }
    return condition();
}

struct ChannelCase {
    const char* what;
    std::vector<std::string> args;
    EnvChanges env;
    std::string message; // standard error contains this
};

TEST(RunOutput, KeepsStandardOutputForEventsAndFollowsPadloomOutput) {
    const EnvChanges noDesktop{{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}};
    auto with = [&](const char* output) {
        EnvChanges env = noDesktop;
        env["PADLOOM_OUTPUT"] = output;
        return env;
    };
    const ChannelCase cases[] = {
        {"the preset's load error", {"missing.json", "--output", "print"}, {}, "Can't open missing.json\n"},
        {"PADLOOM_OUTPUT chooses without --output", {"missing.json"}, with("x11"), "x11 (as chosen):"},
        {"an unknown PADLOOM_OUTPUT is named", {"missing.json"}, with("bogus"), "PADLOOM_OUTPUT=\"bogus\""},
    };
    for (const ChannelCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{"run"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Ctl run(args, "", c.env);
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
    ASSERT_NE(status, -1) << "still running ten seconds after the signal";
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signal);
}

TEST(StopSignals, EndAReplayAndARunStillLoadingItsPreset) {
    std::string longScript = "button 0 1 down\n";
    for (int i = 0; i < 20000; ++i) {
        longScript += "tick 1000000\n";
    }
    TempFolder folder;
    const std::string pipe = folder.file("preset.json");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        Ctl replay({"replay", fixtures + "keys/preset.json", "-"}, longScript);
        ASSERT_TRUE(eventually([&] { return !replay.out().empty(); }))
            << "SDL runs once the first event is out";
        expectEndedBy(replay, signal);

        Ctl run({"run", pipe, "--output", "print"}, "");
        int writer = -1; // opens once run is reading the preset; run then waits for its text
        ASSERT_TRUE(eventually([&] { return (writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }));
        expectEndedBy(run, signal);
        close(writer);
    }
}

} // namespace
} // namespace padloom::test

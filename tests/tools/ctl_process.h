// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl (or another of the project's programs) run as a program: from a folder, with changes
// to its environment, its standard streams in files of a temporary folder, and killed if it is
// still running at the end.
#pragma once

#include "tests/support/temp_folder.h"

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace padloom::test {

class Ctl {
public:
    // env: words for env(1) before the program ("NAME=VALUE", or "-u", "NAME"). The user's presets
    // and settings are never read. outPath: where standard output goes, when not to out().
    Ctl(const std::vector<std::string>& args, const std::string& input, const std::string& folder,
        const std::vector<std::string>& env = {}, const std::string& outPath = {},
        const std::string& program = PADLOOM_BINARY_DIR "/padloomctl") {
        folder_.write("in", input);
        std::vector<std::string> argv{"/usr/bin/env", "-C", folder};
        argv.insert(argv.end(), env.begin(), env.end());
        argv.push_back("XDG_DATA_HOME=" + folder_.file("data"));
        argv.push_back("XDG_CONFIG_HOME=" + folder_.file("config"));
        argv.push_back(program);
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> pointers;
        for (std::string& arg : argv) {
            pointers.push_back(arg.data());
        }
        pointers.push_back(nullptr);
        const std::string in = folder_.file("in"), err = folder_.file("err");
        const std::string out = outPath.empty() ? folder_.file("out") : outPath;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(open(in.c_str(), O_RDONLY), 0);
            dup2(open(out.c_str(), O_WRONLY | O_CREAT, 0600), 1);
            dup2(open(err.c_str(), O_WRONLY | O_CREAT, 0600), 2);
            // A test started in the background by a shell inherits SIGINT ignored; the program
            // under test gets the stop signals as a terminal would send them.
            for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
                std::signal(signal, SIG_DFL);
            }
            execv(pointers[0], pointers.data());
            _exit(127);
        }
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
    // A file of the program's data and config folders: "data/...", "config/...".
    std::string file(const std::string& name) const { return folder_.file(name); }
    std::string out() const { return readBytes(folder_.file("out")); }
    std::string err() const { return readBytes(folder_.file("err")); }

    // The status waitpid gives once the program has ended; -1 when it was still running after
    // twenty seconds.
    int finish() {
        int status = -1;
        for (int i = 0; i < 20000 && pid_ > 0; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
            usleep(1000);
        }
        return -1;
    }
    // The exit status once the program has ended normally, else -1.
    int exitStatus() {
        const int status = finish();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    TempFolder folder_;
    pid_t pid_ = -1;
};

} // namespace padloom::test

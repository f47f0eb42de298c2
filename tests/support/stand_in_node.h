// SPDX-License-Identifier: GPL-3.0-or-later
// A named pipe standing in for a pad's device node, in a temporary folder: writing to it is the
// pad sending input, closing its writer is the pad going away (the node hangs up). And a pipe
// standing in for the kernel's device events.
#pragma once

#include "app/running/pad_wait.h"
#include "tests/support/temp_folder.h"

#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace padloom::test {

class StandInNode {
public:
    StandInNode() : path_(folder_.file("event0")) {
        mkfifo(path_.c_str(), 0600);
        reader_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK); // so that the writer may open first
        writer_ = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
    }
    ~StandInNode() {
        hangUp();
        close(reader_);
    }
    StandInNode(const StandInNode&) = delete;
    StandInNode& operator=(const StandInNode&) = delete;

    bool ok() const { return reader_ >= 0 && writer_ >= 0; }
    void send() { [[maybe_unused]] const ssize_t written = write(writer_, "x", 1); }
    void hangUp() {
        if (writer_ >= 0) {
            close(writer_);
            writer_ = -1;
        }
    }
    PadNodes nodes() const { return {{path_}, false}; }

private:
    TempFolder folder_;
    std::string path_;
    int reader_ = -1;
    int writer_ = -1;
};

// A pipe standing in for the kernel's device events: writing to it is a pad that comes or goes,
// closing its writer a source that fails.
class StandInDeviceChanges {
public:
    StandInDeviceChanges() { ok_ = pipe2(fds_, O_NONBLOCK | O_CLOEXEC) == 0; }
    ~StandInDeviceChanges() {
        close(fds_[0]);
        fail();
    }
    StandInDeviceChanges(const StandInDeviceChanges&) = delete;
    StandInDeviceChanges& operator=(const StandInDeviceChanges&) = delete;

    bool ok() const { return ok_; }
    void change() { [[maybe_unused]] const ssize_t written = write(fds_[1], "c", 1); }
    void fail() {
        if (fds_[1] >= 0) {
            close(fds_[1]);
            fds_[1] = -1;
        }
    }
    PadWait::ChangeSource source() {
        return [this] { return std::make_unique<Reader>(fds_[0]); };
    }

private:
    class Reader final : public DeviceChanges {
    public:
        explicit Reader(int fd) : fd_(fd) {}
        std::vector<int> fds() const override { return {fd_}; }
        void drain(int fd) override {
            char buffer[64];
            while (read(fd, buffer, sizeof buffer) > 0) {
            }
        }

    private:
        int fd_;
    };

    int fds_[2] = {-1, -1};
    bool ok_ = false;
};

} // namespace padloom::test

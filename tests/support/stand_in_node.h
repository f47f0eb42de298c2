// SPDX-License-Identifier: GPL-3.0-or-later
// A named pipe standing in for a pad's device node, in a temporary folder: writing to it is the
// pad sending input, closing its writer is the pad going away (the node hangs up). As the
// kernel's device events instead, sending is a pad that comes or goes, hanging up a source that fails.
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
    PadWait::ChangeSource changeSource() const {
        return [fd = reader_] { return std::make_unique<Changes>(fd); };
    }

private:
    struct Changes final : DeviceChanges {
        explicit Changes(int fd) : fd(fd) {}
        std::vector<int> fds() const override { return {fd}; }
        void drain(int) override {
            char buffer[64];
            while (read(fd, buffer, sizeof buffer) > 0) {
            }
        }
        int fd;
    };

    TempFolder folder_;
    std::string path_;
    int reader_ = -1;
    int writer_ = -1;
};

} // namespace padloom::test

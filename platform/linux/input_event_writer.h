// SPDX-License-Identifier: GPL-3.0-or-later
// Where uinput-style input_event records go: the uinput device, or (in tests) a pipe.
#pragma once

#include <linux/input.h>

#include <span>

namespace padloom {

class InputEventWriter {
public:
    virtual ~InputEventWriter() = default;
    // One posted event's records, ending with its SYN_REPORT, written in one piece.
    virtual void write(std::span<const input_event> events) = 0;
};

// Writes the records to fd whole (retrying short writes and interruptions). False, with errno
// set, when the descriptor refuses them.
bool writeInputEvents(int fd, std::span<const input_event> events);

// Writes to a descriptor it does not own; the first failure is reported once on standard error.
class FdInputEventWriter : public InputEventWriter {
public:
    explicit FdInputEventWriter(int fd) : fd_(fd) {}
    void write(std::span<const input_event> events) override;

private:
    int fd_;
    bool reported_ = false;
};

} // namespace padloom

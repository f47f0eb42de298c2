// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_event_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace padloom {

bool writeInputEvents(int fd, std::span<const input_event> events) {
    const auto* bytes = reinterpret_cast<const char*>(events.data());
    size_t left = events.size_bytes();
    while (left > 0) {
        const ssize_t written = ::write(fd, bytes, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

void FdInputEventWriter::write(std::span<const input_event> events) {
    if (!writeInputEvents(fd_, events) && !reported_) {
        reported_ = true;
        std::fprintf(stderr, "padloom: writing input events failed: %s\n", std::strerror(errno));
    }
}

} // namespace padloom

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/padloomctl/stdout_to_stderr.h"

#include <cstdio>
#include <unistd.h>

namespace padloom::ctl {

StdoutToStderr::StdoutToStderr() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    if (saved_ >= 0) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
}

StdoutToStderr::~StdoutToStderr() {
    restore();
}

void StdoutToStderr::restore() {
    if (saved_ < 0) {
        return;
    }
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    saved_ = -1;
}

} // namespace padloom::ctl

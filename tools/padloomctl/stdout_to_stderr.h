// SPDX-License-Identifier: GPL-3.0-or-later
// Standard output sent to standard error for a while. The preset document reports load problems
// on standard output, which replay and run keep for the events they print.
#pragma once

namespace padloom::ctl {

class StdoutToStderr {
public:
    StdoutToStderr();
    ~StdoutToStderr(); // restores standard output
    StdoutToStderr(const StdoutToStderr&) = delete;
    StdoutToStderr& operator=(const StdoutToStderr&) = delete;

    // Standard output goes where it went before; later calls do nothing.
    void restore();

private:
    int saved_ = -1;
};

} // namespace padloom::ctl

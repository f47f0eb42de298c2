// SPDX-License-Identifier: GPL-3.0-or-later
// SIGINT, SIGTERM and SIGHUP for a program that maps a preset until it is told to stop.
//
// Until arm(), they end the process as they always do: nothing is held yet, and a slow or endless
// load must not keep it alive. Once armed, they are noted on whichever thread takes them, and
// wait() returns, so that the program can deactivate (releasing what is held) before it ends.
// A signal that was ignored when the program started (nohup, a shell's background job) stays
// ignored: whoever started the program asked for that. One instance at a time; the earlier
// handlers come back when it is destroyed.
#pragma once

#include <csignal>

namespace padloom {

// The signals that stop a mapping program (padloomctl run, the desktop app) with its releases.
inline constexpr int stopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP};

// True when the process ignores signal: a program that inherits that keeps it so.
bool signalIgnored(int signal);

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    void arm();
    // Blocks until one of the signals came after arm(); returns its number, or 0 after wake.
    int wait();
    // Makes one wait return 0; from any thread.
    void wake();
};

} // namespace padloom

// SIGINT, SIGTERM and SIGHUP for a program that maps a preset until it is told to stop.
//
// Until arm(), they end the process as they always do: nothing is held yet, and a slow or endless
// load must not keep it alive. Once armed, they are noted on whichever thread takes them, and
// wait() returns, so that the program can deactivate (releasing what is held) before it ends.
// One instance at a time; the earlier handlers come back when it is destroyed.
#pragma once

namespace padloom {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    void arm();
    // Blocks until one of the signals came after arm(); returns its number.
    int wait();
};

} // namespace padloom

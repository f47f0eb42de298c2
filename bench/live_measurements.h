// SPDX-License-Identifier: GPL-3.0-or-later
// Measurements through the real parts, in real time: SDL's virtual joystick, the polling task of
// PresetRunner on each of its two ways of waiting, the engine's timer thread and the process's CPU clock.
#pragma once

#include <vector>

namespace padloom::bench {

struct Percentiles {
    int samples = 0;
    double mean = 0;
    double p50 = 0;
    double p99 = 0;
    double max = 0;
};

// CPU time over a stretch, in % of one core: the whole process (getrusage, every thread, the
// bench's own wake at the end of the stretch included), and the share of the motion timer's thread
// and of the polling task (per-thread run time from /proc/self/task/*/schedstat, in nanoseconds).
struct CpuCost {
    double seconds = 0;
    double corePercent = 0;
    double timerPercent = 0;
    double pollingPercent = 0;
    double mapperPercent() const { return timerPercent + pollingPercent; }
};

// The pad with axis 1 moving at 1 kHz, as a stick in a player's hand: what the mapper adds to a
// press, and what the motion costs it.
struct MovingStickResults {
    Percentiles buttonMs; // button change to the key event
    Percentiles axisMs;   // axis 2 across its switch threshold to the key event
    CpuCost cpu;          // the polling task and the motion timer; the moving thread stands apart
    double stepsPerSecond = 0;
};

// The polling task on one of its two ways of waiting between batches.
struct WaitPathResults {
    Percentiles latencyMs; // button change to the sink's receipt of the key event, the pad still
    MovingStickResults movingStick;
    Percentiles stopMs; // stop request to the task's end, made while the task waits
    CpuCost idle;       // the active preset with no input
};

struct LiveResults {
    bool ok = false;
    const char* failure = "";    // why the measurements could not run
    WaitPathResults nodeWait;    // on a device node: a named pipe stands in for the pad's node
    WaitPathResults fallback;    // the pad has no node (SDL's virtual joystick): short sleeps
    Percentiles tickPeriodMs;    // time between motion ticks
    Percentiles tickDeviationMs; // |period - 10 ms|
};

struct LivePlan {
    int latencyEvents = 1000;
    int tickSamples = 300;
    double idleSeconds = 10;
    double movingSeconds = 10;
    int stops = 20;
};

LiveResults runLiveMeasurements(const LivePlan& plan);

// Sorted copy's nearest-rank percentiles.
Percentiles percentiles(std::vector<double> values);

} // namespace padloom::bench

// Measurements through the real parts, in real time: SDL's virtual joystick, the polling task of
// PresetRunner, SDL's timer thread and the process's CPU clock.
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

// CPU time over an idle stretch, in % of one core: the whole process (getrusage, every thread),
// and the share of SDL's timer thread and of the polling task (per-thread /proc figures, which
// count in clock ticks of 10 ms).
struct IdleCost {
    double seconds = 0;
    double corePercent = 0;
    double timerPercent = 0;
    double pollingPercent = 0;
};

struct LiveResults {
    bool ok = false;
    const char* failure = "";    // why the measurements could not run
    Percentiles latencyMs;       // button change to the sink's receipt of the key event
    Percentiles tickPeriodMs;    // time between motion ticks
    Percentiles tickDeviationMs; // |period - 10 ms|
    IdleCost idle;               // an active preset with no input
};

struct LivePlan {
    int latencyEvents = 1000;
    int tickSamples = 300;
    double idleSeconds = 10;
};

LiveResults runLiveMeasurements(const LivePlan& plan);

// Sorted copy's nearest-rank percentiles.
Percentiles percentiles(std::vector<double> values);

} // namespace padloom::bench

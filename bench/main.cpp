// SPDX-License-Identifier: GPL-3.0-or-later
// padloom_bench: runs the Google Benchmark figures, then the live measurements, and ends with one
// summary table. Arguments are Google Benchmark's own (--benchmark_filter=...); --quick shortens
// the live measurements for a trial run. Each benchmark runs three times; the summary takes the median.
#include "bench/collecting_reporter.h"
#include "bench/evaluation_bench.h"
#include "bench/generated_preset.h"
#include "bench/live_measurements.h"
#include "bench/summary_table.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    using namespace padloom::bench;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    LivePlan plan;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            plan = {100, 50, 1, 1, 5};
            argv[i] = argv[--argc];
        }
    }
    // Three repetitions each, in turn, and the median of each in the summary, unless asked otherwise.
    std::vector<char*> arguments(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=3";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    const bool repetitionsGiven = std::any_of(arguments.begin() + 1, arguments.end(), [](const char* a) {
        return std::strncmp(a, "--benchmark_repetitions", 23) == 0;
    });
    if (!repetitionsGiven) {
        arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
    }
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }

    const size_t presetBytes = generatedPreset().text.size();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    closeEvaluationRig();

    std::fprintf(stderr,
                 "Live measurements, for each way of waiting: %d changes for each latency, %.0f s of a "
                 "moving stick, %d stops, %.0f s idle...\n",
                 plan.latencyEvents, plan.movingSeconds, plan.stops, plan.idleSeconds);
    const LiveResults live = runLiveMeasurements(plan);

    printSummary(reporter, live, presetBytes);
    benchmark::Shutdown();
    return live.ok ? 0 : 1;
}

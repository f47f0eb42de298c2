// padloom_bench: runs the Google Benchmark figures, then the live measurements, and ends with one
// summary table. Arguments are Google Benchmark's own (--benchmark_filter=...); --quick shortens
// the live measurements for a trial run.
#include "bench/collecting_reporter.h"
#include "bench/evaluation_bench.h"
#include "bench/generated_preset.h"
#include "bench/live_measurements.h"
#include "bench/summary_table.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    using namespace padloom::bench;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    LivePlan plan;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            plan = {100, 50, 1};
            argv[i] = argv[--argc];
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }

    const size_t presetBytes = generatedPreset().text.size();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    closeEvaluationRig();

    std::fprintf(stderr, "Live measurements: %d button changes, %d motion ticks, %.0f s idle...\n",
                 plan.latencyEvents, plan.tickSamples, plan.idleSeconds);
    const LiveResults live = runLiveMeasurements(plan);

    printSummary(reporter, live, presetBytes);
    benchmark::Shutdown();
    return live.ok ? 0 : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/collecting_reporter.h"

namespace padloom::bench {

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // With repetitions, the median of each benchmark stands for it; otherwise its one run.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median)) {
            continue;
        }
        const std::string name = run.run_name.str();
        if (!median && medians_.count(name) != 0) {
            continue;
        }
        BenchResult result;
        result.nsPerIteration =
            run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        for (const auto& [counterName, counter] : run.counters) {
            result.counters[counterName] = counter.value;
        }
        results_[name] = result;
        if (median) {
            medians_.insert(name);
        }
    }
}

std::optional<BenchResult> CollectingReporter::find(const std::string& name) const {
    const auto found = results_.find(name);
    if (found == results_.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace padloom::bench

#include "bench/collecting_reporter.h"

namespace padloom::bench {

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration) {
            continue;
        }
        BenchResult result;
        result.nsPerIteration =
            run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        for (const auto& [name, counter] : run.counters) {
            result.counters[name] = counter.value;
        }
        results_[run.run_name.str()] = result;
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

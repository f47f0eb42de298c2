// SPDX-License-Identifier: GPL-3.0-or-later
// The console reporter of Google Benchmark that also keeps each result, by benchmark name, for the
// summary table printed at the end of the run.
#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace padloom::bench {

struct BenchResult {
    double nsPerIteration = 0; // CPU time of the process: steadier than wall time on a busy machine
    std::map<std::string, double> counters;
};

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // The result of the benchmark named name ("BM_Parse_InPlace"), if it ran without error.
    std::optional<BenchResult> find(const std::string& name) const;

private:
    std::map<std::string, BenchResult> results_;
    std::set<std::string> medians_; // names whose result is the median of repetitions
};

} // namespace padloom::bench

// SPDX-License-Identifier: GPL-3.0-or-later
// The table `make bench` ends with: every figure of the run, side by side, with the ratios.
#pragma once

#include "bench/collecting_reporter.h"
#include "bench/live_measurements.h"

namespace padloom::bench {

void printSummary(const CollectingReporter& benchmarks, const LiveResults& live, size_t presetBytes);

} // namespace padloom::bench

// SPDX-License-Identifier: GPL-3.0-or-later
// Screen geometry: the all-displays computation for three 4K displays in an L shape (two side by
// side, one below the left one), and one confinement step with corner zones on.
#include "engine/screen_geometry.h"
#include "tests/support/fixed_displays.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace padloom::bench {
namespace {

test::FixedDisplays threeDisplaysInAnL() {
    return {{0, 0, 3840, 2160}, {3840, 0, 3840, 2160}, {0, 2160, 3840, 2160}};
}

void BM_ComputeAllDisplays_ThreeFourKInL(benchmark::State& state) {
    test::FixedDisplays displays = threeDisplaysInAnL();
    ScreenGeometry geometry;
    for (auto _ : state) {
        geometry.computeAllDisplays(displays, true);
    }
    benchmark::DoNotOptimize(geometry.bounds());
}

struct Step {
    float cx, cy, dx, dy;
};

// Cursor positions over the whole box, each moved by up to 12 pixels: some steps land in a corner
// zone or in the empty quarter of the L and are pushed back.
std::vector<Step> steps() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(-20, 7700), y(-20, 4340), d(-12, 12);
    std::vector<Step> result(4096);
    for (Step& step : result) {
        step = {x(random), y(random), d(random), d(random)};
    }
    return result;
}

void BM_ConfinePoint_CornerZones(benchmark::State& state) {
    test::FixedDisplays displays = threeDisplaysInAnL();
    ScreenGeometry geometry;
    geometry.computeAllDisplays(displays, true);
    const std::vector<Step> all = steps();
    size_t next = 0;
    for (auto _ : state) {
        const Step& s = all[next];
        benchmark::DoNotOptimize(geometry.confinePoint(s.cx, s.cy, s.dx, s.dy));
        next = (next + 1) & (all.size() - 1);
    }
}

} // namespace

BENCHMARK(BM_ComputeAllDisplays_ThreeFourKInL)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfinePoint_CornerZones);

} // namespace padloom::bench

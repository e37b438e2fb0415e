// SPDX-License-Identifier: GPL-3.0-or-later
// Goals on the 2-core reference machine, after an edit (a point moved, so the
// panel solution is part of the time; the condition rows the edit cannot
// reach are kept), sweep -12 to 14 by 0.1: one Re below 6 ms at 161 points
// and below 18 ms at 450 points; three Re below 12 ms at 161 points.
// Arguments: points, Reynolds numbers, threads (0 = all cores).

#include "analysis/polarsweep.h"
#include "geometry/naca4.h"

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

std::vector<TKoordi> profileOf(int count, const char *digits = "2412")
{
    std::vector<TKoordi> p = MakeNaca4(digits, (count + 1) / 2).Points;
    if (int(p.size()) < count)
        p.insert(p.begin() + 1, {0.5 * (p[0].X + p[1].X), 0.5 * (p[0].Y + p[1].Y)});
    return p;
}

void DefaultPolarSweep(benchmark::State &state)
{
    const auto points = profileOf(int(state.range(0)));
    auto edited = points;
    edited[1].Y += 1e-6;
    const std::vector<double> all{1e5, 2e5, 5e5, 1e6, 2e6};
    const std::vector<double> reynolds(all.begin(), all.begin() + state.range(1));
    PolarSweep sweep(int(state.range(2)));
    bool flip = false;
    int failed = 0;
    for (auto _ : state) {
        const auto curves = sweep.run(flip ? edited : points, reynolds, {-12.0f, 14.0f, 0.1f});
        flip = !flip;
        failed = curves[0].failed;
        benchmark::DoNotOptimize(curves.data());
    }
    state.counters["threads"] = sweep.jobs();
    state.counters["gaps"] = failed;
}
BENCHMARK(DefaultPolarSweep)
    ->ArgNames({"points", "re", "jobs"})
    ->Args({161, 1, 1})
    ->Args({161, 1, 0})
    ->Args({161, 3, 1})
    ->Args({161, 3, 0})
    ->Args({450, 1, 1})
    ->Args({450, 1, 0})
    ->Args({450, 3, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Another profile each time (a file opened, another one selected): every
// condition row is built.
void NewProfilePolarSweep(benchmark::State &state)
{
    const auto first = profileOf(int(state.range(0)));
    const auto second = profileOf(int(state.range(0)), "4412");
    PolarSweep sweep(int(state.range(1)));
    bool flip = false;
    for (auto _ : state) {
        const auto curves = sweep.run(flip ? second : first, {1e5}, {-12.0f, 14.0f, 0.1f});
        flip = !flip;
        benchmark::DoNotOptimize(curves.data());
    }
    state.counters["threads"] = sweep.jobs();
}
BENCHMARK(NewProfilePolarSweep)
    ->ArgNames({"points", "jobs"})
    ->Args({161, 0})
    ->Args({450, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

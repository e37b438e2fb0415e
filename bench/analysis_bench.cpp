// SPDX-License-Identifier: GPL-3.0-or-later
// Targets on the 2-core reference machine: one run of a 161-point profile at
// one angle under 5 ms; the default polar (-12 to 14 by 0.1, one Re) of a
// 161-point profile under 30 ms and of a 450-point profile under 400 ms.

#include "analysis/analysiscommands.h"
#include "analysis/eppler.h"
#include "geometry/naca4.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace velmora;

namespace {

// A NACA 2412 of exactly `count` points (odd counts directly, even ones
// with one point added halfway along the first panel).
std::vector<TKoordi> profileOf(int count)
{
    std::vector<TKoordi> p = MakeNaca4("2412", (count + 1) / 2).Points;
    if (int(p.size()) < count)
        p.insert(p.begin() + 1, {0.5 * (p[0].X + p[1].X), 0.5 * (p[0].Y + p[1].Y)});
    return p;
}

TEpplerInput inputOf(const std::vector<TKoordi> &points, float alpha)
{
    TEpplerInput in;
    in.pointCount = int(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        in.x[i] = float(points[i].X);
        in.y[i] = float(points[i].Y);
    }
    in.alphas[0] = alpha;
    in.reynolds[0] = 1e6f;
    return in;
}

// A full run including the panel solution: two contours that differ in one
// coordinate take turns, so the solver never reuses its solution. threads 0:
// one per core, 1: the calling thread alone (`--jobs 1`).
void runNewContours(benchmark::State &state, int threads)
{
    const auto points = profileOf(int(state.range(0)));
    TEpplerInput a = inputOf(points, 2.0f);
    TEpplerInput b = a;
    b.y[1] = std::nextafter(b.y[1], 1.0f);
    EpplerSolver solver;
    solver.setPanelThreads(threads);
    TEpplerOutput out;
    bool flip = false;
    for (auto _ : state) {
        solver.run(flip ? b : a, out);
        flip = !flip;
        benchmark::DoNotOptimize(out.ca[0][0]);
    }
}

void OneRunNewContour(benchmark::State &state)
{
    runNewContours(state, 0);
}
BENCHMARK(OneRunNewContour)->Arg(61)->Arg(161)->Arg(301)->Arg(450)->Unit(benchmark::kMillisecond);

void OneRunNewContourOneThread(benchmark::State &state)
{
    runNewContours(state, 1);
}
BENCHMARK(OneRunNewContourOneThread)->Arg(161)->Arg(450)->Unit(benchmark::kMillisecond);

// What the editor does after an angle or Reynolds change: same contour.
void OneRunSameContour(benchmark::State &state)
{
    const TEpplerInput in = inputOf(profileOf(int(state.range(0))), 2.0f);
    EpplerSolver solver;
    TEpplerOutput out;
    solver.run(in, out);
    for (auto _ : state) {
        solver.run(in, out);
        benchmark::DoNotOptimize(out.ca[0][0]);
    }
}
BENCHMARK(OneRunSameContour)->Arg(61)->Arg(161)->Arg(301)->Arg(450)->Unit(benchmark::kMillisecond);

// The default transition polar after an edit: the contour changed, so the
// first batch solves the panel system and the other 18 reuse it.
void DefaultPolar(benchmark::State &state)
{
    const auto points = profileOf(int(state.range(0)));
    auto edited = points;
    edited[1].Y += 1e-6;
    EpplerSolver solver;
    size_t rows = 0;
    bool flip = false;
    for (auto _ : state) {
        const TransitionPolar polar =
            ComputeTransitionPolar(solver, flip ? edited : points, "1e6", "-12", "14", "0,1");
        flip = !flip;
        rows = polar.rows.size();
        benchmark::DoNotOptimize(polar.rows.data());
    }
    state.counters["angles"] = double(rows);
}
BENCHMARK(DefaultPolar)->Arg(61)->Arg(161)->Arg(301)->Arg(450)->Unit(benchmark::kMillisecond);

// The angles of a polar on a contour already solved: the boundary layer
// and the speeds, what a change of the Reynolds number or the range costs.
void PolarAnglesOnly(benchmark::State &state)
{
    const auto points = profileOf(int(state.range(0)));
    EpplerSolver solver;
    ComputeTransitionPolar(solver, points, "2e5", "-12", "14", "0,1");
    for (auto _ : state) {
        const TransitionPolar polar = ComputeTransitionPolar(solver, points, "2e5", "-12", "14", "0,1");
        benchmark::DoNotOptimize(polar.rows.data());
    }
}
BENCHMARK(PolarAnglesOnly)->Arg(161)->Arg(450)->Unit(benchmark::kMillisecond);

// A solver made for one polar: adds allocating the working storage.
void DefaultPolarFreshSolver(benchmark::State &state)
{
    const auto points = profileOf(int(state.range(0)));
    for (auto _ : state) {
        EpplerSolver solver;
        const TransitionPolar polar = ComputeTransitionPolar(solver, points, "1e6", "-12", "14", "0,1");
        benchmark::DoNotOptimize(polar.rows.data());
    }
}
BENCHMARK(DefaultPolarFreshSolver)->Arg(161)->Arg(450)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

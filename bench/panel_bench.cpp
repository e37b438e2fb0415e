// SPDX-License-Identifier: GPL-3.0-or-later
// The O(n^3) stages of a panel solution alone, at the sizes of a 161- and a
// 450-point profile, on one thread and on two: where a new contour's time goes.

#include "analysis/helperthread.h"
#include "analysis/stages.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace velmora;
using namespace velmora::eppler;

namespace {

// A dense system whose largest entries sit off the diagonal, so that the
// pivot search swaps rows as a panel system's does.
std::vector<float> systemOf(int m)
{
    std::vector<float> a(size_t(m) * m);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j)
            a[size_t(i) * m + j] = float(std::sin(0.7 * i * j + i) + (j == (i * 7 + 3) % m ? 4.0 : 0.0));
    }
    return a;
}

void Elimination(benchmark::State &state)
{
    const int m = int(state.range(0));
    const std::vector<float> original = systemOf(m);
    std::vector<float> rhs0(size_t(2) * m);
    for (int i = 0; i < 2 * m; ++i)
        rhs0[size_t(i)] = float(i % 7);
    auto helper = state.range(1) > 1 ? std::make_unique<HelperThread>() : nullptr;
    std::vector<float> a, b;
    for (auto _ : state) {
        a = original;
        b = rhs0;
        GaussSolve(a.data(), m, b.data(), m, 0.0f, 2, helper.get());
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(Elimination)->ArgNames({"size", "threads"})->ArgsProduct({{160, 449}, {1, 2}})
    ->UseRealTime()->Unit(benchmark::kMicrosecond);

void NormalMatrix(benchmark::State &state)
{
    const int m = int(state.range(0));
    const std::vector<float> a = systemOf(m);
    std::vector<double> wide(size_t(m + 1) * m);
    for (size_t i = 0; i < size_t(m) * m; ++i)
        wide[i] = a[i];
    std::vector<const double *> rows(size_t(m) + 1);
    std::vector<float> rhs(size_t(2) * (m + 1), 1.0f);
    std::vector<const float *> rowRhs(size_t(m) + 1);
    for (int k = 0; k <= m; ++k) {
        rows[size_t(k)] = wide.data() + size_t(k) * m;
        rowRhs[size_t(k)] = rhs.data() + 2 * k;
    }
    std::vector<double> normal(size_t(m) * m), r(size_t(2) * m);
    auto helper = state.range(1) > 1 ? std::make_unique<HelperThread>() : nullptr;
    for (auto _ : state) {
        NormalEquations(rows.data(), rowRhs.data(), m + 1, m, normal.data(), r.data(), helper.get());
        benchmark::DoNotOptimize(normal.data());
    }
}
BENCHMARK(NormalMatrix)->ArgNames({"size", "threads"})->ArgsProduct({{160, 449}, {1, 2}})
    ->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

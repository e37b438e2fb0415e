// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/eppler.h"
#include "analysis_support.h"
#include "geometry/naca4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace velmora;
using velmora::testing::engineInput;

namespace {

// Every number of the output. The record holds nothing but floats and the
// one int32 count, whose bits read as a float are a finite denormal.
bool allFinite(const TEpplerOutput &out)
{
    static_assert(sizeof(TEpplerOutput) % sizeof(float) == 0);
    std::vector<float> values(sizeof(TEpplerOutput) / sizeof(float));
    std::memcpy(values.data(), &out, sizeof(TEpplerOutput));
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

enum class Outcome { Finite, EngineError };

// A run either gives finite numbers everywhere or raises the engine error;
// anything else (another exception, NaN, a crash under the sanitizers) fails.
Outcome analyse(const TEpplerInput &in)
{
    try {
        const TEpplerOutput out = EpplerRun(in);
        EXPECT_TRUE(allFinite(out));
        return Outcome::Finite;
    } catch (const EpplerError &) {
        return Outcome::EngineError;
    }
}

std::vector<TKoordi> scaled(std::vector<TKoordi> p, double factor)
{
    for (TKoordi &k : p) {
        k.X *= factor;
        k.Y *= factor;
    }
    return p;
}

} // namespace

TEST(EngineBadInput, DegenerateContoursGiveFiniteResultsOrTheEngineError)
{
    const std::vector<float> alphas = {-10.0f, 0.0f, 5.0f};
    // All points in one place.
    EXPECT_EQ(analyse(engineInput(std::vector<TKoordi>(20, TKoordi{0.5, 0.5}), alphas)),
              Outcome::EngineError);
    // All points on a line, out and back.
    std::vector<TKoordi> line;
    for (int i = 0; i <= 20; ++i)
        line.push_back({1.0 - std::abs(10 - i) / 10.0, 0.0});
    analyse(engineInput(line, alphas));
    std::vector<TKoordi> slanted;
    for (int i = 0; i <= 20; ++i)
        slanted.push_back({i / 20.0, i / 40.0});
    analyse(engineInput(slanted, alphas));
    // Coincident neighbours inside a real profile.
    auto doubled = MakeNaca4("2412").Points;
    doubled.insert(doubled.begin() + 50, doubled[50]);
    EXPECT_EQ(analyse(engineInput(doubled, alphas)), Outcome::EngineError);
    // A contour that touches itself.
    auto touching = MakeNaca4("2412", 21).Points;
    touching[30] = touching[10];
    analyse(engineInput(touching, alphas));
    // The wrong way round.
    auto reversed = MakeNaca4("2412").Points;
    std::reverse(reversed.begin(), reversed.end());
    analyse(engineInput(reversed, alphas));
}

TEST(EngineBadInput, TooFewPointsAreTheEngineErrorAndSmallContoursStayFinite)
{
    EXPECT_EQ(analyse(engineInput({{1, 0}, {0, 0}}, {2.0f})), Outcome::EngineError);
    EXPECT_EQ(analyse(engineInput({{1, 0}, {0, 0.1}, {1, 0}}, {2.0f})), Outcome::EngineError);
    for (int perSide = 2; perSide <= 4; ++perSide) {
        // 3, 5 and 7 points; with an extra point 4 and 6.
        const auto p = MakeNaca4("2412", perSide).Points;
        analyse(engineInput(p, {0.0f, 4.0f}));
        auto q = p;
        q.insert(q.begin() + 1, {0.5 * (p[0].X + p[1].X), 0.5 * (p[0].Y + p[1].Y)});
        analyse(engineInput(q, {0.0f, 4.0f}));
    }
    EXPECT_EQ(analyse(engineInput({}, {0.0f})), Outcome::EngineError);
}

TEST(EngineBadInput, HugeAndTinyCoordinatesGiveFiniteResultsOrTheEngineError)
{
    const auto p = MakeNaca4("2412", 41).Points;
    for (double factor : {1e30, 1e15, 1e-15, 1e-30, 1e-40})
        analyse(engineInput(scaled(p, factor), {3.0f}));
    // A profile of another chord is still a profile; at a thousand chords its
    // lift (which scales with the chord) is beyond physical bounds.
    EXPECT_EQ(analyse(engineInput(scaled(p, 2.0), {3.0f})), Outcome::Finite);
    EXPECT_EQ(analyse(engineInput(scaled(p, 1000.0), {3.0f})), Outcome::EngineError);
}

TEST(EngineBadInput, RandomPerturbationsOfARealProfileNeverCrashOrHang)
{
    std::mt19937 rng(20261208);
    int finite = 0;
    for (int trial = 0; trial < 24; ++trial) {
        auto p = MakeNaca4("2412", 20 + 7 * (trial % 6)).Points;
        const double size = trial < 12 ? 1e-4 : 3e-2;
        std::normal_distribution<double> noise(0.0, size);
        for (TKoordi &k : p) {
            k.X += noise(rng);
            k.Y += noise(rng);
        }
        std::uniform_real_distribution<float> angle(-20.0f, 20.0f);
        finite += analyse(engineInput(p, {angle(rng), angle(rng)}, {2e5f, 1e6f})) == Outcome::Finite;
    }
    // Slight noise on a real profile is still analysable.
    EXPECT_GE(finite, 12);
}

TEST(EngineBadInput, InvalidInputRecordsAreTheEngineError)
{
    const auto p = MakeNaca4("2412", 41).Points;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::function<void(TEpplerInput &)>> spoilers = {
        [&](TEpplerInput &in) { in.y[10] = nan; },
        [&](TEpplerInput &in) { in.x[3] = inf; },
        [](TEpplerInput &in) { in.pointCount = -1; },
        [](TEpplerInput &in) { in.pointCount = 3; },
        [](TEpplerInput &in) { in.pointCount = kMaxNodes + 1; },
        [](TEpplerInput &in) { in.alphaCount = 0; },
        [](TEpplerInput &in) { in.alphaCount = kMaxAngles + 1; },
        [](TEpplerInput &in) { in.reynoldsCount = 0; },
        [](TEpplerInput &in) { in.reynoldsCount = kMaxReynolds + 1; },
        [](TEpplerInput &in) { in.reynolds[0] = 0.0f; },
        [](TEpplerInput &in) { in.reynolds[0] = -1e5f; },
        [&](TEpplerInput &in) { in.reynolds[0] = nan; },
        [&](TEpplerInput &in) { in.reynolds[0] = inf; },
        [&](TEpplerInput &in) { in.alphas[0] = nan; },
        [](TEpplerInput &in) { in.angleMode = 2; },
    };
    for (size_t i = 0; i < spoilers.size(); ++i) {
        TEpplerInput in = engineInput(p, {2.0f});
        spoilers[i](in);
        EXPECT_EQ(analyse(in), Outcome::EngineError) << "case " << i;
    }
}

TEST(EngineBadInput, ExtremeAnglesAndReynoldsNumbersGiveFiniteResultsOrTheEngineError)
{
    const auto p = MakeNaca4("2412", 41).Points;
    analyse(engineInput(p, {-89.0f, -45.0f, 45.0f, 89.0f, 1000.0f, -98.9f}));
    analyse(engineInput(p, {2.0f}, {1.0f, 1e2f, 1e9f, 1e12f, 3e38f}));
}

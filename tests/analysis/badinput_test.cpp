// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/eppler.h"
#include "analysis_support.h"
#include "geometry/naca4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace velmora;
using velmora::testing::engineInput;

namespace {

// Every number of the output, as the flat float arrays it is made of.
bool allFinite(const TEpplerOutput &out)
{
    auto finite = [](const auto &array2d) {
        for (const auto &row : array2d) {
            for (float v : row) {
                if (!std::isfinite(v))
                    return false;
            }
        }
        return true;
    };
    auto sidesFinite = [](const TEpplerOutput::SideResults &sides) {
        for (const auto &row : sides) {
            for (const TSideResult &s : row) {
                if (!std::isfinite(s.transitionRun) || !std::isfinite(s.separatedRun)
                    || !std::isfinite(s.sideDrag) || !std::isfinite(s.bubbleFlag))
                    return false;
            }
        }
        return true;
    };
    return finite(out.alphaRel) && finite(out.ca) && finite(out.cm) && finite(out.cw)
        && finite(out.nodeValue) && sidesFinite(out.upper) && sidesFinite(out.lower)
        && std::isfinite(out.zeroLiftAngle) && std::isfinite(out.liftAt0)
        && std::isfinite(out.liftAt90)
        && std::all_of(out.xOut.begin(), out.xOut.end(), [](float v) { return std::isfinite(v); });
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

std::vector<TKoordi> points(std::initializer_list<std::pair<double, double>> xy)
{
    std::vector<TKoordi> result;
    for (auto [x, y] : xy) {
        TKoordi k;
        k.X = x;
        k.Y = y;
        result.push_back(k);
    }
    return result;
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
    const auto tiny = points({{1, 0}, {0, 0}});
    EXPECT_EQ(analyse(engineInput(tiny, {2.0f})), Outcome::EngineError);
    EXPECT_EQ(analyse(engineInput(points({{1, 0}, {0, 0.1}, {1, 0}}), {2.0f})), Outcome::EngineError);
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
    // A profile of another chord is still a profile.
    EXPECT_EQ(analyse(engineInput(scaled(p, 1000.0), {3.0f})), Outcome::Finite);
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

    TEpplerInput in = engineInput(p, {2.0f});
    in.y[10] = nan;
    EXPECT_EQ(analyse(in), Outcome::EngineError);
    in = engineInput(p, {2.0f});
    in.x[3] = inf;
    EXPECT_EQ(analyse(in), Outcome::EngineError);

    for (int count : {-1, 0, 3, kMaxNodes + 1}) {
        in = engineInput(p, {2.0f});
        in.pointCount = count;
        EXPECT_EQ(analyse(in), Outcome::EngineError) << count;
    }
    for (int count : {0, kMaxAngles + 1}) {
        in = engineInput(p, {2.0f});
        in.alphaCount = count;
        EXPECT_EQ(analyse(in), Outcome::EngineError) << count;
    }
    for (int count : {0, kMaxReynolds + 1}) {
        in = engineInput(p, {2.0f});
        in.reynoldsCount = count;
        EXPECT_EQ(analyse(in), Outcome::EngineError) << count;
    }
    for (float re : {0.0f, -1e5f, nan, inf})
        EXPECT_EQ(analyse(engineInput(p, {2.0f}, {re})), Outcome::EngineError) << re;
    EXPECT_EQ(analyse(engineInput(p, {nan})), Outcome::EngineError);
    in = engineInput(p, {2.0f});
    in.angleMode = 2;
    EXPECT_EQ(analyse(in), Outcome::EngineError);
}

TEST(EngineBadInput, ExtremeAnglesAndReynoldsNumbersGiveFiniteResultsOrTheEngineError)
{
    const auto p = MakeNaca4("2412", 41).Points;
    analyse(engineInput(p, {-89.0f, -45.0f, 45.0f, 89.0f, 1000.0f, -98.9f}));
    analyse(engineInput(p, {2.0f}, {1.0f, 1e2f, 1e9f, 1e12f, 3e38f}));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/eppler.h"
#include "analysis/stages.h"
#include "analysis_support.h"
#include "support/testing.h"
#include "geometry/naca4.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velmora;
using velmora::testing::engineInput;
using velmora::testing::exactProfile;

namespace {

double xTransition(const TSideResult &side)
{
    return 1.0 - side.transitionRun;
}

bool sameBits(const TEpplerOutput &a, const TEpplerOutput &b)
{
    return std::memcmp(&a, &b, sizeof(TEpplerOutput)) == 0;
}

} // namespace

TEST(EpplerRun, SymmetricProfileAtZeroAngleHasNoLiftNoMomentAndEqualTransition)
{
    const TEpplerOutput out = EpplerRun(engineInput(MakeNaca4("0012").Points, {0.0f}));
    EXPECT_NEAR(out.ca[0][0], 0.0, 1e-4);
    EXPECT_NEAR(out.cm[0][0], 0.0, 1e-5);
    EXPECT_NEAR(out.upper[0][0].transitionRun, out.lower[0][0].transitionRun, 1e-4);
    EXPECT_NEAR(out.upper[0][0].sideDrag, out.lower[0][0].sideDrag, 1e-6);
    EXPECT_GT(out.cw[0][0], 0.0f);
}

TEST(EpplerRun, TransitionMovesForwardOnTheUpperSideAndBackOnTheLowerSideAsTheAngleRises)
{
    std::vector<float> alphas;
    for (float a = -4; a <= 8; a += 1)
        alphas.push_back(a);
    const TEpplerOutput out = EpplerRun(engineInput(MakeNaca4("2412").Points, alphas));
    for (size_t k = 1; k < alphas.size(); ++k) {
        EXPECT_LE(xTransition(out.upper[k][0]), xTransition(out.upper[k - 1][0])) << alphas[k];
        EXPECT_GE(xTransition(out.lower[k][0]), xTransition(out.lower[k - 1][0])) << alphas[k];
    }
    const size_t last = alphas.size() - 1;
    EXPECT_LT(xTransition(out.upper[last][0]), xTransition(out.upper[0][0]) - 0.5);
    EXPECT_GT(xTransition(out.lower[last][0]), xTransition(out.lower[0][0]) + 0.5);
}

TEST(EpplerRun, DragFallsAsTheReynoldsNumberRisesForAnAttachedProfile)
{
    const std::vector<float> reynolds = {1e5f, 3e5f, 1e6f, 3e6f, 1e7f};
    const auto points = MakeNaca4("0012").Points;
    const TEpplerOutput all = EpplerRun(engineInput(points, {2.0f}, reynolds));
    for (size_t j = 1; j < reynolds.size(); ++j)
        EXPECT_LT(all.cw[0][j], all.cw[0][j - 1]) << reynolds[j];
    // Several Reynolds numbers in one run agree with separate runs.
    for (size_t j = 0; j < reynolds.size(); ++j) {
        const TEpplerOutput one = EpplerRun(engineInput(points, {2.0f}, {reynolds[j]}));
        EXPECT_NEAR(all.cw[0][j], one.cw[0][0], 1e-4 * one.cw[0][0]) << reynolds[j];
        EXPECT_NEAR(all.upper[0][j].transitionRun, one.upper[0][0].transitionRun, 1e-4);
    }
}

TEST(EpplerRun, SideThatStaysLaminarReportsTransitionAtTheTrailingEdge)
{
    VELMORA_NEEDS_REFERENCE_DATA();
    // The cusped Joukowski section at 4 degrees: the lower side accelerates
    // almost to the trailing edge and never separates laminar.
    const TEpplerOutput out = EpplerRun(engineInput(exactProfile("J1").Points, {4.0f}));
    EXPECT_EQ(out.lower[0][0].transitionRun, 0.0f);
    EXPECT_EQ(out.lower[0][0].separatedRun, 0.0f);
    EXPECT_EQ(out.lower[0][0].bubbleFlag, 0.0f);
    EXPECT_GT(out.upper[0][0].transitionRun, 0.1f);
}

TEST(EpplerRun, DragIsTheSumOfBothSidesAndFlaggedSidesCountWithTheirMagnitude)
{
    std::vector<float> alphas;
    for (float a = -14; a <= 12; a += 2)
        alphas.push_back(a);
    const TEpplerOutput out = EpplerRun(engineInput(MakeNaca4("2412").Points, alphas));
    int flagged = 0;
    for (size_t k = 0; k < alphas.size(); ++k) {
        const TSideResult &u = out.upper[k][0];
        const TSideResult &l = out.lower[k][0];
        EXPECT_GT(u.sideDrag, 0.0f);
        EXPECT_GT(l.sideDrag, 0.0f);
        EXPECT_FLOAT_EQ(out.cw[k][0], u.sideDrag + l.sideDrag) << alphas[k];
        flagged += int(u.bubbleFlag + l.bubbleFlag);
    }
    EXPECT_GT(flagged, 0);
}

TEST(EpplerRun, AngleOfMinus99OrBelowIsAnalysedAsZero)
{
    const auto points = MakeNaca4("2412").Points;
    const TEpplerOutput out = EpplerRun(engineInput(points, {-99.0f, -150.0f, 0.0f}));
    for (size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(out.ca[k][0], out.ca[2][0]);
        EXPECT_EQ(out.cw[k][0], out.cw[2][0]);
        EXPECT_EQ(out.alphaRel[k][0], out.alphaRel[2][0]);
    }
}

TEST(EpplerRun, AngleFromTheZeroLiftLineDrivesTheLift)
{
    VELMORA_NEEDS_REFERENCE_DATA();
    const auto points = MakeNaca4("4412").Points;
    const float alpha0 = EpplerRun(engineInput(points, {0.0f})).zeroLiftAngle;
    EXPECT_LT(alpha0, -3.0f);
    const TEpplerOutput out = EpplerRun(engineInput(points, {alpha0, 2.0f}));
    EXPECT_NEAR(out.alphaRel[0][0], 0.0, 1e-6);
    EXPECT_NEAR(out.ca[0][0], 0.0, 1e-3);
    EXPECT_FLOAT_EQ(out.alphaRel[1][0], 2.0f - alpha0);

    // Fully attached (the cusped section at 0 degrees): thin-airfoil slope of
    // 0.11 per degree from the zero-lift line, inviscid moment.
    const TEpplerOutput j1 = EpplerRun(engineInput(exactProfile("J1").Points, {0.0f}));
    ASSERT_EQ(j1.upper[0][0].separatedRun + j1.lower[0][0].separatedRun, 0.0f);
    EXPECT_FLOAT_EQ(j1.ca[0][0], float(0.11 * j1.alphaRel[0][0]));
    EXPECT_NEAR(j1.ca[0][0], 0.11 * 2.62, 0.02);
}

TEST(EpplerSolver, ReusedPanelSolutionGivesBitIdenticalResults)
{
    const auto a = MakeNaca4("2412").Points;
    const auto b = MakeNaca4("0012").Points;
    const TEpplerInput inA = engineInput(a, {-2.0f, 3.0f, 9.0f}, {2e5f, 1e6f});
    const TEpplerInput inB = engineInput(b, {1.0f});

    EpplerSolver reusing;
    const TEpplerOutput first = reusing.run(inA);
    const TEpplerOutput second = reusing.run(inA);
    EXPECT_EQ(reusing.panelSolutionCount(), 1);
    reusing.run(inB);
    EXPECT_EQ(reusing.panelSolutionCount(), 2);
    const TEpplerOutput third = reusing.run(inA);
    EXPECT_EQ(reusing.panelSolutionCount(), 3);

    EpplerSolver fresh;
    const TEpplerOutput reference = fresh.run(inA);
    EXPECT_TRUE(sameBits(first, reference));
    EXPECT_TRUE(sameBits(second, reference));
    EXPECT_TRUE(sameBits(third, reference));
    EXPECT_TRUE(sameBits(EpplerRun(inA), reference));

    // Other angles on the same contour reuse it too.
    TEpplerInput other = inA;
    other.alphas[0] = 5.0f;
    reusing.run(other);
    EXPECT_EQ(reusing.panelSolutionCount(), 3);
    // The smallest change of one coordinate is a new contour.
    TEpplerInput moved = inA;
    moved.y[40] = std::nextafter(moved.y[40], 1.0f);
    reusing.run(moved);
    EXPECT_EQ(reusing.panelSolutionCount(), 4);
}

TEST(EpplerSolver, BatchOfAnglesGivesTheSameResultsAsSingleRuns)
{
    const auto points = MakeNaca4("2412").Points;
    std::vector<float> alphas;
    for (int k = 0; k < kMaxAngles; ++k)
        alphas.push_back(-6.0f + 1.1f * float(k));
    EpplerSolver solver;
    const TEpplerOutput batch = solver.run(engineInput(points, alphas));
    for (size_t k = 0; k < alphas.size(); ++k) {
        const TEpplerOutput one = solver.run(engineInput(points, {alphas[k]}));
        EXPECT_EQ(batch.ca[k][0], one.ca[0][0]) << alphas[k];
        EXPECT_EQ(batch.cm[k][0], one.cm[0][0]) << alphas[k];
        EXPECT_EQ(batch.cw[k][0], one.cw[0][0]) << alphas[k];
        EXPECT_EQ(batch.upper[k][0].transitionRun, one.upper[0][0].transitionRun);
        EXPECT_EQ(batch.lower[k][0].transitionRun, one.lower[0][0].transitionRun);
        EXPECT_EQ(batch.nodeValue[50][k], one.nodeValue[50][0]);
    }
}

TEST(ViscousCoefficients, SeparationCountsOnlyWhileTheSideFacesTheFlow)
{
    eppler::SideOutcome up, lo;
    up.result.separatedRun = 0.2f;
    lo.result.separatedRun = 0.1f;
    // Geometric 8 degrees, upper slope 2: effective angle (10 * 0.2) / 2 = 1;
    // the lower side (8 - 2 > 0) does not count.
    const auto high = eppler::ViscousCoefficients(10.0, -2.0, 2.0, 2.0, 1.0, up, lo, -0.05);
    EXPECT_FLOAT_EQ(high.ca, float(0.11 * (10.0 - 1.0)));
    EXPECT_FLOAT_EQ(high.cm, float(std::pow(0.7, 1.5) * 1.0 * 0.0275 - 0.05));
    // Geometric -8 degrees, lower slope 2: (-10 * 0.1) / 2 = -0.5; upper ignored.
    const auto low = eppler::ViscousCoefficients(-6.0, -2.0, 2.0, 2.0, 1.0, up, lo, 0.0);
    EXPECT_FLOAT_EQ(low.ca, float(0.11 * (-6.0 + 0.5)));
}

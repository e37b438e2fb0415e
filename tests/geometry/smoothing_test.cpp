// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/smoothing.h"

#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

using testing::profileFrom;
using testing::samePoints;

double nacaHalfThickness(double t, double x)
{
    return 5 * t
        * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x
           - 0.1036 * x * x * x * x);
}

TEST(SubdivideLinear, CutsEverySegmentIntoEqualPartsAndKeepsTheEnds)
{
    const TProfile p = profileFrom({{1, 0}, {0, 1}, {1, 3}}, "sub");
    const auto s = SubdivideLinear(p, 4);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->PointCount(), (3 - 1) * 4 + 1);
    EXPECT_EQ(s->Name, "sub");
    EXPECT_DOUBLE_EQ(s->Points[1].X, 0.75);
    EXPECT_DOUBLE_EQ(s->Points[1].Y, 0.25);
    EXPECT_EQ(s->Points[4].X, 0.0);
    EXPECT_DOUBLE_EQ(s->Points[6].Y, 2.0);
    EXPECT_EQ(s->Points.back().Y, 3.0);
    EXPECT_FALSE(SubdivideLinear(p, 0));
    EXPECT_FALSE(SubdivideLinear(TProfile{}, 2));
}

TEST(BSplineResample, GivesQSamplesPerSegmentStretchedToStartAtXZero)
{
    // Collinear control points: the spline stays on their line.
    const TProfile line = profileFrom({{1, 0.25}, {0.6, 0.25}, {0.2, 0.25}, {0.5, 0.25}, {1, 0.25}});
    const auto s = BSplineResample(line, 7);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->PointCount(), (5 - 1) * 7);
    double smallest = 1;
    for (const TKoordi &k : s->Points) {
        EXPECT_DOUBLE_EQ(k.Y, 0.25);
        EXPECT_LE(k.X, 1.0);
        smallest = std::min(smallest, k.X);
    }
    EXPECT_EQ(smallest, 0.0);
}

TEST(BSplineResample, HasNoResultWhenNothingLiesLeftOfXOne)
{
    EXPECT_FALSE(BSplineResample(profileFrom({{3, 0}, {2, 0.1}, {1.5, 0}, {2, -0.1}, {3, 0}}), 5));
    EXPECT_FALSE(BSplineResample(profileFrom({{1, 0}}), 5));
    EXPECT_FALSE(BSplineResample(profileFrom({{1, 0}, {0, 0}}), 0));
}

TEST(CosineResample, PutsHalfTheStationsOnEachSideOfAnExactNose)
{
    const TProfile naca = MakeNaca4("0012", 81);
    for (int n : {121, 120}) {
        const auto r = CosineResample(naca, n);
        ASSERT_TRUE(r);
        ASSERT_EQ(r->PointCount(), 121);
        EXPECT_EQ(r->Points[60].X, 0.0);
        EXPECT_EQ(r->Points[60].Y, 0.0);
        EXPECT_EQ(r->Points[0].X, 1.0);
        EXPECT_EQ(r->Points[120].X, 1.0);
        for (int j = 0; j < 60; ++j) {
            const double x = (std::cos(j * M_PI / 60) + 1) / 2;
            EXPECT_EQ(r->Points[size_t(j)].X, x);
            EXPECT_EQ(r->Points[size_t(120 - j)].X, x);
            // linear interpolation of a symmetric section stays symmetric
            EXPECT_EQ(r->Points[size_t(j)].Y, -r->Points[size_t(120 - j)].Y);
        }
    }
    const TProfile p = profileFrom({{1, 0}, {0, 0}, {1, 0}});
    EXPECT_EQ(CosineResample(p, 5)->PointCount(), 5);
    EXPECT_FALSE(CosineResample(p, -1));
    EXPECT_FALSE(CosineResample(profileFrom({{1, 0}}), 5));
}

TEST(SmoothCosine, GivesTheRequestedCountWithAnExactNoseAndMatchingStations)
{
    const TProfile naca = MakeNaca4("2412", 81);
    struct Case
    {
        int requested;
        int count;
    };
    for (const Case c : {Case{121, 121}, Case{120, 121}, Case{5, 5}, Case{300, 301}}) {
        TProfile p = naca;
        p.Points[5].Marked = true;
        p.Points[9].IsNew = true;
        ASSERT_TRUE(SmoothCosine(p, c.requested));
        ASSERT_EQ(p.PointCount(), c.count);
        const int half = c.count / 2;
        EXPECT_EQ(p.Points[size_t(half)].X, 0.0);
        EXPECT_EQ(p.Points[size_t(half)].Y, 0.0);
        EXPECT_EQ(p.Points.front().X, 1.0);
        EXPECT_EQ(p.Points.back().X, 1.0);
        for (int j = 0; j < half; ++j)
            EXPECT_EQ(p.Points[size_t(j)].X, p.Points[size_t(c.count - 1 - j)].X);
        for (const TKoordi &k : p.Points)
            EXPECT_FALSE(k.Marked || k.Active || k.IsNew);
        EXPECT_EQ(p.Name, "NACA2412");
    }
}

TEST(SmoothCosine, KeepsTheShapeOfASmoothSection)
{
    // Five spline passes shrink the contour slightly; a NACA 0012 must come out
    // symmetric and close to its thickness formula away from the nose.
    TProfile p = MakeNaca4("0012", 81);
    ASSERT_TRUE(SmoothCosine(p, 121));
    for (int j = 0; j < 60; ++j) {
        const TKoordi &upper = p.Points[size_t(j)];
        const TKoordi &lower = p.Points[size_t(120 - j)];
        EXPECT_NEAR(upper.Y, -lower.Y, 1e-12);
        if (upper.X > 0.05 && upper.X < 0.95) {
            EXPECT_NEAR(upper.Y, nacaHalfThickness(0.12, upper.X), 1.5e-3) << upper.X;
        }
    }
}

TEST(SmoothCosine, RefusesOutOfDomainInputAndLeavesTheProfileUntouched)
{
    struct Case
    {
        const char *what;
        TProfile profile;
        int count;
        std::string_view message;
    };
    const TProfile naca = MakeNaca4("2412", 41);
    TProfile right = naca;
    for (TKoordi &k : right.Points)
        k.X += 2;
    const Case cases[] = {
        {"count below 5, silently", naca, 4, ""},
        {"count above the limit", naca, kMaxCoordinateCount + 1, kMsgCountTooLarge},
        {"one point", profileFrom({{0.5, 0}}), 121, kMsgTooFewPoints},
        {"vertical line", profileFrom({{0.3, 1}, {0.3, 0}, {0.3, -1}}), 121, kMsgVerticalLine},
        {"everything right of x = 1", right, 121, kMsgNoseNotLeftOfOne},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        const GeometryResult r = SmoothCosine(p, c.count);
        EXPECT_FALSE(r.done) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_TRUE(samePoints(p, c.profile)) << c.what;
    }
    TProfile big = naca;
    EXPECT_TRUE(SmoothCosine(big, kMaxCoordinateCount));
    EXPECT_EQ(big.PointCount(), kMaxCoordinateCount);
}

TEST(InsertMidpointsCubic, DoublesThePointsExactlyOnACubicCurve)
{
    // Points equally spaced in the parameter of a curve whose x and y are
    // polynomials of degree <= 3: the cubic through any four of them is the
    // curve itself. x runs 1 -> 0 -> 1 like a contour.
    const int n = 9;
    auto x = [](double t) { return (t - 4) * (t - 4) / 16; };
    auto y = [](double t) { return 0.01 * (t - 4) * (1 + 0.3 * t - 0.04 * t * t); };
    TProfile p;
    for (int i = 0; i < n; ++i) {
        TKoordi k;
        k.X = x(i);
        k.Y = y(i);
        k.Marked = i == 3;
        k.IsNew = i == 4;
        p.Points.push_back(k);
    }
    ASSERT_TRUE(InsertMidpointsCubic(p));
    ASSERT_EQ(p.PointCount(), 2 * n - 1);
    for (int i = 0; i < 2 * n - 1; ++i) {
        const TKoordi &k = p.Points[size_t(i)];
        EXPECT_NEAR(k.X, x(i / 2.0), 1e-14) << i;
        EXPECT_NEAR(k.Y, y(i / 2.0), 1e-14) << i;
        EXPECT_FALSE(k.Marked || k.IsNew || k.Active);
    }
}

TEST(InsertMidpointsCubic, DropsAnEndMidpointBeyondItsTrailingEdgePoint)
{
    TProfile four = profileFrom({{1, 0.01}, {0.2, 0.05}, {0.2, -0.04}, {1, -0.01}});
    ASSERT_TRUE(InsertMidpointsCubic(four));
    EXPECT_EQ(four.PointCount(), 7);
    // x runs 1, 1.05, 0.5, 1: the cubic's midpoint of the first segment lies at
    // x = 1.2, beyond the first point; the one of the last segment at 0.52
    TProfile hook = profileFrom({{1, 0}, {1.05, 0.02}, {0.5, 0.06}, {1, -0.01}});
    ASSERT_TRUE(InsertMidpointsCubic(hook));
    EXPECT_EQ(hook.PointCount(), 6);
    EXPECT_EQ(hook.Points[1].X, 1.05);

    const TProfile three = profileFrom({{1, 0}, {0, 0}, {1, 0}});
    TProfile p = three;
    EXPECT_EQ(InsertMidpointsCubic(p).message, kMsgTooFewPoints);
    EXPECT_TRUE(samePoints(p, three));
}

} // namespace
} // namespace velmora

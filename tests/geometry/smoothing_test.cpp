// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/smoothing.h"

#include "geometry/naca4.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

using testing::profileFrom;
using testing::samePoints;

TEST(SmoothingSteps, SubdivisionSplineAndCosineStationsGiveTheirCounts)
{
    const TProfile p = profileFrom({{1, 0}, {0, 1}, {1, 3}}, "sub");
    const auto s = SubdivideLinear(p, 4);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->PointCount(), (3 - 1) * 4 + 1);
    EXPECT_EQ(s->Name, "sub");
    EXPECT_DOUBLE_EQ(s->Points[1].X, 0.75);
    EXPECT_DOUBLE_EQ(s->Points[6].Y, 2.0);
    EXPECT_FALSE(SubdivideLinear(p, 0));

    // collinear control points: the spline stays on their line, stretched to x = 0
    const TProfile line = profileFrom({{1, 0.25}, {0.6, 0.25}, {0.2, 0.25}, {0.5, 0.25}, {1, 0.25}});
    const auto b = BSplineResample(line, 7);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->PointCount(), (5 - 1) * 7);
    double smallest = 1;
    for (const TKoordi &k : b->Points) {
        EXPECT_DOUBLE_EQ(k.Y, 0.25);
        smallest = std::min(smallest, k.X);
    }
    EXPECT_EQ(smallest, 0.0);
    // nothing left of x = 1 to stretch from
    EXPECT_FALSE(BSplineResample(profileFrom({{3, 0}, {2, 0.1}, {1.5, 0}, {2, -0.1}, {3, 0}}), 5));

    const TProfile naca = MakeNaca4("0012", 81);
    for (int n : {121, 120}) {
        const auto c = CosineResample(naca, n);
        ASSERT_TRUE(c);
        ASSERT_EQ(c->PointCount(), 121);
        for (int j = 0; j < 60; ++j) {
            const double x = (std::cos(j * M_PI / 60) + 1) / 2;
            EXPECT_EQ(c->Points[size_t(j)].X, x);
            EXPECT_EQ(c->Points[size_t(120 - j)].X, x);
            // linear interpolation of a symmetric section stays symmetric
            EXPECT_EQ(c->Points[size_t(j)].Y, -c->Points[size_t(120 - j)].Y);
        }
    }
}

TEST(SmoothCosine, GivesTheRequestedCountWithAnExactNoseAndMatchingStations)
{
    for (int requested : {121, 120, 5, 300}) {
        TProfile p = MakeNaca4("2412", 81);
        p.Points[5].Marked = p.Points[9].IsNew = true;
        ASSERT_TRUE(SmoothCosine(p, requested));
        const int count = requested / 2 * 2 + 1;
        ASSERT_EQ(p.PointCount(), count);
        const int half = count / 2;
        EXPECT_EQ(p.Points[size_t(half)].X, 0.0);
        EXPECT_EQ(p.Points[size_t(half)].Y, 0.0);
        EXPECT_EQ(p.Points.front().X, 1.0);
        EXPECT_EQ(p.Points.back().X, 1.0);
        for (int j = 0; j < half; ++j)
            EXPECT_EQ(p.Points[size_t(j)].X, p.Points[size_t(count - 1 - j)].X);
        EXPECT_TRUE(std::none_of(p.Points.begin(), p.Points.end(),
                                 [](const TKoordi &k) { return k.Marked || k.IsNew || k.Active; }));
        EXPECT_EQ(p.Name, "NACA2412");
    }
}

TEST(SmoothCosine, KeepsTheShapeOfASmoothSection)
{
    // The spline passes shrink the contour a little; a NACA 0012 must come out
    // symmetric and close to its thickness formula away from the ends.
    TProfile p = MakeNaca4("0012", 81);
    ASSERT_TRUE(SmoothCosine(p, 121));
    for (int j = 0; j < 60; ++j) {
        const TKoordi &upper = p.Points[size_t(j)];
        EXPECT_NEAR(upper.Y, -p.Points[size_t(120 - j)].Y, 1e-12);
        const double x = upper.X;
        const double yt = 0.6 * (0.2969 * std::sqrt(x) - 0.126 * x - 0.3516 * x * x
                                 + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
        if (x > 0.05 && x < 0.95) {
            EXPECT_NEAR(upper.Y, yt, 1.5e-3) << x;
        }
    }
}

TEST(SmoothCosine, RefusesOutOfDomainInputAndLeavesTheProfileUntouched)
{
    const TProfile naca = MakeNaca4("2412", 41);
    TProfile right = naca;
    for (TKoordi &k : right.Points)
        k.X += 2;
    struct Case
    {
        TProfile profile;
        int count;
        std::string_view message;
    };
    const Case cases[] = {
        {naca, 4, ""}, // the smoothing box ignores small counts silently
        {naca, kMaxCoordinateCount + 1, kMsgCountTooLarge},
        {profileFrom({{0.5, 0}}), 121, kMsgTooFewPoints},
        {profileFrom({{0.3, 1}, {0.3, 0}, {0.3, -1}}), 121, kMsgVerticalLine},
        {right, 121, kMsgNoseNotLeftOfOne},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        const GeometryResult r = SmoothCosine(p, c.count);
        EXPECT_FALSE(r.done);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(samePoints(p, c.profile)) << c.message;
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
    auto x = [](double t) { return (t - 4) * (t - 4) / 16; };
    auto y = [](double t) { return 0.01 * (t - 4) * (1 + 0.3 * t - 0.04 * t * t); };
    TProfile p;
    for (int i = 0; i < 9; ++i)
        p.Points.push_back(TKoordi{x(i), y(i), i == 3, false, i == 4});
    ASSERT_TRUE(InsertMidpointsCubic(p));
    ASSERT_EQ(p.PointCount(), 17);
    for (int i = 0; i < 17; ++i) {
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
    TProfile lowerHook = profileFrom({{1, 0.01}, {0.5, 0.06}, {1.05, -0.02}, {1, 0}});
    ASSERT_TRUE(InsertMidpointsCubic(lowerHook));
    EXPECT_EQ(lowerHook.PointCount(), 6);
    EXPECT_EQ(lowerHook.Points[4].X, 1.05);

    const TProfile three = profileFrom({{1, 0}, {0, 0}, {1, 0}});
    TProfile p = three;
    EXPECT_EQ(InsertMidpointsCubic(p).message, kMsgTooFewPoints);
    EXPECT_TRUE(samePoints(p, three));
}

} // namespace
} // namespace velmora

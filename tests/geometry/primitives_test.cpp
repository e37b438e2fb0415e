// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/primitives.h"

#include "geometry/naca4.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <stdexcept>

namespace velmora {
namespace {

using testing::profileFrom;

TEST(PointAccess, OutsideTheListIsRejectedInsteadOfRead)
{
    TProfile p = profileFrom({{1, 0}, {0, 0}, {1, 0}});
    EXPECT_EQ(PointCount(p), 3);
    EXPECT_EQ(PointAt(p, 1).X, 0.0);
    EXPECT_THROW(PointAt(p, 3), std::out_of_range);
    EXPECT_THROW(PointAt(p, -1), std::out_of_range);
}

TEST(NoseIndex, FirstOfTwoLeftmostPointsWins)
{
    EXPECT_EQ(NoseIndex(profileFrom({{1, 0}, {0.2, 0.1}, {0, 0.01}, {0, -0.01}, {1, 0}})), 2);
    EXPECT_EQ(NoseIndex(MakeNaca4("2412", 81)), 80);
    EXPECT_EQ(NoseIndex(TProfile{}), -1);
}

TEST(CopyRange, CopiesCoordinatesNamesAndCharacteristicsButNoFlagsOrState)
{
    TProfile src = profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}, {0.5, -0.1}, {1, 0}}, "src.x");
    src.Title = "Titel";
    src.Points[1].Marked = true;
    src.Points[2].IsNew = true;
    src.Points[3].Active = true;
    src.Color = 0x123456;
    src.Visible = false;
    src.Modified = true;
    src.MarkRangeStart = 1;
    src.UnmarkRangeEnd = 3;
    src.Characteristics[kCamber] = 2.5;

    const TProfile c = CopyRange(src, 1, 3);
    ASSERT_EQ(c.PointCount(), 3);
    EXPECT_EQ(c.Points[0].Y, 0.1);
    EXPECT_EQ(c.Points[2].Y, -0.1);
    for (const TKoordi &k : c.Points)
        EXPECT_FALSE(k.Marked || k.Active || k.IsNew);
    EXPECT_EQ(c.Name, "src.x");
    EXPECT_EQ(c.Title, "Titel");
    EXPECT_EQ(c.Characteristics[kCamber], 2.5);
    EXPECT_EQ(c.Color, 0);
    EXPECT_TRUE(c.Visible);
    EXPECT_FALSE(c.Modified);
    EXPECT_EQ(c.MarkRangeStart, -1);
    EXPECT_EQ(c.UnmarkRangeEnd, -1);

    EXPECT_EQ(WholeCopy(src).PointCount(), 5);
    EXPECT_EQ(CopyRange(src, -4, 99).PointCount(), 5);
    EXPECT_EQ(CopyRange(src, 3, 2).PointCount(), 0);
}

TEST(LagrangeValue, ReproducesACubicAwayFromTheTable)
{
    auto cubic = [](double x) { return 0.3 - 1.7 * x + 2.1 * x * x - 0.9 * x * x * x; };
    const std::array<LagrangePair, 4> table = {
        {{0.1, cubic(0.1)}, {0.45, cubic(0.45)}, {0.8, cubic(0.8)}, {1.3, cubic(1.3)}}};
    for (double x : {-0.5, 0.0, 0.3, 1.0, 2.0})
        EXPECT_NEAR(LagrangeValue(table, 3, x), cubic(x), 1e-12) << x;
    // degree 1 through the first two pairs only
    EXPECT_NEAR(LagrangeValue(table, 1, 0.275), (cubic(0.1) + cubic(0.45)) / 2, 1e-15);
}

TEST(LagrangeValue, ReturnsTheTableValueExactlyAtATableAbscissa)
{
    const std::array<LagrangePair, 4> table = {
        {{0.1, 0.1}, {0.3, 1.0 / 3.0}, {0.7, -0.7e-3}, {0.93, 2.0 / 7.0}}};
    for (const LagrangePair &pair : table)
        EXPECT_EQ(LagrangeValue(table, 3, pair.x), pair.y);
}

TEST(RotatePoints, NegativeAngleTurnsCounterClockwiseOnBothSidesOfTheCentre)
{
    TProfile p = profileFrom({{2, 1}, {0, 1}, {1, 1}, {1, 3}});
    RotatePoints(p, 0, 3, 1, 1, -M_PI / 2);
    EXPECT_NEAR(p.Points[0].X, 1, 1e-15);
    EXPECT_NEAR(p.Points[0].Y, 2, 1e-15);
    EXPECT_NEAR(p.Points[1].X, 1, 1e-15);
    EXPECT_NEAR(p.Points[1].Y, 0, 1e-15);
    // the centre itself stays
    EXPECT_EQ(p.Points[2].X, 1);
    EXPECT_EQ(p.Points[2].Y, 1);
    EXPECT_NEAR(p.Points[3].X, -1, 1e-15);
    EXPECT_NEAR(p.Points[3].Y, 1, 1e-15);
}

TEST(RotatePoints, KeepsDistancesAndTurnsBackAndOnlyTouchesItsRange)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-3, 3);
    TProfile p;
    for (int i = 0; i < 40; ++i) {
        TKoordi k;
        k.X = u(rng);
        k.Y = u(rng);
        p.Points.push_back(k);
    }
    const TProfile before = p;
    const double cx = 0.4, cy = -0.2, a = 0.7;
    RotatePoints(p, 1, 38, cx, cy, a);
    EXPECT_EQ(p.Points[0].X, before.Points[0].X);
    EXPECT_EQ(p.Points[39].Y, before.Points[39].Y);
    for (int i = 1; i <= 38; ++i) {
        const TKoordi &b = before.Points[size_t(i)];
        const TKoordi &q = p.Points[size_t(i)];
        EXPECT_NEAR(std::hypot(q.X - cx, q.Y - cy), std::hypot(b.X - cx, b.Y - cy), 1e-12);
        // turned by -a: the angle of every point drops by a (mod 2 pi)
        const double turned = std::remainder(std::atan2(q.Y - cy, q.X - cx)
                                                 - std::atan2(b.Y - cy, b.X - cx) + a,
                                             2 * M_PI);
        EXPECT_NEAR(turned, 0, 1e-9);
    }
    RotatePoints(p, 1, 38, cx, cy, -a);
    for (int i = 1; i <= 38; ++i) {
        EXPECT_NEAR(p.Points[size_t(i)].X, before.Points[size_t(i)].X, 1e-12);
        EXPECT_NEAR(p.Points[size_t(i)].Y, before.Points[size_t(i)].Y, 1e-12);
    }
}

} // namespace
} // namespace velmora

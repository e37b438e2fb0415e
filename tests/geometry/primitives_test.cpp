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

TEST(Primitives, NoseIsTheFirstLeftmostPointAndAccessOutsideTheListThrows)
{
    const TProfile p = profileFrom({{1, 0}, {0.2, 0.1}, {0, 0.01}, {0, -0.01}, {1, 0}});
    EXPECT_EQ(NoseIndex(p), 2);
    EXPECT_EQ(NoseIndex(MakeNaca4("2412", 81)), 80);
    EXPECT_EQ(NoseIndex(TProfile{}), -1);
    EXPECT_EQ(PointAt(p, 4).X, 1.0);
    EXPECT_THROW(PointAt(p, 5), std::out_of_range);
    EXPECT_THROW(PointAt(p, -1), std::out_of_range);
}

TEST(Primitives, CopyRangeTakesCoordinatesNamesAndCharacteristicsButNoFlagsOrState)
{
    TProfile src = profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}, {0.5, -0.1}, {1, 0}}, "src");
    src.Points[1].Marked = src.Points[2].IsNew = src.Points[3].Active = true;
    src.Color = 0x123456;
    src.Visible = false;
    src.Modified = true;
    src.MarkRangeStart = 1;
    src.Characteristics[kCamber] = 2.5;

    const TProfile c = CopyRange(src, 1, 3);
    ASSERT_EQ(c.PointCount(), 3);
    EXPECT_EQ(c.Points[2].Y, -0.1);
    for (const TKoordi &k : c.Points)
        EXPECT_FALSE(k.Marked || k.Active || k.IsNew);
    EXPECT_EQ(c.Name, "src");
    EXPECT_EQ(c.Characteristics[kCamber], 2.5);
    EXPECT_EQ(c.Color, 0);
    EXPECT_TRUE(c.Visible);
    EXPECT_FALSE(c.Modified);
    EXPECT_EQ(c.MarkRangeStart, -1);
    EXPECT_EQ(CopyRange(src, -4, 99).PointCount(), 5);
    EXPECT_EQ(CopyRange(src, 3, 2).PointCount(), 0);
}

TEST(Primitives, LagrangeValueReproducesACubicAndHitsTableValuesExactly)
{
    auto cubic = [](double x) { return 0.3 - 1.7 * x + 2.1 * x * x - 0.9 * x * x * x; };
    const std::array<LagrangePair, 4> onCubic = {
        {{0.1, cubic(0.1)}, {0.3, cubic(0.3)}, {0.7, cubic(0.7)}, {0.93, cubic(0.93)}}};
    const std::array<LagrangePair, 4> table = {{{0.1, 0.1}, {0.3, 1.0 / 3}, {0.7, -7e-4}, {0.93, 2.0 / 7}}};
    for (double x : {-0.5, 0.0, 0.45, 1.0, 2.0})
        EXPECT_NEAR(LagrangeValue(onCubic, 3, x), cubic(x), 1e-12) << x;
    // at a table abscissa every other term carries the factor 0
    for (const LagrangePair &pair : table)
        EXPECT_EQ(LagrangeValue(table, 3, pair.x), pair.y);
}

TEST(Primitives, RotatePointsTurnsCounterClockwiseForANegativeAngleAndKeepsDistances)
{
    TProfile p = profileFrom({{2, 1}, {0, 1}, {1, 1}});
    RotatePoints(p, 0, 2, 1, 1, -M_PI / 2);
    EXPECT_NEAR(p.Points[0].X, 1, 1e-15); // right of the centre -> above
    EXPECT_NEAR(p.Points[0].Y, 2, 1e-15);
    EXPECT_NEAR(p.Points[1].X, 1, 1e-15); // left of the centre -> below
    EXPECT_NEAR(p.Points[1].Y, 0, 1e-15);
    EXPECT_EQ(p.Points[2].X, 1); // the centre stays
    EXPECT_EQ(p.Points[2].Y, 1);

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-3, 3);
    TProfile r;
    for (int i = 0; i < 40; ++i)
        r.Points.push_back(TKoordi{u(rng), u(rng)});
    const TProfile before = r;
    const double cx = 0.4, cy = -0.2, a = 0.7;
    RotatePoints(r, 1, 38, cx, cy, a);
    EXPECT_EQ(r.Points[0].X, before.Points[0].X);
    EXPECT_EQ(r.Points[39].Y, before.Points[39].Y);
    for (int i = 1; i <= 38; ++i) {
        const TKoordi &b = before.Points[size_t(i)];
        const TKoordi &q = r.Points[size_t(i)];
        EXPECT_NEAR(std::hypot(q.X - cx, q.Y - cy), std::hypot(b.X - cx, b.Y - cy), 1e-12);
        const double turn = std::atan2(q.Y - cy, q.X - cx) - std::atan2(b.Y - cy, b.X - cx);
        EXPECT_NEAR(std::remainder(turn + a, 2 * M_PI), 0, 1e-9);
    }
}

} // namespace
} // namespace velmora

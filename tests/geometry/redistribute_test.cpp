// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/redistribute.h"

#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

using testing::profileFrom;
using testing::samePoints;

// y of a NACA 4-digit section with the thickness added vertically, as MakeNaca4 builds it.
double nacaY(double m, double p, double t, double x, bool upper)
{
    const double yt = 5 * t
        * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x
           - 0.1036 * x * x * x * x);
    double yc = 0;
    if (m > 0)
        yc = x < p ? m / (p * p) * (2 * p * x - x * x)
                   : m / ((1 - p) * (1 - p)) * (1 - 2 * p + 2 * p * x - x * x);
    return upper ? yc + yt : yc - yt;
}

TEST(StationX, EveryDistributionRunsFromOneToZeroCrowdingWhereItsNameSays)
{
    const int q = 10;
    for (auto d : {StationDistribution::Linear, StationDistribution::SinFront,
                   StationDistribution::SinRear, StationDistribution::Cos}) {
        EXPECT_EQ(StationX(d, 0, q), 1.0);
        EXPECT_NEAR(StationX(d, q, q), 0.0, 1e-15);
    }
    auto firstStep = [q](StationDistribution d) { return 1 - StationX(d, 1, q); };
    auto lastStep = [q](StationDistribution d) { return StationX(d, q - 1, q); };
    EXPECT_LT(firstStep(StationDistribution::SinRear), lastStep(StationDistribution::SinRear));
    EXPECT_GT(firstStep(StationDistribution::SinFront), lastStep(StationDistribution::SinFront));
    EXPECT_NEAR(firstStep(StationDistribution::Cos), lastStep(StationDistribution::Cos), 1e-15);
    EXPECT_NEAR(firstStep(StationDistribution::Linear), 0.1, 1e-15);
}

TEST(FindBracket, FindsPointsToFiveDecimalsAndSegmentsInEitherOrder)
{
    const TProfile p = profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}, {0.3, -0.05}, {1, 0}});
    Bracket b = FindBracket(p, 0, 2, 0.500004);
    EXPECT_EQ(b.lo, 1);
    EXPECT_EQ(b.hi, 1);
    b = FindBracket(p, 0, 2, 0.7);
    EXPECT_EQ(b.lo, 0);
    EXPECT_EQ(b.hi, 1);
    b = FindBracket(p, 2, 4, 0.7);
    EXPECT_EQ(b.lo, 3);
    EXPECT_EQ(b.hi, 4);
    b = FindBracket(p, 2, 4, 0.000004);
    EXPECT_EQ(b.lo, 2);
    EXPECT_EQ(b.hi, 2);
    // a station no segment covers leaves both indices at -1
    b = FindBracket(p, 0, 2, 1.2);
    EXPECT_FALSE(b.found());
    EXPECT_EQ(b.lo, -1);
    EXPECT_EQ(b.hi, -1);
    EXPECT_FALSE(FindBracket(p, 3, 99, 0.1).found());
}

TEST(RedistributeCubic, DefaultSettingsGiveSixtyOnePointsOnTheSection)
{
    const double m = 0.02, pos = 0.4, t = 0.12;
    const TProfile naca = MakeNaca4("2412", 101);
    TProfile p = naca;
    ASSERT_TRUE(RedistributeCubic(p, 60, StationDistribution::SinFront));
    ASSERT_EQ(p.PointCount(), 61);
    EXPECT_EQ(NoseIndex(p), 30);
    int copies = 0;
    for (int j = 0; j <= 30; ++j) {
        const double x = StationX(StationDistribution::SinFront, j, 30);
        // a section point within 5 decimals of the station is taken over
        const bool onPoint = std::any_of(naca.Points.begin(), naca.Points.end(),
                                         [x](const TKoordi &k) { return std::abs(k.X - x) < 5e-6; });
        copies += onPoint;
        for (const TKoordi &k : {p.Points[size_t(j)], p.Points[size_t(60 - j)]}) {
            EXPECT_EQ(k.IsNew, !onPoint) << x;
            EXPECT_FALSE(k.Marked || k.Active);
            if (onPoint) {
                EXPECT_NEAR(k.X, x, 5e-6);
            } else {
                EXPECT_EQ(k.X, x);
            }
        }
        // the cubic through four section points stays on the section; the
        // nose region is coarser than the rest
        const double tolerance = x < 0.02 ? 2e-4 : 2e-6;
        EXPECT_NEAR(p.Points[size_t(j)].Y, nacaY(m, pos, t, p.Points[size_t(j)].X, true), tolerance) << x;
        EXPECT_NEAR(p.Points[size_t(60 - j)].Y, nacaY(m, pos, t, p.Points[size_t(60 - j)].X, false), tolerance) << x;
    }
    // trailing edge, nose and x = 0.5 lie on section points
    EXPECT_EQ(copies, 3);
    EXPECT_EQ(p.Points[30].X, 0.0);
    EXPECT_EQ(p.Points[30].Y, 0.0);
    EXPECT_EQ(p.Points[0].X, 1.0);
    EXPECT_EQ(p.Points[60].X, 1.0);
}

TEST(RedistributeCubic, LinearTenGivesStationsInFifthsAndOddCountsActLikeEven)
{
    for (int n : {10, 11}) {
        TProfile p = MakeNaca4("0012", 41);
        ASSERT_TRUE(RedistributeCubic(p, n, StationDistribution::Linear));
        ASSERT_EQ(p.PointCount(), 11);
        const double expected[] = {1.0, 0.8, 0.6, 0.4, 0.2, 0.0};
        for (int j = 0; j <= 5; ++j) {
            EXPECT_NEAR(p.Points[size_t(j)].X, expected[j], 1e-15);
            EXPECT_NEAR(p.Points[size_t(10 - j)].X, expected[j], 1e-15);
        }
    }
}

TEST(RedistributeCubic, StationsThatAlreadyExistGiveTheSameProfileBack)
{
    // MakeNaca4 spaces its points by the cosine rule of the "Cos" distribution.
    const TProfile naca = MakeNaca4("2412", 81);
    TProfile p = naca;
    ASSERT_TRUE(RedistributeCubic(p, 160, StationDistribution::Cos));
    EXPECT_TRUE(samePoints(p, naca));
}

TEST(RedistributeCubic, EveryDistributionKeepsTheNosePoint)
{
    for (auto d : {StationDistribution::Linear, StationDistribution::SinFront,
                   StationDistribution::SinRear, StationDistribution::Cos}) {
        TProfile p = MakeNaca4("4412", 61);
        p.Points[60].Y = 1e-9; // told apart from a point made at (0, 0)
        ASSERT_TRUE(RedistributeCubic(p, 40, d));
        EXPECT_EQ(p.Points[20].X, 0.0);
        EXPECT_EQ(p.Points[20].Y, 1e-9);
        EXPECT_FALSE(p.Points[20].IsNew);
    }
}

TEST(RedistributeCubic, RefusesOutOfDomainProfilesAndLeavesThemUntouched)
{
    const TProfile naca = MakeNaca4("2412", 41);
    TProfile shifted = naca;
    for (TKoordi &k : shifted.Points)
        k.X += 0.1;
    TProfile doubled = naca;
    doubled.Points.insert(doubled.Points.begin() + 10, doubled.Points[10]);
    struct Case
    {
        TProfile profile;
        int count;
        std::string_view message;
    };
    const Case cases[] = {
        {naca, 1, kMsgCountTooSmall},
        {naca, kMaxCoordinateCount + 1, kMsgCountTooLarge},
        // three points on the upper, then on the lower side
        {profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}, {0.3, -0.1}, {0.6, -0.1}, {1, 0}}), 20, kMsgTooFewPoints},
        {profileFrom({{1, 0}, {0.6, 0.1}, {0.3, 0.1}, {0, 0}, {0.5, -0.1}, {1, 0}}), 20, kMsgTooFewPoints},
        {TProfile{}, 20, kMsgTooFewPoints},
        {shifted, 60, kMsgNotNormalised},
        {doubled, 400, kMsgEqualX},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        EXPECT_EQ(RedistributeCubic(p, c.count, StationDistribution::SinFront).message, c.message);
        EXPECT_TRUE(samePoints(p, c.profile)) << c.message;
    }
}

} // namespace
} // namespace velmora

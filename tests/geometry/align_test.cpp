// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/align.h"

#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

using testing::nearPoints;
using testing::profileFrom;
using testing::samePoints;

// The profile at `scale` times its size, turned by `angle` about the origin
// and moved by (dx, dy): what a drawing in millimetres looks like.
TProfile placed(const TProfile &p, double scale, double angle, double dx, double dy)
{
    TProfile q = p;
    for (TKoordi &k : q.Points) {
        const double x = k.X * scale;
        const double y = k.Y * scale;
        k.X = x * std::cos(angle) - y * std::sin(angle) + dx;
        k.Y = x * std::sin(angle) + y * std::cos(angle) + dy;
    }
    return q;
}

TEST(AlignNormalise, LeavesANormalisedProfileAsItIsAndStopsExtrapolatingAtOnce)
{
    // NACA sections end exactly at (1, 0): the first pass keeps them there,
    // so the extrapolating variant must return after it, not turn the points
    // 19 more times.
    const TProfile naca = MakeNaca4("6409", 61);
    TProfile plain = naca;
    TProfile extrapolated = naca;
    ASSERT_TRUE(AlignNormalise(plain, false));
    ASSERT_TRUE(AlignNormalise(extrapolated, true));
    EXPECT_TRUE(nearPoints(plain, naca, 1e-12));
    EXPECT_TRUE(samePoints(plain, extrapolated));
    RoundTo6(plain);
    TProfile rounded = naca;
    RoundTo6(rounded);
    EXPECT_TRUE(samePoints(plain, rounded));
}

TEST(AlignNormalise, BringsAMillimetreDrawingBackToTheUnitChordKeepingFlags)
{
    const TProfile naca = MakeNaca4("4412", 81);
    for (bool extrapolate : {false, true}) {
        TProfile p = placed(naca, 187.5, 0.31, -42.0, 913.25);
        p.Points[3].Marked = p.Points[7].IsNew = p.Points[9].Active = true;
        ASSERT_TRUE(AlignNormalise(p, extrapolate));
        EXPECT_TRUE(nearPoints(p, naca, 1e-6)) << "extrapolate " << extrapolate;
        EXPECT_TRUE(p.Points[3].Marked && p.Points[7].IsNew && p.Points[9].Active);
        RoundTo6(p);
        const TKoordi &nose = p.Points[size_t(NoseIndex(p))];
        EXPECT_EQ(nose.X, 0.0);
        EXPECT_EQ(nose.Y, 0.0);
        EXPECT_EQ(p.Points.front().X, 1.0);
        EXPECT_EQ(p.Points.back().X, 1.0);
    }
}

// A NACA 2412 (161 points a side) without the points beyond `upperCut` on the
// upper and `lowerCut` on the lower side.
TProfile cutNaca(double upperCut, double lowerCut)
{
    const TProfile full = MakeNaca4("2412", 161);
    const int nose = NoseIndex(full);
    TProfile cut;
    for (int i = 0; i < full.PointCount(); ++i) {
        const TKoordi &k = full.Points[size_t(i)];
        if (k.X <= (i <= nose ? upperCut : lowerCut))
            cut.Points.push_back(k);
    }
    return cut;
}

TEST(AlignNormalise, ExtrapolationPutsBothTrailingEdgePointsOnXOne)
{
    // Cut square at x = 0.95: the chord runs from the nose to the middle of
    // the cut, so the section comes out turned and scaled onto that chord,
    // with its ends moved onto x = 1.
    const TProfile cut = cutNaca(0.95, 0.95);
    const double midX = (cut.Points.front().X + cut.Points.back().X) / 2;
    const double midY = (cut.Points.front().Y + cut.Points.back().Y) / 2;
    const double chord2 = midX * midX + midY * midY;
    TProfile expected = cut;
    for (TKoordi &k : expected.Points)
        k = TKoordi{(k.X * midX + k.Y * midY) / chord2, (k.Y * midX - k.X * midY) / chord2};
    expected.Points.front().X = expected.Points.back().X = 1.0;

    TProfile p = placed(cut, 250, -0.2, 17, -3);
    ASSERT_TRUE(AlignNormalise(p, true));
    // the passes settle within a few 1e-6 of the turned and scaled cut
    EXPECT_TRUE(nearPoints(p, expected, 1e-5));
    RoundTo6(p);
    EXPECT_EQ(p.Points.front().X, 1.0);
    EXPECT_EQ(p.Points.back().X, 1.0);

    // Cut askew, the ends are pulled onto x = 1 along their sides; the nose
    // stays at (0, 0) to the accuracy of the last pass.
    p = placed(cutNaca(0.97, 0.93), 250, -0.2, 17, -3);
    ASSERT_TRUE(AlignNormalise(p, true));
    RoundTo6(p);
    EXPECT_EQ(p.Points.front().X, 1.0);
    EXPECT_EQ(p.Points.back().X, 1.0);
    const TKoordi &nose = p.Points[size_t(NoseIndex(p))];
    EXPECT_NEAR(nose.X, 0.0, 1e-4);
    EXPECT_NEAR(nose.Y, 0.0, 1e-4);
    EXPECT_NEAR((p.Points.front().Y + p.Points.back().Y) / 2, 0.0, 1e-3);
}

TEST(AlignNormalise, RefusesContoursWithoutAChordAndLeavesThemUntouched)
{
    struct Case
    {
        TProfile profile;
        bool extrapolate;
        std::string_view message;
    };
    const Case cases[] = {
        {profileFrom({{0.3, 0.2}}), false, kMsgTooFewPoints},
        {profileFrom({{1, 0}, {0, 0}, {1, 0}}), true, kMsgTooFewPoints},
        {profileFrom({{2, 1}, {2, 0.5}, {2, -0.3}, {2, 4}}), false, kMsgVerticalLine},
        // the nose is the trailing-edge midpoint
        {profileFrom({{0, 1}, {1, 0}, {0, -1}}), false, kMsgNoseAtTrailingEdge},
        // a doubled trailing-edge point leaves the cubic undetermined
        {profileFrom({{0.9, 0.02}, {0.9, 0.02}, {0.5, 0.05}, {0, 0}, {0.5, -0.04}, {0.9, -0.01}}),
         true, kMsgEqualX},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        EXPECT_EQ(AlignNormalise(p, c.extrapolate).message, c.message);
        EXPECT_TRUE(samePoints(p, c.profile)) << c.message;
    }
}

TEST(AlignNormalise, RoundTo6LeavesValuesTooLargeToScaleAlone)
{
    TProfile p = profileFrom({{0.1234564999, -0.98765451}, {1e303, -2e305}});
    RoundTo6(p);
    EXPECT_EQ(p.Points[0].X, 0.123456);
    EXPECT_EQ(p.Points[0].Y, -0.987655);
    EXPECT_EQ(p.Points[1].X, 1e303);
    EXPECT_EQ(p.Points[1].Y, -2e305);
}

} // namespace
} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/align.h"

#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry_testing.h"
#include "model/numbertext.h"
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

TEST(AlignNormalise, LeavesANormalisedProfileAsItIsApartFromTheRounding)
{
    const TProfile naca = MakeNaca4("2412", 81);
    for (bool extrapolate : {false, true}) {
        TProfile p = naca;
        ASSERT_TRUE(AlignNormalise(p, extrapolate));
        EXPECT_TRUE(nearPoints(p, naca, 1e-12));
        RoundTo6(p);
        TProfile rounded = naca;
        RoundTo6(rounded);
        EXPECT_TRUE(samePoints(p, rounded));
    }
}

TEST(AlignNormalise, BringsAMillimetreDrawingBackToTheUnitChord)
{
    const TProfile naca = MakeNaca4("4412", 81);
    for (bool extrapolate : {false, true}) {
        TProfile p = placed(naca, 187.5, 0.31, -42.0, 913.25);
        ASSERT_TRUE(AlignNormalise(p, extrapolate));
        EXPECT_TRUE(nearPoints(p, naca, 1e-6)) << "extrapolate " << extrapolate;
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
    const double chord = std::hypot(midX, midY);
    TProfile expected = cut;
    for (TKoordi &k : expected.Points) {
        const double x = k.X;
        const double y = k.Y;
        k.X = (x * midX + y * midY) / (chord * chord);
        k.Y = (y * midX - x * midY) / (chord * chord);
    }
    expected.Points.front().X = 1.0;
    expected.Points.back().X = 1.0;
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

TEST(AlignNormalise, ExtrapolationStopsAtOnceWhenTheTrailingEdgeIsAlreadyOnXOne)
{
    // NACA sections end exactly at (1, 0), so the first pass leaves them there
    // and the extrapolating variant returns the same points
    const TProfile naca = MakeNaca4("6409", 61);
    TProfile plain = naca;
    TProfile extrapolated = naca;
    ASSERT_TRUE(AlignNormalise(plain, false));
    ASSERT_TRUE(AlignNormalise(extrapolated, true));
    EXPECT_TRUE(samePoints(plain, extrapolated));
    EXPECT_EQ(extrapolated.Points.front().X, 1.0);
}

TEST(AlignNormalise, KeepsEveryPointFlag)
{
    TProfile p = placed(MakeNaca4("2412", 21), 10, 0.2, 1, 2);
    p.Points[3].Marked = true;
    p.Points[7].IsNew = true;
    p.Points[9].Active = true;
    ASSERT_TRUE(AlignNormalise(p, true));
    EXPECT_TRUE(p.Points[3].Marked);
    EXPECT_TRUE(p.Points[7].IsNew);
    EXPECT_TRUE(p.Points[9].Active);
    EXPECT_FALSE(p.Points[4].Marked || p.Points[4].IsNew || p.Points[4].Active);
}

TEST(AlignNormalise, RefusesContoursWithoutAChordAndLeavesThemUntouched)
{
    struct Case
    {
        const char *what;
        TProfile profile;
        bool extrapolate;
        std::string_view message;
    };
    const Case cases[] = {
        {"one point", profileFrom({{0.3, 0.2}}), false, kMsgTooFewPoints},
        {"three points to extrapolate", profileFrom({{1, 0}, {0, 0}, {1, 0}}), true,
         kMsgTooFewPoints},
        {"vertical line", profileFrom({{2, 1}, {2, 0.5}, {2, -0.3}, {2, 4}}), false,
         kMsgVerticalLine},
        {"nose on the trailing-edge midpoint", profileFrom({{0, 1}, {1, 0}, {0, -1}}), false,
         kMsgNoseAtTrailingEdge},
        {"doubled point at the trailing edge",
         profileFrom({{0.9, 0.02}, {0.9, 0.02}, {0.5, 0.05}, {0, 0}, {0.5, -0.04}, {0.9, -0.01}}),
         true, kMsgEqualX},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        const GeometryResult r = AlignNormalise(p, c.extrapolate);
        EXPECT_FALSE(r.done) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_TRUE(samePoints(p, c.profile)) << c.what;
    }
}

TEST(RoundTo6, RoundsEveryCoordinateToSixDecimalsAndLeavesHugeValuesAlone)
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

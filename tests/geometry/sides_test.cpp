// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/sides.h"

#include "geometry/characteristics.h"
#include "geometry/naca4.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace velmora {
namespace {

using testing::profileFrom;
using testing::samePoints;

TEST(Invert, TurnsTheSectionUpsideDownAndTwiceGivesItBack)
{
    const TProfile naca = MakeNaca4("2412", 41);
    TProfile p = naca;
    p.Points[0].Marked = true;
    ASSERT_TRUE(Invert(p));
    const size_t n = p.Points.size();
    for (size_t k = 0; k < n; ++k) {
        EXPECT_EQ(p.Points[n - 1 - k].X, naca.Points[k].X);
        EXPECT_EQ(p.Points[n - 1 - k].Y, -naca.Points[k].Y);
    }
    EXPECT_TRUE(p.Points[0].Marked); // flags stay with the list positions
    // the mirrored lower side is now on top: the camber changes sign
    TProfile q = p;
    ASSERT_TRUE(ComputeCharacteristics(q));
    EXPECT_NEAR(q.Characteristics[kCamber], -2.0, 0.01);
    EXPECT_NEAR(q.Characteristics[kAlfa0], 2.08, 0.01);

    ASSERT_TRUE(Invert(p));
    p.Points[0].Marked = false;
    EXPECT_TRUE(samePoints(p, naca));
}

TEST(Invert, RenamesBeforeTheFirstDotAndKeepsTheLastExtension)
{
    const std::pair<const char *, const char *> names[] = {
        {"abc", "abc_inv"}, {"a.b.c", "a_inv.c"}, {"s1223.x", "s1223_inv.x"}, {"", "_inv"}};
    for (const auto &[name, inverted] : names) {
        TProfile p = profileFrom({{1, 0}, {0, 0}, {1, 0}}, name);
        p.Title = "Mein Profil";
        ASSERT_TRUE(Invert(p));
        EXPECT_EQ(p.Name, inverted);
        EXPECT_EQ(p.Title, "Mein Profil inv");
    }
    const TProfile source = profileFrom({{1, 0.1}, {0, 0}, {1, -0.2}}, "src");
    const TProfile copy = InverseCopy(source);
    EXPECT_EQ(copy.Name, "src_inv");
    EXPECT_EQ(copy.Points[0].Y, 0.2);
    TProfile empty;
    EXPECT_EQ(Invert(empty).message, kMsgTooFewPoints);
    EXPECT_EQ(empty.Name, "");
}

TEST(Mirror, OfASymmetricSectionGivesItBack)
{
    const TProfile naca = MakeNaca4("0012", 31);
    TProfile upper = naca;
    ASSERT_TRUE(MirrorUpper(upper));
    EXPECT_TRUE(samePoints(upper, naca));
    TProfile lower = naca;
    ASSERT_TRUE(MirrorLower(lower));
    EXPECT_TRUE(samePoints(lower, naca));
}

TEST(Mirror, EitherSideMakesASymmetricSectionAroundTheNose)
{
    TProfile up = MakeNaca4("4412", 31); // 61 points, nose at 30
    up.Points[5].Marked = up.Points[40].Marked = true;
    ASSERT_TRUE(MirrorUpper(up));
    ASSERT_EQ(up.PointCount(), 61);
    EXPECT_TRUE(up.Points[5].Marked); // the kept side keeps its flags
    EXPECT_FALSE(up.Points[40].Marked);

    TProfile low = MakeNaca4("4412", 31);
    low.Points[30].Y = 0.001; // a nose off the chord
    low.Points[50].IsNew = true;
    const TProfile before = low;
    ASSERT_TRUE(MirrorLower(low));
    ASSERT_EQ(low.PointCount(), 61);
    // the nose's y is negated: the step the user sees on an unnormalised profile
    EXPECT_EQ(low.Points[30].Y, -0.001);
    for (int k = 0; k < 30; ++k) {
        EXPECT_EQ(up.Points[size_t(60 - k)].X, up.Points[size_t(k)].X);
        EXPECT_EQ(up.Points[size_t(60 - k)].Y, -up.Points[size_t(k)].Y);
        EXPECT_EQ(low.Points[size_t(60 - k)].Y, before.Points[size_t(60 - k)].Y);
        EXPECT_EQ(low.Points[size_t(k)].X, low.Points[size_t(60 - k)].X);
        EXPECT_EQ(low.Points[size_t(k)].Y, -low.Points[size_t(60 - k)].Y);
    }
    EXPECT_FALSE(low.Points[50].IsNew); // all fresh
}

TEST(Mirror, RefusesAMissingSideSayingWhy)
{
    // a NACA section stored from the nose round to the nose again
    TProfile loop = MakeNaca4("2412");
    ASSERT_EQ(loop.Points.size(), 161u);
    std::rotate(loop.Points.begin(), loop.Points.begin() + 80, loop.Points.end());
    loop.Points.push_back(loop.Points.front());
    const std::tuple<TProfile, GeometryResult (*)(TProfile &), std::string_view> cases[] = {
        {profileFrom({{0, 0}, {0.5, 0.1}, {1, 0}}), MirrorUpper, kMsgNoseFirst},
        {profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}}), MirrorLower, kMsgNoseLast},
        {loop, MirrorUpper, kMsgNoseFirst},
        {loop, MirrorLower, kMsgNoseLast},
        // the lower side never leaves the nose's x
        {profileFrom({{1, 0.1}, {0, 0}, {0, -0.1}}), MirrorLower, kMsgNoseLast},
        {profileFrom({{0, 0}}), MirrorUpper, kMsgTooFewPoints},
        {profileFrom({{0.5, 1}, {0.5, 0}, {0.5, -1}}), MirrorUpper, kMsgVerticalLine},
        {profileFrom({{0.5, 1}, {0.5, 0}, {0.5, -1}}), MirrorLower, kMsgVerticalLine},
        {TProfile{}, MirrorUpper, kMsgTooFewPoints},
        {TProfile{}, MirrorLower, kMsgTooFewPoints},
    };
    for (const auto &[profile, op, message] : cases) {
        TProfile p = profile;
        EXPECT_EQ(op(p).message, message) << profile.Points.size();
        EXPECT_TRUE(samePoints(p, profile));
    }
}

TEST(ReplaceLowerSide, TakesTheLowerSideOfTheClipboardProfile)
{
    TProfile p = MakeNaca4("4412", 31);
    p.Points[2].Marked = true;
    const TProfile clip = MakeNaca4("0012", 41);
    ASSERT_TRUE(ReplaceLowerSide(p, clip));
    ASSERT_EQ(p.PointCount(), 31 + 40);
    EXPECT_TRUE(p.Points[2].Marked);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(p.Points[size_t(31 + i)].Y, clip.Points[size_t(41 + i)].Y);
    // 4412 upper side over a symmetric lower side: about half the camber
    ASSERT_TRUE(ComputeCharacteristics(p));
    EXPECT_NEAR(p.Characteristics[kCamber], 2.0, 0.3);

    const TProfile naca = MakeNaca4("2412", 21);
    TProfile q = naca;
    EXPECT_EQ(ReplaceLowerSide(q, profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}})).message,
              kMsgNoClipboardLowerSide);
    EXPECT_EQ(ReplaceLowerSide(q, TProfile{}).message, kMsgNoClipboardLowerSide);
    EXPECT_TRUE(samePoints(q, naca));
    TProfile empty;
    EXPECT_EQ(ReplaceLowerSide(empty, naca).message, kMsgTooFewPoints);
}

TEST(DeleteMarkedPoints, DeletesTheMarkedOnesAndForgetsPendingRanges)
{
    TProfile p = profileFrom({{1, 0}, {0.6, 0.1}, {0.3, 0.1}, {0, 0}, {0.5, -0.1}, {1, 0}});
    p.Points[1].Marked = p.Points[4].Marked = true;
    p.Points[2].Active = true;
    p.MarkRangeStart = 1;
    p.MarkRangeEnd = 4;
    p.UnmarkRangeStart = 0;
    p.UnmarkRangeEnd = 2;
    ASSERT_TRUE(DeleteMarkedPoints(p));
    ASSERT_EQ(p.PointCount(), 4);
    EXPECT_EQ(p.Points[1].X, 0.3);
    EXPECT_TRUE(p.Points[1].Active);
    EXPECT_EQ(p.MarkRangeStart + p.MarkRangeEnd + p.UnmarkRangeStart + p.UnmarkRangeEnd, -4);

    // nothing marked: the points stay, the ranges are still cleared
    const TProfile before = p;
    p.MarkRangeStart = 2;
    ASSERT_TRUE(DeleteMarkedPoints(p));
    EXPECT_TRUE(samePoints(p, before));
    EXPECT_EQ(p.MarkRangeStart, -1);
}

} // namespace
} // namespace velmora

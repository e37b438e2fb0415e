// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/sides.h"

#include "geometry/characteristics.h"
#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::profileFrom;
using testing::samePoints;

TEST(Invert, TwiceGivesTheCoordinatesBack)
{
    const TProfile naca = MakeNaca4("2412", 41);
    TProfile p = naca;
    ASSERT_TRUE(Invert(p));
    ASSERT_TRUE(Invert(p));
    EXPECT_TRUE(samePoints(p, naca));
}

TEST(Invert, TurnsTheSectionUpsideDownInProgramOrder)
{
    TProfile p = MakeNaca4("2412", 41);
    const TProfile before = p;
    p.Points[0].Marked = true;
    ASSERT_TRUE(Invert(p));
    const size_t n = p.Points.size();
    for (size_t k = 0; k < n; ++k) {
        EXPECT_EQ(p.Points[n - 1 - k].X, before.Points[k].X);
        EXPECT_EQ(p.Points[n - 1 - k].Y, -before.Points[k].Y);
    }
    // the flags stay with the list positions
    EXPECT_TRUE(p.Points[0].Marked);
    // the former lower side, mirrored, is now above: the camber changes sign
    ASSERT_TRUE(ComputeCharacteristics(p));
    EXPECT_NEAR(p.Characteristics[kCamber], -2.0, 0.01);
    EXPECT_NEAR(p.Characteristics[kAlfa0], 2.08, 0.01);
}

TEST(Invert, RenamesBeforeTheFirstDotAndKeepsTheLastExtension)
{
    struct Case
    {
        const char *name;
        const char *inverted;
    };
    for (const Case c : {Case{"abc", "abc_inv"}, Case{"a.b.c", "a_inv.c"}, Case{"s1223.x", "s1223_inv.x"},
                         Case{"", "_inv"}}) {
        TProfile p = profileFrom({{1, 0}, {0, 0}, {1, 0}}, c.name);
        p.Title = "Mein Profil";
        ASSERT_TRUE(Invert(p));
        EXPECT_EQ(p.Name, c.inverted);
        EXPECT_EQ(p.Title, "Mein Profil inv");
    }
    const TProfile source = profileFrom({{1, 0.1}, {0, 0}, {1, -0.2}}, "src");
    const TProfile copy = InverseCopy(source);
    EXPECT_EQ(copy.Name, "src_inv");
    EXPECT_EQ(copy.Points[0].Y, 0.2);
    EXPECT_EQ(source.Name, "src");
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

TEST(Mirror, UpperSideMakesASymmetricSectionOfTwoKPlusOnePoints)
{
    TProfile p = MakeNaca4("4412", 31); // 61 points, nose at 30
    p.Points[5].Marked = true;
    p.Points[40].Marked = true;
    ASSERT_TRUE(MirrorUpper(p));
    ASSERT_EQ(p.PointCount(), 61);
    for (int k = 0; k < 30; ++k) {
        EXPECT_EQ(p.Points[size_t(60 - k)].X, p.Points[size_t(k)].X);
        EXPECT_EQ(p.Points[size_t(60 - k)].Y, -p.Points[size_t(k)].Y);
        EXPECT_FALSE(p.Points[size_t(60 - k)].Marked);
    }
    EXPECT_TRUE(p.Points[5].Marked); // the kept side keeps its flags
    ASSERT_TRUE(ComputeCharacteristics(p));
    EXPECT_NEAR(p.Characteristics[kCamber], 0.0, 1e-12);
    EXPECT_GT(p.Characteristics[kThickness], 12.0); // the thicker upper side twice
}

TEST(Mirror, LowerSideMakesASymmetricSectionWithFreshPoints)
{
    TProfile p = MakeNaca4("4412", 31);
    p.Points[3].Marked = true;
    p.Points[50].IsNew = true;
    p.Points[30].Y = 0.001;
    const TProfile before = p;
    ASSERT_TRUE(MirrorLower(p));
    ASSERT_EQ(p.PointCount(), 2 * 31 - 1);
    for (int k = 0; k < 30; ++k) {
        EXPECT_EQ(p.Points[size_t(60 - k)].X, before.Points[size_t(60 - k)].X);
        EXPECT_EQ(p.Points[size_t(60 - k)].Y, before.Points[size_t(60 - k)].Y);
    }
    for (int k = 0; k < 30; ++k) {
        EXPECT_EQ(p.Points[size_t(k)].X, p.Points[size_t(60 - k)].X);
        EXPECT_EQ(p.Points[size_t(k)].Y, -p.Points[size_t(60 - k)].Y);
    }
    // the nose comes out with its y negated: on an unnormalised profile that
    // is the step the user sees
    EXPECT_EQ(p.Points[30].Y, -0.001);
    for (const TKoordi &k : p.Points)
        EXPECT_FALSE(k.Marked || k.IsNew || k.Active);
}

TEST(Mirror, RefusesASideThatIsOnlyTheNose)
{
    const TProfile noseFirst = profileFrom({{0, 0}, {0.5, 0.1}, {1, 0}});
    const TProfile noseLast = profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}});
    const TProfile vertical = profileFrom({{1, 0.1}, {0, 0}, {0, -0.1}});
    struct Case
    {
        const char *what;
        TProfile profile;
        GeometryResult (*op)(TProfile &);
    };
    const Case cases[] = {
        {"upper of nose-first", noseFirst, MirrorUpper},
        {"lower of nose-last", noseLast, MirrorLower},
        {"lower of a vertical lower side", vertical, MirrorLower},
        {"upper of nothing", TProfile{}, MirrorUpper},
        {"lower of nothing", TProfile{}, MirrorLower},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        const GeometryResult r = c.op(p);
        EXPECT_EQ(r.message, kMsgTooFewPoints) << c.what;
        EXPECT_TRUE(samePoints(p, c.profile)) << c.what;
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
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(p.Points[size_t(31 + i)].X, clip.Points[size_t(41 + i)].X);
        EXPECT_EQ(p.Points[size_t(31 + i)].Y, clip.Points[size_t(41 + i)].Y);
    }
    // 4412 upper side over a symmetric 0012 lower side: camber about half of 4 %
    ASSERT_TRUE(ComputeCharacteristics(p));
    EXPECT_NEAR(p.Characteristics[kCamber], 2.0, 0.3);
}

TEST(ReplaceLowerSide, RefusesWhatHasNoSideToGiveOrTake)
{
    const TProfile naca = MakeNaca4("2412", 21);
    TProfile p = naca;
    EXPECT_EQ(ReplaceLowerSide(p, profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}})).message,
              kMsgNoClipboardLowerSide);
    EXPECT_EQ(ReplaceLowerSide(p, TProfile{}).message, kMsgNoClipboardLowerSide);
    EXPECT_TRUE(samePoints(p, naca));
    TProfile empty;
    EXPECT_EQ(ReplaceLowerSide(empty, naca).message, kMsgTooFewPoints);
    EXPECT_TRUE(empty.Points.empty());
}

TEST(DeleteMarkedPoints, DeletesTheMarkedOnesAndForgetsPendingRanges)
{
    TProfile p = profileFrom({{1, 0}, {0.6, 0.1}, {0.3, 0.1}, {0, 0}, {0.5, -0.1}, {1, 0}});
    p.Points[1].Marked = true;
    p.Points[4].Marked = true;
    p.Points[2].Active = true;
    p.MarkRangeStart = 1;
    p.MarkRangeEnd = 4;
    p.UnmarkRangeStart = 0;
    p.UnmarkRangeEnd = 2;
    ASSERT_TRUE(DeleteMarkedPoints(p));
    ASSERT_EQ(p.PointCount(), 4);
    EXPECT_EQ(p.Points[1].X, 0.3);
    EXPECT_TRUE(p.Points[1].Active);
    EXPECT_EQ(p.Points[3].X, 1.0);
    EXPECT_EQ(p.MarkRangeStart, -1);
    EXPECT_EQ(p.MarkRangeEnd, -1);
    EXPECT_EQ(p.UnmarkRangeStart, -1);
    EXPECT_EQ(p.UnmarkRangeEnd, -1);

    const TProfile before = p;
    p.MarkRangeStart = 2;
    ASSERT_TRUE(DeleteMarkedPoints(p));
    EXPECT_TRUE(samePoints(p, before));
    EXPECT_EQ(p.MarkRangeStart, -1);
}

} // namespace
} // namespace velmora

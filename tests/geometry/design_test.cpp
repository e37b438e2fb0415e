// SPDX-License-Identifier: GPL-3.0-or-later
// Thickness and camber, trailing-edge gap, nose radius, flap and blending,
// checked against NACA sections and thin-airfoil theory.
#include "geometry/blend.h"
#include "geometry/characteristics.h"
#include "geometry/edges.h"
#include "geometry/flap.h"
#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry/thicknesscamber.h"
#include "geometry_testing.h"
#include "model/coordinatefile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

using testing::nearPoints;
using testing::samePoints;

TProfile checked(TProfile p)
{
    EXPECT_TRUE(ComputeCharacteristics(p));
    return p;
}

// The measured values as the target: what "keep" means in the dialog.
ThicknessCamberTarget current(const TProfile &p)
{
    GeometryResult why;
    const auto now = CurrentThicknessCamber(p, why);
    EXPECT_TRUE(now) << why.message;
    return {now->thickness, now->camber, std::nullopt, std::nullopt};
}

// Every point moved along the chord: the nose leaves x = 0, not normalised.
TProfile shifted(TProfile p, double dx)
{
    for (TKoordi &k : p.Points)
        k.X += dx;
    return p;
}

// The same contour stored lower side first.
TProfile upsideDown(TProfile p)
{
    std::reverse(p.Points.begin(), p.Points.end());
    return p;
}

TEST(ThicknessCamber, MeasuresTheNacaMaximaBetweenTheStations)
{
    GeometryResult why;
    // the largest value of the NACA thickness polynomial, found densely
    double largest = 0, largestX = 0;
    for (int i = 1; i < 100000; ++i) {
        const double x = i / 100000.0;
        const double t = 1.2 * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x
                                + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
        if (t > largest) {
            largest = t;
            largestX = x;
        }
    }
    const auto symmetric = CurrentThicknessCamber(MakeNaca4("0012"), why);
    ASSERT_TRUE(symmetric);
    EXPECT_NEAR(symmetric->thickness, largest, 1e-7);
    EXPECT_NEAR(symmetric->thicknessX, largestX, 0.002);
    EXPECT_EQ(symmetric->camber, 0.0);
    const auto cambered = CurrentThicknessCamber(MakeNaca4("2412"), why);
    ASSERT_TRUE(cambered);
    EXPECT_NEAR(cambered->camber, 0.02, 1e-6);
    // the camber line's curvature jumps at its top, which blurs the place a little
    EXPECT_NEAR(cambered->camberX, 0.4, 0.005);
}

TEST(ThicknessCamber, ThickensNacaSectionsToTheirThickerRelatives)
{
    TProfile p = MakeNaca4("0012");
    ASSERT_TRUE(SetThicknessCamber(p, {0.15, 0.0, {}, {}}));
    EXPECT_TRUE(nearPoints(p, MakeNaca4("0015"), 1e-5));

    // the generator adds the thickness vertically, so the vertical split
    // reproduces the thicker section everywhere, not only aft of the nose
    TProfile q = MakeNaca4("2412");
    ThicknessCamberTarget target = current(q);
    target.thickness = 0.15;
    ASSERT_TRUE(SetThicknessCamber(q, target));
    EXPECT_TRUE(nearPoints(q, MakeNaca4("2415"), 1e-5));
}

TEST(ThicknessCamber, SetsTheCamberTheCheckReports)
{
    const TProfile before = checked(MakeNaca4("2412"));
    TProfile p = MakeNaca4("2412");
    ThicknessCamberTarget target = current(p);
    target.camber = 0.04;
    ASSERT_TRUE(SetThicknessCamber(p, target));
    const TProfile after = checked(p);
    EXPECT_NEAR(after.Characteristics[kCamber], 4.0, 0.02);
    EXPECT_EQ(after.Characteristics[kCamberPos], before.Characteristics[kCamberPos]);
    EXPECT_NEAR(after.Characteristics[kThickness], before.Characteristics[kThickness], 1e-9);
    // the NACA camber line is linear in its height: 4412 it is
    EXPECT_TRUE(nearPoints(p, MakeNaca4("4412"), 1e-6));
}

TEST(ThicknessCamber, GivesASymmetricSectionTheTwoParabolaCamberLine)
{
    // the new camber line is the NACA 4-digit one: 0012 becomes 2412
    TProfile p = MakeNaca4("0012");
    ThicknessCamberTarget target = current(p);
    target.camber = 0.02;
    target.camberX = 0.4;
    ASSERT_TRUE(SetThicknessCamber(p, target));
    EXPECT_TRUE(nearPoints(p, MakeNaca4("2412"), 1e-12));
    // a negative camber turns it the other way
    TProfile q = MakeNaca4("0012");
    ASSERT_TRUE(SetThicknessCamber(q, {0.12, -0.02, std::nullopt, 0.4}));
    EXPECT_NEAR(checked(q).Characteristics[kCamber], -2.0, 0.01);
}

TEST(ThicknessCamber, TheCurrentValuesAreTheIdentity)
{
    for (const char *digits : {"0012", "2412", "6409"}) {
        TProfile p = MakeNaca4(digits, 61);
        p.Points[3].Marked = true;
        const TProfile before = p;
        ASSERT_TRUE(SetThicknessCamber(p, current(p)));
        EXPECT_TRUE(samePoints(p, before)) << digits;
    }
}

TEST(ThicknessCamber, MovesTheMaximaSmoothlyToTheirNewPlace)
{
    TProfile p = MakeNaca4("2412", 121);
    const TProfile before = p;
    ThicknessCamberTarget target = current(p);
    target.thicknessX = 0.40;
    target.camberX = 0.30;
    ASSERT_TRUE(SetThicknessCamber(p, target));
    GeometryResult why;
    const auto now = CurrentThicknessCamber(p, why);
    ASSERT_TRUE(now);
    EXPECT_NEAR(now->thicknessX, 0.40, 1e-3);
    EXPECT_NEAR(now->thickness, target.thickness, 1e-5);
    EXPECT_NEAR(now->camberX, 0.30, 1e-3);
    EXPECT_NEAR(now->camber, target.camber, 1e-5);
    // nose, trailing edge and every x stay
    const size_t nose = size_t(NoseIndex(p));
    EXPECT_EQ(p.Points[nose].Y, before.Points[nose].Y);
    EXPECT_NEAR(p.Points.front().Y, 0.0, 1e-12);
    EXPECT_NEAR(p.Points.back().Y, 0.0, 1e-12);
    for (size_t i = 0; i < p.Points.size(); ++i)
        EXPECT_EQ(p.Points[i].X, before.Points[i].X);
    // no kink: the change of the upper side has bounded second differences
    double largest = 0;
    for (size_t i = 0; i + 2 < nose; ++i) {
        const auto &a = p.Points[i], &b = p.Points[i + 1], &c = p.Points[i + 2];
        if (c.X < 0.05 || a.X > 0.95)
            continue;
        const auto change = [&](size_t k) { return p.Points[k].Y - before.Points[k].Y; };
        const double s1 = (change(i + 1) - change(i)) / (b.X - a.X);
        const double s2 = (change(i + 2) - change(i + 1)) / (c.X - b.X);
        largest = std::max(largest, std::fabs(2 * (s2 - s1) / (c.X - a.X)));
    }
    EXPECT_LT(largest, 1.0);
}

TEST(ThicknessCamber, RefusesOutsideItsDomainAndLeavesTheProfile)
{
    struct Case
    {
        TProfile profile;
        ThicknessCamberTarget target;
        std::string_view message;
    };
    const Case cases[] = {
        {shifted(MakeNaca4("0012"), 0.01), {0.15, 0, {}, {}}, kMsgNotNormalised},
        {upsideDown(MakeNaca4("2412")), {0.15, 0, {}, {}}, kMsgWrongDirection},
        {testing::profileFrom({{1, 0}, {0, 0}, {0.5, -0.01}, {1, 0}}), {0.15, 0, {}, {}}, kMsgTooFewPoints},
        {testing::profileFrom({{1, 0}, {0.5, 0.05}, {0.5, 0.06}, {0, 0}, {0.5, -0.05}, {1, 0}}),
         {0.15, 0, {}, {}},
         kMsgEqualX},
        {MakeNaca4("0012"), {0.0, 0, {}, {}}, kMsgThicknessNotPositive},
        {MakeNaca4("0012"), {0.12, 0, 1.0, {}}, kMsgPositionOutside},
        {MakeNaca4("0012"), {0.12, 0.02, std::nullopt, 0.0}, kMsgPositionOutside},
    };
    for (const Case &c : cases) {
        TProfile p = c.profile;
        const GeometryResult r = SetThicknessCamber(p, c.target);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(samePoints(p, c.profile));
    }
}

TEST(TrailingEdgeGap, OpensToTheGapAskedAndLeavesTheNose)
{
    testing::TempDir dir;
    TProfile p = MakeNaca4("2412");
    const TProfile before = p;
    const size_t nose = size_t(NoseIndex(p));
    ASSERT_TRUE(SetTrailingEdgeGap(p, 0.01));
    WriteCoordinateFile(p, dir.file("gap.dat"));
    TProfile written;
    LoadCoordinateFile(written, dir.file("gap.dat"));
    EXPECT_NEAR(written.Points.front().Y - written.Points.back().Y, 0.0100, 2e-6);
    EXPECT_EQ(p.Points[nose].Y, before.Points[nose].Y);
    // forward of the blending distance nothing moves; behind it the change
    // grows monotonically to the trailing edge, equal on both sides
    double last = 0;
    for (size_t i = nose; i < p.Points.size(); ++i) {
        const double change = before.Points[i].Y - p.Points[i].Y;
        const double mirror = p.Points[2 * nose - i].Y - before.Points[2 * nose - i].Y;
        EXPECT_EQ(p.Points[i].X, before.Points[i].X);
        if (p.Points[i].X <= 1 - kDefaultGapBlend) {
            EXPECT_EQ(change, 0.0);
        }
        EXPECT_GE(change, last);
        EXPECT_NEAR(change, mirror, 1e-15);
        last = change;
    }
    // closing it again gives the section back
    ASSERT_TRUE(SetTrailingEdgeGap(p, 0.0, kDefaultGapBlend));
    EXPECT_TRUE(nearPoints(p, before, 1e-15));
}

TEST(TrailingEdgeGap, RefusesANegativeGapAndABadBlendingDistance)
{
    const TProfile naca = MakeNaca4("0012", 31);
    TProfile p = naca;
    EXPECT_EQ(SetTrailingEdgeGap(p, -0.01).message, kMsgGapNegative);
    EXPECT_EQ(SetTrailingEdgeGap(p, 0.01, 0.0).message, kMsgBlendOutside);
    EXPECT_EQ(SetTrailingEdgeGap(p, 0.01, 1.5).message, kMsgBlendOutside);
    TProfile moved = shifted(naca, 0.5);
    EXPECT_EQ(SetTrailingEdgeGap(moved, 0.01).message, kMsgNotNormalised);
    EXPECT_TRUE(samePoints(p, naca));
}

TEST(NoseRadius, ScalesTheRoundNoseLikeTheThickerNacaSection)
{
    // NACA 00xx nose radius 1.1019 t^2: (15/12)^2 turns the nose of 0012
    // into that of 0015, and far enough aft nothing changes
    const TProfile naca = MakeNaca4("0012", 201);
    const TProfile thicker = MakeNaca4("0015", 201);
    TProfile p = naca;
    ASSERT_TRUE(ScaleNoseRadius(p, (15.0 / 12) * (15.0 / 12), 0.2));
    for (size_t i = 0; i < p.Points.size(); ++i) {
        if (p.Points[i].X < 0.002) {
            EXPECT_NEAR(p.Points[i].Y, thicker.Points[i].Y, 1e-6) << i;
        }
        if (p.Points[i].X >= 0.2) {
            EXPECT_EQ(p.Points[i].Y, naca.Points[i].Y) << i;
        }
    }
    TProfile same = MakeNaca4("2412");
    same.Points[5].Active = true;
    const TProfile before = same;
    ASSERT_TRUE(ScaleNoseRadius(same, 1.0));
    EXPECT_TRUE(samePoints(same, before));
    EXPECT_EQ(ScaleNoseRadius(same, 0.0).message, kMsgFactorNotPositive);
    EXPECT_EQ(ScaleNoseRadius(same, 2.0, -0.1).message, kMsgBlendOutside);
    EXPECT_TRUE(samePoints(same, before));
}

TEST(Flap, TurnsTheZeroLiftAngleAsThinAirfoilTheorySays)
{
    // 25 % chord, 10 deg: -6.1 deg from the old chord line; the new chord
    // from nose to the lowered trailing edge is turned by 2.5 deg
    TProfile p = MakeNaca4("0012");
    ASSERT_TRUE(DeflectFlap(p, 0.75, 0.5, 10.0));
    EXPECT_NEAR(checked(p).Characteristics[kAlfa0], -3.6, 0.4);
    EXPECT_TRUE(CheckProfile(&p).empty());
    const size_t nose = size_t(NoseIndex(p));
    // the opening upper side got its rounding points, the closing lower
    // side a joint where flap and section meet
    const auto isNew = [](const TKoordi &k) { return k.IsNew; };
    EXPECT_GE(std::count_if(p.Points.begin(), p.Points.begin() + long(nose), isNew), 2);
    EXPECT_GE(std::count_if(p.Points.begin() + long(nose), p.Points.end(), isNew), 1);
}

TEST(Flap, UpAndDownAreMirrorImagesOnASymmetricSection)
{
    TProfile down = MakeNaca4("0012", 61);
    TProfile up = down;
    ASSERT_TRUE(DeflectFlap(down, 0.7, 0.5, 15.0));
    ASSERT_TRUE(DeflectFlap(up, 0.7, 0.5, -15.0));
    ASSERT_EQ(up.Points.size(), down.Points.size());
    const size_t n = up.Points.size();
    for (size_t i = 0; i < n; ++i) {
        EXPECT_NEAR(up.Points[i].X, down.Points[n - 1 - i].X, 1e-9);
        EXPECT_NEAR(up.Points[i].Y, -down.Points[n - 1 - i].Y, 1e-9);
    }
    EXPECT_GT(checked(up).Characteristics[kAlfa0], 0);
}

TEST(Flap, WithTheHingeOnTheSurfaceStillGivesACleanContour)
{
    for (const double height : {0.0, 1.0}) {
        TProfile p = MakeNaca4("2412");
        ASSERT_TRUE(DeflectFlap(p, 0.8, height, 20.0)) << height;
        EXPECT_TRUE(CheckProfile(&p).empty()) << height;
        EXPECT_LT(checked(p).Characteristics[kAlfa0], -6.0) << height;
    }
}

TEST(Flap, OnAnOpenTrailingEdgeEndsWithBothPointsAtXOne)
{
    TProfile p = MakeNaca4("2412");
    ASSERT_TRUE(SetTrailingEdgeGap(p, 0.01));
    ASSERT_TRUE(DeflectFlap(p, 0.75, 0.5, 10.0));
    EXPECT_TRUE(CheckProfile(&p).empty());
    EXPECT_NEAR(p.Points.front().Y - p.Points.back().Y, 0.01, 5e-4);
}

TEST(Flap, ZeroIsTheIdentityAndBadArgumentsAreRefused)
{
    TProfile p = MakeNaca4("2412");
    p.Points[10].Marked = true;
    const TProfile before = p;
    ASSERT_TRUE(DeflectFlap(p, 0.75, 0.5, 0.0));
    EXPECT_TRUE(samePoints(p, before));
    EXPECT_EQ(DeflectFlap(p, 0.0, 0.5, 10).message, kMsgHingeOutside);
    EXPECT_EQ(DeflectFlap(p, 1.0, 0.5, 10).message, kMsgHingeOutside);
    EXPECT_EQ(DeflectFlap(p, 0.75, 1.1, 10).message, kMsgHingeHeightOutside);
    EXPECT_EQ(DeflectFlap(p, 0.75, 0.5, 90).message, kMsgFlapAngleOutside);
    EXPECT_EQ(DeflectFlap(p, 0.75, 0.5, NAN).message, kMsgFlapAngleOutside);
    EXPECT_TRUE(samePoints(p, before));
}

TEST(Blend, HalfwayBetweenSymmetricAndCamberedAveragesCamber)
{
    TProfile mix;
    ASSERT_TRUE(BlendProfiles(MakeNaca4("0012"), MakeNaca4("4412"), 0.5, mix));
    const TProfile c = checked(mix);
    EXPECT_NEAR(c.Characteristics[kCamber], 2.0, 0.05);
    EXPECT_NEAR(c.Characteristics[kThickness], 12.0, 0.1);
    EXPECT_EQ(mix.Name, "NACA0012_NACA4412_50");
    EXPECT_EQ(mix.Title, "NACA 0012 / NACA 4412 (t = 0.5)");
}

TEST(Blend, TheEndsReproduceTheInputs)
{
    const TProfile a = MakeNaca4("0012");
    const TProfile b = MakeNaca4("4412");
    TProfile mix;
    ASSERT_TRUE(BlendProfiles(a, b, 0.0, mix));
    EXPECT_TRUE(samePoints(mix, a));
    ASSERT_TRUE(BlendProfiles(a, b, 1.0, mix));
    EXPECT_TRUE(samePoints(mix, b));
}

TEST(Blend, InterpolatesTheOtherSectionAtTheStationsOfTheFirst)
{
    // the same section with four times fewer points: only the interpolation differs
    TProfile mix;
    ASSERT_TRUE(BlendProfiles(MakeNaca4("2412", 121), MakeNaca4("2412", 31), 1.0, mix));
    EXPECT_TRUE(nearPoints(mix, MakeNaca4("2412", 121), 2e-5));
}

TEST(Blend, RefusesABadFractionOrProfile)
{
    TProfile mix = MakeNaca4("0012", 11);
    const TProfile before = mix;
    EXPECT_EQ(BlendProfiles(MakeNaca4("0012"), MakeNaca4("4412"), 1.5, mix).message, kMsgFractionOutside);
    EXPECT_EQ(BlendProfiles(MakeNaca4("0012"), shifted(MakeNaca4("4412"), 1), 0.5, mix).message,
              kMsgNotNormalised);
    EXPECT_TRUE(samePoints(mix, before));
}

} // namespace
} // namespace velmora

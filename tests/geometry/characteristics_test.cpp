// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/characteristics.h"

#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::profileFrom;

// Thin-airfoil theory for the NACA 4-digit camber line (Glauert integrals of
// its slope, evaluated in closed form): zero-lift angle in degrees, moment
// about the quarter chord, ideal angle in degrees and the lift there.
struct ThinAirfoil
{
    const char *digits;
    double alfa0;
    double cm025;
    double alfaE;
    double caE;
};

constexpr ThinAirfoil kTheory[] = {
    {"2412", -2.07724, -0.053120, 0.25742, 0.25602},
    {"4412", -4.15448, -0.106239, 0.51485, 0.51205},
    {"2312", -1.91793, -0.044729, 0.56263, 0.27202},
    {"6409", -6.23172, -0.159359, 0.77227, 0.76807},
};

TEST(ComputeCharacteristics, MatchesThinAirfoilTheoryForNacaSections)
{
    // With 201 points a side the NACA 2412 comes within 0.0004 degrees of the
    // zero-lift angle and 1.3e-5 of the moment; the worst of these sections is
    // the 2312, whose camber line bends most sharply at its maximum (0.0034
    // degrees, 1e-4). The 11 stations, not the point spacing, set the limit:
    // 401 points a side change the values by less than 1e-4.
    for (const ThinAirfoil &t : kTheory) {
        TProfile p = MakeNaca4(t.digits, 201);
        ASSERT_TRUE(ComputeCharacteristics(p)) << t.digits;
        const auto &c = p.Characteristics;
        EXPECT_NEAR(c[kAlfa0], t.alfa0, 0.004) << t.digits;
        EXPECT_NEAR(c[kCm025], t.cm025, 1.5e-4) << t.digits;
        EXPECT_NEAR(c[kAlfaE], t.alfaE, 0.002) << t.digits;
        EXPECT_NEAR(c[kCaE], t.caE, 5e-4) << t.digits;
    }
    // the sample files have 81 points a side
    TProfile sample = MakeNaca4("2412", 81);
    ASSERT_TRUE(ComputeCharacteristics(sample));
    EXPECT_NEAR(sample.Characteristics[kAlfa0], -2.08, 0.005);
    EXPECT_NEAR(sample.Characteristics[kCm025], -0.0531, 1e-4);
}

TEST(ComputeCharacteristics, FindsThicknessAndCamberOfNacaSections)
{
    struct Case
    {
        const char *digits;
        double d, xd, f, xf;
    };
    // NACA 4-digit: maximum thickness t at x = 0.30 (0.2998 for the formula),
    // maximum camber m at x = p.
    const Case cases[] = {
        {"2412", 12.0, 30.0, 2.0, 40.0},
        {"4412", 12.0, 30.0, 4.0, 40.0},
        {"6409", 9.0, 30.0, 6.0, 40.0},
        {"2312", 12.0, 30.0, 2.0, 30.0},
    };
    for (const Case &c : cases) {
        TProfile p = MakeNaca4(c.digits, 201);
        ASSERT_TRUE(ComputeCharacteristics(p));
        const auto &v = p.Characteristics;
        EXPECT_NEAR(v[kThickness], c.d, 0.01) << c.digits;
        EXPECT_NEAR(v[kThicknessPos], c.xd, 0.5) << c.digits;
        EXPECT_NEAR(v[kCamber], c.f, 0.001) << c.digits;
        EXPECT_NEAR(v[kCamberPos], c.xf, 0.5) << c.digits;
    }
}

TEST(ComputeCharacteristics, TheFirstOfEqualMaximaCountsFromTheTrailingEdge)
{
    // equal thickness and camber at x = 0.7 and x = 0.3
    TProfile p = profileFrom(
        {{1, 0}, {0.7, 0.06}, {0.3, 0.06}, {0, 0}, {0.3, -0.02}, {0.7, -0.02}, {1, 0}});
    ASSERT_TRUE(ComputeCharacteristics(p));
    EXPECT_DOUBLE_EQ(p.Characteristics[kThickness], 8.0);
    EXPECT_DOUBLE_EQ(p.Characteristics[kThicknessPos], 70.0);
    EXPECT_DOUBLE_EQ(p.Characteristics[kCamber], 2.0);
    EXPECT_DOUBLE_EQ(p.Characteristics[kCamberPos], 70.0);
}

TEST(ComputeCharacteristics, SymmetricSectionHasNoCamberValues)
{
    TProfile p = MakeNaca4("0012", 81);
    ASSERT_TRUE(ComputeCharacteristics(p));
    const auto &c = p.Characteristics;
    for (int i : {kCamber, kCamberPos, kAlfa0, kCm025, kAlfaE, kCaE})
        EXPECT_EQ(c[size_t(i)], 0.0) << i;
    // thickness raises the slope above the flat plate's and moves the
    // neutral point slightly back
    EXPECT_GT(c[kDca], 2 * M_PI * 1.05);
    EXPECT_LT(c[kDca], 2 * M_PI * 1.2);
    EXPECT_GT(c[kXNp], 25.0);
    EXPECT_LT(c[kXNp], 27.0);
}

TEST(ComputeCharacteristics, RefusesProfilesItsSearchesCannotWalkAndKeepsOldValues)
{
    TProfile noseFirst = MakeNaca4("2412", 21);
    std::rotate(noseFirst.Points.begin(), noseFirst.Points.begin() + 20, noseFirst.Points.end());
    TProfile onlyUpper = MakeNaca4("2412", 21);
    onlyUpper.Points.resize(21);
    TProfile bluntNose = MakeNaca4("2412", 41);
    for (TKoordi &k : bluntNose.Points)
        k.X = 0.03 + 0.97 * k.X; // nose right of the first station
    TProfile verticalStep = MakeNaca4("0012", 21);
    verticalStep.Points[size_t(verticalStep.PointCount() - 2)].X = 1.0; // lower end goes straight up
    const std::pair<TProfile, std::string_view> cases[] = {
        {profileFrom({{1, 0}, {0, 0}}), kMsgTooFewPoints},
        {noseFirst, kMsgWrongShape},
        {onlyUpper, kMsgWrongShape},
        {bluntNose, kMsgNotNormalised},
        {verticalStep, kMsgEqualX},
    };
    for (const auto &[profile, message] : cases) {
        TProfile p = profile;
        p.Characteristics.fill(-7.0);
        EXPECT_EQ(ComputeCharacteristics(p).message, message);
        for (double v : p.Characteristics)
            EXPECT_EQ(v, -7.0) << message;
    }
}

TEST(ShowCharacteristics, ListsNameCountAndTheTenValuesWithTheGivenSeparator)
{
    // a flat plate: slope 2 pi and neutral point at a quarter chord
    TProfile plate = profileFrom({{1, 0}, {0.5, 0}, {0, 0}, {0.5, 0}, {1, 0}}, "Platte");
    const std::vector<std::string> expected = {
        "Profilbeiwerte nach TAT",
        "Platte",
        "",
        "Anzahl Koordinaten = 5",
        "d = 0,00000 %",
        "xd = 0,00000 %",
        "f = 0,00000 %",
        "xf = 0,00000 %",
        "Alfa_0 = 0,00000 °",
        "Cm_0.25 = 0,00000",
        "dca = 6,28319",
        "xNp = 25,00000 %",
        "Alfa_e = 0,00000 °",
        "Ca_e = 0,00000",
    };
    EXPECT_EQ(ShowCharacteristics(&plate, ','), expected);
    EXPECT_DOUBLE_EQ(plate.Characteristics[kDca], 2 * M_PI);
    EXPECT_DOUBLE_EQ(plate.Characteristics[kXNp], 25.0);

    TProfile naca = MakeNaca4("2412", 201);
    const auto lines = ShowCharacteristics(&naca, '.');
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[1], "NACA2412");
    EXPECT_EQ(lines[3], "Anzahl Koordinaten = 401");
    EXPECT_EQ(lines[8].substr(0, 14), "Alfa_0 = -2.07");
}

TEST(ShowCharacteristics, SaysWhyInsteadOfShowingValues)
{
    const std::vector<std::string> none = {"Profilbeiwerte nach TAT", "", "Kein aktives Profil vorhanden!!"};
    EXPECT_EQ(ShowCharacteristics(nullptr, ','), none);

    TProfile wrong = profileFrom({{0, 0}, {1, 0.1}, {0.5, 0}, {1, -0.1}}, "Falsch\xE4");
    const auto lines = ShowCharacteristics(&wrong, ',');
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "Falsch\u00e4"); // the name's Windows-1252 bytes shown as UTF-8
    EXPECT_EQ(lines[3], "Anzahl Koordinaten = 4");
    EXPECT_EQ(lines[4], kMsgWrongShape);

    TProfile empty;
    const auto emptyLines = ShowCharacteristics(&empty, ',');
    EXPECT_EQ(emptyLines.back(), kMsgTooFewPoints);
}

TEST(CheckProfile, ANormalisedSectionPassesEveryCheck)
{
    TProfile naca = MakeNaca4("2412", 81);
    EXPECT_TRUE(CheckProfile(&naca).empty());
    EXPECT_TRUE(CheckProfile(nullptr).empty());
}

TEST(CheckProfile, ReportsEachViolatedConditionInItsOrder)
{
    const std::string noseX = "Die X-Koordinate der Nase ist nicht 0 !";
    const std::string noseY = "Die Y-Koordinate der Nase ist nicht 0 !";
    const std::string upperEnd = "Die X-Koordinate der Endleiste oben ist nicht 1 !";
    const std::string lowerEnd = "Die X-Koordinate der Endleiste unten ist nicht 1 !";
    const std::string direction =
        "Die Laufrichtung ist falsch ! Richtige Laufrichtung ist Hinten>Oben>Nase>Unten>Hinten.";
    const std::string mean = "Das Y-Mittel der Endleisten ist nicht 0 !";
    using Lines = std::vector<std::string>;

    TProfile p = profileFrom({{1, 0}, {0.5, 0.1}, {0.00000005, 0}, {0.5, -0.1}, {1, 0}});
    EXPECT_EQ(CheckProfile(&p), Lines{});
    p.Points[2].X = 0.0000002;
    EXPECT_EQ(CheckProfile(&p), Lines{noseX});
    p.Points[2] = {0, 0.001};
    EXPECT_EQ(CheckProfile(&p), Lines{noseY});
    p = profileFrom({{0.99, 0.002}, {0.5, 0.1}, {0, 0}, {0.5, -0.1}, {0.98, 0.001}});
    EXPECT_EQ(CheckProfile(&p), (Lines{upperEnd, lowerEnd, mean}));

    // stored lower side first
    TProfile reversed = MakeNaca4("2412", 41);
    std::reverse(reversed.Points.begin(), reversed.Points.end());
    EXPECT_EQ(CheckProfile(&reversed), Lines{direction});
    // a nose at the end of the list has no lower side to run along
    p = profileFrom({{1, 0}, {0.5, 0.1}, {0, 0}});
    EXPECT_EQ(CheckProfile(&p), (Lines{lowerEnd, direction}));

    TProfile empty;
    EXPECT_EQ(CheckProfile(&empty).size(), 1u);
}

} // namespace
} // namespace velmora

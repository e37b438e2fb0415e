// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using velmora::testing::FakeView;

namespace {

class GeometryCommands : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};

    void SetUp() override
    {
        c.Analysis.VRechnen = false;
        // NACA 2412 in millimetres, turned and shifted: a profile as drawings give it
        TProfile p = MakeNaca4("2412", 41);
        for (TKoordi &k : p.Points) {
            const double x = k.X * 100.0;
            const double y = k.Y * 100.0;
            k.X = 20.0 + x * std::cos(0.1) - y * std::sin(0.1);
            k.Y = 5.0 + x * std::sin(0.1) + y * std::cos(0.1);
        }
        c.Project().Profiles.push_back(p);
        c.Project().Profiles.push_back(MakeNaca4("0012", 41));
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
    }

    TProfile &profile(int i) { return c.Project().Profiles[size_t(i)]; }
    void select(int row) { c.CheckListBox1MouseDown(row, false); }
};

} // namespace

TEST_F(GeometryCommands, EveryCommandNeedsASelectedProfile)
{
    c.Project().Modified = false;
    c.ProfilAusrichtenUndNormieren(false);
    c.ProfilGlaetten();
    c.PunkteNeuVerteilen();
    c.KopieErzeugen(false);
    c.SeiteSpiegeln(true);
    c.ProfilInZwischenspeicher();
    EXPECT_EQ(view.infos, std::vector<std::string>(6, "Es wurde kein Profil angewählt !!"));
    // these two act on the active profile and stay silent without one
    c.ZwischenpunkteEinfuegen();
    c.MarkiertePunkteLoeschen();
    EXPECT_EQ(view.infos.size(), 6u);
    EXPECT_FALSE(c.Project().Modified);
}

TEST_F(GeometryCommands, NormaliseBringsAMillimetreDrawingToTheUnitChord)
{
    select(0);
    c.ProfilAusrichtenUndNormieren(false);
    const TProfile &p = profile(0);
    const int nose = NoseIndex(p);
    EXPECT_DOUBLE_EQ(p.Points[size_t(nose)].X, 0.0);
    EXPECT_DOUBLE_EQ(p.Points[size_t(nose)].Y, 0.0);
    EXPECT_NEAR((p.Points.front().X + p.Points.back().X) / 2, 1.0, 1e-6);
    EXPECT_TRUE(p.Modified);
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.Chart().At(0).Name, "P0") << "only the series is refilled";
    EXPECT_DOUBLE_EQ(c.Chart().At(0).XValues[size_t(nose)], 0.0);
    EXPECT_EQ(c.RowText(0), "# NACA2412");
}

TEST_F(GeometryCommands, SmoothingAsksForTheCountAndIgnoresBadAnswers)
{
    select(1);
    view.textAnswers = {std::nullopt, std::string("viele"), std::string("4"), std::string("121")};
    c.ProfilGlaetten();
    c.ProfilGlaetten();
    c.ProfilGlaetten();
    EXPECT_EQ(profile(1).PointCount(), 81) << "cancel, no number and below 5 change nothing";
    EXPECT_TRUE(view.infos.empty());
    c.ProfilGlaetten();
    EXPECT_EQ(view.askedTexts.back(),
              "Anz. Koordinaten|Bitte geben die gewünschte Anzahl von Koodinaten ein !|121");
    EXPECT_EQ(profile(1).PointCount(), 121);
    EXPECT_TRUE(profile(1).Modified);
    EXPECT_EQ(c.Chart().At(1).Count(), 121);
}

TEST_F(GeometryCommands, RedistributionDialogStaysOpenUntilACountWorks)
{
    select(1);
    view.redistributionPresses = {{"sechzig", StationDistribution::SinFront},
                                  {"60", StationDistribution::SinFront}};
    c.PunkteNeuVerteilen();
    EXPECT_EQ(view.errors.front(), "'sechzig' ist kein gültiger Integerwert");
    EXPECT_TRUE(view.redistributionClosedByOk);
    EXPECT_EQ(profile(1).PointCount(), 61);

    // a profile that is not normalised is refused with a reason and kept
    select(0);
    view.redistributionPresses = {{"60", StationDistribution::Cos}};
    c.PunkteNeuVerteilen();
    EXPECT_FALSE(view.redistributionClosedByOk);
    EXPECT_EQ(profile(0).PointCount(), 81);
    EXPECT_FALSE(view.infos.empty());
}

TEST_F(GeometryCommands, CopiesAreAppendedWithTheNextFreeColour)
{
    profile(0).Color = ProfilePalette()[0];
    profile(1).Color = ProfilePalette()[1];
    FillChart(c.Project(), c.Chart());
    select(1);
    c.KopieErzeugen(false);
    c.KopieErzeugen(true);
    ASSERT_EQ(c.Project().Profiles.size(), 4u);
    EXPECT_EQ(profile(2).Name, "NACA0012");
    EXPECT_EQ(profile(2).Color, ProfilePalette()[2]);
    EXPECT_FALSE(profile(2).Modified);
    EXPECT_EQ(profile(3).Name, "NACA0012_inv");
    EXPECT_EQ(profile(3).Title, "NACA 0012 inv");
    EXPECT_EQ(profile(3).Color, ProfilePalette()[3]);
    EXPECT_EQ(c.Chart().SeriesCount(), 4);
    EXPECT_FALSE(profile(1).Modified) << "the source is not changed";
}

TEST_F(GeometryCommands, MirroringMakesTheSelectedProfileSymmetric)
{
    select(0);
    c.ProfilAusrichtenUndNormieren(false);
    c.SeiteSpiegeln(true);
    const TProfile &p = profile(0);
    const int n = p.PointCount();
    for (int k = 0; k < n / 2; ++k)
        EXPECT_DOUBLE_EQ(p.Points[size_t(k)].Y, -p.Points[size_t(n - 1 - k)].Y);
}

TEST_F(GeometryCommands, ClipboardLowerSideIsBuiltInOnceAfterAQuestion)
{
    select(1);
    c.ProfilInZwischenspeicher();
    ASSERT_TRUE(c.Project().ClipboardProfile);
    c.BeforeDrawSeries();
    EXPECT_TRUE(view.clipboardEntryEnabled);

    TProfile flat = MakeNaca4("4412", 41);
    c.Project().Profiles.push_back(flat);
    FillChart(c.Project(), c.Chart());
    c.AfterDraw();
    select(2);
    view.yesNoAnswers = {false, true};
    c.UnterseiteEinbauen();
    EXPECT_TRUE(c.Project().ClipboardProfile) << "No keeps everything";
    c.UnterseiteEinbauen();
    EXPECT_EQ(view.questions.back(), "Soll die Unterseite wirklich ausgetauscht werden ?");
    EXPECT_FALSE(c.Project().ClipboardProfile);
    const TProfile &p = profile(2);
    EXPECT_DOUBLE_EQ(p.Points.back().Y, profile(1).Points.back().Y);
    EXPECT_DOUBLE_EQ(p.Points[60].Y, profile(1).Points[60].Y) << "lower side of the symmetric profile";
    EXPECT_GT(p.Points[20].Y, profile(1).Points[20].Y) << "upper side of the cambered one stays";
    c.UnterseiteEinbauen(); // nothing left to build in: no question
    EXPECT_EQ(view.questions.size(), 2u);
}

TEST_F(GeometryCommands, DeletingMarkedPointsAsksEvenWithoutMarks)
{
    select(1);
    profile(1).Points[10].Marked = true;
    profile(1).Points[11].Marked = true;
    profile(1).MarkRangeStart = 3;
    view.yesNoAnswers = {true};
    c.MarkiertePunkteLoeschen();
    EXPECT_EQ(profile(1).PointCount(), 79);
    EXPECT_EQ(profile(1).MarkRangeStart, -1);
    EXPECT_TRUE(profile(1).Modified);
}

TEST_F(GeometryCommands, InfoWindowListsFollowTheSelection)
{
    auto [left, right] = c.ProfileInfoLines(',');
    EXPECT_EQ(left.back(), "Kein aktives Profil vorhanden!!");
    EXPECT_TRUE(right.empty());
    select(0);
    std::tie(left, right) = c.ProfileInfoLines(',');
    EXPECT_EQ(left[1], "NACA2412");
    EXPECT_FALSE(right.empty()) << "the millimetre drawing is not normalised";
    c.ProfilAusrichtenUndNormieren(true);
    std::tie(left, right) = c.ProfileInfoLines(',');
    EXPECT_TRUE(right.empty());
}

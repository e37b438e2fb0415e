// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velmora;
using velmora::testing::FakeView;

namespace {

class AnalysisCommands : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};

    void SetUp() override
    {
        c.Chart().SetPlotRect({40, 0, 1040, 400});
        c.Project().Profiles.push_back(MakeNaca4("2412"));
        c.Project().Profiles[0].Color = RgbColor(0, 128, 0);
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
    }

    const ChartSeries *series(std::string_view part) const
    {
        const int i = c.Chart().LastSeriesContaining(part);
        return i < 0 ? nullptr : &c.Chart().At(i);
    }
};

} // namespace

TEST_F(AnalysisCommands, SelectingAProfileDrawsItsSpeedsAndFillsTheFields)
{
    c.CheckListBox1MouseDown(0, false);
    const ChartSeries *v = series("V_POL");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Name, "V_POL" + std::to_string(c.Project().SeriesCounter));
    EXPECT_EQ(v->Color, RgbColor(0, 128, 0));
    EXPECT_EQ(v->Pen, PenStyle::Dot);
    EXPECT_EQ(v->Marker.Style, MarkerStyle::Star);
    EXPECT_EQ(v->Tag, 0);
    ASSERT_EQ(v->Count(), 161);

    const TProfile &p = c.Project().Profiles[0];
    ASSERT_EQ(p.PolarRows.size(), 1u);
    const tpolarzeile &row = p.PolarRows[0];
    EXPECT_EQ(row.vPunkte.size(), 161u);
    // default offset -25/25 puts v/V = 1 on y = 0
    EXPECT_NEAR(v->YValues[40], row.vPunkte[40].v - 1.0, 1e-9);
    EXPECT_GT(row.ca, 0.1) << "a cambered profile lifts at 0 degrees";
    EXPECT_EQ(view.results, (std::vector<std::string>{CoefficientText(row.ca), CoefficientText(row.cm),
                                                      CoefficientText(row.cw)}));
    EXPECT_NE(view.results[0].find(','), std::string::npos) << "decimal comma";
}

TEST_F(AnalysisCommands, SideSwitchesShowOneSideWithTheNoseAsTag)
{
    c.CheckListBox1MouseDown(0, false);
    c.Project().Profiles[0].Points[3].Marked = true;
    c.SideClicked(ShownSide::Lower);
    const ChartSeries *v = series("V_POL");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Tag, 80);
    EXPECT_EQ(v->Count(), 81);
    EXPECT_DOUBLE_EQ(v->XValues.front(), 0.0) << "starts at the nose";
    EXPECT_FALSE(c.Project().Profiles[0].Points[3].Marked) << "side switches clear the marks";

    c.SideClicked(ShownSide::Upper);
    v = series("V_POL");
    EXPECT_EQ(v->Tag, 0);
    EXPECT_EQ(v->Count(), 81);
    EXPECT_DOUBLE_EQ(v->XValues.back(), 0.0) << "ends at the nose";
}

TEST_F(AnalysisCommands, ScaleSpinsStretchAndClampTheSpeeds)
{
    EXPECT_DOUBLE_EQ(SpinScale(0), 1.0);
    EXPECT_DOUBLE_EQ(SpinScale(25), 2.0);
    EXPECT_DOUBLE_EQ(SpinScale(-25), 0.0);
    EXPECT_DOUBLE_EQ(SpinScale(-50), 0.0);
    EXPECT_DOUBLE_EQ(SpinScale(-6), 0.76);

    c.CheckListBox1MouseDown(0, false);
    const double v40 = c.Project().Profiles[0].PolarRows[0].vPunkte[40].v;
    c.Analysis.VScale = 25;
    c.Analysis.VOffset = 0;
    c.AnalysisInputChanged(true, false);
    EXPECT_NEAR(series("V_POL")->YValues[40], 2 * v40, 1e-9);
}

TEST_F(AnalysisCommands, SwitchingOffRemovesTheSeriesAndClearsTheFields)
{
    c.CheckListBox1MouseDown(0, false);
    const int counter = c.Project().SeriesCounter;
    c.Analysis.VRechnen = false;
    c.AnalysisInputChanged(true, true);
    EXPECT_EQ(series("V_POL"), nullptr);
    EXPECT_EQ(view.results, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(c.Project().SeriesCounter, counter - 1) << "the counter goes back with the series";
    EXPECT_EQ(c.Project().Profiles[0].PolarRows.size(), 1u) << "the result row stays";
}

TEST_F(AnalysisCommands, TooManyPointsAndEngineErrorsClearWhatWasShownAndKeepTheRow)
{
    c.CheckListBox1MouseDown(0, false);
    TProfile &p = c.Project().Profiles[0];
    const TProfile original = p;
    p.Points.resize(451, p.Points.back());
    c.AnalysisInputChanged(true, false);
    EXPECT_EQ(view.infos.back(), "Zu viele Koordinatenpaare für Profil-Rechnung MAX 450 !!");
    EXPECT_EQ(series("V_POL"), nullptr) << "the curve of the points before stays no longer";

    p = original;
    c.AnalysisInputChanged(true, false);
    ASSERT_NE(series("V_POL"), nullptr);
    p.Points.insert(p.Points.begin() + 40, p.Points[40]); // the engine cannot take a point twice
    c.AnalysisInputChanged(true, false);
    EXPECT_EQ(view.infos.back(), "Rechenfehler in Profil-Routione !!");
    EXPECT_EQ(view.results, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(series("V_POL"), nullptr);
    EXPECT_EQ(p.PolarRows.size(), 1u) << "the stored row stays";
}

TEST_F(AnalysisCommands, RefusalClearsResultsAndTellsWhyInTheStatusBarWithoutABox)
{
    c.Analysis.UmRechnen = true;
    c.CheckListBox1MouseDown(0, false);
    ASSERT_NE(series("V_POL"), nullptr);
    ASSERT_NE(series("UM_POL_OBEN"), nullptr);
    TProfile &p = c.Project().Profiles[0];
    const TProfile original = p;
    for (TKoordi &k : p.Points) {
        k.X *= 100; // drawn in millimetres
        k.Y *= 100;
    }
    const size_t boxes = view.infos.size() + view.errors.size();
    for (int notch = 0; notch < 3; ++notch)
        c.AnalysisInputChanged(true, true);
    EXPECT_EQ(view.infos.size() + view.errors.size(), boxes) << "no box on every notch";
    EXPECT_EQ(view.results, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(series("V_POL"), nullptr);
    EXPECT_EQ(series("UM_POL"), nullptr);
    EXPECT_EQ(view.status[0].rfind("Das Profil ist nicht normiert", 0), 0u) << view.status[0];
    EXPECT_EQ(view.status[0].find('\r'), std::string::npos);
    c.BeforeDrawSeries();
    EXPECT_EQ(view.status[0].rfind("Das Profil ist nicht normiert", 0), 0u) << "a redraw keeps the reason";

    c.Analysis.ReText = "1e3";
    p = original;
    c.AnalysisInputChanged(true, true);
    EXPECT_EQ(view.status[0].rfind("Falscheingabe Re !!", 0), 0u) << view.status[0];
    EXPECT_EQ(series("UM_POL"), nullptr);
    c.Analysis.ReText = "1e5";
    c.AnalysisInputChanged(true, true);
    EXPECT_EQ(c.AnalysisNote(), "");
    EXPECT_EQ(view.status[0].rfind("Aktueller Speicherbedarf", 0), 0u) << view.status[0];
    EXPECT_NE(series("V_POL"), nullptr);
    EXPECT_NE(series("UM_POL_UNTEN"), nullptr);
    EXPECT_NE(view.results[2], "");
}

TEST_F(AnalysisCommands, NothingShownOutlivesTheProfileOrSelectionItBelongsTo)
{
    c.Analysis.UmRechnen = true;
    c.Analysis.StartText = "0";
    c.Analysis.EndText = "2";
    c.Analysis.StepText = "1";
    auto select = [&](int row) {
        c.CheckListBox1MouseDown(row, false);
        ASSERT_NE(series("V_POL"), nullptr);
        ASSERT_NE(series("UM_POL_OBEN"), nullptr);
    };
    auto nothingShown = [&](const char *after) {
        EXPECT_EQ(view.results, (std::vector<std::string>{"", "", ""})) << after;
        EXPECT_EQ(series("V_POL"), nullptr) << after;
        EXPECT_EQ(series("UM_POL"), nullptr) << after;
    };
    auto shownFor = [&](const TProfile &p, const char *after) {
        const VelocityDistribution expected = ComputeVelocityDistribution(
            *std::make_unique<EpplerSolver>(), p.Points, c.Analysis.AlfaText, c.Analysis.ReText);
        EXPECT_EQ(view.results[2], CoefficientText(expected.row.cw)) << after;
        ASSERT_NE(series("V_POL"), nullptr) << after;
        EXPECT_EQ(series("V_POL")->Count(), int(p.Points.size())) << after;
    };

    select(0);
    c.CheckListBox1MouseDown(0, true);
    nothingShown("clearing the selection");

    select(0);
    c.KopieErzeugen(false);
    c.AfterDraw(); // the new row appears at the next redraw
    nothingShown("a copy");

    select(0);
    const velmora::testing::TempDir dir;
    view.saveAnswers.push_back(dir.file("p.dat"));
    c.ProfilSpeichernUnter();
    nothingShown("saving");

    c.Project().Profiles.push_back(MakeNaca4("0012", 41));
    FillChart(c.Project(), c.Chart());
    c.AfterDraw();
    select(0);
    c.ProfilInZwischenspeicher();
    c.CheckListBox1MouseDown(1, false);
    view.yesNoAnswers.push_back(true);
    c.UnterseiteEinbauen();
    shownFor(c.Project().Profiles[1], "inserting the lower side");
    ASSERT_NE(series("UM_POL_UNTEN"), nullptr);
}

TEST_F(AnalysisCommands, AngleThatIsNoNumberEndsWithItsMessage)
{
    c.CheckListBox1MouseDown(0, false);
    c.Analysis.AlfaText = "vier";
    c.AnalysisInputChanged(true, true);
    EXPECT_EQ(view.errors.back(), "'vier' ist kein gültiger Gleitkommawert");
    c.Analysis.ReText = "x";
    const size_t shown = view.errors.size();
    c.AnalysisInputChanged(true, false, true);
    EXPECT_EQ(view.errors.size(), shown) << "the offset spin swallows its errors";
}

TEST_F(AnalysisCommands, PolarDrawsBothSidesOverTheSweptAngles)
{
    c.CheckListBox1MouseDown(0, false);
    c.Analysis.UmRechnen = true;
    c.AnalysisInputChanged(false, true);
    const ChartSeries *upper = series("UM_POL_OBEN");
    const ChartSeries *lower = series("UM_POL_UNTEN");
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(upper->Count(), 260) << "-12 to 14 by 0.1 in single precision";
    EXPECT_EQ(upper->Marker.Style, MarkerStyle::Triangle);
    EXPECT_EQ(lower->Marker.Style, MarkerStyle::DownTriangle);
    EXPECT_TRUE(upper->Marker.Visible);
    // y = (angle / 30 + offset) * scale with scale(-6) = 0.76
    EXPECT_NEAR(upper->YValues.front(), -12.0 / 30 * 0.76, 1e-6);
    EXPECT_TRUE(view.listEnabled) << "the list is enabled again afterwards";
    // transition moves forward on the upper side as the angle rises
    EXPECT_GT(upper->XValues[20], upper->XValues[200]);

    c.Display.PointsOn = false;
    c.Analysis.Side = ShownSide::Upper;
    c.AnalysisInputChanged(false, true);
    EXPECT_EQ(series("UM_POL_UNTEN"), nullptr);
    EXPECT_EQ(series("UM_POL_OBEN")->LineWidth, 2);
    EXPECT_FALSE(series("UM_POL_OBEN")->Marker.Visible);
}

TEST_F(AnalysisCommands, PolarRefusesBadAnglesAndFocusesTheField)
{
    c.CheckListBox1MouseDown(0, false);
    c.Analysis.UmRechnen = true;
    c.Analysis.StartText = "-90";
    c.AnalysisInputChanged(false, true);
    EXPECT_EQ(view.infos.back(), kMsgBadStartAngle);
    EXPECT_EQ(view.focused, PolarField::Start);
    EXPECT_EQ(series("UM_POL"), nullptr);

    c.Analysis.StartText = "2";
    c.Analysis.EndText = "1";
    c.AnalysisInputChanged(false, true);
    EXPECT_EQ(view.infos.back(), kMsgEndBeforeStart);
    EXPECT_EQ(view.focused, PolarField::End);

    c.Analysis.EndText = "2";
    c.Analysis.StepText = "0.09";
    c.AnalysisInputChanged(false, true);
    EXPECT_EQ(view.infos.back(), kMsgStepTooSmall);
    EXPECT_EQ(view.focused, PolarField::Step);

    c.Analysis.StepText = "0,1";
    c.AnalysisInputChanged(false, true);
    ASSERT_NE(series("UM_POL_OBEN"), nullptr);
    EXPECT_EQ(series("UM_POL_OBEN")->Count(), 1) << "end equal to start evaluates one angle";
}

TEST_F(AnalysisCommands, PolarEngineErrorMarksAFieldWithoutAMessage)
{
    c.CheckListBox1MouseDown(0, false);
    c.Analysis.UmRechnen = true;
    c.AnalysisInputChanged(false, true);
    ASSERT_NE(series("UM_POL_OBEN"), nullptr);
    auto &points = c.Project().Profiles[0].Points;
    points.insert(points.begin() + 40, points[40]); // the engine cannot take a point twice
    const size_t infos = view.infos.size();
    c.AnalysisInputChanged(false, true);
    EXPECT_EQ(view.infos.size(), infos);
    EXPECT_TRUE(view.alarms[PolarField::Start] || view.alarms[PolarField::End]);
    EXPECT_EQ(series("UM_POL"), nullptr) << "the polar of the points before goes";
}

TEST_F(AnalysisCommands, SideSwitchWithoutSelectionOnlyTellsSo)
{
    c.SideClicked(ShownSide::Upper);
    EXPECT_EQ(view.infos.back(), "Es wurde kein Profil angewählt !!");
    EXPECT_EQ(series("V_POL"), nullptr);
}

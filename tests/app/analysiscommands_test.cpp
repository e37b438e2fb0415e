// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

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

TEST_F(AnalysisCommands, TooManyPointsAndEngineErrorsKeepThePreviousResult)
{
    c.CheckListBox1MouseDown(0, false);
    const std::string before = series("V_POL")->Name;

    TProfile &p = c.Project().Profiles[0];
    const TProfile original = p;
    p.Points.resize(451, p.Points.back());
    c.AnalysisInputChanged(true, false);
    EXPECT_EQ(view.infos.back(), "Zu viele Koordinatenpaare für Profil-Rechnung MAX 450 !!");
    EXPECT_EQ(series("V_POL")->Name, before);

    p = original;
    for (TKoordi &k : p.Points)
        k.Y = 0.0; // all points on a line: no contour to solve
    c.AnalysisInputChanged(true, false);
    EXPECT_EQ(view.infos.back(), "Rechenfehler in Profil-Routione !!");
    EXPECT_EQ(view.results, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(series("V_POL")->Name, before);
    EXPECT_EQ(p.PolarRows.size(), 1u);
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
    const int before = c.Chart().SeriesCount();
    for (TKoordi &k : c.Project().Profiles[0].Points)
        k.Y = 0.0;
    const size_t infos = view.infos.size();
    c.AnalysisInputChanged(false, true);
    EXPECT_EQ(view.infos.size(), infos);
    EXPECT_TRUE(view.alarms[PolarField::Start] || view.alarms[PolarField::End]);
    EXPECT_EQ(c.Chart().SeriesCount(), before) << "the old series stay";
}

TEST_F(AnalysisCommands, SideSwitchWithoutSelectionOnlyTellsSo)
{
    c.SideClicked(ShownSide::Upper);
    EXPECT_EQ(view.infos.back(), "Es wurde kein Profil angewählt !!");
    EXPECT_EQ(series("V_POL"), nullptr);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::FakeView;
using velmora::testing::profileFrom;

namespace {

class PlotCommands : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};

    void SetUp() override
    {
        c.Chart().SetPlotRect({40, 0, 1040, 400}); // height / width = 0.4
        c.Project().Profiles.push_back(profileFrom({{1, 0}, {0, 0.1}, {0, -0.05}, {1, 0}}, "a"));
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
    }
};

} // namespace

TEST_F(PlotCommands, ResetViewWidensTheDataByTenPercentAndCentresYOnZero)
{
    c.ZoomIn();
    c.ResetView();
    EXPECT_EQ(c.Scale, ScaleRequest::CentreOnZero);
    EXPECT_TRUE(c.AfterDraw()) << "the equal-scaling step asks for another draw";
    EXPECT_EQ(c.Scale, ScaleRequest::None);
    EXPECT_NEAR(c.Chart().BottomAxis().Min, -0.1, 1e-12);
    EXPECT_NEAR(c.Chart().BottomAxis().Max, 1.1, 1e-12);
    EXPECT_NEAR(c.Chart().LeftAxis().Min, -0.24, 1e-12);
    EXPECT_NEAR(c.Chart().LeftAxis().Max, 0.24, 1e-12);
    EXPECT_FALSE(c.AfterDraw());
}

TEST_F(PlotCommands, ZoomButtonsAndResizeKeepTheCentre)
{
    c.ResetView();
    c.AfterDraw();
    c.Chart().SetLeftRange(0.1, 0.5);
    c.ZoomIn();
    EXPECT_EQ(c.Scale, ScaleRequest::KeepCentre);
    c.AfterDraw();
    const auto l = c.Chart().LeftAxis();
    EXPECT_NEAR((l.Min + l.Max) / 2, 0.3, 1e-12);
    const auto b = c.Chart().BottomAxis();
    EXPECT_NEAR(l.Max - l.Min, 0.4 * (b.Max - b.Min), 1e-12);

    c.ZoomOut();
    c.AfterDraw();
    EXPECT_NEAR(c.Chart().BottomAxis().Max - c.Chart().BottomAxis().Min, 1.1 * (b.Max - b.Min), 1e-12);

    c.Chart().SetPlotRect({40, 0, 1040, 600});
    c.ChartResized();
    EXPECT_EQ(c.Scale, ScaleRequest::KeepCentre);
    c.AfterDraw();
    const auto l2 = c.Chart().LeftAxis();
    EXPECT_NEAR(l2.Max - l2.Min, 0.6 * (c.Chart().BottomAxis().Max - c.Chart().BottomAxis().Min), 1e-12);
}

TEST_F(PlotCommands, StylingEmphasisesTheSelectedSeriesAndShadesTheGrid)
{
    ChartSeries v;
    v.Name = "V_POL7";
    c.Chart().AddSeries(v);
    ChartSeries um;
    um.Name = "UM_POL_OBEN8";
    c.Chart().AddSeries(um);

    c.BeforeDrawSeries();
    EXPECT_FALSE(c.Chart().At(0).Marker.Visible);
    EXPECT_EQ(c.Chart().At(0).LineWidth, 1);
    EXPECT_TRUE(c.Chart().At(1).Marker.Visible);
    EXPECT_TRUE(c.Chart().At(2).Marker.Visible);
    EXPECT_EQ(c.Chart().GridColor, RgbColor(128, 128, 128));
    EXPECT_EQ(view.status[0].rfind("Aktueller Speicherbedarf=", 0), 0u);
    EXPECT_EQ(view.status[0].substr(view.status[0].size() - 5), " Byte");
    EXPECT_EQ(view.status[1], "");
    EXPECT_FALSE(view.clipboardEntryEnabled);

    c.Display.Circles = false;
    c.Display.PointsOn = false;
    c.Display.Grid = false;
    c.Chart().BackColor = kColorBlack;
    c.Project().ClipboardProfile = profileFrom({{0, 0}}, "Merk");
    c.Analysis.VRechnen = false;
    c.CheckListBox1MouseDown(0, false); // the analysis commands take their series away...
    EXPECT_EQ(c.Chart().SeriesCount(), 1);
    c.Chart().AddSeries(v); // ...put them back to see their styling
    c.Chart().AddSeries(um);
    c.BeforeDrawSeries();
    EXPECT_EQ(c.Chart().At(0).LineWidth, 2);
    EXPECT_FALSE(c.Chart().At(0).Marker.Visible);
    EXPECT_EQ(c.Chart().At(0).Marker.OutlineColor, kColorWhite);
    EXPECT_FALSE(c.Chart().At(2).Marker.Visible);
    EXPECT_FALSE(c.Chart().GridVisible);
    EXPECT_EQ(c.Chart().GridColor, RgbColor(127, 127, 127));
    EXPECT_EQ(view.status[1], "Profil 'Merk' im Zwischenspeicher vorhanden !");
    EXPECT_TRUE(view.clipboardEntryEnabled);
}

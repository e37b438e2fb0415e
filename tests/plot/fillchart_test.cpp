// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::profileFrom;

namespace {

TProf_Projekt twoProfiles()
{
    TProf_Projekt project;
    project.Profiles.push_back(profileFrom({{1, 0}, {0, 0}, {1, 0}}, "a"));
    project.Profiles.push_back(profileFrom({{1, 0.01}, {0, 0}, {0.5, -0.05}, {1, -0.01}}, "b"));
    project.Profiles[1].Color = RgbColor(0, 128, 0);
    project.Profiles[1].Visible = false;
    project.Profiles[1].Title = "Titel b";
    return project;
}

} // namespace

TEST(FillChart, CreatesOneSeriesPerProfileWithRunningNames)
{
    TProf_Projekt project = twoProfiles();
    ChartModel chart;
    ChartSeries result;
    result.Name = "V_POL9";
    chart.AddSeries(result);
    FillChart(project, chart);
    ASSERT_EQ(chart.SeriesCount(), 2) << "result series are removed too";
    EXPECT_EQ(chart.At(0).Name, "P0");
    EXPECT_EQ(chart.At(1).Name, "P1");
    EXPECT_EQ(chart.At(1).Title, "b;Titel b");
    EXPECT_EQ(chart.At(1).Color, RgbColor(0, 128, 0));
    EXPECT_FALSE(chart.At(1).Shown) << "a hidden profile keeps its (hidden) series";
    EXPECT_EQ(chart.At(1).Count(), 4);
    EXPECT_DOUBLE_EQ(chart.At(1).YValues[2], -0.05) << "points stay in list order";
    EXPECT_TRUE(chart.At(0).Marker.Visible);
    EXPECT_EQ(chart.At(0).Marker.Style, MarkerStyle::Circle);
    EXPECT_EQ(chart.At(0).Marker.HorizSize, 5);

    FillChart(project, chart);
    FillChart(project, chart);
    EXPECT_EQ(chart.At(0).Name, "P4");
    EXPECT_EQ(chart.At(1).Name, "P5");
}

TEST(FillChart, RefillSeriesReplacesThePointsOnly)
{
    TProf_Projekt project = twoProfiles();
    ChartModel chart;
    FillChart(project, chart);
    chart.At(0).Color = kColorBlack;
    project.Profiles[0].Points.pop_back();
    project.Profiles[0].Points[0].Y = 0.5;
    RefillSeries(project, chart, 0);
    EXPECT_EQ(chart.At(0).Count(), 2);
    EXPECT_DOUBLE_EQ(chart.At(0).YValues[0], 0.5);
    EXPECT_EQ(chart.At(0).Color, kColorBlack);
    EXPECT_EQ(chart.At(0).Name, "P0");
    RefillSeries(project, chart, 7); // no such series: nothing happens
}

TEST(NextFreeColour, SkipsColoursInUseAndTheBackground)
{
    ChartModel chart;
    EXPECT_EQ(NextFreeColour(chart, kSysColorBtnFace, kSysColorBtnFace), kColorRed);
    ChartSeries s;
    s.Color = kColorRed;
    chart.AddSeries(s);
    EXPECT_EQ(NextFreeColour(chart, kSysColorBtnFace, kSysColorBtnFace), RgbColor(0, 128, 0));
    EXPECT_EQ(NextFreeColour(chart, kSysColorBtnFace, RgbColor(0, 128, 0)), RgbColor(255, 255, 0));
    for (TColor c : ProfilePalette()) {
        s.Color = c;
        chart.AddSeries(s);
    }
    EXPECT_EQ(NextFreeColour(chart, kSysColorBtnFace, kSysColorBtnFace), kColorRed);
}

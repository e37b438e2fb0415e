// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/diagram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace velmora;

namespace {

Diagram lineDiagram()
{
    Diagram d;
    d.Title = "ca über α";
    d.XTitle = "α [°]";
    d.YTitle = "ca";
    ChartSeries s;
    s.Color = RgbColor(0, 128, 0);
    for (int i = 0; i <= 10; ++i)
        s.AddXY(i - 5.0, 0.1 * i);
    d.Chart.AddSeries(s);
    FitDiagram(d.Chart);
    LayoutDiagram(d, 0, 0, 400, 300);
    return d;
}

size_t count(const std::string &text, const std::string &part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(Diagram, FitLeavesAMarginAndCopesWithFlatOrMissingData)
{
    ChartModel chart;
    ChartSeries s;
    s.AddXY(0.0, 2.0);
    s.AddXY(10.0, 2.0);
    s.AddXY(std::nan(""), 7.0); // a gap value never widens the range
    chart.AddSeries(s);
    FitDiagram(chart);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Min, -0.5);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Max, 10.5);
    EXPECT_DOUBLE_EQ(chart.LeftAxis().Min, 1.0);
    EXPECT_DOUBLE_EQ(chart.LeftAxis().Max, 3.0);
    chart.At(0).Shown = false;
    FitDiagram(chart);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Min, 0.0);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Max, 1.0);
}

TEST(Diagram, NearestPointIsFoundWithinTheDistanceOnly)
{
    const Diagram d = lineDiagram();
    const ChartModel &c = d.Chart;
    const auto hit = FindNearestPoint(c, c.XToPixel(1.0) + 3, c.YToPixel(0.6) - 2, 10);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Index, 6);
    EXPECT_DOUBLE_EQ(hit->Y, 0.6);
    EXPECT_FALSE(FindNearestPoint(c, c.XToPixel(1.0), c.YToPixel(0.6) - 40, 10));
}

TEST(Diagram, SvgHoldsTheSceneWithBalancedClipGroupsAndEscapedText)
{
    Diagram d = lineDiagram();
    d.Legend = {{"Re 100000 <neu> & alt", RgbColor(0, 128, 0), PenStyle::Dash}};
    // a single valid point between gaps is drawn as a dot, not lost
    ChartSeries lone;
    lone.AddXY(0.0, 0.5);
    d.Chart.AddSeries(lone);
    DiagramScene scene{400, 300, {}};
    RenderDiagram(d, scene, std::make_pair(200, 150), "α 1°");
    const std::string svg = SceneToSvg(scene);
    EXPECT_EQ(count(svg, "<g clip-path"), count(svg, "</g>"));
    EXPECT_EQ(count(svg, "<polyline"), 1u);
    EXPECT_EQ(count(svg, "<circle"), 1u);
    EXPECT_NE(svg.find("Re 100000 &lt;neu&gt; &amp; alt"), std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#008000\""), std::string::npos);
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
    EXPECT_NE(svg.find("rotate(-90"), std::string::npos) << "the y title runs upwards";
    EXPECT_NE(svg.find(">α 1°</text>"), std::string::npos);
    // every point of the polyline lies inside the plotting rectangle
    const PlotRect r = d.Chart.Rect();
    const auto line = std::find_if(scene.Items.begin(), scene.Items.end(),
                                   [](const SceneItem &i) { return std::holds_alternative<ScenePolyline>(i); });
    ASSERT_NE(line, scene.Items.end());
    for (const auto &[x, y] : std::get<ScenePolyline>(*line).Points) {
        EXPECT_GE(x, r.Left);
        EXPECT_LE(x, r.Right);
        EXPECT_GE(y, r.Top);
        EXPECT_LE(y, r.Bottom);
    }
}

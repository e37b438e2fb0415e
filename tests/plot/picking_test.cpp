// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/picking.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Pixels equal values: x 0..1000 over 1000 pixels, y 0..1000 over the lower 97 %.
ChartModel pixelChart(bool markers)
{
    ChartModel c;
    c.SetPlotRect({0, 0, 1000, 1000});
    c.SetBottomRange(0, 1000);
    c.SetLeftRange(0, 1000);
    ChartSeries s;
    for (double x : {100.0, 200.0, 300.0, 304.0})
        s.AddXY(x, 500.0);
    s.Marker.Visible = markers;
    c.AddSeries(s);
    return c;
}

} // namespace

TEST(PickPoint, MarkerHitsWithinTheHalfSize)
{
    const ChartModel c = pixelChart(true);
    const int y = c.YToPixel(500);
    EXPECT_EQ(PickPoint(c, 0, 204, y + 4), 1);
    EXPECT_EQ(PickPoint(c, 0, 205, y + 10), -1);
    // the first qualifying point wins even when a later one is nearer
    EXPECT_EQ(PickPoint(c, 0, 303, y), 2);
}

TEST(PickPoint, WithoutMarkersOnlyExactPointsAndSegmentsPick)
{
    const ChartModel c = pixelChart(false);
    const int y = c.YToPixel(500);
    EXPECT_EQ(PickPoint(c, 0, 100, y), 0);
    EXPECT_EQ(PickPoint(c, 0, 150, y), 0) << "on the segment from point 0 to 1";
    EXPECT_EQ(PickPoint(c, 0, 250, y), 1);
    EXPECT_EQ(PickPoint(c, 0, 150, y + 2), -1);
    EXPECT_EQ(PickPoint(c, 0, 50, y), -1);
    EXPECT_EQ(PickPoint(c, 1, 100, y), -1) << "no such series";
}

TEST(PickPoint, SlantedSegmentPicksWithinAPixel)
{
    ChartModel c;
    c.SetPlotRect({0, 0, 1000, 1000});
    c.SetBottomRange(0, 1000);
    c.SetLeftRange(0, 1000);
    ChartSeries s;
    s.AddXY(0, 0);
    s.AddXY(500, 500);
    s.Marker.Visible = false;
    c.AddSeries(s);
    const int x0 = c.XToPixel(0), y0 = c.YToPixel(0), x1 = c.XToPixel(500), y1 = c.YToPixel(500);
    const int mx = (x0 + x1) / 2;
    const int my = y0 + (y1 - y0) * (mx - x0) / (x1 - x0);
    EXPECT_EQ(PickPoint(c, 0, mx, my), 0);
    EXPECT_EQ(PickPoint(c, 0, mx, my + 3), -1);
    c.At(0).Shown = false;
    EXPECT_EQ(PickPoint(c, 0, mx, my), -1) << "hidden profiles cannot be picked";
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/chartmodel.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A 1000 x 500 pixel plotting area with one series spanning x 0..1, y -0.1..0.1.
ChartModel chartWithProfileExtent()
{
    ChartModel c;
    c.SetPlotRect({50, 10, 1050, 510});
    ChartSeries s;
    s.AddXY(1, 0);
    s.AddXY(0, 0.1);
    s.AddXY(0.5, -0.1);
    c.AddSeries(s);
    return c;
}

} // namespace

TEST(ChartModel, AutomaticRangesSpanTheShownSeries)
{
    ChartModel c = chartWithProfileExtent();
    EXPECT_DOUBLE_EQ(c.BottomAxis().Min, 0.0);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Max, 1.0);
    EXPECT_DOUBLE_EQ(c.LeftAxis().Min, -0.1);
    ChartSeries far;
    far.AddXY(5, 5);
    far.Shown = false;
    c.AddSeries(far);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Max, 1.0) << "hidden series do not count";
    ChartModel empty;
    EXPECT_LT(empty.BottomAxis().Min, empty.BottomAxis().Max);
}

TEST(ChartModel, ZoomPercentMovesEachEndByTheShareOfTheRangeAndNotifies)
{
    ChartModel c = chartWithProfileExtent();
    int zooms = 0;
    c.OnZoom = [&] { ++zooms; };
    c.ZoomPercent(105);
    EXPECT_NEAR(c.BottomAxis().Min, 0.05, 1e-12);
    EXPECT_NEAR(c.BottomAxis().Max, 0.95, 1e-12);
    EXPECT_NEAR(c.LeftAxis().Min, -0.09, 1e-12);
    EXPECT_FALSE(c.BottomAxis().Automatic);
    c.ZoomPercent(90);
    EXPECT_NEAR(c.BottomAxis().Min, 0.05 - 0.09, 1e-12);
    EXPECT_EQ(zooms, 2);
}

TEST(ChartModel, UndoZoomRestoresTheStateBeforeTheFirstZoom)
{
    ChartModel c = chartWithProfileExtent();
    int undos = 0;
    c.OnUndoZoom = [&] { ++undos; };
    c.ZoomPercent(105);
    c.ZoomPercent(105);
    c.PanPixels(100, 0);
    c.UndoZoom();
    EXPECT_TRUE(c.BottomAxis().Automatic);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Max, 1.0);
    EXPECT_EQ(undos, 1);
}

TEST(ChartModel, PixelMappingUsesTheLower97PercentForY)
{
    ChartModel c = chartWithProfileExtent();
    EXPECT_EQ(c.LeftAxisTop(), 25); // 10 + round(0.03 * 500)
    EXPECT_EQ(c.XToPixel(0.0), 50);
    EXPECT_EQ(c.XToPixel(1.0), 1050);
    EXPECT_EQ(c.YToPixel(-0.1), 510);
    EXPECT_EQ(c.YToPixel(0.1), 25);
    EXPECT_NEAR(c.PixelToX(550), 0.5, 1e-12);
    EXPECT_NEAR(c.PixelToY(c.YToPixel(0.03)), 0.03, 0.2 / 485);
}

TEST(ChartModel, EqualScalingKeepsTheCentreOrCentresOnZero)
{
    ChartModel c = chartWithProfileExtent();
    c.SetLeftRange(0.2, 0.4);
    ScaleRequest r = ScaleRequest::KeepCentre;
    EXPECT_TRUE(c.ApplyScaleRequest(r));
    EXPECT_EQ(r, ScaleRequest::None);
    // height / width = 0.5, x range 1: y spans 0.5 round 0.3
    EXPECT_NEAR(c.LeftAxis().Min, 0.05, 1e-12);
    EXPECT_NEAR(c.LeftAxis().Max, 0.55, 1e-12);

    r = ScaleRequest::CentreOnZero;
    EXPECT_TRUE(c.ApplyScaleRequest(r));
    EXPECT_NEAR(c.LeftAxis().Min, -0.25, 1e-12);
    EXPECT_NEAR(c.LeftAxis().Max, 0.25, 1e-12);
    EXPECT_FALSE(c.ApplyScaleRequest(r)) << "a consumed request does nothing";
}

TEST(ChartModel, EqualScalingWaitsForAPlotWithWidth)
{
    ChartModel c;
    ScaleRequest r = ScaleRequest::CentreOnZero;
    EXPECT_FALSE(c.ApplyScaleRequest(r));
    EXPECT_EQ(r, ScaleRequest::CentreOnZero);
}

TEST(ChartModel, DragsZoomRightDownUndoOtherwiseAndIgnoreShortOnes)
{
    ChartModel c = chartWithProfileExtent();
    EXPECT_EQ(c.ClassifyDrag(100, 100, 117, 117), DragAction::ZoomToRect);
    EXPECT_EQ(c.ClassifyDrag(100, 100, 116, 200), DragAction::None);
    EXPECT_EQ(c.ClassifyDrag(100, 100, 200, 116), DragAction::None);
    EXPECT_EQ(c.ClassifyDrag(200, 200, 100, 100), DragAction::UndoZoom);
    EXPECT_EQ(c.ClassifyDrag(100, 200, 200, 100), DragAction::UndoZoom);
    c.AllowZoom = false;
    EXPECT_EQ(c.ClassifyDrag(100, 100, 200, 200), DragAction::None);
}

TEST(ChartModel, ZoomToPixelsShowsTheDraggedRectangle)
{
    ChartModel c = chartWithProfileExtent();
    c.ZoomToPixels(550, 25, 1050, 510);
    EXPECT_NEAR(c.BottomAxis().Min, 0.5, 1e-12);
    EXPECT_NEAR(c.BottomAxis().Max, 1.0, 1e-12);
    EXPECT_NEAR(c.LeftAxis().Max, 0.1, 1e-12);
}

TEST(ChartModel, PanningFollowsTheMouse)
{
    ChartModel c = chartWithProfileExtent();
    const double before = c.PixelToX(600);
    c.PanPixels(100, -50);
    EXPECT_NEAR(c.PixelToX(700), before, 1e-12);
    EXPECT_NEAR(c.BottomAxis().Min, -0.1, 1e-12);
    EXPECT_LT(c.LeftAxis().Min, -0.1);
}

TEST(ChartModel, RemovesSeriesByNamePart)
{
    ChartModel c;
    for (const char *n : {"P0", "V_POL3", "P1", "UM_POL_OBEN4", "UM_POL_UNTEN5"}) {
        ChartSeries s;
        s.Name = n;
        c.AddSeries(s);
    }
    EXPECT_EQ(c.LastSeriesContaining("UM_POL"), 4);
    EXPECT_EQ(c.RemoveSeriesContaining("UM_POL"), 2);
    EXPECT_EQ(c.LastSeriesContaining("V_POL"), 1);
    EXPECT_EQ(c.SeriesCount(), 3);
}

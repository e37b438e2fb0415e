// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "plot/fillchart.h"
#include "plot/overlaygeometry.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmora;
using velmora::testing::FakeView;
using velmora::testing::profileFrom;

namespace {

struct RecordingCanvas : OverlayCanvas
{
    struct Seg
    {
        int x0, y0, x1, y1;
        TColor colour;
        int width;
    };
    std::vector<Seg> lines;
    std::vector<std::string> texts;
    void Line(int x0, int y0, int x1, int y1, TColor colour, int width) override
    {
        lines.push_back({x0, y0, x1, y1, colour, width});
    }
    void Text(int, int, const std::string &utf8, TColor, TColor) override { texts.push_back(utf8); }
    int count(int width, TColor colour) const
    {
        return int(std::count_if(lines.begin(), lines.end(),
                                 [&](const Seg &s) { return s.width == width && s.colour == colour; }));
    }
};

// A 21-point profile on a 1000 x 1000 pixel plot where x and y run 0..1.
class PointEditing : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};

    void SetUp() override
    {
        c.Analysis.VRechnen = false;
        c.Chart().SetPlotRect({0, 0, 1000, 1000});
        TProfile p = MakeNaca4("0012", 11);
        p.Color = RgbColor(255, 0, 0);
        c.Project().Profiles.push_back(p);
        FillChart(c.Project(), c.Chart());
        c.Chart().SetBottomRange(-0.1, 1.1);
        c.Chart().SetLeftRange(-0.6, 0.6);
        c.AfterDraw();
        c.CheckListBox1MouseDown(0, false);
    }

    TProfile &p() { return c.Project().Profiles[0]; }
    int px(int i) { return c.Chart().XToPixel(p().Points[size_t(i)].X); }
    int py(int i) { return c.Chart().YToPixel(p().Points[size_t(i)].Y); }
    void click(int i, bool left = true, bool ctrl = false)
    {
        c.Chart1MouseDown(px(i), py(i), left, !left, ctrl);
    }
};

} // namespace

TEST(WheelStepValue, IsATenthPowerWithFourForAnythingElse)
{
    EXPECT_FLOAT_EQ(WheelStepValue(1), 0.1f);
    EXPECT_FLOAT_EQ(WheelStepValue(6), 0.000001f);
    EXPECT_FLOAT_EQ(WheelStepValue(9), 0.0001f);
    EXPECT_FLOAT_EQ(WheelStepValue(0), 0.0001f);
}

TEST_F(PointEditing, FirstClickMarksSecondClickActivates)
{
    click(4);
    EXPECT_TRUE(p().Points[4].Marked);
    EXPECT_FALSE(p().Points[4].Active);
    p().Points[7].Active = true;
    click(4);
    EXPECT_TRUE(p().Points[4].Active);
    EXPECT_FALSE(p().Points[7].Active) << "one active point";
    EXPECT_FALSE(c.Project().Modified) << "marking changes nothing";
    click(4, false);
    EXPECT_FALSE(p().Points[4].Marked || p().Points[4].Active) << "the right button unmarks";
}

TEST_F(PointEditing, CtrlClicksMarkAndUnmarkRanges)
{
    click(10, true, true);
    click(4, true, true);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(p().Points[size_t(i)].Marked, i >= 4 && i <= 10) << i;
    EXPECT_EQ(p().MarkRangeStart, -1);
    p().Points[6].Active = p().Points[7].Active = p().Points[8].Active = true;
    click(6, false, true);
    click(8, false, true);
    EXPECT_FALSE(p().Points[6].Marked || p().Points[7].Marked || p().Points[8].Marked);
    EXPECT_FALSE(p().Points[6].Active);
    EXPECT_TRUE(p().Points[7].Active) << "the range keeps the active flag inside";
    EXPECT_FALSE(p().Points[8].Active);
    EXPECT_TRUE(p().Points[5].Marked && p().Points[9].Marked);
}

TEST_F(PointEditing, ClickOnTheLineBetweenTwoPointsPicksTheFirst)
{
    c.Display.Circles = false;
    c.BeforeDrawSeries();
    const int mx = (px(7) + px(8)) / 2;
    const int my = py(7) + (py(8) - py(7)) * (mx - px(7)) / (px(8) - px(7));
    c.Chart1MouseDown(mx, my, true, false, false);
    EXPECT_TRUE(p().Points[7].Marked);
    EXPECT_FALSE(p().Points[8].Marked);
}

TEST_F(PointEditing, ClosedTrailingEdgeAsksWhichEndWasMeant)
{
    view.yesNoAnswers = {false, true};
    click(0);
    EXPECT_EQ(view.questions.back(), "Meinten Sie die Endkoordinate oben ?");
    EXPECT_TRUE(p().Points[20].Marked) << "No picks the lower end";
    EXPECT_FALSE(p().Points[0].Marked);
    EXPECT_FALSE(c.Chart().AllowZoom);
    click(0);
    EXPECT_TRUE(p().Points[0].Marked);
}

TEST_F(PointEditing, WheelMovesMarkedPointsByTheStepAndRoundsToSixDecimals)
{
    click(5);
    click(5); // active
    click(6);
    const double y5 = p().Points[5].Y;
    const double y6 = p().Points[6].Y;
    c.Project().WheelStep = 4;
    c.FormMouseWheel(+120);
    EXPECT_DOUBLE_EQ(p().Points[5].Y, RoundTo6(y5 + 0.0001));
    EXPECT_DOUBLE_EQ(p().Points[6].Y, RoundTo6(y6 + 0.0001));
    EXPECT_TRUE(p().Modified);
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_DOUBLE_EQ(c.Chart().At(0).YValues[5], p().Points[5].Y) << "the series follows";

    p().Points[5].Y = 0.05;
    c.Project().WheelStep = 1;
    for (int i = 0; i < 3; ++i)
        c.FormMouseWheel(-120);
    EXPECT_DOUBLE_EQ(p().Points[5].Y, -0.25);

    c.MoveHorizontal = true;
    const double x6 = p().Points[6].X;
    c.FormMouseWheel(+1);
    EXPECT_DOUBLE_EQ(p().Points[6].X, RoundTo6(x6 + 0.1)) << "every event is one step";
}

TEST_F(PointEditing, WheelNeedsAnActivePoint)
{
    click(5);
    const double y = p().Points[5].Y;
    c.FormMouseWheel(120);
    EXPECT_DOUBLE_EQ(p().Points[5].Y, y);
    EXPECT_FALSE(p().Modified);
}

TEST_F(PointEditing, TypedCoordinatesGoToTheActivePoint)
{
    click(3);
    click(3);
    c.ActivePointFieldDone(true, "0,4");
    c.ActivePointFieldDone(false, "0.1234567");
    EXPECT_DOUBLE_EQ(p().Points[3].X, 0.4);
    EXPECT_DOUBLE_EQ(p().Points[3].Y, 0.1234567) << "taken as typed";
    EXPECT_THROW(c.ActivePointFieldDone(true, "x"), UserError);
    EXPECT_DOUBLE_EQ(p().Points[3].X, 0.4);
}

TEST_F(PointEditing, F4InsertsOnceAtThePreviewedFoot)
{
    RecordingCanvas canvas;
    // outside the profile next to the middle of the upper segment 3 -> 4
    const TKoordi a = p().Points[3];
    const TKoordi b = p().Points[4];
    c.MouseX = c.Chart().XToPixel((a.X + b.X) / 2);
    c.MouseY = c.Chart().YToPixel((a.Y + b.Y) / 2 + 0.05);
    c.DrawOverlays(canvas, true);
    EXPECT_EQ(c.Project().InsertIndex, 4);
    EXPECT_NEAR(c.Project().InsertX, (a.X + b.X) / 2, 0.01);

    c.Chart1Click(true);
    ASSERT_EQ(p().PointCount(), 22);
    EXPECT_TRUE(p().Points[4].IsNew);
    EXPECT_TRUE(p().Modified);
    c.Chart1Click(true);
    EXPECT_EQ(p().PointCount(), 22) << "no second point on the same place";

    // from inside the contour the segment faces away: no candidate
    c.MouseX = c.Chart().XToPixel(0.5);
    c.MouseY = c.Chart().YToPixel(0.0);
    c.Project().InsertX = 5;
    c.DrawOverlays(canvas, true);
    EXPECT_NE(c.Project().InsertX, 5.0);
}

TEST_F(PointEditing, OverlaysMarkPointsAndFillTheActivePointFields)
{
    click(5);
    click(5);
    click(6);
    p().Points[9].IsNew = true;
    c.Display.NewPoints = true;
    c.Display.MouseCoords = true;
    c.LocaleDecimal = '.';
    RecordingCanvas before;
    c.DrawOverlays(before, false);
    EXPECT_EQ(before.count(1, kColorBlack), 2 + 4 + 4) << "no crosshair before the mouse came over the plot";
    c.Chart1MouseMove(c.Chart().XToPixel(0.5), c.Chart().YToPixel(0.01), false);
    RecordingCanvas canvas;
    c.DrawOverlays(canvas, false);
    EXPECT_EQ(canvas.count(2, RgbColor(255, 0, 0)), 4 + 4 + 2) << "two inner squares and one arrow";
    EXPECT_EQ(canvas.count(1, kColorBlack), 2 + 2 + 4 + 4)
        << "crosshair, the cross of the new point and the outer squares";
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].substr(0, 31), "NACA0012   , X=0.500000 , Y=0.0");
    EXPECT_EQ(view.activeX, FormatCoordinate(11, 6, ',', p().Points[5].X));
    EXPECT_NE(view.activeX.find(','), std::string::npos);

    c.PunkteDemarkieren(false);
    EXPECT_TRUE(p().Points[5].Active) << "the menu entry keeps the active point";
    c.PunkteDemarkieren(true);
    EXPECT_FALSE(p().Points[5].Active);
}

TEST(InsertionCandidate, ZeroLengthSegmentEndsTheSearch)
{
    const TProfile p = profileFrom({{1, 0}, {0.5, 0.1}, {0.5, 0.1}, {0, 0}, {0.5, -0.1}, {1, 0}});
    // next to segment 3 -> 4 on the outside, but the search stops at the coinciding points 1 and 2
    const InsertionSearch s = FindInsertionCandidate(p.Points, VecMake(0.3, -0.2));
    EXPECT_TRUE(s.searched);
    EXPECT_FALSE(s.found);
    const InsertionSearch t = FindInsertionCandidate(p.Points, VecMake(0.75, 0.2));
    EXPECT_TRUE(t.found);
    EXPECT_EQ(t.segment, 0);
    EXPECT_DOUBLE_EQ(TriangleArea(VecMake(0, 0), VecMake(1, 0), VecMake(2, 0)), 0.0);
}

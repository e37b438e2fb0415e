// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/formresizer.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A 1000 x 700 window with an edit field, a label and a control filling its parent.
std::vector<TControlInfo> layout()
{
    return {
        {{8, 125, 201, 21}, 11, false, false},
        {{8, 110, 90, 13}, 11, true, false},
        {{0, 0, 1000, 473}, std::nullopt, false, true},
    };
}

std::vector<TBounds> boundsOf(const std::vector<TControlInfo> &controls)
{
    std::vector<TBounds> b;
    for (const auto &c : controls)
        b.push_back(c.Bounds);
    return b;
}

} // namespace

TEST(FormResizer, DoublingTheWindowDoublesBoundsAndFontsUpToTheLimit)
{
    TFormResizer r;
    r.ResizeFonts = true;
    r.MinFontSize = 2;
    r.MaxFontSize = 20;
    r.CaptureLayout(1000, 700, layout());
    int w = 2000;
    int h = 1400;
    const auto res = r.ScaleControls(w, h, boundsOf(layout()));
    EXPECT_EQ(res[0].Bounds, (TBounds{16, 250, 402, 42}));
    EXPECT_EQ(res[0].FontSize, 20) << "22 is capped at 20";
    EXPECT_EQ(res[1].Bounds, (TBounds{16, 220, 90, 26})) << "a label keeps its width";
    EXPECT_TRUE(res[2].Skip) << "a control filling its parent is left to the parent";

    w = 500;
    h = 100;
    const auto small = r.ScaleControls(w, h, boundsOf(layout()));
    EXPECT_EQ(small[0].FontSize, 2) << "1.57 rounds to 2, the lower limit";
}

TEST(FormResizer, ReturningToTheRecordedSizeRestoresExactly)
{
    TFormResizer r;
    r.ResizeFonts = true;
    r.CaptureLayout(1000, 700, layout());
    int w = 1333;
    int h = 917;
    const auto odd = r.ScaleControls(w, h, boundsOf(layout()));
    std::vector<TBounds> now = {odd[0].Bounds, odd[1].Bounds, layout()[2].Bounds};
    w = 1000;
    h = 700;
    const auto back = r.ScaleControls(w, h, now);
    EXPECT_EQ(back[0].Bounds, layout()[0].Bounds);
    EXPECT_EQ(back[0].FontSize, 11);
    EXPECT_EQ(back[1].Bounds.Top, 110);
}

TEST(FormResizer, SettingsAfterCaptureDoNotReachTheControlsAndCaptureRunsOnce)
{
    TFormResizer r;
    r.CaptureLayout(1000, 700, layout());
    r.ResizeFonts = true; // too late: the entries copied "off"
    r.CaptureLayout(10, 10, {});
    EXPECT_EQ(r.Entries().size(), 3u);
    int w = 2000;
    int h = 1400;
    const auto res = r.ScaleControls(w, h, boundsOf(layout()));
    EXPECT_FALSE(res[0].FontSize.has_value());
    EXPECT_EQ(res[0].Bounds.Width, 402);
}

TEST(FormResizer, EnforcedMinimumAndRemovedControls)
{
    TFormResizer r;
    r.EnforceMinSize = true;
    r.CaptureLayout(1000, 700, layout());
    r.ControlRemoved(1);
    int w = 400;
    int h = 300;
    const auto res = r.ScaleControls(w, h, boundsOf(layout()));
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 700);
    EXPECT_EQ(res[0].Bounds, layout()[0].Bounds);
    EXPECT_TRUE(res[1].Skip);
}

TEST(FormResizer, HalvesRoundToEven)
{
    TFormResizer r;
    r.CaptureLayout(100, 100, {{{5, 15, 25, 35}, std::nullopt, false, false}});
    int w = 50;
    int h = 50;
    const auto res = r.ScaleControls(w, h, {{5, 15, 25, 35}});
    EXPECT_EQ(res[0].Bounds, (TBounds{2, 8, 12, 18}));
}

TEST(FormResizer, FontsCanFollowTheSmallerRatioAndFontOnlyControlsKeepTheirBounds)
{
    TFormResizer r;
    r.ResizeFonts = true;
    r.MinFontSize = 20;
    r.MaxFontSize = 200;
    r.FontsFollowSmallerRatio = true;
    std::vector<TControlInfo> controls = layout();
    controls.push_back({{0, 0, 170, 473}, 82, false, false, true}); // a list beside a splitter
    r.CaptureLayout(1000, 700, controls);
    std::vector<TBounds> current = boundsOf(controls);
    current[3] = {0, 0, 300, 600};

    // narrower than high: the width ratio rules the fonts, so captions fit their boxes
    int w = 500;
    int h = 1400;
    auto res = r.ScaleControls(w, h, current);
    EXPECT_EQ(res[0].Bounds, (TBounds{4, 250, 100, 42}));
    EXPECT_EQ(res[0].FontSize, 20) << "11 x 0.5 is 5.5, raised to the minimum";
    EXPECT_EQ(res[3].FontSize, 41);
    EXPECT_EQ(res[3].Bounds, current[3]) << "the layout places it";

    // larger: 82 tenths grow to 200 at most, a limit in the unit given
    w = 3000;
    h = 2800;
    res = r.ScaleControls(w, h, current);
    EXPECT_EQ(res[3].FontSize, 200);
    EXPECT_EQ(res[0].FontSize, 33) << "three times, not the four of the height";
}

TEST(FormResizer, AFontSetFromOutsideIsWhatScalingStartsFrom)
{
    TFormResizer r;
    r.ResizeFonts = true;
    r.MinFontSize = 2;
    r.MaxFontSize = 100;
    r.CaptureLayout(1000, 700, layout());
    // the font settings file gave the edit field 16 while the window was 1.5 times as high
    r.FontChanged(0, 16, 1000, 1050);
    int w = 1000;
    int h = 1050;
    EXPECT_EQ(r.ScaleControls(w, h, boundsOf(layout()))[0].FontSize, 16);
    h = 1400;
    EXPECT_EQ(r.ScaleControls(w, h, boundsOf(layout()))[0].FontSize, 22) << "16 / 1.5 recorded as 11, doubled";
    h = 700;
    EXPECT_EQ(r.ScaleControls(w, h, boundsOf(layout()))[0].FontSize, 11);
}

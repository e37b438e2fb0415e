// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/colour.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Colour, ContrastIsBlackOnTheFaceColourAndWhiteOnBlack)
{
    EXPECT_EQ(ContrastColour(kSysColorBtnFace), kColorBlack);
    EXPECT_EQ(ContrastColour(kColorBlack), kColorWhite);
    EXPECT_EQ(ContrastColour(kColorWhite), kColorBlack);
    // the threshold weighs green most: pure green is light, pure blue dark
    EXPECT_EQ(ContrastColour(RgbColor(0, 255, 0)), kColorBlack);
    EXPECT_EQ(ContrastColour(RgbColor(0, 0, 255)), kColorWhite);
    // 61 * 255 + 174 * 98 + 21 * 0 = 32607 < 32768, with 99 it is 32781
    EXPECT_EQ(ContrastColour(RgbColor(255, 98, 0)), kColorWhite);
    EXPECT_EQ(ContrastColour(RgbColor(255, 99, 0)), kColorBlack);
}

TEST(Colour, ShadeMovesTheContrastTowardsMidGrey)
{
    EXPECT_EQ(ShadeColour(kSysColorBtnFace, 0.5), RgbColor(128, 128, 128));
    EXPECT_EQ(ShadeColour(kColorBlack, 0.5), RgbColor(127, 127, 127));
    EXPECT_EQ(ShadeColour(kColorBlack, 0.0), ContrastColour(kColorBlack));
    EXPECT_EQ(ShadeColour(kColorWhite, 0.0), ContrastColour(kColorWhite));
}

TEST(Colour, PaletteStartsRedGreenYellowAndStoresBgr)
{
    const auto &p = ProfilePalette();
    EXPECT_EQ(p[0], 0x0000FF);
    EXPECT_EQ(p[1], 0x008000);
    EXPECT_EQ(p[2], 0x00FFFF);
    EXPECT_EQ(p[3], 0xFF0000);
    EXPECT_EQ(p[15], 0);
}

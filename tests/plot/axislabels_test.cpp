// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/axislabels.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;

TEST(AxisLabels, FormatGroupsThousandsAndDropsTrailingZeros)
{
    EXPECT_EQ(FormatAxisLabel(0.0, ',', '.'), "0");
    EXPECT_EQ(FormatAxisLabel(0.05, ',', '.'), "0,05");
    EXPECT_EQ(FormatAxisLabel(-0.05, '.', ','), "-0.05");
    EXPECT_EQ(FormatAxisLabel(1234.5, ',', '.'), "1.234,5");
    EXPECT_EQ(FormatAxisLabel(1234567, '.', ','), "1,234,567");
    EXPECT_EQ(FormatAxisLabel(0.1234567, '.', ','), "0.123457");
    EXPECT_EQ(FormatAxisLabel(-0.0000001, '.', ','), "0");
}

TEST(AxisLabels, TicksAreRoundStepsAtLeastTheSpacingApart)
{
    const std::vector<double> t = AxisTicks(-0.13, 1.07, 1000, 60);
    ASSERT_GE(t.size(), 2u);
    const double step = t[1] - t[0];
    EXPECT_GE(step / 1.2 * 1000, 60.0);
    EXPECT_NEAR(t.front(), -0.1, 1e-12);
    for (double v : t) {
        EXPECT_GE(v, -0.13);
        EXPECT_LE(v, 1.07);
        const double units = v / step;
        EXPECT_NEAR(units, std::round(units), 1e-9);
    }
    EXPECT_TRUE(AxisTicks(1, 1, 100, 20).empty());
    EXPECT_TRUE(AxisTicks(0, NAN, 100, 20).empty());
}

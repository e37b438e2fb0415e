// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/vectormath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#pragma GCC diagnostic ignored "-Wpsabi"

using namespace velmora::eppler;

namespace {

// Distance in representable doubles.
long long ulps(double a, double b)
{
    auto ordered = [](double v) {
        long long bits;
        std::memcpy(&bits, &v, sizeof bits);
        return bits < 0 ? (-0x7fffffffffffffffLL - 1) - bits : bits;
    };
    return std::llabs(ordered(a) - ordered(b));
}

} // namespace

// The panel kernels take these instead of the library's functions; a wrong
// coefficient or reduction shows as thousands of ulps somewhere in the range.
TEST(VectorMath, LogAndArcTangentStayWithinTwoUlpsOfTheLibrary)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> exponent(-40.0, 40.0), unit(-1.0, 1.0);
    long long worstLog = 0, worstAtan = 0;
    for (int i = 0; i < 200000; i += 4) {
        Doubles4 x, y;
        for (int lane = 0; lane < 4; ++lane) {
            const int kind = (i / 4 + lane) % 4;
            // wide range, near 1 (the logarithm's cancellation), quotients near the reduction bounds
            x[lane] = kind == 0 ? std::exp(exponent(random)) : kind == 1 ? 1.0 + 1e-4 * unit(random) : std::exp(unit(random));
            y[lane] = kind == 3 ? x[lane] * (0.4375 + 0.3 * unit(random)) : unit(random) * std::exp(exponent(random) / 4);
            if (lane == 3)
                x[lane] = -x[lane];
        }
        const Doubles4 lg = vectorLog((Doubles4)((Bits4)x & 0x7fffffffffffffffLL));
        const Doubles4 at = vectorAtan2(y, x);
        for (int lane = 0; lane < 4; ++lane) {
            worstLog = std::max(worstLog, ulps(lg[lane], std::log(std::fabs(x[lane]))));
            worstAtan = std::max(worstAtan, ulps(at[lane], std::atan2(y[lane], x[lane])));
        }
    }
    EXPECT_LE(worstLog, 2);
    EXPECT_LE(worstAtan, 2);
}

TEST(VectorMath, ArcTangentKeepsQuadrantsAndSignedZeros)
{
    const Doubles4 y1{0.0, -0.0, 2.0, -3.0}, x1{-1.0, -1.0, 2.0, -3.0};
    const Doubles4 y2{0.0, -0.0, 1e-300, 5.0}, x2{1.0, 1.0, -1.0, 1e-300};
    for (const auto &[y, x] : {std::pair{y1, x1}, std::pair{y2, x2}}) {
        const Doubles4 at = vectorAtan2(y, x);
        for (int lane = 0; lane < 4; ++lane) {
            const double expected = std::atan2(y[lane], x[lane]);
            EXPECT_LE(ulps(at[lane], expected), 1) << y[lane] << ", " << x[lane];
            EXPECT_EQ(std::signbit(at[lane]), std::signbit(expected)) << y[lane] << ", " << x[lane];
        }
    }
    const Doubles4 exact = vectorLog(Doubles4{1.0, 2.0, 0.5, 1024.0});
    EXPECT_EQ(exact[0], 0.0);
    EXPECT_EQ(exact[1], std::log(2.0));
    EXPECT_EQ(exact[2], -std::log(2.0));
    EXPECT_EQ(exact[3], 10.0 * std::log(2.0));
}

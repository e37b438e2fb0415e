// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace velmora::testing {

// Same x, y and flags at every position, to the last bit: what "untouched" means.
inline ::testing::AssertionResult samePoints(const TProfile &a, const TProfile &b)
{
    if (a.Points.size() != b.Points.size())
        return ::testing::AssertionFailure()
            << "point counts differ: " << a.Points.size() << " vs " << b.Points.size();
    for (size_t i = 0; i < a.Points.size(); ++i) {
        const TKoordi &p = a.Points[i];
        const TKoordi &q = b.Points[i];
        const bool sameX = p.X == q.X || (p.X != p.X && q.X != q.X);
        const bool sameY = p.Y == q.Y || (p.Y != p.Y && q.Y != q.Y);
        if (!sameX || !sameY || p.Marked != q.Marked || p.Active != q.Active || p.IsNew != q.IsNew)
            return ::testing::AssertionFailure()
                << "point " << i << " differs: (" << p.X << ", " << p.Y << ") vs (" << q.X
                << ", " << q.Y << ")";
    }
    return ::testing::AssertionSuccess();
}

// Coordinates within `tolerance` at every position.
inline ::testing::AssertionResult nearPoints(const TProfile &a, const TProfile &b, double tolerance)
{
    if (a.Points.size() != b.Points.size())
        return ::testing::AssertionFailure()
            << "point counts differ: " << a.Points.size() << " vs " << b.Points.size();
    for (size_t i = 0; i < a.Points.size(); ++i) {
        const TKoordi &p = a.Points[i];
        const TKoordi &q = b.Points[i];
        if (!(std::abs(p.X - q.X) <= tolerance && std::abs(p.Y - q.Y) <= tolerance))
            return ::testing::AssertionFailure()
                << "point " << i << ": (" << p.X << ", " << p.Y << ") vs (" << q.X << ", " << q.Y
                << ")";
    }
    return ::testing::AssertionSuccess();
}

} // namespace velmora::testing

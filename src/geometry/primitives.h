// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <span>

namespace velmora {

// Small building blocks of the geometry operations. Profiles are in program
// order (upper trailing-edge point, upper side, nose, lower side, lower
// trailing-edge point); the upper side is index 0 to NoseIndex, the lower side
// NoseIndex to the last index, the nose belongs to both.

int PointCount(const TProfile &profile);

// The point at list position `index`, 0 .. PointCount - 1. A position outside
// the list is a caller's error and throws std::out_of_range.
const TKoordi &PointAt(const TProfile &profile, int index);
TKoordi &PointAt(TProfile &profile, int index);

// The first point with the smallest x (a later point must be strictly
// smaller to win). -1 for a profile without points.
int NoseIndex(const TProfile &profile);

// A new profile with fresh copies (x and y, no flags) of the points
// from..to in their order, the source's Title, Name and Characteristics, and
// every other field as newly constructed. The range is clipped to the list;
// an empty range gives a profile without points.
TProfile CopyRange(const TProfile &profile, int from, int to);

// CopyRange over the whole point list.
TProfile WholeCopy(const TProfile &profile);

struct LagrangePair
{
    double x = 0.0;
    double y = 0.0;
};

// Value at x of the polynomial of degree n through table[0..n]: the sum over
// i of y_i times the product over j != i of (x - x_j)/(x_i - x_j), each factor
// applied as a multiplication followed by a division, and y_i applied last so
// that x = x_i gives exactly y_i. The x_i must be distinct (callers check).
// A table shorter than n + 1 pairs is used as far as it goes; an empty one gives 0.
double LagrangeValue(std::span<const LagrangePair> table, int n, double x);

// Turns the points from..to (clipped to the list) about (cx, cy) by -a
// radians, i.e. counter-clockwise for a negative a. The angle of a point is
// taken with a signed radius (negative left of cx) so that it stays within
// -90..+90 degrees; a point at the centre stays there.
void RotatePoints(TProfile &profile, int from, int to, double cx, double cy, double a);

// True when every coordinate is a finite number.
bool AllFinite(std::span<const TKoordi> points);

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <optional>

namespace velmora {

// Point-list rebuilding on profiles in program order (upper trailing edge,
// upper side, nose, lower side, lower trailing edge). The building blocks
// return a new profile carrying only Title and Name of the source, with fresh
// points (no flags), or nothing when the input is outside their domain.

// Every segment i -> i+1 cut into k equal parts (the points at j/k for
// j = 0 .. k-1), then the last point: (count - 1) * k + 1 points.
// Nothing for k < 1 or a profile without points.
std::optional<TProfile> SubdivideLinear(const TProfile &profile, int k);

// q samples per segment of the uniform cubic B-spline whose control polygon is
// the profile with its first and last point doubled: (count - 1) * q points,
// the end of the last segment left out. The samples are then stretched in x so
// that the leftmost one lies at x = 0 and x = 1 stays where it is.
// Nothing for q < 1, fewer than 2 points, or when no sample lies left of x = 1.
std::optional<TProfile> BSplineResample(const TProfile &profile, int q);

// 2 * (N div 2) + 1 points at x = (cos(j pi / half) + 1) / 2: half upper points
// from x = 1 towards the nose, the nose (0, 0), half lower points back to x = 1.
// y is interpolated (and beyond the ends extrapolated) linearly on the
// segment that a forward search on each side finds. Nothing for N < 0, fewer
// than 2 points, or a station that falls on a segment without x extent.
std::optional<TProfile> CosineResample(const TProfile &profile, int N);

// Five passes of linear doubling, B-spline sampling (about 1000 points) and
// cosine resampling (101 points, N in the last pass), then the profile's points
// are replaced by the result (fresh points, no flags). Name, Title and every
// other field stay.
// Refuses, leaving the profile untouched: N below 5 silently (empty message,
// as the smoothing box ignores such numbers), N above kMaxCoordinateCount,
// fewer than 2 points, all points on a vertical line, no point left of x = 1,
// and contours on which an interpolation segment has no x extent.
GeometryResult SmoothCosine(TProfile &profile, int N);

// A new point in the middle (t = 0.5) of every segment, from the parametric
// cubic through the four neighbouring points (parameters 0, 1, 2, 3). The
// midpoints of the two end segments are kept only if they lie left of their
// trailing-edge point. Up to 2n - 1 fresh points replace the old ones.
// Needs 4 points; refuses otherwise, leaving the profile untouched.
GeometryResult InsertMidpointsCubic(TProfile &profile);

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

namespace velmora {

// Brings the profile into the standard position: the nose (NoseIndex) at
// (0, 0) and the midpoint of the first and the last point at (1, 0), by
// repeated shift, rotation about that midpoint and scaling about the origin
// (at most 15 rounds, ending when all four values agree to 8 decimals; a
// profile that does not settle keeps the 15th round). With `extrapolate`
// both trailing-edge points are then moved to x = 1 on the cubic through the
// four outermost points of their end, and the whole runs up to 20 times.
// The points keep their flags; only X and Y change.
//
// Needs 2 points (4 with `extrapolate`), a nose left of the trailing edge and,
// for the extrapolation, distinct x among the four points of each end.
// Otherwise, or when the arithmetic leaves the finite numbers, the profile is
// left untouched and the result says why.
GeometryResult AlignNormalise(TProfile &profile, bool extrapolate);

// Every x and y to 6 decimals, halves to the even neighbour: the last step of
// the align commands.
void RoundTo6(TProfile &profile);

} // namespace velmora

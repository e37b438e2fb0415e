// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

namespace velmora {

// Whole-profile and one-side operations on profiles in program order (upper
// trailing edge, upper side, nose = NoseIndex, lower side, lower trailing
// edge). Each refusal leaves the profile untouched.

// Reverses the point order and negates y, so that the mirrored lower side
// becomes the upper side and the order is again trailing edge first. The
// point objects keep their list positions and flags; only X and Y change.
// Name "a.b.c" becomes "a_inv.c" ("abc" -> "abc_inv"), Title gets " inv".
// Refuses a profile without points.
GeometryResult Invert(TProfile &profile);

// A whole copy (CopyRange) turned by Invert: the "Inverse Kopie".
TProfile InverseCopy(const TProfile &profile);

// Upper side, nose, then the upper side mirrored at y = 0 as new lower side:
// 2k + 1 points for the nose at index k; the kept points keep their flags,
// the mirrored ones are fresh. Refuses when the upper side is only the nose.
GeometryResult MirrorUpper(TProfile &profile);

// The lower side mirrored as upper side, the nose with its y negated, then the
// lower side itself: 2m - 1 fresh points for the m points from the nose to
// the end. Refuses when the lower side is only the nose.
GeometryResult MirrorLower(TProfile &profile);

// Keeps the profile's upper side and nose and puts fresh copies of the
// clipboard profile's points after its nose behind them. Refuses a profile
// without points and a clipboard profile without lower side.
GeometryResult ReplaceLowerSide(TProfile &profile, const TProfile &clipboard);

// Deletes every marked point and clears the four pending range indices.
// Always runs, also when nothing is marked.
GeometryResult DeleteMarkedPoints(TProfile &profile);

} // namespace velmora

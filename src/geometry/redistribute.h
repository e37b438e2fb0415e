// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

namespace velmora {

// How the new x stations of RedistributeCubic crowd along the chord.
enum class StationDistribution {
    Linear,   // "Linear": even spacing
    SinFront, // "Sin vorne": towards the nose
    SinRear,  // "Sin hinten": towards the trailing edge
    Cos,      // "Cos": towards nose and trailing edge
};

// Station j of 0 .. q (q >= 1): from x = 1 at j = 0 down to x = 0 at j = q.
double StationX(StationDistribution distribution, int j, int q);

// Result of FindBracket: lo = hi for a point on the station, lo + 1 = hi for a
// segment across it, both -1 when no segment of the range covers it.
struct Bracket
{
    int lo = -1;
    int hi = -1;

    bool found() const { return lo >= 0; }
};

// Walks the segments a -> a+1 for a = from .. to-1 (clipped to the list) and
// returns the first that has an end on x (compared to 5 decimals) or x
// strictly between its ends, in either order.
Bracket FindBracket(const TProfile &profile, int from, int to, double x);

// New points at the stations x(0) .. x(q), q = N div 2, on each side
// separately: 2q + 1 points running trailing edge, upper side, nose, lower
// side, trailing edge. A point already on a station (to 5 decimals) is copied
// with IsNew cleared; every other y comes from the cubic y(x) through four
// neighbouring points of the same side and is marked IsNew. All other flags
// are cleared.
// Needs a normalised profile (each side from x = 0 to x = 1 to 5 decimals,
// with at least 4 points) whose four points chosen per station have distinct
// x, and 2 <= N <= kMaxCoordinateCount. Otherwise it refuses with a reason and
// leaves the profile untouched.
GeometryResult RedistributeCubic(TProfile &profile, int N, StationDistribution distribution);

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <string_view>

namespace velmora {

// Trailing-edge gap and nose radius of a normalised profile (domain of
// SplitForDesign). Lengths are chord fractions. Both move points vertically
// and symmetrically about the camber line, so the camber stays; the point
// count, every x and the flags stay. A refusal leaves the profile untouched.

inline constexpr double kDefaultGapBlend = 0.8;
inline constexpr double kDefaultNoseBlend = 0.2;

// Opens or closes the trailing edge to `gap` (upper minus lower y of the two
// trailing-edge points). The change fades towards the nose over `blend`
// (0 < blend <= 1) with a smooth monotone weight that is 1 at x = 1 and 0
// from x = 1 - blend forward, so the nose never moves. Refuses a negative gap.
GeometryResult SetTrailingEdgeGap(TProfile &profile, double gap, double blend = kDefaultGapBlend);

// Multiplies the nose radius by `factor` (> 0): the thickness is scaled by
// sqrt(factor) at the nose, fading to no change at x = blend (0 < blend <= 1).
// A factor of 1 leaves the profile as it is.
GeometryResult ScaleNoseRadius(TProfile &profile, double factor, double blend = kDefaultNoseBlend);

inline constexpr std::string_view kMsgGapNegative = "Die Endleistendicke darf nicht negativ sein !!";
inline constexpr std::string_view kMsgBlendOutside =
    "Der Übergangsbereich muss größer als 0 und höchstens 100 % der Profiltiefe sein !!";
inline constexpr std::string_view kMsgFactorNotPositive = "Der Faktor muss größer als 0 sein !!";

} // namespace velmora

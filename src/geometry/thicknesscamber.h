// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "geometry/sidecurve.h"
#include "model/profile.h"

#include <optional>

namespace velmora {

// What "Dicke und Wölbung ändern" asks for, as chord fractions.
struct ThicknessCamberTarget
{
    double thickness = 0.0; // new largest thickness, > 0
    double camber = 0.0;    // new camber of the largest magnitude, signed
    // New x of the maxima, strictly between 0 and 1; nullopt keeps the old place.
    std::optional<double> thicknessX;
    std::optional<double> camberX;
};

// The current values as SetThicknessCamber measures them (see
// MeasureThicknessCamber), or nullopt with the reason in `why` for a
// profile outside the domain of SplitForDesign.
std::optional<ThicknessCamber> CurrentThicknessCamber(const TProfile &profile, GeometryResult &why);

// Splits the profile into thickness and camber at common x (each side at
// its own points, the other side interpolated), scales both to the target
// and puts them back on each side's own x: the point count and every x stay,
// the points keep their flags, only y changes. A new place of a maximum
// moves the distribution along x by the smooth monotone map
// x -> x / (x + b (1 - x)), which keeps nose and trailing edge in place.
// A section without camber (below 1e-6 chord) gets a camber line made of two
// parabolas meeting at camberX (0.4 when not given), height `camber`.
// The target equal to the current values leaves the profile as it is.
// Refuses profiles outside SplitForDesign, a thickness <= 0 and places
// outside (0, 1), and leaves the profile untouched then.
GeometryResult SetThicknessCamber(TProfile &profile, const ThicknessCamberTarget &target);

inline constexpr std::string_view kMsgThicknessNotPositive = "Die Dicke muss größer als 0 sein !!";
inline constexpr std::string_view kMsgPositionOutside =
    "Die Lage des Maximums muss zwischen 0 und 100 % der Profiltiefe liegen !!";

} // namespace velmora

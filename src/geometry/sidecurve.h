// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <optional>
#include <string_view>
#include <vector>

namespace velmora {

// Reasons of the design operations beside those in result.h.
inline constexpr std::string_view kMsgWrongDirection =
    "Die Laufrichtung ist falsch ! Richtige Laufrichtung ist Hinten>Oben>Nase>Unten>Hinten.";

// One side of a profile as a function y(x), through its points with x
// strictly rising. Between the points a C1 cubic in u = sqrt(x - x0) (x0
// the first x), which follows the square-root shape of a round nose; a
// point's own x gives its y exactly. Outside the points the end pieces
// are continued.
class SideCurve
{
public:
    SideCurve() = default;
    // xs strictly rising, at least two points (the caller checks).
    SideCurve(std::vector<double> xs, std::vector<double> ys);

    double operator()(double x) const;
    const std::vector<double> &xs() const { return m_x; }

private:
    double u(double x) const;

    std::vector<double> m_x;
    std::vector<double> m_u;
    std::vector<double> m_y;
    std::vector<double> m_slope; // dy/du at each point
};

// A profile inside the domain of the design operations, split at the nose.
// Both sides run from the nose (first entry) to the trailing edge.
struct SplitSides
{
    int nose = 0;
    SideCurve upper;
    SideCurve lower;

    // Local thickness (upper minus lower y) and camber (their mean) at x.
    double thickness(double x) const { return upper(x) - lower(x); }
    double camber(double x) const { return (upper(x) + lower(x)) / 2; }
};

// Splits a normalised profile in program order: nose (NoseIndex) at x = 0
// and both trailing-edge points at x = 1 (to 5 decimals), x strictly falling
// to the nose and strictly rising after it, at least three points on each
// side counting the nose, and the upper side above the lower side in the
// sense of the profile check. Otherwise nullopt, and `why` says why.
std::optional<SplitSides> SplitForDesign(const TProfile &profile, GeometryResult &why);

// Largest thickness and camber of the largest magnitude (signed) of a side
// pair, as chord fractions, each with its x. The maxima lie between the
// stations where the cubic sides put them, not only on a point.
struct ThicknessCamber
{
    double thickness = 0.0;
    double thicknessX = 0.0;
    double camber = 0.0;
    double camberX = 0.0;
};
ThicknessCamber MeasureThicknessCamber(const SplitSides &sides);

// A smooth blending weight: 0 for s <= 0, 1 for s >= 1, 3s^2 - 2s^3 between
// (monotone, flat at both ends).
double SmoothStep(double s);

} // namespace velmora

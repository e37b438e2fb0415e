// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/edges.h"

#include "geometry/primitives.h"
#include "geometry/sidecurve.h"

#include <cmath>

namespace velmora {

namespace {

bool blendInside(double blend)
{
    return blend > 0 && blend <= 1;
}

} // namespace

GeometryResult SetTrailingEdgeGap(TProfile &profile, double gap, double blend)
{
    GeometryResult why;
    const std::optional<SplitSides> sides = SplitForDesign(profile, why);
    if (!sides)
        return why;
    if (!(gap >= 0) || !std::isfinite(gap))
        return GeometryResult::refused(kMsgGapNegative);
    if (!blendInside(blend))
        return GeometryResult::refused(kMsgBlendOutside);

    const double change = gap - (profile.Points.front().Y - profile.Points.back().Y);
    std::vector<TKoordi> points = profile.Points;
    for (size_t i = 0; i < points.size(); ++i) {
        const double w = SmoothStep((points[i].X - (1 - blend)) / blend);
        const double half = change / 2 * w;
        points[i].Y += int(i) <= sides->nose ? half : -half;
    }
    if (!AllFinite(points))
        return GeometryResult::refused(kMsgNoValidResult);
    profile.Points = std::move(points);
    return GeometryResult::ok();
}

GeometryResult ScaleNoseRadius(TProfile &profile, double factor, double blend)
{
    GeometryResult why;
    const std::optional<SplitSides> sides = SplitForDesign(profile, why);
    if (!sides)
        return why;
    if (!(factor > 0) || !std::isfinite(factor))
        return GeometryResult::refused(kMsgFactorNotPositive);
    if (!blendInside(blend))
        return GeometryResult::refused(kMsgBlendOutside);

    // a round nose has y ~ sqrt(2 r x): the radius goes with the square of
    // the thickness there
    const double scale = std::sqrt(factor);
    std::vector<TKoordi> points = profile.Points;
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = points[i].X;
        const double extra = (scale - 1) * (1 - SmoothStep(x / blend));
        const double half = extra * sides->thickness(x) / 2;
        points[i].Y += int(i) <= sides->nose ? half : -half;
    }
    if (!AllFinite(points))
        return GeometryResult::refused(kMsgNoValidResult);
    profile.Points = std::move(points);
    return GeometryResult::ok();
}

} // namespace velmora

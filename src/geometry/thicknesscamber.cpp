// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/thicknesscamber.h"

#include "geometry/primitives.h"

#include <cmath>
#include <functional>

namespace velmora {

namespace {

// Below this the section counts as symmetric: scaling would only blow up noise.
constexpr double kNoCamber = 1e-6;
constexpr double kDefaultCamberX = 0.4;

bool insideChord(const std::optional<double> &x)
{
    return !x || (*x > 0 && *x < 1);
}

// x -> the old x whose value lands at x, so that the maximum at `from`
// moves to `to`; identity without a new place.
std::function<double(double)> placeMap(double from, const std::optional<double> &to)
{
    if (!to || *to == from || from <= 0 || from >= 1)
        return [](double x) { return x; };
    const double b = *to * (1 - from) / (from * (1 - *to));
    return [b](double x) {
        if (x <= 0 || x >= 1)
            return x;
        return x / (x + b * (1 - x));
    };
}

// Height 1 at p, 0 at 0 and 1, two parabolas meeting smoothly at p.
double parabolicCamberLine(double x, double p)
{
    if (x <= 0 || x >= 1)
        return 0.0;
    if (x < p)
        return (2 * p * x - x * x) / (p * p);
    return ((1 - 2 * p) + 2 * p * x - x * x) / ((1 - p) * (1 - p));
}

} // namespace

std::optional<ThicknessCamber> CurrentThicknessCamber(const TProfile &profile, GeometryResult &why)
{
    const std::optional<SplitSides> sides = SplitForDesign(profile, why);
    if (!sides)
        return std::nullopt;
    return MeasureThicknessCamber(*sides);
}

GeometryResult SetThicknessCamber(TProfile &profile, const ThicknessCamberTarget &target)
{
    GeometryResult why;
    const std::optional<SplitSides> sides = SplitForDesign(profile, why);
    if (!sides)
        return why;
    if (!(target.thickness > 0) || !std::isfinite(target.thickness) || !std::isfinite(target.camber))
        return GeometryResult::refused(kMsgThicknessNotPositive);
    if (!insideChord(target.thicknessX) || !insideChord(target.camberX))
        return GeometryResult::refused(kMsgPositionOutside);

    const ThicknessCamber now = MeasureThicknessCamber(*sides);
    const double thicknessScale = target.thickness / now.thickness;
    const auto thicknessMap = placeMap(now.thicknessX, target.thicknessX);
    const auto newThickness = [&](double x) { return thicknessScale * sides->thickness(thicknessMap(x)); };

    std::function<double(double)> newCamber;
    if (std::fabs(now.camber) >= kNoCamber) {
        const double camberScale = target.camber / now.camber;
        const auto camberMap = placeMap(now.camberX, target.camberX);
        newCamber = [&sides, camberScale, camberMap](double x) {
            return camberScale * sides->camber(camberMap(x));
        };
    } else {
        const double p = target.camberX.value_or(kDefaultCamberX);
        const double f = target.camber;
        newCamber = [&sides, f, p](double x) {
            return f == 0 ? sides->camber(x) : f * parabolicCamberLine(x, p);
        };
    }

    std::vector<TKoordi> points = profile.Points;
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = points[i].X;
        const double dc = newCamber(x) - sides->camber(x);
        const double dt = newThickness(x) - sides->thickness(x);
        // the nose belongs to both sides; its thickness is zero either way
        points[i].Y += int(i) <= sides->nose ? dc + dt / 2 : dc - dt / 2;
    }
    if (!AllFinite(points))
        return GeometryResult::refused(kMsgNoValidResult);
    profile.Points = std::move(points);
    return GeometryResult::ok();
}

} // namespace velmora

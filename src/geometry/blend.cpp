// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/blend.h"

#include "geometry/primitives.h"
#include "geometry/sidecurve.h"

#include <cmath>
#include <cstdio>

namespace velmora {

namespace {

// Shortest text of a number with up to 4 decimals and "." as separator.
std::string shortText(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", value);
    std::string s = buf;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

} // namespace

GeometryResult BlendProfiles(const TProfile &a, const TProfile &b, double t, TProfile &result)
{
    GeometryResult why;
    const std::optional<SplitSides> sidesA = SplitForDesign(a, why);
    if (!sidesA)
        return why;
    const std::optional<SplitSides> sidesB = SplitForDesign(b, why);
    if (!sidesB)
        return why;
    if (!(t >= 0 && t <= 1))
        return GeometryResult::refused(kMsgFractionOutside);

    TProfile blended;
    blended.Points.reserve(a.Points.size());
    for (size_t i = 0; i < a.Points.size(); ++i) {
        const double x = a.Points[i].X;
        const double yB = int(i) <= sidesA->nose ? sidesB->upper(x) : sidesB->lower(x);
        TKoordi k;
        k.X = x;
        k.Y = (1 - t) * a.Points[i].Y + t * yB;
        blended.Points.push_back(k);
    }
    if (!AllFinite(blended.Points))
        return GeometryResult::refused(kMsgNoValidResult);
    blended.Name = a.Name + "_" + b.Name + "_" + shortText(t * 100);
    blended.Title = a.Title + " / " + b.Title + " (t = " + shortText(t) + ")";
    result = std::move(blended);
    return GeometryResult::ok();
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/flap.h"

#include "geometry/align.h"
#include "geometry/primitives.h"
#include "geometry/sidecurve.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace velmora {

namespace {

// Largest step of the rounding arc on the opening side.
constexpr double kArcStepDeg = 5.0;

TKoordi newPoint(double x, double y)
{
    TKoordi k;
    k.X = x;
    k.Y = y;
    k.IsNew = true;
    return k;
}

struct Hinge
{
    double x = 0.0;
    double y = 0.0;
    double cosA = 1.0;
    double sinA = 0.0;

    // Clockwise, so that a positive angle turns the trailing edge down.
    TKoordi turned(TKoordi p) const
    {
        const double dx = p.X - x;
        const double dy = p.Y - y;
        p.X = x + cosA * dx + sinA * dy;
        p.Y = y - sinA * dx + cosA * dy;
        return p;
    }
};

// Where segment a-b crosses segment c-d: the parameter along a-b, or nullopt.
std::optional<double> crossing(const TKoordi &a, const TKoordi &b, const TKoordi &c, const TKoordi &d)
{
    const double rx = b.X - a.X, ry = b.Y - a.Y;
    const double sx = d.X - c.X, sy = d.Y - c.Y;
    const double den = rx * sy - ry * sx;
    if (den == 0)
        return std::nullopt;
    const double qx = c.X - a.X, qy = c.Y - a.Y;
    const double t = (qx * sy - qy * sx) / den;
    const double u = (qx * ry - qy * rx) / den;
    if (t < 0 || t > 1 || u < 0 || u > 1)
        return std::nullopt;
    return t;
}

// One side from the nose to the trailing edge with its flap turned.
std::vector<TKoordi> deflectSide(const std::vector<TKoordi> &side, const SideCurve &curve,
                                 const Hinge &hinge, bool opens, double angle)
{
    std::vector<TKoordi> fixed;
    std::vector<TKoordi> aft;
    std::optional<TKoordi> split;
    for (const TKoordi &p : side) {
        if (p.X < hinge.x)
            fixed.push_back(p);
        else if (p.X > hinge.x)
            aft.push_back(p);
        else
            split = p;
    }
    // the surface point above or below the hinge, where the two parts part
    fixed.push_back(split ? *split : newPoint(hinge.x, curve(hinge.x)));
    const TKoordi s = fixed.back();
    const double r = std::hypot(s.X - hinge.x, s.Y - hinge.y);
    const bool onSurface = r < 1e-12;
    std::vector<TKoordi> moved;
    if (!onSurface) {
        TKoordi rs = hinge.turned(s);
        rs.IsNew = true;
        rs.Marked = rs.Active = false;
        moved.push_back(rs);
    }
    for (const TKoordi &p : aft)
        moved.push_back(hinge.turned(p));

    std::vector<TKoordi> out = fixed;
    if (opens || onSurface) {
        if (!onSurface) {
            const double phi = std::atan2(s.Y - hinge.y, s.X - hinge.x);
            const int steps = std::max(2, int(std::ceil(std::fabs(angle) * 180 / M_PI / kArcStepDeg)));
            for (int j = 1; j < steps; ++j) {
                const double a = phi - angle * j / steps;
                out.push_back(newPoint(hinge.x + r * std::cos(a), hinge.y + r * std::sin(a)));
            }
        }
        out.insert(out.end(), moved.begin(), moved.end());
        return out;
    }

    // closing: the turned part starts inside the section and leaves it where
    // it crosses the side as it was; the outer of the two contours wins
    std::vector<TKoordi> before = fixed;
    before.insert(before.end(), aft.begin(), aft.end());
    for (size_t j = 0; j + 1 < moved.size(); ++j) {
        std::optional<double> best;
        size_t bestI = 0;
        for (size_t i = 0; i + 1 < before.size(); ++i) {
            // the parameter along the turned segment decides which crossing comes first
            const auto t = crossing(moved[j], moved[j + 1], before[i], before[i + 1]);
            if (t && (!best || *t < *best)) {
                best = t;
                bestI = i;
            }
        }
        if (!best)
            continue;
        out.assign(before.begin(), before.begin() + long(bestI) + 1);
        const TKoordi &a = moved[j];
        const TKoordi &b = moved[j + 1];
        out.push_back(newPoint(a.X + *best * (b.X - a.X), a.Y + *best * (b.Y - a.Y)));
        out.insert(out.end(), moved.begin() + long(j) + 1, moved.end());
        return out;
    }
    out.insert(out.end(), moved.begin(), moved.end());
    return out;
}

// Puts the first (upper) or last (lower) point on x = 1 along its side: the
// points beyond x = 1 are cut off at it, a side that stops short is continued
// along its last segment. False when the side has no point left of x = 1.
bool endAtOne(std::vector<TKoordi> &points, bool upper)
{
    const auto at = [&](size_t i) -> TKoordi & { return upper ? points[i] : points[points.size() - 1 - i]; };
    const auto eraseEnd = [&] {
        if (upper)
            points.erase(points.begin());
        else
            points.pop_back();
    };
    while (points.size() > 3 && at(1).X >= 1)
        eraseEnd();
    if (points.size() < 3 || !(at(1).X < 1))
        return false;
    const TKoordi &inner = at(1);
    TKoordi &end = at(0);
    if (end.X == inner.X)
        return false;
    end.Y = inner.Y + (end.Y - inner.Y) * (1 - inner.X) / (end.X - inner.X);
    end.X = 1;
    return true;
}

// x strictly falling to the nose and strictly rising after it.
bool runsOneWay(const TProfile &profile)
{
    const int k = NoseIndex(profile);
    const auto &p = profile.Points;
    for (int i = 0; i + 1 < int(p.size()); ++i) {
        const double a = p[size_t(i)].X;
        const double b = p[size_t(i + 1)].X;
        if (i < k ? !(a > b) : !(a < b))
            return false;
    }
    return k > 0 && k < int(p.size()) - 1;
}

} // namespace

GeometryResult DeflectFlap(TProfile &profile, double hingeX, double hingeHeight, double angleDeg)
{
    GeometryResult why;
    const std::optional<SplitSides> sides = SplitForDesign(profile, why);
    if (!sides)
        return why;
    if (!(hingeX > 0 && hingeX < 1))
        return GeometryResult::refused(kMsgHingeOutside);
    if (!(hingeHeight >= 0 && hingeHeight <= 1))
        return GeometryResult::refused(kMsgHingeHeightOutside);
    if (!(std::fabs(angleDeg) < 90))
        return GeometryResult::refused(kMsgFlapAngleOutside);
    if (angleDeg == 0)
        return GeometryResult::ok();

    const double angle = angleDeg * M_PI / 180;
    const double yUpper = sides->upper(hingeX);
    const double yLower = sides->lower(hingeX);
    const Hinge hinge{hingeX, yLower + hingeHeight * (yUpper - yLower), std::cos(angle), std::sin(angle)};

    const int k = sides->nose;
    const auto &p = profile.Points;
    std::vector<TKoordi> upper(p.rend() - k - 1, p.rend());
    std::vector<TKoordi> lower(p.begin() + k, p.end());
    upper = deflectSide(upper, sides->upper, hinge, angle > 0, angle);
    lower = deflectSide(lower, sides->lower, hinge, angle < 0, angle);

    TProfile result = profile;
    result.Points.assign(upper.rbegin(), upper.rend());
    result.Points.insert(result.Points.end(), lower.begin() + 1, lower.end());
    if (!AlignNormalise(result, false) || !AllFinite(result.Points))
        return GeometryResult::refused(kMsgNoValidResult);
    // the turned gap of an open trailing edge stands slanted, one end past
    // x = 1 and the other short of it: each is carried to x = 1 along its
    // own side, and normalising again moves them by much less each round
    for (int round = 0; round < 8; ++round) {
        if (std::fabs(result.Points.front().X - 1) < 1e-10 && std::fabs(result.Points.back().X - 1) < 1e-10)
            break;
        if (!endAtOne(result.Points, true) || !endAtOne(result.Points, false))
            return GeometryResult::refused(kMsgFlapOverlap);
        if (!AlignNormalise(result, false))
            return GeometryResult::refused(kMsgNoValidResult);
    }
    if (!AllFinite(result.Points))
        return GeometryResult::refused(kMsgNoValidResult);
    if (!runsOneWay(result))
        return GeometryResult::refused(kMsgFlapOverlap);
    profile.Points = std::move(result.Points);
    return GeometryResult::ok();
}

} // namespace velmora

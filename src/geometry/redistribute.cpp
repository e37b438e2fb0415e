// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/redistribute.h"

#include "geometry/primitives.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {

namespace {

double at5Decimals(double value)
{
    return std::nearbyint(value * 100000);
}

bool distinctX(const std::array<LagrangePair, 4> &table)
{
    for (size_t i = 0; i < table.size(); ++i) {
        for (size_t j = i + 1; j < table.size(); ++j) {
            if (table[i].x == table[j].x)
                return false;
        }
    }
    return true;
}

enum class Side { Upper, Lower };

// The four points of the cubic for a station inside segment lo -> hi, all on
// the same side as the segment.
std::array<int, 4> cubicPoints(Side side, int lo, int hi, int nose, int last)
{
    if (side == Side::Upper) {
        if (hi == nose)
            return {hi, lo, lo - 1, lo - 2};
        if (lo > 0)
            return {lo - 1, lo, hi, hi + 1};
        return {lo, hi, hi + 1, hi + 2};
    }
    if (hi == last)
        return {hi, lo, lo - 1, lo - 2};
    if (lo == nose)
        return {lo, hi, hi + 1, hi + 2};
    return {lo - 1, lo, hi, hi + 1};
}

// One side's new points for the given stations, or a refusal.
GeometryResult sidePoints(const TProfile &profile, Side side, int nose,
                          const std::vector<double> &stations, std::vector<TKoordi> &out)
{
    const int last = PointCount(profile) - 1;
    const int from = side == Side::Upper ? 0 : nose;
    const int to = side == Side::Upper ? nose : last;
    for (double x : stations) {
        const Bracket b = FindBracket(profile, from, to, x);
        if (!b.found())
            return GeometryResult::refused(kMsgNotNormalised);
        TKoordi k;
        if (b.lo == b.hi) {
            k.X = profile.Points[size_t(b.lo)].X;
            k.Y = profile.Points[size_t(b.lo)].Y;
        } else {
            std::array<LagrangePair, 4> table;
            const std::array<int, 4> idx = cubicPoints(side, b.lo, b.hi, nose, last);
            for (size_t i = 0; i < 4; ++i)
                table[i] = {profile.Points[size_t(idx[i])].X, profile.Points[size_t(idx[i])].Y};
            if (!distinctX(table))
                return GeometryResult::refused(kMsgEqualX);
            k.X = x;
            k.Y = LagrangeValue(table, 3, x);
            k.IsNew = true;
        }
        out.push_back(k);
    }
    return GeometryResult::ok();
}

} // namespace

double StationX(StationDistribution distribution, int j, int q)
{
    switch (distribution) {
    case StationDistribution::Linear:
        return 1 - double(j) / q;
    case StationDistribution::Cos:
        return std::cos(j * M_PI / q) / 2 + 0.5;
    case StationDistribution::SinFront:
        return 1 - std::sin(j * M_PI / (2 * q));
    case StationDistribution::SinRear:
        return std::cos(j * M_PI / (2 * q));
    }
    return 0.0;
}

Bracket FindBracket(const TProfile &profile, int from, int to, double x)
{
    const auto &p = profile.Points;
    from = std::max(from, 0);
    to = std::min(to, int(p.size()) - 1);
    const double target = at5Decimals(x);
    for (int a = from; a < to; ++a) {
        const double xa = p[size_t(a)].X;
        const double xb = p[size_t(a + 1)].X;
        if (at5Decimals(xa) == target)
            return {a, a};
        if (at5Decimals(xb) == target)
            return {a + 1, a + 1};
        if ((xa < x && x < xb) || (xb < x && x < xa))
            return {a, a + 1};
    }
    return {};
}

GeometryResult RedistributeCubic(TProfile &profile, int N, StationDistribution distribution)
{
    if (N < 2)
        return GeometryResult::refused(kMsgCountTooSmall);
    if (N > kMaxCoordinateCount)
        return GeometryResult::refused(kMsgCountTooLarge);
    const int q = N / 2;
    const int nose = NoseIndex(profile);
    const int last = PointCount(profile) - 1;
    // the cubic needs four points on each side, the nose counted on both
    if (nose < 3 || last - nose < 3)
        return GeometryResult::refused(kMsgTooFewPoints);

    std::vector<double> stations;
    stations.reserve(size_t(q) + 1);
    for (int j = 0; j <= q; ++j)
        stations.push_back(StationX(distribution, j, q));

    std::vector<TKoordi> upper;
    upper.reserve(stations.size());
    if (GeometryResult r = sidePoints(profile, Side::Upper, nose, stations, upper); !r)
        return r;
    std::reverse(stations.begin(), stations.end());
    std::vector<TKoordi> lower;
    lower.reserve(stations.size());
    if (GeometryResult r = sidePoints(profile, Side::Lower, nose, stations, lower); !r)
        return r;

    // the lower list starts with the nose the upper list ends with
    upper.insert(upper.end(), lower.begin() + 1, lower.end());
    if (!AllFinite(upper))
        return GeometryResult::refused(kMsgNoValidResult);
    profile.Points = std::move(upper);
    return GeometryResult::ok();
}

} // namespace velmora

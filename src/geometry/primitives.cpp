// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/primitives.h"

#include <algorithm>
#include <cmath>

namespace velmora {

int PointCount(const TProfile &profile)
{
    return int(profile.Points.size());
}

const TKoordi &PointAt(const TProfile &profile, int index)
{
    return profile.Points.at(size_t(index));
}

TKoordi &PointAt(TProfile &profile, int index)
{
    return profile.Points.at(size_t(index));
}

int NoseIndex(const TProfile &profile)
{
    int nose = -1;
    for (int i = 0; i < PointCount(profile); ++i) {
        if (nose < 0 || profile.Points[size_t(i)].X < profile.Points[size_t(nose)].X)
            nose = i;
    }
    return nose;
}

TProfile CopyRange(const TProfile &profile, int from, int to)
{
    TProfile copy;
    copy.Title = profile.Title;
    copy.Name = profile.Name;
    copy.Characteristics = profile.Characteristics;
    from = std::max(from, 0);
    to = std::min(to, PointCount(profile) - 1);
    for (int i = from; i <= to; ++i) {
        TKoordi k;
        k.X = profile.Points[size_t(i)].X;
        k.Y = profile.Points[size_t(i)].Y;
        copy.Points.push_back(k);
    }
    return copy;
}

TProfile WholeCopy(const TProfile &profile)
{
    return CopyRange(profile, 0, PointCount(profile) - 1);
}

double LagrangeValue(std::span<const LagrangePair> table, int n, double x)
{
    n = std::min(n, int(table.size()) - 1);
    double sum = 0.0;
    for (int i = 0; i <= n; ++i) {
        double term = 1.0;
        for (int j = 0; j <= n; ++j) {
            if (j == i)
                continue;
            term *= x - table[size_t(j)].x;
            term /= table[size_t(i)].x - table[size_t(j)].x;
        }
        sum += table[size_t(i)].y * term;
    }
    return sum;
}

void RotatePoints(TProfile &profile, int from, int to, double cx, double cy, double a)
{
    from = std::max(from, 0);
    to = std::min(to, PointCount(profile) - 1);
    for (int i = from; i <= to; ++i) {
        TKoordi &p = profile.Points[size_t(i)];
        const double dx = p.X - cx;
        const double dy = p.Y - cy;
        double r = std::sqrt(dx * dx + dy * dy);
        if (p.X < cx)
            r = -r;
        // dy/r can leave [-1, 1] by a rounding step when dx*dx underflows
        const double phi = r != 0.0 ? std::asin(std::clamp(dy / r, -1.0, 1.0)) : M_PI;
        const double turned = phi - a;
        p.X = cx + std::cos(turned) * r;
        p.Y = cy + std::sin(turned) * r;
    }
}

bool AllFinite(std::span<const TKoordi> points)
{
    return std::all_of(points.begin(), points.end(), [](const TKoordi &k) {
        return std::isfinite(k.X) && std::isfinite(k.Y);
    });
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/overlaygeometry.h"

#include <cmath>

namespace velmora {

TVec VecMake(double x, double y)
{
    return {x, y};
}

TVec VecDiff(TVec a, TVec b)
{
    return {a.x - b.x, a.y - b.y};
}

double VecLength(TVec v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

TVec VecScale(TVec v, double s)
{
    return {s * v.x, s * v.y};
}

TVec VecNormalise(TVec v)
{
    const double len = VecLength(v);
    return VecScale(v, 1.0 / (len == 0.0 ? 1.0 : len));
}

double PointDistance(TVec a, TVec b)
{
    return VecLength(VecDiff(b, a));
}

double TriangleArea(TVec a, TVec b, TVec c)
{
    const double p = PointDistance(a, b);
    const double q = PointDistance(b, c);
    const double r = PointDistance(c, a);
    const double product = (p + q + r) * (p + q - r) * (q + r - p) * (p + r - q);
    return product <= 0.0 ? 0.0 : std::sqrt(product) / 4.0;
}

InsertionSearch FindInsertionCandidate(const std::vector<TKoordi> &points, TVec m)
{
    InsertionSearch result;
    for (int h = 0; h + 1 < int(points.size()); ++h) {
        const TVec f{points[size_t(h)].X, points[size_t(h)].Y};
        const TVec g{points[size_t(h + 1)].X, points[size_t(h + 1)].Y};
        const TVec v = VecDiff(g, f);
        const TVec n = VecNormalise(VecMake(-v.y, v.x));
        const float area = float(TriangleArea(f, g, m));
        const float length = float(PointDistance(f, g));
        if (std::fabs(length) < 1e-10f)
            return result; // a zero-length segment ends the search
        result.searched = true;
        const float d = float(2.0 * area / length);
        const TVec step = VecScale(n, d);
        const TVec o = VecMake(m.x + step.x, m.y + step.y);
        const float gap = float(PointDistance(f, g)) - float(PointDistance(f, o)) - float(PointDistance(g, o));
        if (std::fabs(gap) < 1e-6f) {
            result.found = true;
            result.segment = h;
            result.x = o.x;
            result.y = o.y;
            return result;
        }
    }
    return result;
}

} // namespace velmora

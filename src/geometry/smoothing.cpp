// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/smoothing.h"

#include "geometry/primitives.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {

namespace {

constexpr int kSmoothingPasses = 5;
constexpr int kSplinePointsPerPass = 1000;
constexpr int kIntermediateCount = 100;
constexpr int kSmallestSmoothingCount = 5;

TProfile emptyLike(const TProfile &source)
{
    TProfile p;
    p.Title = source.Title;
    p.Name = source.Name;
    return p;
}

TKoordi point(double x, double y)
{
    TKoordi k;
    k.X = x;
    k.Y = y;
    return k;
}

double splineValue(double a0, double a1, double a2, double a3, double u)
{
    const double c3 = -a0 + 3 * a1 - 3 * a2 + a3;
    const double c2 = 3 * a0 - 6 * a1 + 3 * a2;
    const double c1 = -3 * a0 + 3 * a2;
    const double c0 = a0 + 4 * a1 + a2;
    return (c3 * u * u * u + c2 * u * u + c1 * u + c0) / 6;
}

// Line through a and b, starting from a.
double linear(const TKoordi &a, const TKoordi &b, double x)
{
    return a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X);
}

} // namespace

std::optional<TProfile> SubdivideLinear(const TProfile &profile, int k)
{
    if (k < 1 || profile.Points.empty())
        return std::nullopt;
    TProfile result = emptyLike(profile);
    const auto &p = profile.Points;
    result.Points.reserve((p.size() - 1) * size_t(k) + 1);
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        for (int j = 0; j < k; ++j) {
            const double t = double(j) / k;
            result.Points.push_back(
                point(p[i].X + (p[i + 1].X - p[i].X) * t, p[i].Y + (p[i + 1].Y - p[i].Y) * t));
        }
    }
    result.Points.push_back(point(p.back().X, p.back().Y));
    return result;
}

std::optional<TProfile> BSplineResample(const TProfile &profile, int q)
{
    const size_t n = profile.Points.size();
    if (q < 1 || n < 2)
        return std::nullopt;
    std::vector<TKoordi> a;
    a.reserve(n + 2);
    a.push_back(profile.Points.front());
    a.insert(a.end(), profile.Points.begin(), profile.Points.end());
    a.push_back(profile.Points.back());

    TProfile result = emptyLike(profile);
    result.Points.reserve((n - 1) * size_t(q));
    for (size_t i = 1; i <= n - 1; ++i) {
        for (int j = 0; j < q; ++j) {
            const double u = double(j) / q;
            result.Points.push_back(
                point(splineValue(a[i - 1].X, a[i].X, a[i + 1].X, a[i + 2].X, u),
                      splineValue(a[i - 1].Y, a[i].Y, a[i + 1].Y, a[i + 2].Y, u)));
        }
    }

    double m = 1.0;
    for (const TKoordi &k : result.Points)
        m = std::min(m, k.X);
    if (1 - m == 0)
        return std::nullopt;
    for (TKoordi &k : result.Points)
        k.X = (k.X - m) / (1 - m);
    return result;
}

std::optional<TProfile> CosineResample(const TProfile &profile, int N)
{
    const auto &p = profile.Points;
    const int last = int(p.size()) - 1;
    if (N < 0 || last < 1)
        return std::nullopt;
    const int half = N / 2;
    auto station = [half](int j) { return (std::cos(j * M_PI / half) + 1) / 2; };

    TProfile result = emptyLike(profile);
    result.Points.reserve(size_t(2 * half + 1));

    // The searches only move forward, and not past the last segment of the
    // list: beyond it the segment's line is extrapolated.
    int i = 0;
    for (int j = 0; j < half; ++j) {
        const double x = station(j);
        while (i + 1 < last && p[size_t(i + 1)].X > x && p[size_t(i + 1)].X <= p[size_t(i)].X)
            ++i;
        if (p[size_t(i + 1)].X == p[size_t(i)].X)
            return std::nullopt;
        result.Points.push_back(point(x, linear(p[size_t(i)], p[size_t(i + 1)], x)));
    }

    result.Points.push_back(point(0.0, 0.0));

    std::vector<TKoordi> lower;
    lower.reserve(size_t(half));
    int f = last;
    for (int j = 0; j < half; ++j) {
        const double x = station(j);
        while (f - 1 > 0 && p[size_t(f - 1)].X > x && p[size_t(f - 1)].X <= p[size_t(f)].X)
            --f;
        if (p[size_t(f - 1)].X == p[size_t(f)].X)
            return std::nullopt;
        lower.push_back(point(x, linear(p[size_t(f)], p[size_t(f - 1)], x)));
    }
    // each station goes in right behind the nose, so the side ends up running
    // from the nose to the trailing edge
    result.Points.insert(result.Points.end(), lower.rbegin(), lower.rend());
    return result;
}

GeometryResult SmoothCosine(TProfile &profile, int N)
{
    if (N < kSmallestSmoothingCount)
        return GeometryResult::refused("");
    if (N > kMaxCoordinateCount)
        return GeometryResult::refused(kMsgCountTooLarge);
    if (profile.Points.size() < 2)
        return GeometryResult::refused(kMsgTooFewPoints);
    const bool vertical = std::all_of(profile.Points.begin(), profile.Points.end(),
                                      [&](const TKoordi &k) { return k.X == profile.Points[0].X; });
    if (vertical)
        return GeometryResult::refused(kMsgVerticalLine);

    TProfile work = WholeCopy(profile);
    for (int pass = 0; pass < kSmoothingPasses; ++pass) {
        const std::optional<TProfile> doubled = SubdivideLinear(work, 2);
        if (!doubled)
            return GeometryResult::refused(kMsgTooFewPoints);
        int q = int(std::nearbyint(double(kSplinePointsPerPass) / doubled->PointCount()));
        if (q <= 0)
            q = 1;
        const std::optional<TProfile> spline = BSplineResample(*doubled, q);
        if (!spline)
            return GeometryResult::refused(kMsgNoseNotLeftOfOne);
        std::optional<TProfile> resampled =
            CosineResample(*spline, pass == kSmoothingPasses - 1 ? N : kIntermediateCount);
        if (!resampled)
            return GeometryResult::refused(kMsgEqualX);
        work = std::move(*resampled);
    }
    if (!AllFinite(work.Points))
        return GeometryResult::refused(kMsgNoValidResult);

    profile.Points.clear();
    for (const TKoordi &k : work.Points)
        profile.Points.push_back(point(k.X, k.Y));
    profile.Title = work.Title;
    profile.Name = work.Name;
    return GeometryResult::ok();
}

GeometryResult InsertMidpointsCubic(TProfile &profile)
{
    const auto &p = profile.Points;
    const int n = int(p.size());
    if (n < 4)
        return GeometryResult::refused(kMsgTooFewPoints);

    std::vector<TKoordi> result;
    result.reserve(size_t(2 * n - 1));
    for (int r = 0; r <= n - 4; ++r) {
        std::array<LagrangePair, 4> xs;
        std::array<LagrangePair, 4> ys;
        for (int t = 0; t < 4; ++t) {
            xs[size_t(t)] = {double(t), p[size_t(r + t)].X};
            ys[size_t(t)] = {double(t), p[size_t(r + t)].Y};
        }
        auto at = [&](double t) { return point(LagrangeValue(xs, 3, t), LagrangeValue(ys, 3, t)); };

        if (r == 0) {
            result.push_back(point(p[0].X, p[0].Y));
            const TKoordi mid = at(0.5);
            if (mid.X < p[0].X)
                result.push_back(mid);
        }
        result.push_back(at(1.0));
        result.push_back(at(1.5));
        if (r == n - 4) {
            result.push_back(at(2.0));
            const TKoordi mid = at(2.5);
            if (mid.X < p.back().X)
                result.push_back(mid);
            result.push_back(point(p.back().X, p.back().Y));
        }
    }
    if (!AllFinite(result))
        return GeometryResult::refused(kMsgNoValidResult);
    profile.Points = std::move(result);
    return GeometryResult::ok();
}

} // namespace velmora

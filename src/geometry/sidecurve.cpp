// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/sidecurve.h"

#include "geometry/primitives.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace velmora {

namespace {

bool at5Decimals(double value, double target)
{
    return std::nearbyint(value * 100000) == std::nearbyint(target * 100000);
}

// Parabola slope at the middle of three points (non-uniform spacing).
double innerSlope(double h0, double d0, double h1, double d1)
{
    return (h1 * d0 + h0 * d1) / (h0 + h1);
}

// Parabola slope at the first of three points.
double endSlope(double h0, double d0, double h1, double d1)
{
    return ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
}

// x in [a, b] where f is largest, for an f with one maximum there.
double argMax(const std::function<double(double)> &f, double a, double b)
{
    const double g = (std::sqrt(5.0) - 1) / 2;
    double c = b - g * (b - a);
    double d = a + g * (b - a);
    double fc = f(c);
    double fd = f(d);
    for (int i = 0; i < 100 && b - a > 1e-13; ++i) {
        if (fc >= fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = f(d);
        }
    }
    return (a + b) / 2;
}

// The refined maximum of f over the stations: the best station, then the
// best point of the interval around it.
std::pair<double, double> refinedMax(const std::vector<double> &stations,
                                     const std::function<double(double)> &f)
{
    size_t best = 0;
    double bestValue = f(stations[0]);
    for (size_t i = 1; i < stations.size(); ++i) {
        const double v = f(stations[i]);
        if (v > bestValue) {
            bestValue = v;
            best = i;
        }
    }
    const double a = stations[best > 0 ? best - 1 : 0];
    const double b = stations[std::min(best + 1, stations.size() - 1)];
    const double x = argMax(f, a, b);
    if (f(x) > bestValue)
        return {x, f(x)};
    return {stations[best], bestValue};
}

} // namespace

SideCurve::SideCurve(std::vector<double> xs, std::vector<double> ys)
    : m_x(std::move(xs))
    , m_y(std::move(ys))
{
    const size_t n = m_x.size();
    m_u.resize(n);
    for (size_t i = 0; i < n; ++i)
        m_u[i] = u(m_x[i]);
    m_slope.assign(n, 0.0);
    if (n < 2)
        return;
    std::vector<double> h(n - 1), d(n - 1);
    for (size_t i = 0; i + 1 < n; ++i) {
        h[i] = m_u[i + 1] - m_u[i];
        d[i] = (m_y[i + 1] - m_y[i]) / h[i];
    }
    if (n == 2) {
        m_slope[0] = m_slope[1] = d[0];
        return;
    }
    m_slope[0] = endSlope(h[0], d[0], h[1], d[1]);
    for (size_t i = 1; i + 1 < n; ++i)
        m_slope[i] = innerSlope(h[i - 1], d[i - 1], h[i], d[i]);
    m_slope[n - 1] = endSlope(h[n - 2], d[n - 2], h[n - 3], d[n - 3]);
}

double SideCurve::u(double x) const
{
    return std::sqrt(std::max(x - m_x.front(), 0.0));
}

double SideCurve::operator()(double x) const
{
    const size_t n = m_x.size();
    if (n == 0)
        return 0.0;
    if (n == 1)
        return m_y[0];
    const auto it = std::lower_bound(m_x.begin(), m_x.end(), x);
    if (it != m_x.end() && *it == x)
        return m_y[size_t(it - m_x.begin())];
    // left of the first point the square root folds back: continue the
    // first piece straight in x instead
    if (x < m_x.front()) {
        const double dydx = (m_y[1] - m_y[0]) / (m_x[1] - m_x[0]);
        return m_y[0] + dydx * (x - m_x[0]);
    }
    const size_t i = it == m_x.end() ? n - 2 : size_t(it - m_x.begin()) - 1;
    const double h = m_u[i + 1] - m_u[i];
    const double t = (u(x) - m_u[i]) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * m_y[i] + (t3 - 2 * t2 + t) * h * m_slope[i]
        + (-2 * t3 + 3 * t2) * m_y[i + 1] + (t3 - t2) * h * m_slope[i + 1];
}

std::optional<SplitSides> SplitForDesign(const TProfile &profile, GeometryResult &why)
{
    const auto &p = profile.Points;
    const int n = PointCount(profile);
    const int k = NoseIndex(profile);
    if (k < 2 || n - 1 - k < 2) {
        why = GeometryResult::refused(kMsgTooFewPoints);
        return std::nullopt;
    }
    if (!AllFinite(p)) {
        why = GeometryResult::refused(kMsgNoValidResult);
        return std::nullopt;
    }
    for (int i = 0; i + 1 < n; ++i) {
        const double a = p[size_t(i)].X;
        const double b = p[size_t(i + 1)].X;
        if (a == b) {
            why = GeometryResult::refused(kMsgEqualX);
            return std::nullopt;
        }
        if ((i < k) != (a > b)) {
            why = GeometryResult::refused(kMsgWrongShape);
            return std::nullopt;
        }
    }
    const TKoordi &nose = p[size_t(k)];
    if (!at5Decimals(nose.X, 0) || !at5Decimals(p.front().X, 1) || !at5Decimals(p.back().X, 1)) {
        why = GeometryResult::refused(kMsgNotNormalised);
        return std::nullopt;
    }
    double upperSum = 0;
    double lowerSum = 0;
    for (int i = 0; i <= k; ++i)
        upperSum += p[size_t(i)].Y;
    for (int i = k; i < n; ++i)
        lowerSum += p[size_t(i)].Y;
    if (!(upperSum > lowerSum)) {
        why = GeometryResult::refused(kMsgWrongDirection);
        return std::nullopt;
    }

    std::vector<double> ux, uy, lx, ly;
    for (int i = k; i >= 0; --i) {
        ux.push_back(p[size_t(i)].X);
        uy.push_back(p[size_t(i)].Y);
    }
    for (int i = k; i < n; ++i) {
        lx.push_back(p[size_t(i)].X);
        ly.push_back(p[size_t(i)].Y);
    }
    why = GeometryResult::ok();
    return SplitSides{k, SideCurve(std::move(ux), std::move(uy)), SideCurve(std::move(lx), std::move(ly))};
}

ThicknessCamber MeasureThicknessCamber(const SplitSides &sides)
{
    std::vector<double> stations = sides.upper.xs();
    stations.insert(stations.end(), sides.lower.xs().begin(), sides.lower.xs().end());
    std::sort(stations.begin(), stations.end());
    stations.erase(std::unique(stations.begin(), stations.end()), stations.end());

    ThicknessCamber result;
    const auto [xt, t] = refinedMax(stations, [&](double x) { return sides.thickness(x); });
    result.thickness = t;
    result.thicknessX = xt;
    const auto [xc, c] = refinedMax(stations, [&](double x) { return std::fabs(sides.camber(x)); });
    result.camber = sides.camber(xc);
    result.camberX = xc;
    if (c == 0.0) {
        result.camber = 0.0;
        result.camberX = 0.0;
    }
    return result;
}

double SmoothStep(double s)
{
    if (s <= 0)
        return 0.0;
    if (s >= 1)
        return 1.0;
    return s * s * (3 - 2 * s);
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/naca4.h"

#include <cmath>

namespace velmora {

namespace {

double halfThickness(double t, double x)
{
    return 5.0 * t
        * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x
           - 0.1036 * x * x * x * x);
}

double camberLine(double m, double p, double x)
{
    if (m == 0.0 || p == 0.0)
        return 0.0;
    if (x < p)
        return m / (p * p) * (2.0 * p * x - x * x);
    return m / ((1.0 - p) * (1.0 - p)) * ((1.0 - 2.0 * p) + 2.0 * p * x - x * x);
}

} // namespace

TProfile MakeNaca4(int m, int p, int t, int pointsPerSide)
{
    TProfile profile;
    if (m < 0 || m > 9 || p < 0 || p > 9 || t < 1 || t > 40 || pointsPerSide < 2)
        return profile;
    const std::string digits = std::to_string(m) + std::to_string(p) + (t < 10 ? "0" : "")
        + std::to_string(t);
    profile.Name = "NACA" + digits;
    profile.Title = "NACA " + digits;

    const double mm = m / 100.0;
    const double pp = p / 10.0;
    const double tt = t / 100.0;
    const int n = pointsPerSide;
    std::vector<double> xs(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        xs[size_t(i)] = 0.5 * (1.0 - std::cos(M_PI * i / (n - 1)));
    xs.front() = 0.0;
    xs.back() = 1.0;

    for (int i = n - 1; i >= 0; --i) {
        const double x = xs[size_t(i)];
        TKoordi k;
        k.X = x;
        k.Y = camberLine(mm, pp, x) + halfThickness(tt, x);
        profile.Points.push_back(k);
    }
    for (int i = 1; i < n; ++i) {
        const double x = xs[size_t(i)];
        TKoordi k;
        k.X = x;
        k.Y = camberLine(mm, pp, x) - halfThickness(tt, x);
        profile.Points.push_back(k);
    }
    // the closing coefficient leaves a residue of about 1e-17 at x = 1
    profile.Points.front().Y = 0.0;
    profile.Points.back().Y = 0.0;
    return profile;
}

TProfile MakeNaca4(const std::string &digits, int pointsPerSide)
{
    if (digits.size() != 4)
        return {};
    for (char c : digits) {
        if (c < '0' || c > '9')
            return {};
    }
    return MakeNaca4(digits[0] - '0', digits[1] - '0', std::stoi(digits.substr(2)), pointsPerSide);
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "sections.h"

#include <cmath>
#include <memory>
#include <random>

namespace velmora::testing {

namespace {

struct CamberLine
{
    virtual ~CamberLine() = default;
    virtual double at(double x) const = 0;
};

struct FourDigit : CamberLine
{
    double m, p;
    FourDigit(double m, double p) : m(m), p(p) {}
    double at(double x) const override
    {
        if (m == 0.0 || p == 0.0)
            return 0.0;
        if (x < p)
            return m / (p * p) * (2.0 * p * x - x * x);
        return m / ((1.0 - p) * (1.0 - p)) * ((1.0 - 2.0 * p) + 2.0 * p * x - x * x);
    }
};

// The standard (not reflexed) five-digit mean lines, scaled to the design lift.
struct FiveDigit : CamberLine
{
    double r, k1, scale;
    FiveDigit(int position, double designLift)
    {
        static const double table[5][2] = {
            {0.0580, 361.4}, {0.1260, 51.64}, {0.2025, 15.957}, {0.2900, 6.643}, {0.3910, 3.230}};
        r = table[position - 1][0];
        k1 = table[position - 1][1];
        scale = designLift / 0.3;
    }
    double at(double x) const override
    {
        if (x < r)
            return scale * k1 / 6.0 * (x * x * x - 3.0 * r * x * x + r * r * (3.0 - r) * x);
        return scale * k1 * r * r * r / 6.0 * (1.0 - x);
    }
};

double roundTo(double v, int decimals)
{
    if (decimals < 0)
        return v;
    const double f = std::pow(10.0, decimals);
    return std::round(v * f) / f;
}

} // namespace

std::vector<TKoordi> nacaSection(const std::string &digits, const SectionPoints &how)
{
    for (char c : digits) {
        if (c < '0' || c > '9')
            return {};
    }
    std::unique_ptr<CamberLine> camber;
    double t = 0;
    if (digits.size() == 4) {
        camber = std::make_unique<FourDigit>((digits[0] - '0') / 100.0, (digits[1] - '0') / 10.0);
        t = std::stoi(digits.substr(2)) / 100.0;
    } else if (digits.size() == 5 && digits[1] >= '1' && digits[1] <= '5' && digits[2] == '0') {
        camber = std::make_unique<FiveDigit>(digits[1] - '0', 0.15 * (digits[0] - '0'));
        t = std::stoi(digits.substr(3)) / 100.0;
    } else {
        return {};
    }
    if (t <= 0.0 || how.count < 5)
        return {};
    const double closing = how.openTrailingEdge ? -0.1015 : -0.1036;
    auto half = [&](double x) {
        return 5.0 * t * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x
                          + closing * x * x * x * x);
    };
    const int n = how.count / 2 + 1;
    std::vector<double> xs(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double u = std::pow(double(i) / (n - 1), how.spacing);
        xs[size_t(i)] = 0.5 * (1.0 - std::cos(M_PI * u));
    }
    xs.back() = 1.0;
    std::mt19937 random(how.seed);
    std::uniform_real_distribution<double> disturb(-how.noise, how.noise);
    std::vector<TKoordi> points;
    auto add = [&](double x, double y, bool disturbed) {
        TKoordi k;
        k.X = roundTo(x, how.decimals);
        k.Y = roundTo(y + (disturbed && how.noise > 0 ? disturb(random) : 0.0), how.decimals);
        points.push_back(k);
    };
    // the nose and the trailing-edge points stay where files put them
    for (int i = n - 1; i >= 0; --i)
        add(xs[size_t(i)], camber->at(xs[size_t(i)]) + half(xs[size_t(i)]), i > 0 && i < n - 1);
    for (int i = 1; i < n; ++i)
        add(xs[size_t(i)], camber->at(xs[size_t(i)]) - half(xs[size_t(i)]), i < n - 1);
    return points;
}

} // namespace velmora::testing

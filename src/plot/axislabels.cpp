// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/axislabels.h"

#include <cmath>
#include <cstdio>

namespace velmora {

std::string FormatAxisLabel(double value, char decimalSep, char thousandsSep)
{
    if (!std::isfinite(value))
        return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", std::fabs(value));
    std::string digits = buf;
    const size_t dot = digits.find('.');
    std::string intPart = digits.substr(0, dot);
    std::string frac = digits.substr(dot + 1);
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();

    std::string grouped;
    const int n = int(intPart.size());
    for (int i = 0; i < n; ++i) {
        grouped += intPart[size_t(i)];
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            grouped += thousandsSep;
    }
    const bool zero = intPart.find_first_not_of('0') == std::string::npos && frac.empty();
    std::string text = (value < 0 && !zero) ? "-" : "";
    text += grouped;
    if (!frac.empty()) {
        text += decimalSep;
        text += frac;
    }
    return text;
}

std::vector<double> AxisTicks(double min, double max, double pixelLength, double minSpacing)
{
    std::vector<double> ticks;
    const double span = max - min;
    if (!std::isfinite(span) || span <= 0 || pixelLength <= 0)
        return ticks;
    const double maxLabels = std::max(1.0, pixelLength / std::max(1.0, minSpacing));
    const double rough = span / maxLabels;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = magnitude;
    for (double f : {1.0, 2.0, 5.0, 10.0}) {
        step = f * magnitude;
        if (step >= rough)
            break;
    }
    const double first = std::ceil(min / step) * step;
    for (int i = 0; i < 1000; ++i) {
        double v = first + i * step;
        if (v > max + step * 1e-9)
            break;
        if (std::fabs(v) < step * 1e-9)
            v = 0.0; // no "-0" from accumulated rounding
        ticks.push_back(v);
    }
    return ticks;
}

} // namespace velmora

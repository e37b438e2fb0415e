// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// Axis label in the style "#,##0.######": thousands grouped, at least one
// integer digit, up to six decimals without trailing zeros.
// FormatAxisLabel(1234.5, ',', '.') == "1.234,5".
std::string FormatAxisLabel(double value, char decimalSep, char thousandsSep);

// Label values for an axis from `min` to `max` drawn over `pixelLength`
// pixels: a step of 1, 2 or 5 times a power of ten, chosen so that
// neighbouring labels are at least `minSpacing` pixels apart. Empty for an
// empty or non-finite range.
std::vector<double> AxisTicks(double min, double max, double pixelLength, double minSpacing);

} // namespace velmora

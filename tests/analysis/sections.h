// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <string>
#include <vector>

namespace velmora::testing {

// How a generated section's points describe it: the point sets users load
// rather than the clean ones the editor makes.
struct SectionPoints
{
    int count = 161;          // total points, odd (the nose once)
    bool openTrailingEdge = false;
    int decimals = -1;        // coordinates rounded to this many decimals; -1 keeps them
    double noise = 0;         // y disturbed uniformly within +-noise (chord units), nose and trailing edge kept
    unsigned seed = 1;        // of the noise
    double spacing = 1;       // 1 cosine; below 1 moves stations towards the trailing edge, above towards the nose
};

// A NACA 4-digit ("2412") or standard 5-digit ("23012") section in program
// order (upper trailing edge, upper side, nose at (0, 0), lower side, lower
// trailing edge), thickness added vertically to the camber line. Empty for
// digits it does not know.
std::vector<TKoordi> nacaSection(const std::string &digits, const SectionPoints &how = {});

} // namespace velmora::testing

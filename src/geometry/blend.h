// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <string_view>

namespace velmora {

// The profile (1 - t) A + t B at the x of A's points: each side of B is
// interpolated at the x of the same side of A. Both profiles must lie in the
// domain of SplitForDesign; 0 <= t <= 1. `result` gets fresh points (no
// flags), Name "<A>_<B>_<t in %>", Title "<A title> / <B title> (t = <t>)"
// and every other field as newly constructed; it is left alone on a refusal.
GeometryResult BlendProfiles(const TProfile &a, const TProfile &b, double t, TProfile &result);

inline constexpr std::string_view kMsgFractionOutside = "Der Anteil t muss zwischen 0 und 1 liegen !!";

} // namespace velmora

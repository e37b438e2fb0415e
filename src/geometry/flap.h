// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <string_view>

namespace velmora {

// Deflects a plain flap of a normalised profile (domain of SplitForDesign).
// The hinge lies at x = hingeX (chord fraction, 0 < hingeX < 1) and between
// the lower (hingeHeight 0) and the upper side (1) at that x. Every point aft
// of the hinge turns about it by angleDeg degrees, positive trailing edge
// down (|angleDeg| < 90). On the side that closes, the points of both parts
// that overlap are removed and the contour is joined where the two parts
// cross; on the side that opens, an arc about the hinge through a few new
// points (IsNew) bridges the gap. The single contour is then normalised
// again (AlignNormalise): nose at (0, 0), trailing-edge midpoint at (1, 0);
// an open trailing edge, whose gap now stands slanted, has its end past x = 1
// cut there and the other continued to it, so that both lie at x = 1. Kept points keep their flags. An angle of 0 changes
// nothing. Refuses arguments outside their ranges and a result whose sides no
// longer run one way in x, leaving the profile untouched.
GeometryResult DeflectFlap(TProfile &profile, double hingeX, double hingeHeight, double angleDeg);

inline constexpr double kDefaultHingeHeight = 0.5;

inline constexpr std::string_view kMsgHingeOutside =
    "Die Drehachse muss zwischen 0 und 100 % der Profiltiefe liegen !!";
inline constexpr std::string_view kMsgHingeHeightOutside =
    "Die Höhe der Drehachse muss zwischen 0 und 100 % der Dicke liegen !!";
inline constexpr std::string_view kMsgFlapAngleOutside =
    "Der Klappenausschlag muss zwischen -90° und 90° liegen !!";
inline constexpr std::string_view kMsgFlapOverlap =
    "Mit diesem Ausschlag überschneidet sich die Kontur, das Profil bleibt unverändert !!";

} // namespace velmora

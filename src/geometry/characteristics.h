// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <string>
#include <vector>

namespace velmora {

// Thickness and camber of the profile and its coefficients by thin-airfoil
// theory from an 11-station quadrature, stored in Characteristics (order and
// units in CharacteristicIndex: per cent of chord, degrees, per radian).
// The nose here is the end of the first run of strictly falling x; upper and
// lower side are interpolated linearly at the upper points and the stations.
// Needs a profile whose x first falls (upper side) and then rises (lower
// side), with the nose strictly inside the list and both sides reaching the
// station nearest the nose (x = 0.017), and without two neighbouring points
// of equal x where a side is interpolated. Otherwise Characteristics keep
// their previous values and the result says why.
GeometryResult ComputeCharacteristics(TProfile &profile);

// The left list of the profile information window: a heading, then for
// `profile` its name, point count and the ten values (5 decimals, with
// `decimalChar` as separator), after running ComputeCharacteristics on it.
// A profile outside that computation's domain shows the reason instead of the
// values; nullptr (no selected profile) gives the "Kein aktives Profil" text.
// Lines in UTF-8.
std::vector<std::string> ShowCharacteristics(TProfile *profile, char decimalChar);

// The right list of the window: one line per violated condition (nose not at
// (0, 0), trailing edge not at x = 1, wrong running direction, trailing-edge
// mean not at y = 0), empty when the profile passes or for nullptr. Lines in UTF-8.
std::vector<std::string> CheckProfile(const TProfile *profile);

} // namespace velmora

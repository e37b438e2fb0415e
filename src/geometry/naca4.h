// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <string>

namespace velmora {

// A NACA 4-digit section from its public formulas: camber m % at p tenths of
// the chord, thickness t %. The thickness is added vertically to the camber
// line, so the nose is exactly (0, 0) and the smallest x, and the trailing
// edge is closed at (1, 0) (the -0.1036 closing coefficient).
// pointsPerSide stations with cosine spacing from the nose to the trailing
// edge on each side; the result has 2 * pointsPerSide - 1 points in program
// order (trailing edge, upper side, nose once, lower side, trailing edge).
// Name "NACA" + digits, Title "NACA " + digits; every other field initial.
// Digits outside 0..9 (or t of 0..40) and pointsPerSide < 2 give an empty profile.
TProfile MakeNaca4(int m, int p, int t, int pointsPerSide = 81);

// "2412" -> MakeNaca4(2, 4, 12); anything that is not four digits gives an
// empty profile.
TProfile MakeNaca4(const std::string &digits, int pointsPerSide = 81);

} // namespace velmora

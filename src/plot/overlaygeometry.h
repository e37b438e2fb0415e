// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <vector>

namespace velmora {

// Pairs of reals for the overlay construction.
struct TVec
{
    double x = 0.0;
    double y = 0.0;
};

TVec VecMake(double x, double y);
TVec VecDiff(TVec a, TVec b);            // a - b
double VecLength(TVec v);
TVec VecScale(TVec v, double s);
TVec VecNormalise(TVec v);               // a length of exactly 0 divides by 1
double PointDistance(TVec a, TVec b);
// Heron's formula; a product that rounding makes negative counts as 0.
double TriangleArea(TVec a, TVec b, TVec c);

// Where an F4 click would insert a point: the foot O of the perpendicular
// from M onto the first segment h -> h + 1 (in list order) for which M lies
// on the outer side (right of the segment's direction) and O on the segment.
// `searched` is false when the search could not start (no segment, or the
// first segment has no length); otherwise `found` says whether a segment
// qualified. All arithmetic in the single precision of the drawing.
struct InsertionSearch
{
    bool searched = false;
    bool found = false;
    int segment = 0;
    double x = 0.0;
    double y = 0.0;
};
InsertionSearch FindInsertionCandidate(const std::vector<TKoordi> &points, TVec m);

} // namespace velmora

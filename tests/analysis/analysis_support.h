// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/eppler.h"
#include "model/profile.h"

#include <string>
#include <vector>

namespace velmora::testing {

TEpplerInput engineInput(const std::vector<TKoordi> &points, std::vector<float> alphas,
                         std::vector<float> reynolds = {1e6f});

// A reference airfoil of ../shared/reference/analytic and its exact values.
struct ExactCase
{
    std::string name;
    double alpha = 0;
    double cl = 0;
    double cm = 0;
    double alpha0 = 0;
};
std::vector<ExactCase> exactCases();
TProfile exactProfile(const std::string &name);
// The exact |v/V| of every point at one angle, with the point's x.
struct ExactSpeed
{
    double x, v;
};
std::vector<ExactSpeed> exactSpeeds(const ExactCase &c);

} // namespace velmora::testing

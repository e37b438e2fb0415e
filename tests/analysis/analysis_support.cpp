// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis_support.h"

#include "model/coordinatefile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace velmora::testing {

TEpplerInput engineInput(const std::vector<TKoordi> &points, std::vector<float> alphas,
                         std::vector<float> reynolds)
{
    TEpplerInput in;
    in.pointCount = int(points.size());
    for (size_t i = 0; i < points.size() && i < size_t(kMaxNodes); ++i) {
        in.x[i] = float(points[i].X);
        in.y[i] = float(points[i].Y);
    }
    in.alphaCount = int(alphas.size());
    for (size_t k = 0; k < alphas.size() && k < size_t(kMaxAngles); ++k)
        in.alphas[k] = alphas[k];
    in.reynoldsCount = int(reynolds.size());
    for (size_t j = 0; j < reynolds.size() && j < size_t(kMaxReynolds); ++j)
        in.reynolds[j] = reynolds[j];
    return in;
}

static std::string analyticPath(const std::string &file)
{
    return (referenceDir() / "analytic" / file).string();
}

std::vector<ExactCase> exactCases()
{
    std::ifstream f(analyticPath("summary.csv"));
    EXPECT_TRUE(f.good()) << "reference data missing: " << analyticPath("summary.csv");
    std::vector<ExactCase> cases;
    std::string line;
    std::getline(f, line);
    while (std::getline(f, line)) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream in(line);
        ExactCase c;
        in >> c.name >> c.alpha >> c.cl >> c.cm >> c.alpha0;
        if (in)
            cases.push_back(c);
    }
    return cases;
}

TProfile exactProfile(const std::string &name)
{
    TProfile p;
    LoadCoordinateFile(p, analyticPath(name + ".dat"));
    return p;
}

std::vector<ExactSpeed> exactSpeeds(const ExactCase &c)
{
    char alpha[32];
    std::snprintf(alpha, sizeof alpha, "%g", c.alpha);
    std::ifstream f(analyticPath(c.name + "_alpha" + alpha + ".csv"));
    EXPECT_TRUE(f.good()) << c.name << " at " << alpha;
    std::vector<ExactSpeed> speeds;
    std::string line;
    std::getline(f, line);
    while (std::getline(f, line)) {
        double x = 0, y = 0, v = 0;
        if (std::sscanf(line.c_str(), "%lf,%lf,%lf", &x, &y, &v) == 3)
            speeds.push_back({x, v});
    }
    return speeds;
}

} // namespace velmora::testing

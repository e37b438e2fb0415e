// SPDX-License-Identifier: GPL-3.0-or-later
// Random and degenerate contours through every operation: nothing may crash,
// hang or leave a non-finite coordinate, and a refusal must leave the profile
// exactly as it was.
#include "geometry/align.h"
#include "geometry/blend.h"
#include "geometry/edges.h"
#include "geometry/flap.h"
#include "geometry/thicknesscamber.h"
#include "geometry/characteristics.h"
#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry/redistribute.h"
#include "geometry/sides.h"
#include "geometry/smoothing.h"
#include "geometry_testing.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::profileFrom;
using testing::samePoints;

struct Operation
{
    const char *name;
    std::function<GeometryResult(TProfile &)> run;
};

std::vector<Operation> operations()
{
    const TProfile clipboard = MakeNaca4("0012", 11);
    return {
        {"AlignNormalise", [](TProfile &p) { return AlignNormalise(p, false); }},
        {"AlignNormalise extrapolating", [](TProfile &p) { return AlignNormalise(p, true); }},
        {"SmoothCosine 121", [](TProfile &p) { return SmoothCosine(p, 121); }},
        {"SmoothCosine 7", [](TProfile &p) { return SmoothCosine(p, 7); }},
        {"InsertMidpointsCubic", InsertMidpointsCubic},
        {"RedistributeCubic linear", [](TProfile &p) { return RedistributeCubic(p, 20, StationDistribution::Linear); }},
        {"RedistributeCubic sin front", [](TProfile &p) { return RedistributeCubic(p, 60, StationDistribution::SinFront); }},
        {"RedistributeCubic sin rear", [](TProfile &p) { return RedistributeCubic(p, 31, StationDistribution::SinRear); }},
        {"RedistributeCubic cos", [](TProfile &p) { return RedistributeCubic(p, 8, StationDistribution::Cos); }},
        {"Invert", Invert},
        {"MirrorUpper", MirrorUpper},
        {"MirrorLower", MirrorLower},
        {"ReplaceLowerSide", [clipboard](TProfile &p) { return ReplaceLowerSide(p, clipboard); }},
        {"ReplaceLowerSide from itself", [](TProfile &p) { const TProfile c = p; return ReplaceLowerSide(p, c); }},
        {"DeleteMarkedPoints", DeleteMarkedPoints},
        {"SetThicknessCamber", [](TProfile &p) { return SetThicknessCamber(p, {0.1, 0.03, 0.35, 0.45}); }},
        {"SetTrailingEdgeGap", [](TProfile &p) { return SetTrailingEdgeGap(p, 0.005); }},
        {"ScaleNoseRadius", [](TProfile &p) { return ScaleNoseRadius(p, 1.5); }},
        {"DeflectFlap down", [](TProfile &p) { return DeflectFlap(p, 0.7, 0.5, 20); }},
        {"DeflectFlap up at the surface", [](TProfile &p) { return DeflectFlap(p, 0.8, 1.0, -15); }},
        {"BlendProfiles", [clipboard](TProfile &p) {
             TProfile mix;
             const GeometryResult r = BlendProfiles(p, clipboard, 0.3, mix);
             if (r)
                 p = mix;
             return r;
         }},
    };
}

// A refusal leaves everything; a completed run leaves finite numbers.
void checkOperation(const Operation &op, const TProfile &input, const std::string &context)
{
    TProfile p = input;
    const GeometryResult r = op.run(p);
    if (r.done) {
        EXPECT_TRUE(AllFinite(p.Points)) << op.name << " on " << context;
    } else {
        EXPECT_TRUE(samePoints(p, input)) << op.name << " on " << context;
        EXPECT_EQ(p.Name, input.Name) << op.name << " on " << context;
        EXPECT_EQ(p.Title, input.Title) << op.name << " on " << context;
    }

    TProfile q = input;
    q.Characteristics.fill(3.0);
    if (ComputeCharacteristics(q)) {
        for (double v : q.Characteristics)
            EXPECT_TRUE(std::isfinite(v)) << context;
    } else {
        for (double v : q.Characteristics)
            EXPECT_EQ(v, 3.0) << context;
    }
    EXPECT_FALSE(ShowCharacteristics(&q, ',').empty());
    CheckProfile(&q);
}

std::vector<std::pair<std::string, TProfile>> degenerateProfiles()
{
    std::vector<std::pair<std::string, TProfile>> list = {
        {"empty", TProfile{}},
        {"one point", profileFrom({{0.5, 0.5}})},
        {"two equal points", profileFrom({{1, 0}, {1, 0}})},
        {"all points equal", profileFrom({{0.3, 0.1}, {0.3, 0.1}, {0.3, 0.1}, {0.3, 0.1}, {0.3, 0.1}})},
        {"vertical line", profileFrom({{0.4, 1}, {0.4, 0.5}, {0.4, 0}, {0.4, -0.5}, {0.4, -1}})},
        {"horizontal line running one way", profileFrom({{0, 0}, {0.25, 0}, {0.5, 0}, {0.75, 0}, {1, 0}})},
        {"nose at x = 1", profileFrom({{2, 0.1}, {1.5, 0.2}, {1, 0}, {1.5, -0.2}, {2, -0.1}})},
        {"nose on the trailing edge", profileFrom({{0, 1}, {0.5, 0.5}, {1, 0}, {0.5, -0.5}, {0, -1}})},
        {"doubled neighbours", profileFrom({{1, 0}, {1, 0}, {0.5, 0.1}, {0.5, 0.1}, {0, 0}, {0, 0}, {0.5, -0.1}, {0.5, -0.1}, {1, 0}, {1, 0}})},
        {"zigzag", profileFrom({{1, 0}, {0.2, 0.1}, {0.8, 0.1}, {0, 0}, {0.9, -0.1}, {0.1, -0.1}, {1, 0}})},
        {"huge coordinates", profileFrom({{1e300, 1e300}, {-1e300, 1e299}, {-1e300, -1e300}, {1e300, -1e299}, {1e300, 0}})},
        {"tiny coordinates", profileFrom({{1e-300, 0}, {5e-301, 1e-301}, {0, 0}, {5e-301, -1e-301}, {1e-300, 0}})},
    };
    TProfile marked = MakeNaca4("2412", 11);
    for (TKoordi &k : marked.Points)
        k.Marked = true;
    list.emplace_back("everything marked", marked);
    TProfile reversed = MakeNaca4("4412", 21);
    std::reverse(reversed.Points.begin(), reversed.Points.end());
    list.emplace_back("lower side first", reversed);
    return list;
}

TEST(Robustness, DegenerateContoursAreRefusedOrHandledCleanly)
{
    for (const Operation &op : operations()) {
        for (const auto &[what, profile] : degenerateProfiles())
            checkOperation(op, profile, what);
    }
}

TEST(Robustness, RandomContoursAreRefusedOrHandledCleanly)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> count(0, 14);
    std::uniform_real_distribution<double> coordinate(-1.5, 1.5);
    std::uniform_int_distribution<int> kind(0, 5);
    const std::vector<Operation> ops = operations();
    for (int round = 0; round < 300; ++round) {
        TProfile p;
        p.Name = "random ";
        p.Name += std::to_string(round);
        const int n = count(rng);
        for (int i = 0; i < n; ++i) {
            TKoordi k;
            switch (kind(rng)) {
            case 0: // repeat the previous point
                if (!p.Points.empty())
                    k = p.Points.back();
                break;
            case 1: // same x as the previous point
                k.X = p.Points.empty() ? 1.0 : p.Points.back().X;
                k.Y = coordinate(rng);
                break;
            case 2: // a round value, so that exact ties happen
                k.X = std::round(coordinate(rng) * 2) / 2;
                k.Y = std::round(coordinate(rng) * 2) / 2;
                break;
            default:
                k.X = coordinate(rng);
                k.Y = coordinate(rng);
            }
            k.Marked = kind(rng) == 0;
            k.IsNew = false;
            p.Points.push_back(k);
        }
        for (const Operation &op : ops)
            checkOperation(op, p, p.Name);
    }
}

TEST(Robustness, NoisyButPlausibleSectionsGoThroughEveryOperation)
{
    // Sections a user loads: normalised, slightly noisy, sometimes not quite
    // closed. Everything except the shape-changing refusals must run.
    std::mt19937 rng(99);
    std::normal_distribution<double> noise(0.0, 2e-4);
    const std::vector<Operation> ops = operations();
    for (const char *digits : {"0006", "2412", "4415", "6409", "0024"}) {
        TProfile p = MakeNaca4(digits, 35);
        for (TKoordi &k : p.Points)
            k.Y += noise(rng);
        for (const Operation &op : ops) {
            TProfile q = p;
            const GeometryResult r = op.run(q);
            EXPECT_TRUE(r.done) << op.name << " on NACA " << digits << ": " << r.message;
            EXPECT_TRUE(AllFinite(q.Points));
        }
        EXPECT_TRUE(ComputeCharacteristics(p)) << digits;
    }
}

TEST(Robustness, FindBracketNeverReturnsAnIndexOutsideItsRange)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> coordinate(-0.2, 1.2);
    for (int round = 0; round < 200; ++round) {
        TProfile p;
        for (int i = 0; i < 8; ++i)
            p.Points.push_back(TKoordi{coordinate(rng), 0.0});
        const int from = round % 5;
        const int to = from + round % 7;
        const Bracket b = FindBracket(p, from, to, coordinate(rng));
        if (b.found()) {
            EXPECT_GE(b.lo, from);
            EXPECT_LE(b.hi, std::min(to, 7));
            EXPECT_TRUE(b.hi == b.lo || b.hi == b.lo + 1);
        } else {
            EXPECT_EQ(b.lo, -1);
            EXPECT_EQ(b.hi, -1);
        }
    }
}

} // namespace
} // namespace velmora

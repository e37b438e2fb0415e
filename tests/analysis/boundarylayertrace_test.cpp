// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded march against closed forms and against the totals it belongs to.

#include "analysis/boundarylayertrace.h"
#include "analysis/eppler.h"
#include "analysis_support.h"
#include "sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace velmora;
using velmora::testing::engineInput;
using velmora::testing::nacaSection;

namespace {

struct Traced
{
    TEpplerOutput out;
    BoundaryLayerTrace trace;
};

Traced traced(const std::vector<TKoordi> &points, float alpha, float re)
{
    Traced t;
    EpplerSolver solver;
    solver.run(engineInput(points, {alpha}, {re}), t.out, &t.trace);
    return t;
}

// Squire-Young at one node as the drag is formed: H12 capped at 2.5.
double squireYoung(const TraceNode &n)
{
    return 2.0 * std::pow(double(n.v), (std::min(double(n.h12), 2.5) + 5.0) / 2.0) * double(n.delta2);
}

// The drag of a side read off 1 % of chord (along the surface) ahead of its
// trailing edge, between the nodes around that station.
double dragFromTrace(const SideTrace &side)
{
    const auto &n = side.nodes;
    const double station = double(n.back().s) - 0.01;
    for (size_t i = 1; i < n.size(); ++i) {
        if (double(n[i].s) > station) {
            const double a = squireYoung(n[i - 1]), b = squireYoung(n[i]);
            return a + (b - a) * (station - double(n[i - 1].s)) / (double(n[i].s) - double(n[i - 1].s));
        }
    }
    return squireYoung(n.back());
}

} // namespace

TEST(BoundaryLayerTrace, ThinSymmetricSectionAtZeroFollowsBlasiusOverTheMiddleOfTheChord)
{
    const auto points = nacaSection("0003");
    for (float re : {3e5f, 1e6f}) {
        const Traced t = traced(points, 0.0f, re);
        for (const SideTrace &side : t.trace.sides) {
            int checked = 0;
            for (const TraceNode &n : side.nodes) {
                if (n.x < 0.2f || n.x > 0.6f)
                    continue;
                ++checked;
                ASSERT_EQ(n.state, LayerState::Laminar) << "x " << n.x << " Re " << re;
                EXPECT_NEAR(n.delta2 * std::sqrt(re / n.x), 0.664, 0.05 * 0.664) << "x " << n.x << " Re " << re;
                EXPECT_NEAR(n.h12, 2.59, 0.05 * 2.59) << "x " << n.x << " Re " << re;
                EXPECT_NEAR(n.delta1(), n.h12 * n.delta2, 1e-9);
                EXPECT_NEAR(n.delta3, n.h32 * n.delta2, 1e-6 * n.delta3);
            }
            EXPECT_GT(checked, 20);
        }
    }
}

// The panel speeds fall steeply over the last panels, and the layer mostly
// separates there, within a few tenths of a per cent of the trailing edge;
// the attached layer is judged ahead of that region.
constexpr float kAheadOfTrailingEdge = 0.95f;

TEST(BoundaryLayerTrace, AttachedTurbulentLayersKeepAPlausibleShapeAndGrow)
{
    int turbulentNodes = 0;
    for (const char *digits : {"0012", "2412", "4412"}) {
        for (float alpha : {0.0f, 2.0f, 5.0f}) {
            for (float re : {2e5f, 1e6f, 3e6f}) {
                const Traced t = traced(nacaSection(digits), alpha, re);
                for (const SideTrace &side : t.trace.sides) {
                    if (side.separationS >= 0 && side.separationX <= kAheadOfTrailingEdge)
                        continue; // only layers attached up to the trailing-edge region
                    const TraceNode *previous = nullptr;
                    for (const TraceNode &n : side.nodes) {
                        if (n.x > kAheadOfTrailingEdge)
                            break;
                        ASSERT_NE(n.state, LayerState::Separated);
                        if (n.state == LayerState::Turbulent) {
                            ++turbulentNodes;
                            EXPECT_GE(n.h12, 1.3f) << digits << " a " << alpha << " Re " << re << " x " << n.x;
                            EXPECT_LE(n.h12, 2.5f) << digits << " a " << alpha << " Re " << re << " x " << n.x;
                            if (previous && previous->state == LayerState::Turbulent) {
                                EXPECT_GE(n.delta2, previous->delta2) << digits << " a " << alpha << " x " << n.x;
                            }
                            EXPECT_GT(n.cf, 0.0f);
                        }
                        previous = &n;
                    }
                }
            }
        }
    }
    EXPECT_GT(turbulentNodes, 500);
}

TEST(BoundaryLayerTrace, DragFromTheEndStatesIsTheReportedDrag)
{
    int separatedSides = 0;
    for (const char *digits : {"0012", "2412", "4412"}) {
        for (float alpha : {-4.0f, 0.0f, 4.0f, 8.0f}) {
            for (float re : {1e5f, 1e6f}) {
                const Traced t = traced(nacaSection(digits), alpha, re);
                const double up = dragFromTrace(t.trace.sides[kTraceUpper]);
                const double lo = dragFromTrace(t.trace.sides[kTraceLower]);
                EXPECT_NEAR(up + lo, t.out.cw[0][0], 2e-6 * t.out.cw[0][0]) << digits << " a " << alpha << " Re " << re;
                EXPECT_FLOAT_EQ(t.trace.sides[kTraceUpper].drag, t.out.upper[0][0].sideDrag);
                EXPECT_FLOAT_EQ(t.trace.sides[kTraceLower].drag, t.out.lower[0][0].sideDrag);
                separatedSides += (t.trace.sides[0].separationS >= 0) + (t.trace.sides[1].separationS >= 0);
            }
        }
    }
    EXPECT_GT(separatedSides, 0) << "separated layers are part of the comparison";
}

TEST(BoundaryLayerTrace, RecordsEveryNodeOfBothSidesWithTransitionAndSeparationWhereTheStateChanges)
{
    const auto points = nacaSection("2412");
    const int n = int(points.size());
    const Traced t = traced(points, 4.0f, 1e6f);
    const SideTrace &up = t.trace.sides[kTraceUpper];
    const SideTrace &lo = t.trace.sides[kTraceLower];
    ASSERT_FALSE(up.nodes.empty());
    ASSERT_FALSE(lo.nodes.empty());
    // the upper side runs to the first point, the lower to the last, and between
    // them they leave out at most the one node next to the stagnation point
    EXPECT_EQ(up.nodes.back().node, 0);
    EXPECT_EQ(lo.nodes.back().node, n - 1);
    const int gap = lo.nodes.front().node - up.nodes.front().node;
    EXPECT_TRUE(gap == 1 || gap == 2) << gap;
    EXPECT_EQ(int(up.nodes.size() + lo.nodes.size()), n + 1 - gap);

    for (const SideTrace *side : {&up, &lo}) {
        const float xtr = side == &up ? t.out.upper[0][0].transitionX : t.out.lower[0][0].transitionX;
        const float separatedRun = side == &up ? t.out.upper[0][0].separatedRun : t.out.lower[0][0].separatedRun;
        ASSERT_GE(side->transitionS, 0.0f) << "both sides turn turbulent here";
        EXPECT_EQ(side->transitionX, xtr);
        EXPECT_EQ(side->separationS >= 0, separatedRun > 0);
        for (size_t i = 1; i < side->nodes.size(); ++i) {
            const TraceNode &a = side->nodes[i - 1], &b = side->nodes[i];
            EXPECT_GT(b.s, a.s);
            EXPECT_EQ(b.node, a.node + (side == &up ? -1 : 1));
            // the layer turns turbulent inside the step that ends turbulent
            if (a.state == LayerState::Laminar && b.state != LayerState::Laminar) {
                EXPECT_GT(side->transitionS, a.s);
                EXPECT_LE(side->transitionS, b.s);
                EXPECT_GE(side->transitionX, std::min(a.x, b.x));
                EXPECT_LE(side->transitionX, std::max(a.x, b.x));
            }
        }
        if (side->separationS >= 0) {
            // separated from the located point to the trailing edge
            for (const TraceNode &node : side->nodes)
                EXPECT_EQ(node.state == LayerState::Separated, node.s > side->separationS) << node.x;
            EXPECT_NEAR(double(side->nodes.back().s) - double(side->separationS), separatedRun, 1e-5);
        }
    }
    EXPECT_GE(up.separationS, 0.0f) << "the upper layer of this case separates ahead of the trailing edge";
}

TEST(BoundaryLayerTrace, ATraceChangesNothingAndFollowsTheAngleAndReynoldsNumberAskedFor)
{
    const auto points = nacaSection("4412");
    const TEpplerInput in = engineInput(points, {-2.0f, 3.0f, 6.0f}, {2e5f, 5e5f, 1e6f});
    EpplerSolver plain, tracing;
    TEpplerOutput a, b;
    plain.run(in, a);
    BoundaryLayerTrace trace;
    trace.angle = 1;
    trace.reynolds = 2;
    tracing.run(in, b, &trace);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "bit-identical results with and without a trace";

    // the same layer as a run of that angle and Reynolds number alone
    const Traced alone = traced(points, 3.0f, 1e6f);
    for (int side : {kTraceUpper, kTraceLower}) {
        const auto &got = trace.sides[size_t(side)];
        const auto &want = alone.trace.sides[size_t(side)];
        ASSERT_EQ(got.nodes.size(), want.nodes.size());
        EXPECT_NEAR(got.transitionX, want.transitionX, 1e-4);
        for (size_t i = 0; i < got.nodes.size(); ++i) {
            // inside a bubble the speed it holds, located within rounding
            EXPECT_NEAR(got.nodes[i].v, want.nodes[i].v, 1e-5f * want.nodes[i].v);
            EXPECT_NEAR(got.nodes[i].delta2, want.nodes[i].delta2, 1e-4 * want.nodes[i].delta2);
        }
    }

    // an angle outside the run records nothing; a new run clears the old trace
    trace.angle = 5;
    tracing.run(in, b, &trace);
    EXPECT_TRUE(trace.sides[0].nodes.empty());
    EXPECT_TRUE(trace.sides[1].nodes.empty());
}

TEST(BoundaryLayerTrace, CsvHasOneLinePerNodeUpperSideFirst)
{
    const Traced t = traced(nacaSection("2412", {.count = 61}), 2.0f, 5e5f);
    const std::string csv = TraceCsvRows(t.trace, "P,");
    const size_t lines = size_t(std::count(csv.begin(), csv.end(), '\n'));
    EXPECT_EQ(lines, t.trace.sides[0].nodes.size() + t.trace.sides[1].nodes.size());
    EXPECT_EQ(csv.rfind("P,upper,", 0), 0u);
    EXPECT_NE(csv.find("\nP,lower,"), std::string::npos);
    EXPECT_EQ(csv.find("upper", csv.find("lower")), std::string::npos) << "no upper line after the lower side";
    EXPECT_NE(csv.find(",turbulent,"), std::string::npos);
    // eleven fields after the prefix, as the header names them
    const std::string first = csv.substr(0, csv.find('\n'));
    EXPECT_EQ(std::count(first.begin(), first.end(), ','), 11);
    const std::string header = TraceCsvHeader();
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 10);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/stages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace velmora;
using namespace velmora::eppler;

namespace {

struct March
{
    float delta2 = 0;
    float h32 = 1;
    double s = 0;
    double laminar = 0;
    double attached = 0;
    double transitionAt = -1; // arc length where H32 turned negative
    double separationAt = -1; // arc length where a step was cut short
    StepCache cache;
};

// Marches one Reynolds number through `steps` equal steps of the speed
// distribution u(s), starting at s0 with u(s0) as the previous speed.
void march(March &m, const std::function<double(double)> &u, double s0, double ds, int steps,
           double re)
{
    m.s = s0;
    for (int i = 0; i < steps; ++i) {
        const double u1 = u(m.s);
        const double u2 = u(m.s + ds);
        const StepResult r = BoundaryLayerStep(u1, u2, ds, m.delta2, m.h32, std::sqrt(re), m.cache);
        if (m.h32 > 0 && r.h32 < 0)
            m.transitionAt = m.s + r.laminarPart;
        if (r.attachedPart < ds && m.separationAt < 0)
            m.separationAt = m.s + r.attachedPart;
        m.laminar += r.laminarPart;
        m.attached += r.attachedPart;
        m.delta2 = r.delta2;
        m.h32 = r.h32;
        m.s += ds;
        ASSERT_TRUE(std::isfinite(m.delta2) && m.delta2 > 0) << "step " << i;
    }
}

} // namespace

TEST(ShapeFactorH12, ReproducesTheClassicalShapeFactors)
{
    EXPECT_NEAR(ShapeFactorH12(1.5725840).h12, 2.59, 0.01);  // flat plate (Blasius)
    EXPECT_NEAR(ShapeFactorH12(1.619977).h12, 2.24, 0.03);   // stagnation point (Hiemenz)
    EXPECT_DOUBLE_EQ(ShapeFactorH12(1.51509).h12, 4.02922);     // laminar separation
    EXPECT_NEAR(ShapeFactorH12(kLaminarLimit).h12, 4.01, 0.01);
    // The two laminar branches meet at H32 = 1.57258.
    const ShapeFactor below = ShapeFactorH12(1.57258 - 1e-9);
    const ShapeFactor above = ShapeFactorH12(1.57258);
    EXPECT_NEAR(below.h12, above.h12, 0.005);
    EXPECT_NEAR(below.friction, above.friction, 0.001);
    // Below the laminar separation limit the fit has no value.
    EXPECT_THROW(ShapeFactorH12(1.5150), EpplerError);
    EXPECT_NEAR(ShapeFactorH12(-kTurbulentLimit).h12, 2.80, 0.01); // turbulent separation
}

TEST(BoundaryLayerStep, StartsFromStagnationPointOrFlatPlateSolutions)
{
    StepCache cache;
    const double sqrtRe = 1000;
    const StepResult fromRest = BoundaryLayerStep(0.0, 0.5, 0.01, 0.0f, 1.0f, sqrtRe, cache);
    EXPECT_FLOAT_EQ(fromRest.h32, 1.619977f);
    EXPECT_FLOAT_EQ(fromRest.delta2, float(0.290043 / (sqrtRe * std::sqrt(0.5 / 0.01))));

    // A laminar layer where the speed more than doubles starts again ...
    const StepResult jump = BoundaryLayerStep(0.1, 0.25, 0.01, 1e-3f, 1.6f, sqrtRe, cache);
    EXPECT_FLOAT_EQ(jump.h32, 1.619977f);
    EXPECT_FLOAT_EQ(jump.delta2, float(0.290043 / (sqrtRe * std::sqrt(0.15 / 0.01))));
    // ... a turbulent one is integrated on: it stays turbulent and thins.
    const StepResult turbulent = BoundaryLayerStep(0.1, 0.25, 0.01, 1e-3f, -1.7f, sqrtRe, cache);
    EXPECT_LT(turbulent.h32, 0.0f);
    EXPECT_LT(turbulent.delta2, 1e-3f);

    // Without a thickness yet: Blasius over the step.
    const StepResult plate = BoundaryLayerStep(1.0, 1.2, 0.02, 0.0f, 1.0f, sqrtRe, cache);
    EXPECT_FLOAT_EQ(plate.h32, 1.5725840f);
    EXPECT_FLOAT_EQ(plate.delta2, float(std::sqrt(2 * 0.02 / 2.2) * 0.664108 / sqrtRe));
}

TEST(BoundaryLayerStep, FlatPlateGrowsLikeBlasius)
{
    const double re = 1e6;
    March m;
    march(m, [](double) { return 1.0; }, 0.0, 0.01, 100, re);
    // delta2 = 0.664 sqrt(x / Re), H32 constant, laminar and attached throughout.
    EXPECT_NEAR(m.delta2 * std::sqrt(re) / std::sqrt(m.s), 0.664, 0.664 * 0.01);
    EXPECT_NEAR(m.h32, 1.5725840, 1e-3);
    EXPECT_NEAR(m.laminar, m.s, 1e-9);
    EXPECT_NEAR(m.attached, m.s, 1e-9);
}

TEST(BoundaryLayerStep, LaminarLayerInRetardedFlowSeparatesAndTurnsTurbulent)
{
    // Howarth's linearly retarded flow U = 1 - x separates at x = 0.12; the
    // step must reach the limit instead of shortening towards it forever.
    March m;
    march(m, [](double s) { return 1.0 - s; }, 0.0, 0.005, 40, 1e6);
    EXPECT_GT(m.transitionAt, 0.10);
    EXPECT_LT(m.transitionAt, 0.14);
    EXPECT_LT(m.h32, 0.0f);
    EXPECT_NEAR(m.laminar, m.transitionAt, 0.005);
}

TEST(BoundaryLayerStep, TurbulentLayerSeparatesInStrongDeceleration)
{
    March m;
    m.delta2 = 1e-3f;
    m.h32 = -1.55f;
    march(m, [](double s) { return 1.0 - 1.5 * s; }, 0.0, 0.01, 50, 1e6);
    ASSERT_GT(m.separationAt, 0.0);
    EXPECT_LT(std::fabs(m.h32), kTurbulentLimit + kLimitTolerance + 1e-4);
    EXPECT_NEAR(m.attached, m.separationAt, 1e-9);
    EXPECT_EQ(m.laminar, 0.0);
}

TEST(BoundaryLayerStep, TurbulentLayerBelowTheLimitInAcceleratingFlowIsIntegratedOn)
{
    StepCache cache;
    const StepResult r = BoundaryLayerStep(1.0, 1.1, 0.01, 1e-3f, -1.45f, 1000, cache);
    EXPECT_EQ(r.attachedPart, 0.01);
    EXPECT_LT(r.h32, 0.0f);
    EXPECT_TRUE(std::isfinite(r.delta2) && r.delta2 > 0.0f);
}

TEST(BoundaryLayerStep, NextReynoldsNumberAtTheSameLaminarStepReusesTheScaledResult)
{
    StepCache cache;
    const float delta2 = 2e-4f;
    const StepResult first = BoundaryLayerStep(1.2, 1.18, 0.02, delta2, 1.56f, 1000, cache);
    ASSERT_GT(first.h32, 0.0f);
    // Same scaled thickness at another Reynolds number: a cache hit.
    const StepResult reused =
        BoundaryLayerStep(1.2, 1.18, 0.02, float(delta2 * 1000 / 2000.0), 1.56f, 2000, cache);
    EXPECT_EQ(reused.h32, first.h32);
    EXPECT_FLOAT_EQ(reused.delta2, float(first.delta2 * 1000 / 2000.0));
    // And it agrees with integrating afresh.
    StepCache fresh;
    const StepResult direct =
        BoundaryLayerStep(1.2, 1.18, 0.02, float(delta2 * 1000 / 2000.0), 1.56f, 2000, fresh);
    EXPECT_NEAR(direct.h32, reused.h32, 1e-5);
    EXPECT_NEAR(direct.delta2, reused.delta2, 1e-5 * direct.delta2);
}

TEST(BoundaryLayerStep, TransitionAndSeparationLieInsideTheStepAndMoveWithTheFlow)
{
    // The more the speed falls over the step, the earlier in it the laminar
    // layer turns turbulent, and the turbulent one separates; neither waits
    // for the next node.
    double laminarBefore = 0.02, attachedBefore = 0.02;
    int laminarInside = 0, attachedInside = 0;
    for (int k = 0; k <= 12; ++k) {
        StepCache laminarCache, turbulentCache;
        const StepResult lam = BoundaryLayerStep(1.2, 1.17 - 0.01 * k, 0.02, 2e-4f, 1.56f, 1000, laminarCache);
        const StepResult turb = BoundaryLayerStep(1.0, 0.97 - 0.01 * k, 0.02, 1e-3f, -1.5f, 1000, turbulentCache);
        EXPECT_LE(lam.laminarPart, laminarBefore) << k;
        EXPECT_LE(turb.attachedPart, attachedBefore) << k;
        laminarInside += lam.laminarPart > 0.0 && lam.laminarPart < 0.02 && lam.h32 < 0.0f;
        attachedInside += turb.attachedPart > 0.0 && turb.attachedPart < 0.02;
        laminarBefore = lam.laminarPart;
        attachedBefore = turb.attachedPart;
    }
    EXPECT_GE(laminarInside, 10);
    EXPECT_GE(attachedInside, 10);
}

TEST(BoundaryLayerStep, LaminarLayerSeparatingInALocalDipReattachesLaminar)
{
    // A short, sharp fall of the speed behind which it rises again (a point
    // slightly out of line near the nose) separates the laminar layer only
    // locally; where the deceleration goes on, however gently, separation is
    // transition.
    const double sqrtRe = std::sqrt(2e5);
    FlowAhead rising;
    rising.u = {1.12, 1.13};
    rising.gradient = {1.0, 0.7};
    FlowAhead falling;
    falling.u = {1.12, 1.115};
    falling.gradient = {-0.5, -0.5};
    StepCache a, b, c;
    const StepResult dip = BoundaryLayerStep(1.2, 1.12, 0.01, 1.6e-4f, 1.585f, sqrtRe, a, rising);
    const StepResult on = BoundaryLayerStep(1.2, 1.12, 0.01, 1.6e-4f, 1.585f, sqrtRe, b, falling);
    const StepResult blind = BoundaryLayerStep(1.2, 1.12, 0.01, 1.6e-4f, 1.585f, sqrtRe, c);
    ASSERT_LT(on.h32, 0.0f) << "the fall must reach the limit inside the step";
    EXPECT_LT(on.laminarPart, 0.01);
    EXPECT_GT(dip.h32, 0.0f);
    EXPECT_EQ(dip.laminarPart, 0.01);
    EXPECT_EQ(dip.attachedPart, 0.01);
    EXPECT_GT(dip.delta2, 1.6e-4f) << "the separated stretch thickens the layer";
    EXPECT_EQ(blind.h32, on.h32) << "at the end of a side there is nothing to reattach on";
    // The reattached layer goes on laminar in the rising flow.
    StepCache d;
    const StepResult after = BoundaryLayerStep(1.12, 1.13, 0.01, dip.delta2, dip.h32, sqrtRe, d, rising);
    EXPECT_GT(after.h32, dip.h32);
}

TEST(BoundaryLayerStep, SeparationBubbleTurnsTurbulentAfterItsRunOrReattachesWhereTheSpeedComesBack)
{
    // Howarth's retarded flow separates the laminar layer at s = 0.12 (speed
    // 0.88). Followed as a bubble, its shear layer turns turbulent a run of
    // kBubbleReynolds / (Re U) later, sooner at the higher Reynolds number.
    auto transitionAt = [](double re, const std::function<double(double)> &u) {
        float delta2 = 0.0f, h32 = 1.0f;
        StepCache cache;
        LaminarBubble bubble;
        const double ds = 0.005;
        for (int i = 0; i < 100; ++i) {
            const double s = i * ds;
            FlowAhead ahead;
            for (int k = 0; k < 2; ++k) {
                ahead.u[size_t(k)] = u(s + (k + 1) * ds);
                ahead.gradient[size_t(k)] = (u(s + (k + 2) * ds) - u(s + (k + 1) * ds)) / ds;
            }
            const StepResult r = BoundaryLayerStep(u(s), u(s + ds), ds, delta2, h32, std::sqrt(re), cache, ahead, &bubble);
            if (h32 > 0.0f && r.h32 < 0.0f)
                return s + r.laminarPart;
            EXPECT_TRUE(r.h32 > 0.0f || bubble.speed == 0.0f);
            delta2 = r.delta2;
            h32 = r.h32;
        }
        return -1.0;
    };
    const auto retarded = [](double s) { return 1.0 - s; };
    for (double re : {2e5, 1e6}) {
        const double run = kBubbleReynolds / (re * 0.88);
        EXPECT_NEAR(transitionAt(re, retarded), 0.12 + run, 0.2 * run) << re;
    }
    // Where the speed comes back to the separation speed within the run, the
    // bubble closes and the layer goes on laminar.
    const auto dip = [](double s) { return s < 0.2 ? 1.0 - s : std::min(1.0, 0.8 + 4.0 * (s - 0.2)); };
    EXPECT_LT(transitionAt(2e5, dip), 0.0);
    EXPECT_GT(transitionAt(2e6, dip), 0.12) << "a short run turns turbulent inside the dip";
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/stages.h"

#include <algorithm>
#include <cstring>

namespace velmora::eppler {

namespace {

constexpr double kH12Cap = 2.5;
constexpr double kFlagThreshold = 0.958;
constexpr double kRecoveryLevel = -1.6;
// Far beyond what any real step needs; a step that still has not reached
// its end is a numerical fault, not a reason to hang.
constexpr int kSubStepLimit = 100000;

// Squire-Young is read off this far (chord units, along the surface) ahead
// of the trailing edge, interpolated between the nodes around it. At the
// trailing-edge node itself the panel solution's speed falls steeply, and
// whether the last panel happens to be flagged separated decided the drag;
// rounded or noisy coordinates tipped that either way. Ahead of the edge the
// value varies continuously with the geometry; the growth over the last
// percent of chord it leaves out is a few per cent of the drag.
constexpr double kDragStation = 0.01;

// Gradients ahead compared bitwise: NaN (no step ahead) equals NaN.
bool sameAhead(const std::array<double, 2> &a, const std::array<double, 2> &b)
{
    return std::memcmp(a.data(), b.data(), sizeof(double) * 2) == 0;
}

double finite(double value)
{
    if (!std::isfinite(value))
        fault("non-finite boundary-layer rate");
    return value;
}

#if defined(__GNUC__)
#define VELMORA_HOT inline __attribute__((always_inline))
#else
#define VELMORA_HOT inline
#endif

// The closure is the innermost work of every sub-step: inlined there, its
// divisions overlap with the step's own.
VELMORA_HOT ShapeFactor shapeFactor(double h32)
{
    ShapeFactor s;
    if (h32 < 0.0) {
        const double h = -h32;
        s.h12 = finite((h + 1.36364) / (4.36364 * h - 5.36364));
    } else if (h32 >= 1.57258) {
        s.h12 = h32 * (25.71578574 * h32 - 89.58214201) + 79.87084472;
        s.friction = h32 * (2.221687229 * h32 - 4.226252829) + 1.372390703;
    } else {
        s.h12 = 4.02922
            + checkedSqrt(h32 - 1.51509) * (h32 * (724.55916 - 227.1822 * h32) - 583.60182);
        s.friction = s.h12 * (s.h12 * (0.3915405523 - 0.03172850655 * s.h12) - 1.686094798)
            + 2.512588652;
    }
    return s;
}

// Unchecked: a non-finite value here makes the rates non-finite, and those
// are checked.
VELMORA_HOT Closure wallClosure(double r2, double h32, const ShapeFactor &shape)
{
    Closure c;
    if (h32 > 0.0) {
        c.twoCd = (h32 * (6.8377961 * h32 - 20.521103) + 15.707952) / r2;
        c.cfHalf = shape.friction / r2;
    } else if (h32 < 0.0) {
        const double g = (shape.h12 - 1.0) * r2;
        if (!(g > 0.0))
            fault("power of a non-positive number");
        // Both powers of g from one logarithm: the turbulent closure is the
        // innermost work of a polar, and pow twice costs more than the rest.
        const double lg = std::log(g);
        c.twoCd = 0.01 * std::exp(-0.166692 * lg);
        c.cfHalf = 0.045716 * std::exp(-1.26 * shape.h12 - 0.232 * lg);
    }
    return c;
}

VELMORA_HOT Rates stepRates(double h32, double delta2, double u, double h, double dUds, double sqrtRe)
{
    const double delta3 = std::fabs(h32) * delta2;
    const double r2 = sqrtRe * sqrtRe * u * delta2;
    const ShapeFactor shape = shapeFactor(h32);
    const Closure closure = wallClosure(r2, h32, shape);
    // Any non-finite part above carries into a rate: one check for all.
    const double gradient = dUds / u;
    Rates rates;
    rates.d2 = finite((closure.cfHalf - (shape.h12 + 2.0) * delta2 * gradient) * h);
    rates.d3 = finite((closure.twoCd - 3.0 * delta3 * gradient) * h);
    return rates;
}

} // namespace

ShapeFactor ShapeFactorH12(double h32)
{
    return shapeFactor(h32);
}

Closure WallClosure(double r2, double h32, const ShapeFactor &shape)
{
    Closure c = wallClosure(r2, h32, shape);
    if (h32 > 0.0) {
        finite(c.twoCd);
        finite(c.cfHalf);
    }
    return c;
}

Rates StepRates(double h32, double delta2, double u, double h, double dUds, double sqrtRe)
{
    return stepRates(h32, delta2, u, h, dUds, sqrtRe);
}

StepResult BoundaryLayerStep(double u1, double u2, double ds, float delta2In, float h32In,
                             double sqrtRe, StepCache &cache, const FlowAhead &ahead,
                             LaminarBubble *bubble)
{
    StepResult out;
    out.delta2 = delta2In;
    out.h32 = h32In;
    out.laminarPart = ds;
    out.attachedPart = ds;

    // The next Reynolds number at the same laminar step: laminar thickness
    // scales with 1/sqrt(Re), the shape factor does not change.
    const double scaled = double(delta2In) * sqrtRe;
    // A bubble's run depends on the Reynolds number itself.
    const bool inBubble = bubble && bubble->speed > 0.0f;
    const bool hit = cache.valid && cache.reusable && !inBubble && cache.outH32 > 0.0f && u1 > 0.0
        && std::fabs(u1 - cache.u1) + std::fabs(u2 - cache.u2) + std::fabs(ds - cache.ds)
                + std::fabs(double(h32In) - cache.h32)
            < 1e-7
        && std::fabs(scaled - cache.delta2Scaled) < 1e-7
        && sameAhead(ahead.gradient, cache.ahead);
    const double previousSqrtRe = cache.sqrtRe;
    cache.valid = true;
    cache.u1 = u1;
    cache.u2 = u2;
    cache.ds = ds;
    cache.h32 = h32In;
    cache.delta2Scaled = scaled;
    cache.ahead = ahead.gradient;
    cache.sqrtRe = sqrtRe;
    cache.reusable = !inBubble;
    auto remember = [&](const StepResult &r) {
        cache.outDelta2 = r.delta2;
        cache.outH32 = r.h32;
        if (bubble && bubble->speed > 0.0f)
            cache.reusable = false;
        return r;
    };
    if (hit) {
        out.h32 = cache.outH32;
        out.delta2 = stored(double(cache.outDelta2) * previousSqrtRe / sqrtRe);
        return remember(out);
    }

    if (!(ds > 0.0))
        return remember(out);
    const double dUds = (u2 - u1) / ds;

    // A laminar layer that has barely grown restarts from the stagnation
    // solution where the speed more than doubles; a turbulent one never does:
    // rounded or noisy points near the trailing edge make such jumps too.
    if (u1 == 0.0 || (h32In > 0.0f && (u2 - u1) / u1 > 1.0)) {
        // Stagnation-point flow (Hiemenz).
        if (bubble)
            *bubble = LaminarBubble{};
        out.delta2 = stored(0.290043 / (sqrtRe * checkedSqrt(dUds)));
        out.h32 = stored(1.619977);
        return remember(out);
    }
    if (delta2In <= 0.0f) {
        // Flat-plate (Blasius) start.
        out.delta2 = stored(checkedSqrt(2.0 * ds / (u1 + u2)) * 0.664108 / sqrtRe);
        out.h32 = stored(1.5725840);
        return remember(out);
    }

    double delta2 = delta2In;
    double h32 = h32In;
    double p = 0.0;
    double h = ds;
    int halvings = 0;
    int lastFailed = 0;
    if (h32 < 0.0)
        out.laminarPart = 0.0;
    // Whether a laminar layer at its separation limit thickens its shape
    // again: its dissipation outweighs the deceleration.
    static const double laminarLimitH12 = shapeFactor(kLaminarLimit).h12;
    auto laminarRecovers = [&](double d2, double u, double gradient) {
        if (!(gradient == gradient))
            return false;
        const Rates r = stepRates(kLaminarLimit, d2, u, 1.0, gradient, sqrtRe);
        return r.d3 - kLaminarLimit * r.d2 > 0.0;
    };

    // Runs the shear layer of a laminar separation bubble on from p0: at the
    // speed it separated with, so without wall shear and pressure gradient
    // its momentum thickness stays. It reattaches laminar where the speed
    // comes back to that speed; where its run is spent it turns turbulent,
    // and the turbulent layer takes up the pressure the bubble held back with
    // the growth of a separated layer. False when the bubble outlasts the step
    // (out is set); true to integrate on from p.
    auto runBubble = [&](double p0) {
        const double uSep = bubble->speed;
        const double end = p0 + double(bubble->runLeft);
        if (dUds > 0.0 && u1 + dUds * std::min(ds, end) >= uSep) {
            p = std::max(p0, (uSep - u1) / dUds);
            h32 = kLaminarLimit;
            *bubble = LaminarBubble{};
            cache.reusable = false;
            return true;
        }
        if (end <= ds) {
            const double uTurbulent = u1 + dUds * end;
            static const double turbulentH12 = shapeFactor(-kLaminarLimit).h12;
            delta2 *= checkedPow(uSep / uTurbulent, (turbulentH12 + 5.0) / 2.0);
            out.uTransition = uTurbulent;
            out.h32Transition = kLaminarLimit;
            out.laminarPart = end;
            h32 = -kLaminarLimit;
            p = end;
            halvings = 0;
            h = ds - p;
            *bubble = LaminarBubble{};
            cache.reusable = false;
            return true;
        }
        bubble->runLeft = stored(end - ds);
        out.delta2 = stored(delta2);
        out.h32 = stored(kLaminarLimit);
        return false;
    };
    if (inBubble && h32 > 0.0 && !runBubble(0.0))
        return remember(out);

    for (int iteration = 0;; ++iteration) {
        if (iteration == kSubStepLimit)
            fault("boundary-layer step makes no progress");
        h = std::min(h, ds - p);
        const double up = u1 + dUds * p;
        const double sign = h32 < 0.0 ? -1.0 : 1.0;
        double absH = std::fabs(h32);
        bool atLaminarLimit = false; // at the limit and recovering: no transition

        if (h32 < 0.0) {
            // A layer at the limit whose shape factor grows again (the
            // deceleration has eased) stays attached: a separation it only
            // touched is a bubble, not the end of the attached flow.
            auto recovers = [&] {
                const Rates atLimit = stepRates(h32, delta2, up, 1.0, dUds, sqrtRe);
                return atLimit.d3 - absH * atLimit.d2 > 0.0;
            };
            if (absH < kTurbulentLimit + kLimitTolerance && u2 < up && !recovers()) {
                // Turbulent separation: the rest of the step follows the
                // Squire-Young growth of a separated layer.
                out.attachedPart = p;
                const double h12 = shapeFactor(h32).h12;
                out.delta2 = stored(delta2 * checkedPow(up / u2, (h12 + 5.0) / 2.0));
                out.h32 = stored(h32);
                return remember(out);
            }
        } else if (h32 <= kLaminarLimit + kLimitTolerance) {
            // A laminar layer at its separation limit whose shape factor grows
            // again is integrated on. One that separates in a short dip of the
            // speed (the speed rises again along the next step, and the layer
            // recovers along the one after) reattaches laminar at the next
            // node: over a stretch this short the separated shear layer cannot
            // turn turbulent (that takes a run of some 10^4 in its Reynolds
            // number). A point slightly out of line makes such dips near the
            // nose, and whether the contour resolves it must not decide the
            // transition. Otherwise the layer separates: a separation bubble
            // follows, or without one to follow it turns turbulent there.
            h32 = kLaminarLimit;
            absH = kLaminarLimit;
            if (laminarRecovers(delta2, up, dUds))
                atLaminarLimit = true;
            else {
                // Without wall shear the momentum balance alone carries the
                // separated layer to the node.
                const double held = delta2 * checkedPow(up / u2, laminarLimitH12 + 2.0);
                if (u2 < up && ahead.gradient[0] > 0.0 && laminarRecovers(held, ahead.u[1], ahead.gradient[1])) {
                    out.delta2 = stored(held);
                    out.h32 = stored(kLaminarLimit);
                    return remember(out);
                }
            }
        }
        if (bubble && h32 > 0.0 && h32 <= kLaminarLimit + kLimitTolerance && !atLaminarLimit) {
            bubble->speed = stored(up);
            bubble->runLeft = stored(kBubbleReynolds / (sqrtRe * sqrtRe * up));
            if (!runBubble(p))
                return remember(out);
            continue;
        }
        if (h32 > 0.0 && h32 <= kLaminarLimit + kLimitTolerance && !atLaminarLimit) {
            // Without a bubble to follow, laminar separation is transition.
            out.uTransition = up;
            out.h32Transition = h32;
            out.laminarPart = p;
            h32 = -h32;
            halvings = 0;
            h = ds - p;
            continue;
        }

        const double limit = h32 < 0.0 ? kTurbulentLimit : kLaminarLimit;
        // Shortening towards the separation limit only makes sense from above
        // it; a turbulent layer below it in accelerating flow is integrated on.
        const bool canShorten = absH > limit + kLimitTolerance;
        const double delta3 = absH * delta2;
        // Advances to the point a fraction of this sub-step ahead where |H32|
        // reaches the limit, the values interpolated linearly; the top of the
        // loop then turns or separates the layer there.
        auto landOnLimit = [&](double fraction, double delta2End) {
            fraction = std::clamp(fraction, 0.0, 1.0);
            p = std::min(p + fraction * h, ds);
            delta2 += fraction * (delta2End - delta2);
            h32 = sign * limit;
            lastFailed = 0;
        };

        // The last trial's values, for a step that runs out of halvings.
        enum class Trial { None, MidPoint, Corrector } trial = Trial::None;
        double delta2m = 0.0, h32m = 0.0, delta2New = 0.0, h32New = 0.0;
        double nextH = h / 2.0;
        int failed = 0;

        const Rates predictor = stepRates(h32, delta2, up, h, dUds, sqrtRe);
        delta2m = delta2 + predictor.d2 / 2.0;
        const double delta3m = delta3 + predictor.d3 / 2.0;
        const double um = u1 + dUds * (p + h / 2.0);
        double measure6 = 0.0;
        if (!(delta2m > 0.0)) {
            failed = 1;
        } else {
            h32m = delta3m / delta2m;
            trial = Trial::MidPoint;
            if (!(h32m < 2.0)) {
                failed = 2;
            } else if (h32m < limit + kLimitTolerance && canShorten) {
                failed = 2;
                nextH = (absH - limit) * (h / 2.0) / (absH - h32m);
            } else if (atLaminarLimit && h32m < limit) {
                failed = 2; // recovering, but not over this whole sub-step
            } else {
                const Rates corrector = stepRates(sign * h32m, delta2m, um, h, dUds, sqrtRe);
                delta2New = delta2 + corrector.d2;
                if (!(delta2New > 0.0)) {
                    failed = 3;
                } else {
                    h32New = (delta3 + corrector.d3) / delta2New;
                    trial = Trial::Corrector;
                    measure6 = std::fabs(absH - 2.0 * h32m + h32New);
                    if (!(h32New < 2.0))
                        failed = 4;
                    else if (!(std::fabs(h32New - absH) <= 0.01) || (atLaminarLimit && h32New < limit))
                        failed = 5;
                    else if (!(measure6 <= 0.002))
                        failed = 6;
                    else if (h32New < limit + kLimitTolerance && canShorten) {
                        // The limit lies inside this sub-step: land on it,
                        // so that transition and separation move with the
                        // flow rather than wait for the next node.
                        landOnLimit((absH - limit) / (absH - h32New), delta2New);
                        continue;
                    }
                }
            }
        }

        if (failed != 0) {
            lastFailed = failed;
            if (halvings >= kHalvingLimit) {
                // Out of halvings. A trial that crossed the limit still tells
                // where: land there; otherwise keep the last trial.
                if (canShorten && trial == Trial::Corrector && h32New < limit + kLimitTolerance) {
                    landOnLimit((absH - limit) / (absH - h32New), delta2New);
                    continue;
                }
                if (canShorten && trial == Trial::MidPoint && h32m < limit + kLimitTolerance) {
                    landOnLimit((absH - limit) / (absH - h32m) / 2.0, delta2 + 2.0 * (delta2m - delta2));
                    continue;
                }
                if (trial == Trial::Corrector) {
                    out.delta2 = stored(delta2New);
                    out.h32 = stored(sign * h32New);
                } else if (trial == Trial::MidPoint) {
                    out.delta2 = stored(delta2m);
                    out.h32 = stored(sign * h32m);
                } else {
                    out.delta2 = stored(delta2);
                    out.h32 = stored(h32);
                }
                return remember(out);
            }
            ++halvings;
            h = nextH;
            continue;
        }

        p += h;
        delta2 = delta2New;
        h32 = sign * h32New;
        if (p >= ds)
            break;
        if (lastFailed == 4) {
            if (h32New - absH < 0.0) {
                h *= 2.0;
                --halvings;
            }
        } else if (lastFailed != 2 && lastFailed != 5) {
            if (measure6 < 0.1 * 0.002) {
                h *= 2.0;
                --halvings;
            }
        }
        lastFailed = 0;
    }
    out.delta2 = stored(delta2);
    out.h32 = stored(h32);
    return remember(out);
}

namespace {

// The layer at the end of a step as the trace keeps it. Friction and
// dissipation come from the closure the steps use; a layer whose state has
// no closure value there (a laminar step ending a hair below its limit) is
// taken at the limit.
TraceNode traceNode(const Contour &c, int f, float s, double u, const StepResult &r, bool separated, double re)
{
    TraceNode n;
    n.node = f - 1;
    n.s = s;
    n.x = c.x[f];
    n.v = stored(u);
    n.delta2 = r.delta2;
    const double h = std::fabs(double(r.h32));
    n.h32 = stored(h);
    n.delta3 = stored(h * double(r.delta2));
    n.state = separated ? LayerState::Separated : r.h32 < 0.0f ? LayerState::Turbulent : LayerState::Laminar;
    const double shape = r.h32 > 0.0f ? std::max(h, kLaminarLimit) : -h;
    const ShapeFactor sf = ShapeFactorH12(shape);
    n.h12 = stored(sf.h12);
    if (!separated) {
        const double r2 = re * u * double(r.delta2);
        if (r2 > 0.0 && (shape > 0.0 || sf.h12 > 1.0)) {
            const Closure closure = WallClosure(r2, shape, sf);
            n.cf = stored(2.0 * closure.cfHalf);
            n.cd = stored(closure.twoCd / 2.0);
        }
    }
    return n;
}

} // namespace

void BoundaryLayerMarch(const Contour &c, const double *v, const float *reynolds, int reynoldsCount,
                        StepCache &cache, SideOutcome *upper, SideOutcome *lower, BoundaryLayerTrace *trace)
{
    const int traced = trace && trace->reynolds >= 0 && trace->reynolds < reynoldsCount ? trace->reynolds : -1;
    const int n = c.n;
    int i0 = 1;
    while (i0 < n - 1 && v[i0] > -0.1)
        ++i0;
    if (i0 < 2)
        fault("stagnation point at the trailing edge");
    const int iu = v[i0 - 1] < 0.1 ? i0 - 2 : i0 - 1;
    if (iu < 1)
        fault("no upper side to march");

    for (int side = 1; side <= 2; ++side) {
        const int first = side == 1 ? iu : i0;
        const int last = side == 1 ? 1 : n;
        const int stepDir = side == 1 ? -1 : 1;
        const int across = first - stepDir;
        // Panel between the first node and the node across the stagnation point.
        const double startLen = c.len[side == 1 ? iu + 1 : i0];
        const double uf = v[first];
        const double up = v[across];
        const double ds0 = startLen * uf / (uf - up);
        if (!std::isfinite(ds0))
            fault("stagnation point not found between two nodes");

        std::array<float, kMaxReynolds> h32{}, delta2{}, lamRun{}, attRun{}, transitionFactor{},
            recoverySpeed{};
        std::array<double, kMaxReynolds> sqrtRe{};
        std::array<bool, kMaxReynolds> separated{};
        std::array<LaminarBubble, kMaxReynolds> bubble{};
        for (int j = 0; j < reynoldsCount; ++j) {
            h32[j] = 1.0f;
            transitionFactor[j] = 0.99f;
            recoverySpeed[j] = 0.1f;
            sqrtRe[j] = checkedSqrt(reynolds[j]);
        }

        // The drag is read off kDragStation ahead of the trailing edge.
        double sideLength = ds0;
        for (int f = first; f != last; f += stepDir)
            sideLength += c.len[side == 1 ? f : f + 1];
        const double dragAt = sideLength - kDragStation;
        std::array<double, kMaxReynolds> wakeDrag{}, dragBefore{};
        double sBefore = 0.0;
        bool dragTaken = false;

        // Arc length in the same precision as the runs accumulated along it,
        // so that a side laminar or attached throughout gives exactly 0.
        float s = 0.0f;
        double u1 = 0.0;
        double ds = ds0;
        FlowAhead aheadBefore;
        for (int f = first;; f += stepDir) {
            const double u2 = std::fabs(v[f]);
            s = stored(double(s) + ds);
            // Only the nodes either side of the drag station are needed.
            const double nextLen = f == last ? 0.0 : c.len[side == 1 ? f : f + 1];
            const bool needDrag = !dragTaken && double(s) + 1.01 * nextLen + 1e-6 >= dragAt;
            auto wakeDragStep = [&](int j) {
                // A laminar step that ran out of halvings may end a hair below
                // the separation limit, where the fit has no value.
                const double shape = h32[j] > 0.0f ? std::max(double(h32[j]), kLaminarLimit) : double(h32[j]);
                const double h12 = std::min(ShapeFactorH12(shape).h12, kH12Cap);
                // An open bubble holds its separation speed at the edge.
                const double edge = std::max(u2, double(bubble[j].speed));
                const double here = 2.0 * checkedPow(edge, (h12 + 5.0) / 2.0) * double(delta2[j]);
                wakeDrag[j] = f == first || !(double(s) > dragAt)
                    ? here
                    : dragBefore[j] + (here - dragBefore[j]) * (dragAt - sBefore) / (double(s) - sBefore);
                dragBefore[j] = here;
            };
            // The step after this node was the second one ahead of the last.
            FlowAhead ahead;
            int k = 0;
            if (f != first && f != last) {
                ahead.u[0] = aheadBefore.u[1];
                ahead.gradient[0] = aheadBefore.gradient[1];
                k = 1;
            }
            for (int at = f + k * stepDir; k < 2 && at != last; ++k, at += stepDir) {
                ahead.u[size_t(k)] = std::fabs(v[at]);
                ahead.gradient[size_t(k)] =
                    (std::fabs(v[at + stepDir]) - ahead.u[size_t(k)]) / c.len[side == 1 ? at : at + 1];
            }
            aheadBefore = ahead;
            for (int j = 0; j < reynoldsCount; ++j) {
                const float previous = h32[j];
                const StepResult r =
                    BoundaryLayerStep(u1, u2, ds, delta2[j], h32[j], sqrtRe[j], cache, ahead, &bubble[j]);
                if (f == first) {
                    lamRun[j] = 0.0f;
                    attRun[j] = 0.0f;
                }
                lamRun[j] = stored(double(lamRun[j]) + r.laminarPart);
                // Once separation has cut a step short the attached run stops
                // growing; a layer that then runs attached through a whole
                // step has reattached, and what lay before was a bubble.
                if (!separated[j]) {
                    attRun[j] = stored(double(attRun[j]) + r.attachedPart);
                    separated[j] = r.attachedPart < ds;
                } else if (r.attachedPart >= ds) {
                    separated[j] = false;
                    attRun[j] = s;
                }
                double before = previous;
                if (previous > 0.0f && r.h32 < 0.0f) {
                    transitionFactor[j] = stored(1.0 - r.uTransition * r.uTransition);
                    before = -1.51509;
                }
                if (before > kRecoveryLevel && r.h32 <= kRecoveryLevel && double(recoverySpeed[j]) <= 0.11) {
                    recoverySpeed[j] =
                        stored(u1 + (u2 - u1) * (kRecoveryLevel - before) / (r.h32 - before));
                }
                h32[j] = r.h32;
                delta2[j] = r.delta2;
                if (j == traced)
                    trace->sides[size_t(side - 1)].nodes.push_back(
                        traceNode(c, f, s, std::max(u2, double(bubble[j].speed)), r, separated[j],
                                  double(reynolds[j])));
                if (needDrag)
                    wakeDragStep(j);
            }
            if (double(s) >= dragAt)
                dragTaken = true;
            sBefore = s;
            u1 = u2;
            if (f == last)
                break;
            ds = c.len[side == 1 ? f : f + 1];
        }

        // x of the contour point `run` back from the trailing edge along the
        // path marched, the part panel from the stagnation point included.
        auto pointBehind = [&](double run) {
            int at = last;
            while (at != first) {
                const int before = at - stepDir;
                const double piece = c.len[side == 1 ? before : at];
                if (run <= piece)
                    return double(c.x[at]) + (double(c.x[before]) - double(c.x[at])) * run / piece;
                run -= piece;
                at = before;
            }
            const double toward = std::min(run / startLen, ds0 / startLen);
            return double(c.x[first]) + (double(c.x[across]) - double(c.x[first])) * toward;
        };

        const double uTe = std::fabs(v[last]);
        SideOutcome *outcome = side == 1 ? upper : lower;
        for (int j = 0; j < reynoldsCount; ++j) {
            // Still the initial value (compared as stored, so 0.1 itself counts).
            if (h32[j] < 0.0f && recoverySpeed[j] <= 0.1f)
                recoverySpeed[j] = stored(uTe);
            // A speed drop of more than 4.2 % between transition and turbulent
            // recovery flags a laminar separation bubble.
            const double rs = recoverySpeed[j];
            const double drop = rs * rs / (1.0 - double(transitionFactor[j]));
            const double sign = kFlagThreshold * kFlagThreshold > finite(drop) ? -1.0 : 1.0;
            const float drag = stored(sign * wakeDrag[j]);
            outcome[j].signedDrag = drag;
            outcome[j].result.transitionRun = stored(double(s) - double(lamRun[j]));
            const float run = outcome[j].result.transitionRun;
            outcome[j].result.transitionX =
                run <= 0.0f ? 1.0f : stored(std::clamp(pointBehind(run), 0.0, 1.0));
            outcome[j].result.separatedRun = stored(double(s) - double(attRun[j]));
            outcome[j].result.sideDrag = std::fabs(drag);
            outcome[j].result.bubbleFlag = drag < 0.0f ? 1.0f : 0.0f;
            if (j == traced) {
                SideTrace &t = trace->sides[size_t(side - 1)];
                t.drag = outcome[j].result.sideDrag;
                if (run > 0.0f) {
                    t.transitionS = lamRun[j];
                    t.transitionX = outcome[j].result.transitionX;
                }
                const float separatedRun = outcome[j].result.separatedRun;
                if (separatedRun > 0.0f) {
                    t.separationS = attRun[j];
                    t.separationX = stored(std::clamp(pointBehind(separatedRun), 0.0, 1.0));
                }
            }
        }
    }
}

} // namespace velmora::eppler

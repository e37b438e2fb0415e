// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/eppler.h"

#include "analysis/stages.h"

#include <algorithm>
#include <cstring>

namespace velmora {

using namespace eppler;

struct EpplerSolver::Work
{
    // The panel solution depends on the contour alone; it is kept for the
    // last contour so that a polar (many batches) or a re-run after a change
    // of angle or Reynolds number skips the O(n^3) part.
    bool cached = false;
    int cachedCount = 0;
    std::array<float, kMaxNodes> cachedX{}, cachedY{};
    int solutions = 0;

    Contour contour;
    PanelSolution panel;
    PanelWorkspace workspace;
    StepCache stepCache;
    std::array<double, kMaxNodes + 1> v{};
    std::array<SideOutcome, kMaxReynolds> upper{}, lower{};
};

namespace {

// Beyond these no profile the method can describe goes; a contour that gets
// there is one the panel solution cannot take.
constexpr double kZeroLiftBound = 30.0;
constexpr double kLiftBound = 5.0;
constexpr double kDragBound = 1.0;

void validateContour(const TEpplerInput &in)
{
    if (in.pointCount < kMinNodes || in.pointCount > kMaxNodes)
        fault("point count outside the engine's range");
    for (int i = 0; i < in.pointCount; ++i) {
        if (!std::isfinite(in.x[i]) || !std::isfinite(in.y[i]))
            fault("non-finite coordinate");
    }
}

void validate(const TEpplerInput &in)
{
    validateContour(in);
    if (in.alphaCount < 1 || in.alphaCount > kMaxAngles)
        fault("angle count outside the engine's range");
    if (in.reynoldsCount < 1 || in.reynoldsCount > kMaxReynolds)
        fault("Reynolds number count outside the engine's range");
    if (in.angleMode != 1)
        fault("unsupported angle mode");
    for (int k = 0; k < in.alphaCount; ++k) {
        if (!std::isfinite(in.alphas[k]))
            fault("non-finite angle of attack");
    }
    for (int j = 0; j < in.reynoldsCount; ++j) {
        if (!(in.reynolds[j] > 0.0f) || !std::isfinite(in.reynolds[j]))
            fault("Reynolds number not positive");
    }
}

// Slope angles (degrees) of the rear 6 % of each side, from the point
// farthest from the trailing edge within it; 0 when no point qualifies.
void trailingEdgeSlopes(const Contour &c, double &upperSlope, double &lowerSlope)
{
    upperSlope = 0.0;
    lowerSlope = 0.0;
    const int n = c.n;
    const int q = n / 4;
    for (int l = 2; l <= q; ++l) {
        if (double(c.x[l]) > 0.94 * double(c.x[1])) {
            upperSlope = stored((double(c.y[l]) - double(c.y[1]))
                                / ((double(c.x[1]) - double(c.x[l])) * kDegree));
        }
        const int k = n - l + 1;
        if (double(c.x[k]) > 0.94 * double(c.x[n])) {
            lowerSlope = stored((double(c.y[n]) - double(c.y[k]))
                                / ((double(c.x[n]) - double(c.x[k])) * kDegree));
        }
    }
}

} // namespace

namespace eppler {

void NodeVelocity(const Contour &c, const PanelSolution &ps, double alpha, double *v)
{
    const double cosA = std::cos(alpha * kVelocityDegree);
    const double sinA = std::sin(alpha * kVelocityDegree);
    for (int i = 1; i <= c.n; ++i)
        v[i] = double(ps.gamma0[i]) * cosA + double(ps.gamma90[i]) * sinA;
}

// The constant part of 1 - v^2 integrates to zero round the closed contour.
double PressureMoment(const Contour &c, const double *v)
{
    const int n = c.n;
    auto r2 = [&](int i) {
        const double dx = double(c.x[i]) - 0.25;
        const double dy = c.y[i];
        return dx * dx + dy * dy;
    };
    double sum = 0.0;
    double r2Prev = r2(n);
    double qPrev = v[n] * v[n];
    for (int i = 1; i <= n; ++i) {
        const double r2i = r2(i);
        const double qi = v[i] * v[i];
        sum += r2i * qPrev - r2Prev * qi;
        r2Prev = r2i;
        qPrev = qi;
    }
    return sum / 4.0;
}

Coefficients ViscousCoefficients(double alphaRel, double alpha0, double upperSlope, double lowerSlope,
                                 double chord, const SideOutcome &up, const SideOutcome &lo, double cm0)
{
    const double alpha = alphaRel + alpha0;
    const double gUp = std::max(alpha + upperSlope, 0.0);
    const double gLo = std::min(alpha - lowerSlope, 0.0);
    const double sepUp = up.result.separatedRun;
    const double sepLo = lo.result.separatedRun;
    const double dAlpha = stored((gUp * sepUp + gLo * sepLo) / 2.0);
    // Separation takes lift away towards zero; it never turns it round, nor
    // adds to it.
    const double attached = chord * 0.11 * alphaRel;
    const double separated = chord * 0.11 * (alphaRel - dAlpha);
    const double ca = attached >= 0.0 ? std::clamp(separated, 0.0, attached)
                                      : std::clamp(separated, attached, 0.0);
    const double effective = chord > 0.0 ? alphaRel - ca / (chord * 0.11) : double(dAlpha);
    Coefficients c;
    c.alphaRel = stored(alphaRel);
    c.ca = stored(ca);
    c.cm = stored(std::pow(std::fabs(1.0 - sepUp - sepLo), 1.5) * effective * 0.0275 + cm0);
    c.cw = stored(std::fabs(double(up.signedDrag)) + std::fabs(double(lo.signedDrag)));
    return c;
}

} // namespace eppler

EpplerSolver::EpplerSolver()
    : m_work(std::make_unique<Work>())
{
}

EpplerSolver::~EpplerSolver() = default;

int EpplerSolver::panelSolutionCount() const
{
    return m_work->solutions;
}

bool EpplerSolver::holdsPanelSolution() const
{
    return m_work->cached;
}

void EpplerSolver::setPanelThreads(int threads, HelperThread *helper)
{
    m_work->workspace.threads = threads;
    m_work->workspace.lentTeam = helper;
}

bool EpplerSolver::adoptPanelSolution(const EpplerSolver &other)
{
    const Work &from = *other.m_work;
    if (!from.cached)
        return false;
    Work &w = *m_work;
    w.contour = from.contour;
    w.panel = from.panel;
    w.cachedCount = from.cachedCount;
    w.cachedX = from.cachedX;
    w.cachedY = from.cachedY;
    w.cached = true;
    return true;
}

void EpplerSolver::ensurePanelSolution(const TEpplerInput &input)
{
    Work &w = *m_work;
    Contour &c = w.contour;
    const int n = input.pointCount;
    const bool reuse = w.cached && w.cachedCount == n
        && std::memcmp(w.cachedX.data(), input.x.data(), sizeof(float) * size_t(n)) == 0
        && std::memcmp(w.cachedY.data(), input.y.data(), sizeof(float) * size_t(n)) == 0;
    if (reuse)
        return;
    w.cached = false;
    c = Contour{};
    c.n = n;
    std::copy_n(input.x.begin(), n, c.x.begin() + 1);
    std::copy_n(input.y.begin(), n, c.y.begin() + 1);
    ContourTangents(c);
    PanelSolve(c, w.workspace, w.panel);
    ++w.solutions;
    w.cachedCount = n;
    std::copy_n(input.x.begin(), n, w.cachedX.begin());
    std::copy_n(input.y.begin(), n, w.cachedY.begin());
    w.cached = true;
}

void EpplerSolver::solvePanel(const TEpplerInput &input)
{
    validateContour(input);
    ensurePanelSolution(input);
}

TEpplerOutput EpplerSolver::run(const TEpplerInput &input)
{
    TEpplerOutput output;
    run(input, output);
    return output;
}

void EpplerSolver::run(const TEpplerInput &input, TEpplerOutput &out)
{
    run(input, out, nullptr);
}

void EpplerSolver::run(const TEpplerInput &input, TEpplerOutput &out, BoundaryLayerTrace *trace)
{
    if (trace)
        trace->clear();
    validate(input);
    Work &w = *m_work;
    Contour &c = w.contour;
    const int n = input.pointCount;
    out = TEpplerOutput{};
    w.stepCache = StepCache{};

    ensurePanelSolution(input);
    const PanelSolution &ps = w.panel;

    double upperSlope = 0.0, lowerSlope = 0.0;
    trailingEdgeSlopes(c, upperSlope, lowerSlope);

    out.zeroLiftAngle = ps.alpha0;
    out.liftAt0 = ps.liftAt0;
    out.liftAt90 = ps.liftAt90;
    out.pointCountOut = n;
    std::copy_n(c.x.begin() + 1, n, out.xOut.begin());
    std::copy_n(c.y.begin() + 1, n, out.yOut.begin());

    const double alpha0 = ps.alpha0;
    const double chord = c.x[1];
    if (!(std::fabs(alpha0) <= kZeroLiftBound))
        fault("zero-lift angle outside physical bounds");
    double *v = w.v.data();
    for (int k = 0; k < input.alphaCount; ++k) {
        const double given = input.alphas[k] <= -99.0f ? 0.0 : double(input.alphas[k]);
        const float alphaRel = stored(given - alpha0);
        NodeVelocity(c, ps, double(alphaRel) + alpha0, v);
        const double cm0 = PressureMoment(c, v);
        for (int i = 1; i <= n; ++i)
            out.nodeValue[i - 1][k] = stored(std::fabs(v[i]));

        BoundaryLayerMarch(c, v, input.reynolds.data(), input.reynoldsCount, w.stepCache,
                           w.upper.data(), w.lower.data(), trace && trace->angle == k ? trace : nullptr);
        for (int j = 0; j < input.reynoldsCount; ++j) {
            const Coefficients co = ViscousCoefficients(alphaRel, alpha0, upperSlope, lowerSlope,
                                                        chord, w.upper[j], w.lower[j], cm0);
            if (!(std::fabs(co.ca) <= kLiftBound) || !(co.cw <= kDragBound))
                fault("coefficients outside physical bounds");
            out.alphaRel[k][j] = co.alphaRel;
            out.ca[k][j] = co.ca;
            out.cm[k][j] = co.cm;
            out.cw[k][j] = co.cw;
            out.upper[k][j] = w.upper[j].result;
            out.lower[k][j] = w.lower[j].result;
        }
    }
}

TEpplerOutput EpplerRun(const TEpplerInput &input)
{
    EpplerSolver solver;
    return solver.run(input);
}

} // namespace velmora

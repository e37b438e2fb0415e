// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The engine's stages, exposed for the engine's own tests. Every array here is
// numbered from 1 (element 0 unused) so that the code reads like its formulas.

#include "analysis/eppler.h"
#include "analysis/helperthread.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <memory>
#include <vector>

namespace velmora::eppler {

// The engine's own constants; results depend on them, so they are not the
// library's pi or degree.
inline constexpr double kPi = 3.1415927;
inline constexpr double kDegree = 0.017453292;
inline constexpr double kVelocityDegree = 0.0174532925199;

// Tangent sweeps that still correct by more than 1e-6 after this many
// sweeps belong to a contour that does not converge.
inline constexpr int kTangentSweepLimit = 2000;

[[noreturn]] void fault(const char *what);

// Rounds to single precision as every stored value is; a value that is not
// finite (or does not fit a float) is a numerical fault of the run.
inline float stored(double value)
{
    if (!(std::fabs(value) <= double(FLT_MAX)))
        fault("non-finite intermediate result");
    return static_cast<float>(value);
}

inline double checkedLog(double value)
{
    if (!(value > 0.0))
        fault("logarithm of a non-positive number");
    return std::log(value);
}

inline double checkedSqrt(double value)
{
    if (!(value >= 0.0))
        fault("square root of a negative number");
    return std::sqrt(value);
}

// base^exponent for a fractional exponent: the base must be positive (zero
// only with a positive exponent).
inline double checkedPow(double base, double exponent)
{
    if (!(base > 0.0 || (base == 0.0 && exponent > 0.0)))
        fault("power of a non-positive number");
    return std::pow(base, exponent);
}

using NodeArray = std::array<float, kMaxNodes + 1>;

struct Contour
{
    int n = 0;
    NodeArray x{}, y{};
    NodeArray len{};   // len[i]: node i-1 -> node i; len[1]: closing panel node n -> node 1
    NodeArray psi{};   // left-normal angle of panel i
    NodeArray theta{}; // left-normal angle of the fitted tangent at node i
    bool open = false; // blunt trailing edge: len[1] > 1e-4 chord
};

// Fills len[2..n], psi[2..n] and theta[1..n] of `c` from its nodes. Throws on
// coincident consecutive nodes and when the sweeps do not converge within
// maxSweeps. Returns the number of sweeps run.
int ContourTangents(Contour &c, int maxSweeps = kTangentSweepLimit);

struct PanelSolution
{
    NodeArray gamma0{};  // surface speed for the free stream along +x
    NodeArray gamma90{}; // ... along +y; gamma[n] = -gamma[1]
    float liftAt0 = 0;
    float liftAt90 = 0;
    float alpha0 = 0; // zero-lift angle, degrees
};

// The number of straight sub-panels for a curved panel: floor(ratio^0.333333
// + 1), ratio = sag / (distance * 1e-5). Mostly answered by comparing with
// precomputed bounds; pow only decides close to a bound, so the result is
// always the formula's.
class SubPanelRule
{
public:
    SubPanelRule();
    int count(double ratio) const
    {
        if (!(ratio >= 1.0))
            return 1;
        // m_bound[j] <= ratio < m_bound[j + 1]; most ratios lie below the
        // first few bounds, so a short walk up beats a search.
        int j = 1;
        while (j <= kBounds && m_bound[size_t(j) + 1] <= ratio)
            ++j;
        // pow carries at most an ulp of error; well away from a bound the
        // comparison decides exactly as the formula does.
        constexpr double kMargin = 1e-9;
        if (j <= kBounds && ratio > m_bound[size_t(j)] * (1.0 + kMargin)
            && ratio < m_bound[size_t(j) + 1] * (1.0 - kMargin))
            return j + 1;
        return countByFormula(ratio);
    }

private:
    static int countByFormula(double ratio);
    static constexpr int kBounds = 64;
    std::array<double, kBounds + 2> m_bound{}; // m_bound[j]: the ratio at which floor(...) reaches j + 1
};

// One straight piece of a curved panel.
struct SubPanel
{
    double fromX = 0, fromY = 0;
    double tx = 0, ty = 0; // unit direction
    double length = 0;
};

// The straight sub-panels of one condition row whose kernels are evaluated
// together, in vectors: the kernels' logarithms and arc tangents are most of
// a row's work. Sub-panel u of the k of its panel adds p, q and curvature to
// the panel's start-node, end-node and curvature weights.
struct KernelBatch
{
    std::vector<double> fromX, fromY, tx, ty, length;
    std::vector<double> pieces, piece; // k and u
    std::vector<double> p, q, curvature;
    int size = 0;

    // Room for `count` sub-panels, and the padding to whole vectors.
    void reserve(int count)
    {
        if (size_t(count) + 4 > fromX.size())
            grow(size_t(count) + 4);
    }
    // Writes sub-panel u of k at index i (below the reserved count) through
    // pointers taken once: stores through the vectors' own would reload them.
    struct Writer
    {
        double *fromX, *fromY, *tx, *ty, *length, *pieces, *piece;
        void put(int i, const SubPanel &s, int k, int u) const
        {
            fromX[i] = s.fromX;
            fromY[i] = s.fromY;
            tx[i] = s.tx;
            ty[i] = s.ty;
            length[i] = s.length;
            pieces[i] = k;
            piece[i] = u;
        }
    };
    Writer writer()
    {
        return {fromX.data(), fromY.data(), tx.data(), ty.data(), length.data(), pieces.data(), piece.data()};
    }

private:
    void grow(size_t atLeast);
};

// Dense storage of the least-squares system, sized for kMaxNodes. Left
// uninitialised: a solve writes every element it reads, and pages of a large
// capacity that a small contour never touches cost nothing.
class PanelWorkspace
{
public:
    PanelWorkspace();
    std::unique_ptr<float[]> a;       // rows 1..m of the conditions, row-major, stride m
    std::unique_ptr<double[]> wide;   // the condition rows (and w) widened to double, stride m
    std::unique_ptr<double[]> normal; // A^T A accumulated in double, stride m
    std::unique_ptr<float[]> n;       // the normal matrix as stored, stride m
    std::unique_ptr<float[]> rhs;     // two right-hand sides per condition row
    std::unique_ptr<float[]> solution; // two columns per unknown
    std::array<double, kMaxNodes + 1> row{};
    std::array<float, kMaxNodes + 1> w{};
    // Sub-panels of each panel for the count last used with it; rows next to
    // each other mostly need the same count.
    static constexpr int kCachedSubPanels = 48;
    std::unique_ptr<SubPanel[]> subPanels;
    std::array<int, kMaxNodes + 1> subPanelCount{};
    // The row being built: its sub-panels, and where each panel's start.
    KernelBatch batch;
    std::vector<SubPanel> extraSubPanels; // pieces of panels split finer than the cache holds
    std::array<int, kMaxNodes + 1> firstJob{}, jobCount{};
    std::array<double, kMaxNodes + 4> reach{}, sagRatio{}; // per panel, for the row's control point
    // Each panel's weights for the row's control point, and what a panel
    // with neighbours on both sides adds to its four nodes.
    std::array<double, kMaxNodes + 4> weightP{}, weightQ{}, weightK{};
    std::array<double, kMaxNodes + 4> toBefore{}, toStart{}, toEnd{}, toAfter{};
    SubPanelRule subPanelRule;
    // The contour whose condition rows `a` and `wide` hold, once a solve has
    // built them all. The next solve keeps what a local change (an edit of a
    // point or a few) cannot reach and rebuilds the rest, with the same bits.
    Contour rowsOf;
    bool rowsKept = false;
    int patchedRows = 0; // rows the last solve only patched
    // Threads that share a solution (influence rows, normal equations,
    // elimination): 0 means one per core (at most two are used), 1 runs on
    // the caller only. The result does not depend on it.
    int threads = 0;
    // The second thread's row buffer and sub-panel cache, made when first needed.
    std::unique_ptr<PanelWorkspace> helper;
    // The second thread itself, kept from solution to solution.
    std::unique_ptr<HelperThread> team;
    // A thread lent by the owner (a sweep's) to use instead of `team`: one
    // thread that stays busy from the rows to the angles keeps spinning, where
    // a second one would have gone to sleep between solutions.
    HelperThread *lentTeam = nullptr;
};

// Solves the two basic flows of a contour whose tangents are fitted. Fills
// len[1] and, for an open trailing edge, psi[1].
void PanelSolve(Contour &c, PanelWorkspace &ws, PanelSolution &out);

// The first row of the second half of an m x m upper triangle, by elements:
// where two threads that share the triangle's rows split them.
int TriangleHalf(int m);

// Upper triangle (j >= i) of N = sum over rows of row^T row, accumulated in
// double in row order, and r = sum of row^T rhs (two columns). The rows hold
// floats widened to double, so every product is exact. `normal` has stride m;
// its lower triangle is left alone. With a `helper` two threads share the
// work; the bits do not depend on it.
void NormalEquations(const double *const *rows, const float *const *rhs, int rowCount, int m,
                     double *normal, double *r, HelperThread *helper = nullptr);

// In-place Gauss-Jordan elimination with partial pivoting: `a` is size x size
// row-major with stride `stride`, `b` holds rhsCount values per row. On
// return b holds the solutions. A pivot column whose largest magnitude is not
// above |tolerance| is a singular system: throws EpplerError. With a
// `helper` two threads share the work; the bits do not depend on it.
void GaussSolve(float *a, int stride, float *b, int size, float tolerance, int rhsCount,
                HelperThread *helper = nullptr);

// --- boundary layer -------------------------------------------------------

inline constexpr double kLaminarLimit = 1.515095;
inline constexpr double kTurbulentLimit = 1.46;
inline constexpr double kLimitTolerance = 5e-6;
inline constexpr int kHalvingLimit = 12;

struct ShapeFactor
{
    double h12 = 0;
    double friction = 0; // laminar friction term (unused when turbulent)
};
ShapeFactor ShapeFactorH12(double h32);

struct Closure
{
    double twoCd = 0;
    double cfHalf = 0;
};
Closure WallClosure(double r2, double h32, const ShapeFactor &shape);

struct Rates
{
    double d2 = 0; // change of delta2 over the sub-step
    double d3 = 0; // change of delta3
};
Rates StepRates(double h32, double delta2, double u, double h, double dUds, double sqrtRe);

// The previous step's key and result; reused for the next Reynolds number at
// the same laminar step. Lives with the run, reset at its start.
struct StepCache
{
    bool valid = false;
    double u1 = 0, u2 = 0, ds = 0, h32 = 0, delta2Scaled = 0;
    std::array<double, 2> ahead{};
    bool reusable = false; // the result scales with 1/sqrtRe (no bubble took part)
    double sqrtRe = 0;
    float outDelta2 = 0, outH32 = 0;
};

struct StepResult
{
    float delta2 = 0;
    float h32 = 0; // sign = state: > 0 laminar, < 0 turbulent
    double laminarPart = 0;
    double attachedPart = 0;
    double uTransition = 0;
    double h32Transition = 0;
};

// The two steps after this one: the speed at their start and dU/ds along
// them (NaN where the side ends before). They decide whether a laminar layer
// that separates in this step reattaches: only where the speed rises again.
struct FlowAhead
{
    std::array<double, 2> u{std::nan(""), std::nan("")};
    std::array<double, 2> gradient{std::nan(""), std::nan("")};
};

// A laminar layer that has separated and not yet turned turbulent: its shear
// layer runs on at the speed it left the wall with (the separation bubble
// holds the pressure) until its run reaches kBubbleReynolds / (Re U). speed
// is 0 while the layer is attached.
struct LaminarBubble
{
    float speed = 0;
    float runLeft = 0;
};

// Reynolds number (speed at separation times run) after which the shear layer
// of a laminar separation bubble has turned turbulent; measurements give some
// 2e4 to 5e4, the low end is taken.
inline constexpr double kBubbleReynolds = 2e4;

// With a bubble, a laminar layer that separates runs on as a bubble (updated
// in place) instead of turning turbulent where it separates; without one it
// turns turbulent there.
StepResult BoundaryLayerStep(double u1, double u2, double ds, float delta2, float h32, double sqrtRe,
                             StepCache &cache, const FlowAhead &ahead = {}, LaminarBubble *bubble = nullptr);

struct SideOutcome
{
    TSideResult result;
    float signedDrag = 0; // negative when flagged
};

// Marches both sides at one angle for every Reynolds number. v[1..n] are the
// signed node speeds. Writes upper[j], lower[j] for j < reynoldsCount. With a
// trace, appends the nodes of Reynolds number trace->reynolds to its sides
// and sets their transition, separation and drag (sides empty on entry).
void BoundaryLayerMarch(const Contour &c, const double *v, const float *reynolds, int reynoldsCount,
                        StepCache &cache, SideOutcome *upper, SideOutcome *lower,
                        BoundaryLayerTrace *trace = nullptr);

// --- per angle ----------------------------------------------------------

// Signed surface speed v[1..n] of every node at a geometric angle (degrees):
// positive on the upper side (flowing towards node 1), negative on the lower.
void NodeVelocity(const Contour &c, const PanelSolution &ps, double alpha, double *v);

// Inviscid moment coefficient about (0.25, 0), nose-up positive, from the
// node speeds by the trapezoidal rule round the closed contour.
double PressureMoment(const Contour &c, const double *v);

struct Coefficients
{
    float alphaRel, ca, cm, cw;
};

// Thin-airfoil lift reduced by an effective angle that grows with the
// separated lengths; the moment gets the matching correction; the drag is
// the sum of both sides' shares.
Coefficients ViscousCoefficients(double alphaRel, double alpha0, double upperSlope, double lowerSlope,
                                 double chord, const SideOutcome &up, const SideOutcome &lo, double cm0);

} // namespace velmora::eppler

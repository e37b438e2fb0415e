// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/stages.h"
#include "analysis/vectormath.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <cstring>
#include <numbers>

namespace velmora::eppler {

#if defined(__GNUC__)
#define VELMORA_PANEL_INLINE inline __attribute__((always_inline))
#else
#define VELMORA_PANEL_INLINE inline
#endif

void fault(const char *what)
{
    throw EpplerError(what);
}

namespace {

// Differences of normal angles are meant modulo a full turn; on any sensible
// contour they are small and this changes nothing, on a contour that runs
// the wrong way round it keeps them from jumping by 2 pi.
double turn(double angle)
{
    if (angle > std::numbers::pi)
        return angle - 2.0 * std::numbers::pi;
    if (angle < -std::numbers::pi)
        return angle + 2.0 * std::numbers::pi;
    return angle;
}

// Induced velocity (times 2 pi) of a straight vortex panel from (0,0) to
// (1,0) at (xi, eta), in panel units: (e, d) for the start-node hat, (c, b)
// for the end-node hat, (a, z) for the quadratic term.
struct Kernel
{
    double e, d, c, b, a, z;
};

Kernel panelKernel(double xi, double eta)
{
    const double x1 = xi - 1.0 / 3.0;
    const double r1 = x1 * x1 + eta * eta;
    if (r1 >= 10000.0) {
        const double x2 = xi - 2.0 / 3.0;
        const double r2 = x2 * x2 + eta * eta;
        return {eta / (2.0 * r1), -x1 / (2.0 * r1), eta / (2.0 * r2), -x2 / (2.0 * r2), 0.0, 0.0};
    }
    const double t = std::atan2(eta, xi * xi - xi + eta * eta);
    const double near0 = xi * xi + eta * eta;
    const double near1 = (xi - 1.0) * (xi - 1.0) + eta * eta;
    if (!(near0 > 0.0) || !(near1 > 0.0))
        fault("control point on a panel end");
    const double l = checkedLog(near0 / near1) / 2.0;
    Kernel k;
    k.e = (1.0 - xi) * t + eta * l;
    k.d = t * eta - (1.0 - xi) * l - 1.0;
    k.c = xi * t - eta * l;
    k.b = 1.0 - xi * l - t * eta;
    k.a = t * (xi - xi * xi + eta * eta) + l * eta * (2.0 * xi - 1.0) - eta;
    k.z = l * (xi * xi - eta * eta - xi) + (2.0 * xi - 1.0) * (t * eta - 0.5);
    return k;
}

struct Vec
{
    double x, y;
};

// A kernel pair rotated from panel axes (tangent t) to global axes.
Vec rotated(double along, double normal, Vec t)
{
    return {along * t.x - normal * t.y, normal * t.x + along * t.y};
}

double dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}

struct Weights
{
    double p = 0, q = 0, k = 0; // start node, end node, curvature
};

// Projections of the three kernel pairs of a straight panel from `from` to
// `to` at control point `cp` on direction `tr`.
struct Projections
{
    double p1, p2, p3;
    Vec start, end; // the rotated hat pairs, for the closing panel
};

double distance(double dx, double dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

SubPanel subPanel(Vec from, Vec to)
{
    SubPanel s;
    s.fromX = from.x;
    s.fromY = from.y;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    s.length = distance(dx, dy);
    if (!(s.length > 0.0))
        fault("panel of zero length");
    s.tx = dx / s.length;
    s.ty = dy / s.length;
    return s;
}

Projections project(const SubPanel &s, Vec cp, Vec tr)
{
    const Vec t{s.tx, s.ty};
    const double rx = cp.x - s.fromX;
    const double ry = cp.y - s.fromY;
    const double xi = (rx * t.x + ry * t.y) / s.length;
    const double eta = (ry * t.x - rx * t.y) / s.length;
    const Kernel k = panelKernel(xi, eta);
    Projections p;
    p.start = rotated(k.e, k.d, t);
    p.end = rotated(k.c, k.b, t);
    p.p1 = dot(p.start, tr);
    p.p2 = dot(p.end, tr);
    p.p3 = dot(rotated(k.a, k.z, t), tr);
    return p;
}

} // namespace

void KernelBatch::grow(size_t atLeast)
{
    const size_t grown = std::max({size_t(64), 2 * fromX.size(), atLeast});
    for (auto *v : {&fromX, &fromY, &tx, &ty, &length, &pieces, &piece, &p, &q, &curvature})
        v->resize(grown);
}

namespace {

// The panels' chords and sags side by side, for reachLanes; padded so that
// the last vector stays inside.
struct ChordLanes
{
    std::array<double, kMaxNodes + 4> startX{}, startY{}, tx{}, ty{}, length{}, sag{};
};

// Curvature weights of the panels with neighbours on both sides: the parts
// of the second differences that do not depend on the row, side by side so
// that the rows' divisions by them go in vectors.
struct CurvatureLanes
{
    std::array<double, kMaxNodes + 1> beforeDivisor{}, afterDivisor{}; // hb (hb + 1), ha (ha + 1)
    std::array<double, kMaxNodes + 1> startFactor{}, endFactor{};      // 1/hb - 1/(ha + 1), 1/ha - 1/(hb + 1)
};

// What each panel from..to (within 3..n-1) adds to its four nodes from its
// weights p, q, k: the curvature weight as second differences of the node values.
VELMORA_PANEL_INLINE void curvatureShares(const CurvatureLanes &l, int from, int to, const double *__restrict p,
                                          const double *__restrict q, const double *__restrict k,
                                          double *__restrict toBefore, double *__restrict toStart,
                                          double *__restrict toEnd, double *__restrict toAfter)
{
    for (int X = from; X <= to; ++X) {
        const double kh = k[X] / 2.0;
        toBefore[X] = -kh / l.beforeDivisor[X];
        toStart[X] = p[X] + kh * l.startFactor[X];
        toEnd[X] = q[X] + kh * l.endFactor[X];
        toAfter[X] = -kh / l.afterDivisor[X];
    }
}

// Sub-panel u of k adds these parts of its projections p1..p3 to its
// panel's start-node, end-node and curvature weights (a double or four).
// Dividing by 1 is exact: panels taken whole (`whole`) skip the divisions.
template <class T>
VELMORA_PANEL_INLINE void weightShares(T p1, T p2, T p3, T k, T u, bool whole, T &wp, T &wq, T &wk)
{
    const T q1 = whole ? p1 : p1 / k, q2 = whole ? p2 : p2 / k;
    wp = (k + 1.0 - u) * q1 + (k - u) * q2;
    wq = (u - 1.0) * q1 + u * q2;
    const T sum = (whole ? p3 : p3 / k) + (u - 1.0) * (k + 1.0 - u) * q1 + u * (k - u) * q2;
    wk = whole ? sum : sum / k;
}

VELMORA_PANEL_INLINE Doubles4 lanesAt(const double *data)
{
    Doubles4 x;
    std::memcpy(&x, data, sizeof x);
    return x;
}

struct LocalLanes
{
    Doubles4 xi, eta;
};

// A point in the axes of four straight pieces (start, unit direction,
// length): xi along, eta across, in piece lengths, as project() has them.
VELMORA_PANEL_INLINE LocalLanes localLanes(Doubles4 fromX, Doubles4 fromY, Doubles4 tx, Doubles4 ty, Doubles4 len,
                                           Vec p)
{
    const Doubles4 rx = p.x - fromX;
    const Doubles4 ry = p.y - fromY;
    return {(rx * tx + ry * ty) / len, (ry * tx - rx * ty) / len};
}

// project() on the four sub-panels from i on, operation for operation, with
// the vector logarithm and arc tangent; false when a lane needs the library
// functions (arguments out of their range, or a control point that faults).
inline __attribute__((always_inline)) bool projectLanes(KernelBatch &b, int i, Vec cp, Vec tr)
{
    auto load = [i](const std::vector<double> &v) { return lanesAt(v.data() + i); };
    const Doubles4 tx = load(b.tx), ty = load(b.ty);
    const auto [xi, eta] = localLanes(load(b.fromX), load(b.fromY), tx, ty, load(b.length), cp);

    const Doubles4 x1 = xi - 1.0 / 3.0;
    const Doubles4 r1 = x1 * x1 + eta * eta;
    const Doubles4 x2 = xi - 2.0 / 3.0;
    const Doubles4 r2 = x2 * x2 + eta * eta;
    const Bits4 far = r1 >= 10000.0;
    // Most vectors are all near or all far: only their formula is computed.
    const bool anyFar = (far[0] | far[1] | far[2] | far[3]) != 0;
    const bool allFar = (far[0] & far[1] & far[2] & far[3]) != 0;
    const Doubles4 zero{};
    Doubles4 e = zero, d = zero, c = zero, bb = zero, a = zero, z = zero;
    if (!allFar) {
        const Doubles4 across = xi * xi - xi + eta * eta;
        const Doubles4 near0 = xi * xi + eta * eta;
        const Doubles4 near1 = (xi - 1.0) * (xi - 1.0) + eta * eta;
        const Doubles4 ratio = near0 / near1;
        const Doubles4 larger = (Doubles4)((Bits4)across & 0x7fffffffffffffffLL);
        const Doubles4 atanScale = larger > (Doubles4)((Bits4)eta & 0x7fffffffffffffffLL)
            ? larger
            : (Doubles4)((Bits4)eta & 0x7fffffffffffffffLL);
        const Bits4 usable = far | ((near0 > 0.0) & (near1 > 0.0) & (ratio >= DBL_MIN) & (ratio <= DBL_MAX)
                                    & (atanScale > 0.0) & (atanScale <= DBL_MAX));
        for (int lane = 0; lane < 4; ++lane) {
            if (!usable[lane])
                return false;
        }
        const Doubles4 t = vectorAtan2(eta, far ? zero + 1.0 : across);
        const Doubles4 l = vectorLog(far ? zero + 1.0 : ratio) / 2.0;
        e = (1.0 - xi) * t + eta * l;
        d = t * eta - (1.0 - xi) * l - 1.0;
        c = xi * t - eta * l;
        bb = 1.0 - xi * l - t * eta;
        a = t * (xi - xi * xi + eta * eta) + l * eta * (2.0 * xi - 1.0) - eta;
        z = l * (xi * xi - eta * eta - xi) + (2.0 * xi - 1.0) * (t * eta - 0.5);
    }
    if (anyFar) {
        const Doubles4 fe = eta / (2.0 * r1), fd = -x1 / (2.0 * r1);
        const Doubles4 fc = eta / (2.0 * r2), fb = -x2 / (2.0 * r2);
        e = far ? fe : e;
        d = far ? fd : d;
        c = far ? fc : c;
        bb = far ? fb : bb;
        a = far ? zero : a;
        z = far ? zero : z;
    }

    auto projected = [&](Doubles4 along, Doubles4 normal) {
        return (along * tx - normal * ty) * tr.x + (normal * tx + along * ty) * tr.y;
    };
    const Doubles4 p1 = projected(e, d), p2 = projected(c, bb), p3 = projected(a, z);
    const Doubles4 k = load(b.pieces), u = load(b.piece);
    const Bits4 whole = k == 1.0;
    Doubles4 wp, wq, wk;
    weightShares(p1, p2, p3, k, u, (whole[0] & whole[1] & whole[2] & whole[3]) != 0, wp, wq, wk);
    std::memcpy(b.p.data() + i, &wp, sizeof wp);
    std::memcpy(b.q.data() + i, &wq, sizeof wq);
    std::memcpy(b.curvature.data() + i, &wk, sizeof wk);
    return true;
}

// Distances of a control point from four panels' chords, in their lengths,
// and the ratio of each arc's sag to it; the divisions are most of the
// cost of choosing the sub-panels.
VELMORA_PANEL_INLINE void reachLanes(const ChordLanes &l, int X, Vec cp, double *dist, double *ratio)
{
    auto load = [X](const std::array<double, kMaxNodes + 4> &v) { return lanesAt(v.data() + X); };
    const auto [xi, eta] = localLanes(load(l.startX), load(l.startY), load(l.tx), load(l.ty), load(l.length), cp);
    constexpr long long magnitude = 0x7fffffffffffffffLL;
    const Doubles4 across = (Doubles4)((Bits4)eta & magnitude);
    const Doubles4 before = (Doubles4)((Bits4)xi & magnitude);
    const Doubles4 after = (Doubles4)((Bits4)(xi - 1.0) & magnitude);
    Doubles4 outside = before > across ? before : across;
    outside = after > outside ? after : outside;
    const Doubles4 d = (xi < 0.0) | (xi > 1.0) ? outside : across;
    const Doubles4 r = load(l.sag) / (d * 1e-5);
    std::memcpy(dist + X, &d, sizeof d);
    std::memcpy(ratio + X, &r, sizeof r);
}

VELMORA_PANEL_INLINE void reachBatch(const ChordLanes &l, int from, int to, Vec cp, double *dist, double *ratio)
{
    for (int X = from; X <= to; X += 4)
        reachLanes(l, X, cp, dist, ratio);
}

VELMORA_PANEL_INLINE bool projectBatch(KernelBatch &b, Vec cp, Vec tr)
{
    bool inVectors = true;
    // pad to whole vectors with copies of the last sub-panel
    const int padded = (b.size + 3) / 4 * 4;
    for (int i = b.size; i < padded; ++i) {
        for (auto *v : {&b.fromX, &b.fromY, &b.tx, &b.ty, &b.length, &b.pieces, &b.piece})
            (*v)[size_t(i)] = (*v)[size_t(b.size - 1)];
    }
    for (int i = 0; i < padded; i += 4) {
        if (projectLanes(b, i, cp, tr))
            continue;
        inVectors = false;
        for (size_t j = size_t(i); j < size_t(std::min(i + 4, b.size)); ++j) {
            const Projections pr = project({b.fromX[j], b.fromY[j], b.tx[j], b.ty[j], b.length[j]}, cp, tr);
            const double k = b.pieces[j];
            weightShares(pr.p1, pr.p2, pr.p3, k, b.piece[j], k == 1.0, b.p[j], b.q[j], b.curvature[j]);
        }
    }
    return inVectors;
}

#if defined(__GNUC__) && defined(__x86_64__)
// The same code for AVX2 (the vector extensions compile to it there).
__attribute__((target("avx2"))) bool projectBatchAvx2(KernelBatch &b, Vec cp, Vec tr)
{
    return projectBatch(b, cp, tr);
}

__attribute__((target("avx2"))) void reachBatchAvx2(const ChordLanes &l, int from, int to, Vec cp, double *dist,
                                                    double *ratio)
{
    reachBatch(l, from, to, cp, dist, ratio);
}

__attribute__((target("avx2"))) void curvatureSharesAvx2(const CurvatureLanes &l, int from, int to,
                                                         PanelWorkspace &w)
{
    curvatureShares(l, from, to, w.weightP.data(), w.weightQ.data(), w.weightK.data(), w.toBefore.data(),
                    w.toStart.data(), w.toEnd.data(), w.toAfter.data());
}

bool haveAvx2()
{
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

// dist and ratio of the panels from..to (and up to three beyond) for the
// control point cp; each panel's values do not depend on the range.
void reachRange(const ChordLanes &l, int from, int to, Vec cp, double *dist, double *ratio)
{
#if defined(__GNUC__) && defined(__x86_64__)
    if (haveAvx2())
        return reachBatchAvx2(l, from, to, cp, dist, ratio);
#endif
    reachBatch(l, from, to, cp, dist, ratio);
}

// The same bits with or without AVX2: plain divisions, no fused operations.
void curvatureSharesRange(const CurvatureLanes &l, int from, int to, PanelWorkspace &w)
{
#if defined(__GNUC__) && defined(__x86_64__)
    if (haveAvx2())
        return curvatureSharesAvx2(l, from, to, w);
#endif
    curvatureShares(l, from, to, w.weightP.data(), w.weightQ.data(), w.weightK.data(), w.toBefore.data(),
                    w.toStart.data(), w.toEnd.data(), w.toAfter.data());
}

// The batch's projections; the same bits with or without AVX2 (no fused
// operations in either). False when a vector of sub-panels needed the
// library functions: its values then depend on its neighbours in the batch.
bool projectAll(KernelBatch &b, Vec cp, Vec tr)
{
    if (b.size == 0)
        return true;
#if defined(__GNUC__) && defined(__x86_64__)
    if (haveAvx2())
        return projectBatchAvx2(b, cp, tr);
#endif
    return projectBatch(b, cp, tr);
}

// What the influence of panel X needs besides the control point; the same
// for every row.
struct PanelShape
{
    Vec start, end;
    Vec t; // unit chord
    double length = 0;
    double sag = 0;
    double tanStart = 0, tanEnd = 0; // end slopes of the cubic arc
    SubPanel chord;                  // the arc as one straight piece
};

PanelShape panelShape(const Contour &c, int X)
{
    PanelShape s;
    s.start = {c.x[X - 1], c.y[X - 1]};
    s.end = {c.x[X], c.y[X]};
    s.length = c.len[X];
    s.t = {(s.end.x - s.start.x) / s.length, (s.end.y - s.start.y) / s.length};
    s.sag = std::fabs(turn(double(c.theta[X - 1]) - double(c.theta[X]))) / 8.0;
    s.tanStart = std::tan(turn(double(c.theta[X - 1]) - double(c.psi[X])));
    s.tanEnd = std::tan(turn(double(c.psi[X]) - double(c.theta[X])));
    s.chord = subPanel(s.start, s.end);
    return s;
}

void curvatureLanes(const Contour &c, int X, CurvatureLanes &l)
{
    const double lenX = c.len[X];
    const double hb = double(c.len[X - 1]) / lenX;
    const double ha = double(c.len[X + 1]) / lenX;
    l.beforeDivisor[X] = hb * (hb + 1.0);
    l.afterDivisor[X] = ha * (ha + 1.0);
    l.startFactor[X] = 1.0 / hb - 1.0 / (ha + 1.0);
    l.endFactor[X] = 1.0 / ha - 1.0 / (hb + 1.0);
}

// The k straight pieces of the cubic arc of a panel.
void splitArc(const PanelShape &s, int k, SubPanel *out)
{
    const Vec normal{-s.t.y, s.t.x};
    auto arcPoint = [&](int i) {
        const double u = double(i) / k;
        const double offset = u * (1.0 - u) * ((1.0 - u) * s.tanStart + u * s.tanEnd) * s.length;
        return Vec{s.start.x + u * (s.end.x - s.start.x) + offset * normal.x,
                   s.start.y + u * (s.end.y - s.start.y) + offset * normal.y};
    };
    Vec from = s.start;
    for (int u = 1; u <= k; ++u) {
        const Vec to = u == k ? s.end : arcPoint(u);
        out[u - 1] = subPanel(from, to);
        from = to;
    }
}

// How many straight pieces of its cubic arc a curved panel acts through on
// a control point that is not one of its end nodes: finer the closer the
// point (its distance `dist` in panel lengths, `ratio` the arc's sag to it).
// The pieces are split here (kept per panel, or in `extra` past the cache),
// so that a fault comes from the same panel as when they were added at once.
int planCurvedPanel(const PanelShape &s, int X, double dist, double ratio, PanelWorkspace &ws,
                    std::vector<SubPanel> &extra)
{
    if (!(dist > 0.0))
        fault("control point on a panel");
    // Beyond this the point lies on the arc for every practical purpose.
    if (!(ratio <= 1e12))
        fault("control point on a panel");
    const int k = ws.subPanelRule.count(ratio);
    if (k == 1)
        return 1;
    if (k <= PanelWorkspace::kCachedSubPanels) {
        if (ws.subPanelCount[X] != k) {
            splitArc(s, k, ws.subPanels.get() + size_t(X) * PanelWorkspace::kCachedSubPanels);
            ws.subPanelCount[X] = k;
        }
    } else {
        const size_t at = extra.size();
        extra.resize(at + size_t(k));
        splitArc(s, k, extra.data() + at);
    }
    return k;
}

// Writes the k planned pieces of panel X into the row's batch from `first`
// on; `extra` is read from `extraAt` for counts past the cache.
void addCurvedPanel(const PanelShape &s, int X, int k, int first, const PanelWorkspace &ws,
                    const std::vector<SubPanel> &extra, size_t &extraAt, const KernelBatch::Writer &put)
{
    if (k == 1) {
        put.put(first, s.chord, 1, 1);
        return;
    }
    const SubPanel *pieces = ws.subPanels.get() + size_t(X) * PanelWorkspace::kCachedSubPanels;
    if (k > PanelWorkspace::kCachedSubPanels) {
        pieces = extra.data() + extraAt;
        extraAt += size_t(k);
    }
    for (int u = 1; u <= k; ++u)
        put.put(first + u - 1, pieces[u - 1], k, u);
}

// The weights of a curved panel: its sub-panels' parts summed in their order.
Weights curvedWeights(const KernelBatch &b, int first, int k)
{
    if (k == 1)
        return {b.p[size_t(first)], b.q[size_t(first)], b.curvature[size_t(first)]};
    Weights w;
    for (size_t j = size_t(first); j < size_t(first + k); ++j) {
        w.p += b.p[j];
        w.q += b.q[j];
        w.k += b.curvature[j];
    }
    return w;
}

} // namespace

int ContourTangents(Contour &c, int maxSweeps)
{
    const int n = c.n;
    std::array<double, kMaxNodes + 1> dx{}, dy{};
    for (int i = 2; i <= n; ++i) {
        dx[i] = double(c.x[i]) - double(c.x[i - 1]);
        dy[i] = double(c.y[i]) - double(c.y[i - 1]);
        c.len[i] = stored(distance(dx[i], dy[i]));
        if (!(c.len[i] > 0.0f))
            fault("coincident consecutive points");
        c.psi[i] = stored(std::atan2(dx[i], -dy[i]));
    }

    NodeArray dotK{}, crossK{}, s{};
    for (int k = 2; k <= n - 1; ++k) {
        dotK[k] = stored(dx[k] * dx[k + 1] + dy[k] * dy[k + 1]);
        crossK[k] = stored(dx[k] * dy[k + 1] - dy[k] * dx[k + 1]);
        const double share = double(c.len[k]) / (double(c.len[k]) + double(c.len[k + 1]));
        s[k] = stored(std::tan(-std::atan2(double(crossK[k]), double(dotK[k])) * share));
    }

    // Gauss-Seidel sweeps towards a curvature-continuous chain of cubic arcs.
    double lastD = 0.0;
    int sweeps = 0;
    for (;;) {
        double C = s[2];
        double D = C / 2.0;
        double prevLen = c.len[2];
        double largest = 0.0;
        for (int k = 2; k <= n - 1; ++k) {
            const double dt = dotK[k];
            const double cr = crossK[k];
            const double nextLen = c.len[k + 1];
            const double M = (dt * C + cr) / (C * cr - dt);
            const double I = k == n - 1 ? M / 2.0 : double(s[k + 1]);
            const double residual =
                (2.0 * M - I) * prevLen * (M * M + 1.0) - (2.0 * C - D) * nextLen * (C * C + 1.0);
            double denominator = prevLen + nextLen;
            if (M * M + C * C >= 0.09) {
                denominator = prevLen * (3.0 * M * M + 1.0 - M * I) * (dt - M * cr) / (dt - C * cr)
                    + nextLen * (3.0 * C * C + 1.0 - C * D);
            }
            const double correction = residual * 0.5 / denominator;
            C += correction;
            s[k] = stored(C);
            largest = std::max(largest, std::fabs(correction));
            D = (dt * C + cr) / (C * cr - dt);
            C = I;
            prevLen = nextLen;
        }
        lastD = D;
        ++sweeps;
        if (!std::isfinite(largest) || !std::isfinite(lastD))
            fault("non-finite tangent fit");
        if (largest <= 1e-6 && sweeps >= 16)
            break;
        if (sweeps >= maxSweeps)
            fault("tangent fit does not converge");
    }

    for (int k = 2; k <= n - 1; ++k)
        c.theta[k] = stored(double(c.psi[k]) - std::atan(double(s[k])));
    c.theta[1] = stored(double(c.psi[2]) + std::atan(double(s[2]) / 2.0));
    c.theta[n] = stored(double(c.psi[n]) - std::atan(lastD / 2.0));
    return sweeps;
}

SubPanelRule::SubPanelRule()
{
    for (int j = 1; j <= kBounds + 1; ++j)
        m_bound[size_t(j)] = std::pow(double(j), 1.0 / 0.333333);
}

int SubPanelRule::countByFormula(double ratio)
{
    return int(std::floor(std::pow(ratio, 0.333333) + 1.0));
}

PanelWorkspace::PanelWorkspace()
    : a(std::make_unique_for_overwrite<float[]>(size_t(kMaxNodes) * kMaxNodes))
    , wide(std::make_unique_for_overwrite<double[]>(size_t(kMaxNodes + 1) * kMaxNodes))
    , normal(std::make_unique_for_overwrite<double[]>(size_t(kMaxNodes) * kMaxNodes))
    , n(std::make_unique_for_overwrite<float[]>(size_t(kMaxNodes) * kMaxNodes))
    , rhs(std::make_unique_for_overwrite<float[]>(size_t(2) * (kMaxNodes + 1)))
    , solution(std::make_unique_for_overwrite<float[]>(size_t(2) * kMaxNodes))
    , subPanels(std::make_unique<SubPanel[]>(size_t(kMaxNodes + 1) * kCachedSubPanels))
{
}

void PanelSolve(Contour &c, PanelWorkspace &ws, PanelSolution &out)
{
    const int n = c.n;
    const int m = n - 1;
    const double gapX = double(c.x[1]) - double(c.x[n]);
    const double gapY = double(c.y[1]) - double(c.y[n]);
    c.len[1] = stored(distance(gapX, gapY));
    c.open = double(c.len[1]) > 1e-4 * double(c.x[1]);
    if (c.open)
        c.psi[1] = stored(std::atan2(gapX, -gapY));

    // Trailing-edge frame: N is the inward bisector of the two end tangents.
    double frame = (double(c.theta[1]) + double(c.theta[n])) / 2.0 - kPi;
    if (frame > 0.0)
        frame -= 2.0 * kPi;
    const double a1 = double(c.theta[1]) - frame;
    const double an = double(c.theta[n]) - frame - 2.0 * kPi;
    const double c1 = std::cos(a1), s1 = std::sin(a1);
    const double cn = std::cos(an), sn = std::sin(an);

    const Vec trailingMid{(double(c.x[1]) + double(c.x[n])) / 2.0,
                          (double(c.y[1]) + double(c.y[n])) / 2.0};
    const int lastRow = c.open ? n : m;
    std::array<PanelShape, kMaxNodes + 1> shapes;
    ChordLanes chords;
    CurvatureLanes curvature;
    for (int X = 2; X <= n; ++X) {
        shapes[X] = panelShape(c, X);
        if (X > 2 && X < n)
            curvatureLanes(c, X, curvature);
        chords.startX[X] = shapes[X].start.x;
        chords.startY[X] = shapes[X].start.y;
        chords.tx[X] = shapes[X].t.x;
        chords.ty[X] = shapes[X].t.y;
        chords.length[X] = shapes[X].length;
        chords.sag[X] = shapes[X].sag;
    }
    std::fill(ws.w.begin(), ws.w.end(), 0.0f);
    float wRhs[2] = {0.0f, 0.0f};

    // An edit moves a point or a few, and the fitted tangents follow only
    // near them: the rows of the last contour stay valid where neither their
    // control point nor any panel an entry takes its parts from has changed.
    // Such rows are patched: their entries at the ends (which take parts
    // from the trailing edge) and near the change are built again.
    int changedFrom = 0, changedTo = -1; // node data that differ, bitwise
    if (ws.rowsKept && ws.rowsOf.n == n && ws.rowsOf.open == c.open) {
        const Contour &o = ws.rowsOf;
        auto same = [](const NodeArray &a, const NodeArray &b, int i) {
            return std::memcmp(&a[size_t(i)], &b[size_t(i)], sizeof(float)) == 0;
        };
        for (int i = 1; i <= n; ++i) {
            if (same(o.x, c.x, i) && same(o.y, c.y, i) && same(o.len, c.len, i) && same(o.psi, c.psi, i)
                && same(o.theta, c.theta, i))
                continue;
            if (changedTo < 0)
                changedFrom = i;
            changedTo = i;
        }
    }
    // Reach of a change: a panel X takes its shape from the nodes X-1 and X and
    // its curvature weights from the lengths X-1..X+1; a middle node's entry
    // from the panels node-1..node+2 (the margins below hold one more).
    const bool patching = n >= 16 && changedTo >= 0 && changedTo - changedFrom < n / 4;
    ws.rowsKept = false;
    std::atomic<int> patched{0};

    // One condition row; rows are independent of each other, so two threads
    // can build them, each with its own row buffer and sub-panel cache.
    auto buildRow = [&](auto &self, int R, PanelWorkspace &own, bool mayPatch) -> void {
        const bool trailingRow = R == 1 || R == n;
        const bool patch = mayPatch && patching && !trailingRow && (R < changedFrom || R > changedTo);
        const Vec cp = trailingRow ? trailingMid : Vec{c.x[R], c.y[R]};
        const double dir = R == 1 ? frame : (R == n ? frame + kPi / 2.0 : double(c.theta[R]));
        const Vec tr{std::sin(dir), -std::cos(dir)};
        auto &row = own.row;
        std::fill(row.begin(), row.begin() + m + 1, 0.0);
        if (R == n)
            row[1] = (s1 - sn) * kPi / 2.0 + c1 + cn;

        // Node n is -node 1 (Kutta condition).
        auto add = [&](int node, double value) {
            if (node == n)
                row[1] -= value;
            else
                row[node] += value;
        };

        // How panel X acts on this row's control point.
        enum class Influence { Skip, Gap, TrailingPair, Neighbour, Curved };
        auto influence = [&](int X) {
            if (X == 1)
                return R == n ? Influence::Skip : Influence::Gap;
            if (!c.open && R == 1 && X == n)
                return Influence::Skip;
            if (!c.open && R == 1 && X == 2)
                return Influence::TrailingPair;
            if (!trailingRow && (X == R || X == R + 1))
                return Influence::Neighbour;
            return Influence::Curved;
        };
        // The panels whose weights the row needs, in order: all of them, or
        // for a patch those at the ends and near the change.
        std::array<std::pair<int, int>, 3> ranges{};
        int rangeCount = 0;
        auto addRange = [&](int from, int to) {
            from = std::max(from, 2);
            to = std::min(to, n);
            if (rangeCount > 0 && from <= ranges[size_t(rangeCount - 1)].second + 1)
                ranges[size_t(rangeCount - 1)].second = std::max(ranges[size_t(rangeCount - 1)].second, to);
            else
                ranges[size_t(rangeCount++)] = {from, to};
        };
        if (patch) {
            addRange(2, 5);
            addRange(changedFrom - 6, changedTo + 6);
            addRange(n - 3, n);
        } else {
            addRange(2, n);
        }
        // The panels that act through their curved arcs: those the cases
        // above leave, in two runs around the row's neighbour panels.
        const bool closedFirst = !c.open && R == 1;
        const int curvedFrom = closedFirst ? 3 : 2, curvedTo = closedFirst ? n - 1 : n;
        const int besideFrom = trailingRow ? n + 1 : R, besideTo = trailingRow ? n + 1 : R + 1;
        auto forEachCurved = [&](auto &&fn) {
            for (int r = 0; r < rangeCount; ++r) {
                const int from = std::max(curvedFrom, ranges[size_t(r)].first);
                const int to = std::min(curvedTo, ranges[size_t(r)].second);
                for (int X = from; X <= std::min(to, besideFrom - 1); ++X)
                    fn(X);
                for (int X = std::max(from, besideTo + 1); X <= to; ++X)
                    fn(X);
            }
        };
        for (int r = 0; r < rangeCount; ++r)
            reachRange(chords, ranges[size_t(r)].first, ranges[size_t(r)].second, cp, own.reach.data(),
                       own.sagRatio.data());
        int planned = 0;
        own.extraSubPanels.clear();
        forEachCurved([&](int X) {
            own.firstJob[X] = planned;
            own.jobCount[X] = planCurvedPanel(shapes[X], X, own.reach[X], own.sagRatio[X], own, own.extraSubPanels);
            planned += own.jobCount[X];
        });
        own.batch.reserve(planned);
        const KernelBatch::Writer put = own.batch.writer();
        size_t extraAt = 0;
        forEachCurved([&](int X) {
            addCurvedPanel(shapes[X], X, own.jobCount[X], own.firstJob[X], own, own.extraSubPanels, extraAt, put);
        });
        own.batch.size = planned;
        // A vector the library functions took gives bits that depend on its
        // neighbours: only the whole row has those of a full build.
        if (!projectAll(own.batch, cp, tr) && patch)
            return self(self, R, own, false);

        // The weights of every panel first.
        auto setWeights = [&](int X, const Weights &wt) {
            own.weightP[X] = wt.p;
            own.weightQ[X] = wt.q;
            own.weightK[X] = wt.k;
        };
        double gap = 0.0;
        if (c.open && influence(1) == Influence::Gap) {
            Weights wt;
            if (R == 1) {
                wt.q = (c1 - cn) * kPi / 2.0 - s1 - sn;
            } else {
                // The gap carries node 1's vorticity turned to each side's
                // trailing-edge direction, as vortex and source parts.
                const Projections pr = project(subPanel({c.x[n], c.y[n]}, {c.x[1], c.y[1]}), cp, tr);
                const double chi1 = pr.start.x * tr.y - pr.start.y * tr.x;
                const double chi2 = pr.end.x * tr.y - pr.end.y * tr.x;
                wt.p = c1 * pr.p1 + s1 * chi1;
                wt.q = -cn * pr.p2 - sn * chi2;
            }
            gap = wt.p + wt.q;
        }
        if (closedFirst) {
            // the trailing pair
            Weights wt;
            wt.p = checkedLog(double(c.len[n]) / double(c.len[2]));
            wt.q = -1.0;
            setWeights(2, wt);
        }
        for (int X = R; !trailingRow && X <= R + 1; ++X) {
            Weights wt;
            const double e = turn(double(c.psi[X]) - double(c.theta[X]));
            const double f = turn(double(c.theta[X - 1]) - double(c.psi[X]));
            const double j = X - R;
            wt.q = e / 2.0 + (f - e) * (j - 1.0 / 3.0);
            wt.p = f / 2.0 + (f - e) * (j - 2.0 / 3.0) + j * kPi;
            wt.k = (e + f + (2.0 * j - 1.0) * 2.0 * (f - e)) / 12.0;
            setWeights(X, wt);
        }
        forEachCurved([&](int X) { setWeights(X, curvedWeights(own.batch, own.firstJob[X], own.jobCount[X])); });
        for (int r = 0; r < rangeCount; ++r) {
            const int from = std::max(3, ranges[size_t(r)].first), to = std::min(n - 1, ranges[size_t(r)].second);
            if (from <= to)
                curvatureSharesRange(curvature, from, to, own);
        }

        // A node's value sums its panels' parts in panel order. Nodes 4..n-3
        // take theirs from four panels with neighbours on both sides, all at
        // once below; the nodes at the ends take them as a walk over the
        // panels near the ends adds them.
        const int middleFrom = 4, middleTo = n - 3;
        auto addAtEnd = [&](int node, double value) {
            if (node < middleFrom || node > middleTo)
                add(node, value);
        };
        for (int X = c.open ? 1 : 2; X <= n; ++X) {
            if (X > 5 && X < n - 3)
                X = n - 3;
            const Influence kind = influence(X);
            if (kind == Influence::Skip)
                continue;
            if (kind == Influence::Gap) {
                addAtEnd(1, gap);
                continue;
            }
            const double p = own.weightP[X], q = own.weightQ[X], k = own.weightK[X];
            const double lenX = c.len[X];
            if (X == 2) {
                const double ha = double(c.len[3]) / lenX;
                addAtEnd(1, p - k / (ha + 1.0));
                addAtEnd(2, k / ha + q);
                addAtEnd(3, -k / (ha * (ha + 1.0)));
            } else if (X == n) {
                const double hb = double(c.len[n - 1]) / lenX;
                addAtEnd(n - 2, -k / (hb * (hb + 1.0)));
                addAtEnd(n - 1, p + k / hb);
                addAtEnd(n, q - k / (hb + 1.0));
            } else {
                addAtEnd(X - 2, own.toBefore[X]);
                addAtEnd(X - 1, own.toStart[X]);
                addAtEnd(X, own.toEnd[X]);
                addAtEnd(X + 1, own.toAfter[X]);
            }
        }
        const int nodeFrom = patch ? std::max(middleFrom, changedFrom - 4) : middleFrom;
        const int nodeTo = patch ? std::min(middleTo, changedTo + 4) : middleTo;
        for (int node = nodeFrom; node <= nodeTo; ++node)
            row[node] = 0.0 + own.toAfter[node - 1] + own.toEnd[node] + own.toStart[node + 1]
                + own.toBefore[node + 2];

        const float b0 = stored(-2.0 * kPi * tr.x);
        const float b1 = stored(-2.0 * kPi * tr.y);
        if (R <= m) {
            // as stored, and widened for the normal equations
            float *dst = ws.a.get() + size_t(R - 1) * m;
            double *wide = ws.wide.get() + size_t(R - 1) * m;
            auto put = [&](int from, int to) {
                for (int i = from; i <= to; ++i) {
                    dst[i - 1] = stored(row[i]);
                    wide[i - 1] = dst[i - 1];
                }
            };
            if (patch) {
                put(1, middleFrom - 1);
                put(nodeFrom, nodeTo);
                put(middleTo + 1, m);
                ++patched;
            } else {
                put(1, m);
            }
            ws.rhs[2 * (R - 1)] = b0;
            ws.rhs[2 * (R - 1) + 1] = b1;
        } else {
            for (int i = 1; i <= m; ++i)
                ws.w[i] = stored(row[i]);
            wRhs[0] = b0;
            wRhs[1] = b1;
        }
    };
    // Rows go out in runs of kRowRun to whichever thread is free: rows near
    // the ends need more sub-panels than the others. A run's rows lie next
    // to each other, so the sub-panels kept per panel still mostly fit.
    constexpr int kRowRun = 8;
    std::atomic<int> nextRow{1};
    auto buildRows = [&](PanelWorkspace &own) {
        std::fill(own.subPanelCount.begin(), own.subPanelCount.end(), 0);
        for (int from = nextRow.fetch_add(kRowRun); from <= lastRow; from = nextRow.fetch_add(kRowRun)) {
            for (int R = from; R <= std::min(from + kRowRun - 1, lastRow); ++R)
                buildRow(buildRow, R, own, true);
        }
    };
    const int threads = ws.threads > 0 ? ws.threads : int(std::thread::hardware_concurrency());
    HelperThread *team = nullptr;
    if (threads >= 2 && ws.lentTeam) {
        team = ws.lentTeam;
    } else if (threads >= 2) {
        if (!ws.team)
            ws.team = std::make_unique<HelperThread>();
        team = ws.team.get();
    }
    if (!team || lastRow < 64) {
        buildRows(ws);
    } else {
        if (!ws.helper)
            ws.helper = std::make_unique<PanelWorkspace>();
        team->start([&] { buildRows(*ws.helper); });
        try {
            buildRows(ws);
        } catch (...) {
            try {
                team->wait();
            } catch (...) {
            }
            throw;
        }
        team->wait();
    }
    ws.rowsOf = c;
    ws.rowsKept = true;
    ws.patchedRows = patched;

    if (!c.open) {
        // Row 1 also holds the lower trailing-edge node's value; the extra row
        // extrapolates gamma_1 from both sides, linear in (distance)^(2/3).
        ws.a[m - 1] = stored(double(ws.a[m - 1]) - 1.0);
        ws.wide[m - 1] = ws.a[m - 1];
        const double V = std::pow(double(c.len[3]) / double(c.len[2]) + 1.0, 0.66667);
        const double W = std::pow(double(c.len[m]) / double(c.len[n]) + 1.0, 0.66667);
        if (V == 1.0 || W == 1.0)
            fault("division by zero in the trailing-edge condition");
        std::array<double, kMaxNodes + 1> wd{};
        wd[1] += 1.0;
        wd[2] += -V / (2.0 * (V - 1.0));
        wd[3] += 1.0 / (2.0 * (V - 1.0));
        wd[m - 1] += -1.0 / (2.0 * (W - 1.0));
        wd[m] += W / (2.0 * (W - 1.0));
        for (int i = 1; i <= m; ++i)
            ws.w[i] = stored(wd[i]);
    }

    // Normal equations N = A^T A + w^T w, r = A^T b + w^T b_w.
    std::array<const double *, kMaxNodes + 1> rows{};
    std::array<const float *, kMaxNodes + 1> rowRhs{};
    // (the condition rows were widened as they were built)
    std::copy_n(ws.w.data() + 1, m, ws.wide.get() + size_t(m) * m);
    for (int R = 0; R <= m; ++R) {
        rows[R] = ws.wide.get() + size_t(R) * m;
        rowRhs[R] = R < m ? ws.rhs.get() + 2 * R : wRhs;
    }
    double r[2 * kMaxNodes];
    NormalEquations(rows.data(), rowRhs.data(), m + 1, m, ws.normal.get(), r, team);

    // The normal matrix as stored, both triangles; a second thread takes the
    // rows from `half` on (their elements and mirror images are its own).
    float *nf = ws.n.get();
    const double *nd = ws.normal.get();
    auto storeRows = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            for (int j = i; j < m; ++j) {
                const float value = stored(nd[size_t(i) * m + j]);
                nf[size_t(i) * m + j] = value;
                nf[size_t(j) * m + i] = value;
            }
            ws.solution[2 * i] = stored(r[2 * i]);
            ws.solution[2 * i + 1] = stored(r[2 * i + 1]);
        }
    };
    if (team && m >= 256) {
        const int half = TriangleHalf(m);
        team->start([&] { storeRows(half, m); });
        storeRows(0, half);
        team->wait();
    } else {
        storeRows(0, m);
    }

    GaussSolve(nf, m, ws.solution.get(), m, 0.0f, 2, team);

    for (int i = 1; i <= m; ++i) {
        out.gamma0[i] = stored(ws.solution[2 * (i - 1)]);
        out.gamma90[i] = stored(ws.solution[2 * (i - 1) + 1]);
    }
    out.gamma0[n] = -out.gamma0[1];
    out.gamma90[n] = -out.gamma90[1];

    double g0 = 0.0, g90 = 0.0;
    for (int i = 2; i <= m; ++i) {
        const double span = double(c.len[i]) + double(c.len[i + 1]);
        g0 += span * double(out.gamma0[i]);
        g90 += span * double(out.gamma90[i]);
    }
    if (!(c.x[1] != 0.0f))
        fault("chord of zero length");
    out.liftAt0 = stored(g0 / double(c.x[1]));
    out.liftAt90 = stored(g90 / double(c.x[1]));
    out.alpha0 = stored(-std::atan2(double(out.liftAt0), double(out.liftAt90)) / kDegree);
}

} // namespace velmora::eppler

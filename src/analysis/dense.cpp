// SPDX-License-Identifier: GPL-3.0-or-later
// The O(n^3) part of a run. Each kernel is compiled twice, for the baseline
// instruction set and for AVX2, and picked at run time; both give the same
// bits, on one thread or two.
// - Normal equations: every product is of two floats and therefore exact in
//   double, so a fused multiply-add rounds like the separate operations, and
//   the summation order is fixed by the source.
// - Elimination: single precision, each update a - f * b rounded once
//   (std::fma, which the baseline path computes in software as exactly),
//   blocked for the caches without changing any element's operations.

#include "analysis/stages.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmora::eppler {

namespace {

#if defined(__GNUC__) && defined(__x86_64__)
#define VELMORA_AVX2_PATH 1
#define VELMORA_INLINE inline __attribute__((always_inline))
#else
#define VELMORA_INLINE inline
#endif

constexpr int kRowsPerPass = 8;

// Both right-hand sides of one triangle row for a pass: the row's values c
// of the pass's condition rows times their right-hand sides, in row order.
VELMORA_INLINE void normalRhs(const double *c, const float *const *rhs, double *r)
{
    for (int s = 0; s < 2; ++s) {
        double t = r[s];
        for (int q = 0; q < kRowsPerPass; ++q)
            t += c[q] * double(rhs[q][s]);
        r[s] = t;
    }
}

// The condition rows from `from` on that do not fill a pass, one by one.
VELMORA_INLINE void normalRest(const double *const *rows, const float *const *rhs, int rowCount, int m,
                               double *normal, double *r, int iBegin, int iEnd, int from)
{
    for (int k = from; k < rowCount; ++k) {
        const double *a0 = rows[k];
        for (int i = iBegin; i < iEnd; ++i) {
            const double c0 = a0[i];
            double *__restrict ni = normal + size_t(i) * m;
            for (int j = i; j < m; ++j)
                ni[j] += c0 * a0[j];
            r[2 * i] += c0 * double(rhs[k][0]);
            r[2 * i + 1] += c0 * double(rhs[k][1]);
        }
    }
}

// Rows iBegin..iEnd-1 of the triangle: threads may share the work by rows,
// every element still sums in the same order.
VELMORA_INLINE void normalKernel(const double *const *rows, const float *const *rhs, int rowCount,
                                 int m, double *normal, double *r, int iBegin, int iEnd)
{
    std::fill(normal + size_t(iBegin) * m, normal + size_t(iEnd) * m, 0.0);
    std::fill(r + 2 * iBegin, r + 2 * iEnd, 0.0);
    // Several rows per pass over the triangle, added one after another so
    // that every element sees the same sequence of additions as row by row.
    int k = 0;
    for (; k + kRowsPerPass <= rowCount; k += kRowsPerPass) {
        const double *const *a = rows + k;
        for (int i = iBegin; i < iEnd; ++i) {
            double c[kRowsPerPass];
            for (int q = 0; q < kRowsPerPass; ++q)
                c[q] = a[q][i];
            double *__restrict ni = normal + size_t(i) * m;
            for (int j = i; j < m; ++j) {
                double t = ni[j];
                t += c[0] * a[0][j];
                t += c[1] * a[1][j];
                t += c[2] * a[2][j];
                t += c[3] * a[3][j];
                t += c[4] * a[4][j];
                t += c[5] * a[5][j];
                t += c[6] * a[6][j];
                t += c[7] * a[7][j];
                ni[j] = t;
            }
            normalRhs(c, rhs + k, r + 2 * i);
        }
    }
    normalRest(rows, rhs, rowCount, m, normal, r, iBegin, iEnd, k);
}

constexpr int kMaxBlock = 32;
constexpr int kMaxTile = 128;

// The end of row r's part of a pivot step, once its block columns are
// updated: the factor kept in column q, the right-hand sides, and the
// search for the next pivot in column q + 1.
VELMORA_INLINE void finishRowStep(float *pr, float factor, int r, int i, int q, int count, const float *bi, float *br,
                                  int rhsCount, float &largest, int &pivot)
{
    pr[q] = factor;
    if (rhsCount == 2) { // the panel solution's two, without the loop's overhead
        br[0] = std::fma(-factor, bi[0], br[0]);
        br[1] = std::fma(-factor, bi[1], br[1]);
    } else {
        for (int c = 0; c < rhsCount; ++c)
            br[c] = std::fma(-factor, bi[c], br[c]);
    }
    if (r > i && q + 1 < count && std::fabs(pr[q + 1]) >= largest) {
        largest = std::fabs(pr[q + 1]);
        pivot = r;
    }
}

// One pivot's step on a block packed kMaxBlock floats per row: every row but
// the pivot row i takes its update on the block's columns right of q (by
// `update(row, factor)`) and on its right-hand sides, and keeps its factor
// in column q. Returns the row below i with the largest |value| in column
// q + 1 (ties go to the later row), -1 when q is the block's last column.
template <class RowUpdate>
VELMORA_INLINE int pivotStepKernel(float *panel, int size, int i, int q, int count, double diagonal, float *b,
                                   int rhsCount, RowUpdate update)
{
    const float *bi = b + size_t(i) * rhsCount;
    float largest = -1.0f;
    int pivot = -1;
    for (int r = 0; r < size; ++r) {
        if (r == i)
            continue;
        float *pr = panel + size_t(r) * kMaxBlock;
        const float factor = static_cast<float>(double(pr[q]) / diagonal);
        update(pr, factor);
        finishRowStep(pr, factor, r, i, q, count, bi, b + size_t(r) * rhsCount, rhsCount, largest, pivot);
    }
    return pivot;
}

VELMORA_INLINE int pivotStepPlain(float *panel, int size, int i, int q, int count, double diagonal, float *b,
                                  int rhsCount)
{
    const float *pi = panel + size_t(i) * kMaxBlock;
    return pivotStepKernel(panel, size, i, q, count, diagonal, b, rhsCount, [&](float *pr, float factor) {
        for (int c = q + 1; c < count; ++c)
            pr[c] = std::fma(-factor, pi[c], pr[c]);
    });
}

// The delayed updates of a block of pivots on the column tile [from, to),
// in pivot order: every element sees the operations of the unblocked
// elimination in the same order. factors[r * kMaxBlock + q] is pivot first+q's
// factor for row r; scales[q] its row's scale. The pivot rows are first
// brought to the state each had when it was used, so that every other row
// can then take all the block's updates while its values stay in registers.
template <class RowUpdate>
VELMORA_INLINE void tileKernel(float *a, int stride, int size, int first, int count, const float *factors,
                               const double *scales, int from, int to, RowUpdate rowUpdate)
{
    const int width = to - from;
    alignas(32) float pivots[kMaxBlock * kMaxTile];
    for (int q = 0; q < count; ++q) {
        float *pq = pivots + q * width;
        const float *source = a + size_t(first + q) * stride + from;
        std::copy(source, source + width, pq);
        for (int p = 0; p < q; ++p) {
            const float f = factors[size_t(first + q) * kMaxBlock + size_t(p)];
            const float *pp = pivots + p * width;
            for (int c = 0; c < width; ++c)
                pq[c] = std::fma(-f, pp[c], pq[c]);
        }
    }
    // Other rows go in pairs, which share the loads of the pivot rows.
    float *pending = nullptr;
    const float *pendingFactors = nullptr;
    for (int r = 0; r < size; ++r) {
        float *ar = a + size_t(r) * stride + from;
        if (r >= first && r < first + count) {
            // a pivot row: as used, scaled, then updated by the later pivots
            const int q = r - first;
            const float *pq = pivots + q * width;
            for (int c = 0; c < width; ++c)
                ar[c] = static_cast<float>(double(pq[c]) * scales[q]);
            for (int p = q + 1; p < count; ++p) {
                const float fp = factors[size_t(r) * kMaxBlock + size_t(p)];
                const float *pp = pivots + p * width;
                for (int c = 0; c < width; ++c)
                    ar[c] = std::fma(-fp, pp[c], ar[c]);
            }
            continue;
        }
        const float *fr = factors + size_t(r) * kMaxBlock;
        if (!pending) {
            pending = ar;
            pendingFactors = fr;
            continue;
        }
        rowUpdate(pending, pendingFactors, ar, fr, pivots, width, count);
        pending = nullptr;
    }
    if (pending)
        rowUpdate(pending, pendingFactors, nullptr, nullptr, pivots, width, count);
}

// Rows that are no pivot of the block (a1 may be null) take the block's
// updates, column by column in pivot order.
VELMORA_INLINE void rowUpdatePlain(float *a0, const float *f0, float *a1, const float *f1, const float *pivots,
                                   int width, int count)
{
    for (int row = 0; row < 2; ++row) {
        float *ar = row == 0 ? a0 : a1;
        const float *f = row == 0 ? f0 : f1;
        if (!ar)
            continue;
        for (int c = 0; c < width; ++c) {
            float acc = ar[c];
            for (int q = 0; q < count; ++q)
                acc = std::fma(-f[q], pivots[q * width + c], acc);
            ar[c] = acc;
        }
    }
}

#ifdef VELMORA_AVX2_PATH
// A tile of Rows triangle rows (from i0, the first `rows` of them real) by
// 4 V columns (from j) takes the products of condition rows k0..k1-1 in
// row order, in registers: the products are exact, so the fused form rounds
// as the separate one.
template <int Rows, int V>
__attribute__((target("avx2,fma"))) inline void normalTile(const double *const *a, int k0, int k1, double *normal,
                                                           int m, int i0, int rows, int j)
{
    // Rows past `rows` repeat the last one into a scratch tile: with every
    // bound known when compiling, the tile stays in registers.
    alignas(32) double scratch[4 * V] = {};
    __m256d acc[Rows][V];
    int col[Rows];
    double *out[Rows];
#pragma GCC unroll 8
    for (int q = 0; q < Rows; ++q) {
        col[q] = i0 + std::min(q, rows - 1);
        out[q] = q < rows ? normal + size_t(i0 + q) * m + j : scratch;
#pragma GCC unroll 4
        for (int v = 0; v < V; ++v)
            acc[q][v] = _mm256_loadu_pd(out[q] + 4 * v);
    }
    for (int k = k0; k < k1; ++k) {
        const double *ak = a[k];
        __m256d x[V];
#pragma GCC unroll 4
        for (int v = 0; v < V; ++v)
            x[v] = _mm256_loadu_pd(ak + j + 4 * v);
#pragma GCC unroll 8
        for (int q = 0; q < Rows; ++q) {
            const __m256d c = _mm256_broadcast_sd(ak + col[q]);
#pragma GCC unroll 4
            for (int v = 0; v < V; ++v)
                acc[q][v] = _mm256_fmadd_pd(c, x[v], acc[q][v]);
        }
    }
#pragma GCC unroll 8
    for (int q = 0; q < Rows; ++q) {
#pragma GCC unroll 4
        for (int v = 0; v < V; ++v)
            _mm256_storeu_pd(out[q] + 4 * v, acc[q][v]);
    }
}

// Rows iBegin..iEnd-1 of the triangle in tiles held in registers while a
// block of condition rows passes (the block's part of the rows stays in the
// core's cache); each element still adds its products in row order. Tiles
// start at their first row's diagonal, so the rows below it in a tile also
// fill some elements left of theirs: harmless, only the upper triangle is read.
__attribute__((target("avx2,fma"))) void normalAvx2(const double *const *rows, const float *const *rhs, int rowCount,
                                                    int m, double *normal, double *r, int iBegin, int iEnd)
{
    constexpr int kTileRows = 4;
    constexpr int kBlockRows = 64;
    std::fill(normal + size_t(iBegin) * m, normal + size_t(iEnd) * m, 0.0);
    std::fill(r + 2 * iBegin, r + 2 * iEnd, 0.0);
    for (int k0 = 0; k0 < rowCount; k0 += kBlockRows) {
        const int k1 = std::min(k0 + kBlockRows, rowCount);
        for (int i0 = iBegin; i0 < iEnd; i0 += kTileRows) {
            const int tileRows = std::min(kTileRows, iEnd - i0);
            int j = i0;
            for (; j + 12 <= m; j += 12)
                normalTile<kTileRows, 3>(rows, k0, k1, normal, m, i0, tileRows, j);
            for (; j + 4 <= m; j += 4)
                normalTile<kTileRows, 1>(rows, k0, k1, normal, m, i0, tileRows, j);
            for (int i = i0; i < i0 + tileRows; ++i) {
                double *ni = normal + size_t(i) * m;
                for (int c = std::max(j, i); c < m; ++c) {
                    double t = ni[c];
                    for (int k = k0; k < k1; ++k)
                        t += rows[k][i] * rows[k][c];
                    ni[c] = t;
                }
            }
        }
        for (int i = iBegin; i < iEnd; ++i) {
            for (int s = 0; s < 2; ++s) {
                double t = r[2 * i + s];
                for (int k = k0; k < k1; ++k)
                    t += rows[k][i] * double(rhs[k][s]);
                r[2 * i + s] = t;
            }
        }
    }
}

// The same with sixteen columns held in registers while the block's pivots
// pass; _mm256_fnmadd_ps rounds once, as std::fma.
__attribute__((target("avx2,fma"))) void rowUpdateOneAvx2(float *ar, const float *f, const float *pivots,
                                                         int columns, int count, int pitch)
{
    int c = 0;
    for (; c + 16 <= columns; c += 16) {
        __m256 acc0 = _mm256_loadu_ps(ar + c);
        __m256 acc1 = _mm256_loadu_ps(ar + c + 8);
        for (int q = 0; q < count; ++q) {
            const __m256 fq = _mm256_set1_ps(f[q]);
            const float *pq = pivots + q * pitch + c;
            acc0 = _mm256_fnmadd_ps(fq, _mm256_loadu_ps(pq), acc0);
            acc1 = _mm256_fnmadd_ps(fq, _mm256_loadu_ps(pq + 8), acc1);
        }
        _mm256_storeu_ps(ar + c, acc0);
        _mm256_storeu_ps(ar + c + 8, acc1);
    }
    for (; c < columns; ++c) {
        float acc = ar[c];
        for (int q = 0; q < count; ++q)
            acc = std::fma(-f[q], pivots[q * pitch + c], acc);
        ar[c] = acc;
    }
}

// The same; columns q+1..count-1 in vectors of eight (the packed rows are
// kMaxBlock wide, so a vector never leaves its row), the columns up to q
// kept through a blend.
struct PivotRowAvx2
{
    int from = 0, count = 0;
    __m256 keep; // lanes of the first vector left of q + 1
    __m256 pivotRow[kMaxBlock / 8];

    __attribute__((target("avx2,fma"))) void operator()(float *pr, float factor) const
    {
        if (from >= count)
            return;
        // only the first vector holds columns left of q + 1, to keep
        const __m256 fv = _mm256_set1_ps(factor);
        const __m256 old = _mm256_loadu_ps(pr + from);
        const __m256 updated = _mm256_fnmadd_ps(fv, pivotRow[from / 8], old);
        _mm256_storeu_ps(pr + from, _mm256_blendv_ps(updated, old, keep));
        for (int v = from / 8 + 1; v < (count + 7) / 8; ++v)
            _mm256_storeu_ps(pr + 8 * v, _mm256_fnmadd_ps(fv, pivotRow[v], _mm256_loadu_ps(pr + 8 * v)));
    }
};

// (flattened: the row update is inlined into the loop, as in the plain variant)
__attribute__((target("avx2,fma"), flatten)) int pivotStepAvx2(float *panel, int size, int i, int q, int count,
                                                     double diagonal, float *b, int rhsCount)
{
    const float *pi = panel + size_t(i) * kMaxBlock;
    PivotRowAvx2 update;
    update.from = (q + 1) & ~7;
    update.count = count;
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    update.keep = _mm256_castsi256_ps(
        _mm256_cmpgt_epi32(_mm256_set1_epi32(q + 1), _mm256_add_epi32(lane, _mm256_set1_epi32(update.from))));
    for (int c = update.from; c < count; c += 8)
        update.pivotRow[c / 8] = _mm256_loadu_ps(pi + c);
    return pivotStepKernel(panel, size, i, q, count, diagonal, b, rhsCount, update);
}

// Two rows, 32 columns each in registers: every pivot value loaded serves
// both rows.
__attribute__((target("avx2,fma"))) void rowUpdateAvx2(float *a0, const float *f0, float *a1, const float *f1,
                                                      const float *pivots, int width, int count)
{
    if (!a1)
        return rowUpdateOneAvx2(a0, f0, pivots, width, count, width);
    int c = 0;
    for (; c + 32 <= width; c += 32) {
        __m256 x[4], y[4];
        for (int k = 0; k < 4; ++k) {
            x[k] = _mm256_loadu_ps(a0 + c + 8 * k);
            y[k] = _mm256_loadu_ps(a1 + c + 8 * k);
        }
        for (int q = 0; q < count; ++q) {
            const __m256 g0 = _mm256_set1_ps(f0[q]);
            const __m256 g1 = _mm256_set1_ps(f1[q]);
            const float *pq = pivots + q * width + c;
            for (int k = 0; k < 4; ++k) {
                const __m256 p = _mm256_loadu_ps(pq + 8 * k);
                x[k] = _mm256_fnmadd_ps(g0, p, x[k]);
                y[k] = _mm256_fnmadd_ps(g1, p, y[k]);
            }
        }
        for (int k = 0; k < 4; ++k) {
            _mm256_storeu_ps(a0 + c + 8 * k, x[k]);
            _mm256_storeu_ps(a1 + c + 8 * k, y[k]);
        }
    }
    if (c < width) {
        rowUpdateOneAvx2(a0 + c, f0, pivots + c, width - c, count, width);
        rowUpdateOneAvx2(a1 + c, f1, pivots + c, width - c, count, width);
    }
}

__attribute__((target("avx2,fma"))) void tileAvx2(float *a, int stride, int size, int first, int count,
                                                 const float *factors, const double *scales, int from, int to)
{
    tileKernel(a, stride, size, first, count, factors, scales, from, to, rowUpdateAvx2);
}

bool haveAvx2()
{
    static const bool have = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return have;
}
#endif

void normalPart(const double *const *rows, const float *const *rhs, int rowCount, int m, double *normal,
                double *r, int iBegin, int iEnd)
{
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        return normalAvx2(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
#endif
    normalKernel(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
}

int pivotStep(float *panel, int size, int i, int q, int count, double diagonal, float *b, int rhsCount)
{
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        return pivotStepAvx2(panel, size, i, q, count, diagonal, b, rhsCount);
#endif
    return pivotStepPlain(panel, size, i, q, count, diagonal, b, rhsCount);
}

void tile(float *a, int stride, int size, int first, int count, const float *factors, const double *scales,
          int from, int to)
{
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        return tileAvx2(a, stride, size, first, count, factors, scales, from, to);
#endif
    tileKernel(a, stride, size, first, count, factors, scales, from, to, rowUpdatePlain);
}

// Two threads meeting after every block of pivots.
class Rendezvous
{
public:
    void arrive()
    {
        const long generation = m_generation.load(std::memory_order_acquire);
        if (m_waiting.fetch_add(1, std::memory_order_acq_rel) == 1) {
            m_waiting.store(0, std::memory_order_relaxed);
            m_generation.fetch_add(1, std::memory_order_acq_rel);
            m_generation.notify_one();
            return;
        }
        // a block's factoring mostly takes less than the spin
        WaitWhileEqual(m_generation, generation);
    }

private:
    std::atomic<long> m_generation{0};
    std::atomic<int> m_waiting{0};
};

// Gauss-Jordan elimination with partial pivoting, blocked: a block of pivots
// is taken through the block's own columns (choosing rows, keeping each
// row's factor), then the columns right of it are brought up to date, tile
// by tile. Thread 0 brings the next block's columns up to date first and
// factors that block while both threads update the rest: the factoring no
// longer holds the other thread up. Its row swaps reach the columns right of
// it only once the current block's updates are through. Every element still
// sees the operations of the plain elimination in the same order, so the
// bits do not depend on the block size or the number of threads. Singular:
// `singular`.
struct Elimination
{
    static constexpr int kBlock = kMaxBlock;
    static constexpr int kTile = kMaxTile; // columns, at most
    // Thread 0 takes this many columns fewer than thread 1: the time it
    // spends factoring the next block.
    static constexpr int kFactorShare = 64;

    float *a = nullptr;
    int stride = 0;
    float *b = nullptr;
    int size = 0;
    float tolerance = 0;
    int rhsCount = 0;
    int parts = 1;
    Rendezvous meet;

    // A factored block: its columns packed size x kBlock (where a row is
    // eliminated it keeps its factor, so factors travel with row swaps), its
    // pivots' scales, and the row swaps the columns right of it still owe.
    struct Block
    {
        std::vector<float> panel;
        double scales[kBlock] = {};
        std::pair<int, int> swaps[kBlock];
        int swapCount = 0;
        int first = 0, count = 0;
        bool factored = false; // false: singular
    };
    Block blocks[2];
    bool singular = false;

    float *row(int r) const { return a + size_t(r) * stride; }
    float *rhs(int r) const { return b + size_t(r) * rhsCount; }

    // Thread 0: pivots first..first+count-1 on their own columns, packed
    // row by row so that each row's part is one short vector.
    bool factorBlock(Block &k, int first)
    {
        k.first = first;
        k.count = std::min(kBlock, size - first);
        k.swapCount = 0;
        k.factored = false;
        const int count = k.count;
        const int end = first + count;
        float *panel = k.panel.data();
        for (int r = 0; r < size; ++r) {
            float *pr = panel + size_t(r) * kBlock;
            std::copy(row(r) + first, row(r) + end, pr);
            std::fill(pr + count, pr + kBlock, 0.0f);
        }
        float largest = -1.0f;
        int pivot = first;
        for (int j = first; j < size; ++j) {
            const float magnitude = std::fabs(panel[size_t(j) * kBlock]);
            if (magnitude >= largest) { // ties go to the later row
                largest = magnitude;
                pivot = j;
            }
        }
        for (int i = first; i < end; ++i) {
            const int q = i - first;
            if (!(largest > std::fabs(tolerance)))
                return false;
            float *pi = panel + size_t(i) * kBlock;
            if (pivot != i) {
                // left of column i both rows hold zeros
                std::swap_ranges(pi, pi + kBlock, panel + size_t(pivot) * kBlock);
                std::swap_ranges(rhs(i), rhs(i) + rhsCount, rhs(pivot));
                k.swaps[k.swapCount++] = {i, pivot};
            }
            const double diagonal = pi[q];
            pivot = pivotStep(panel, size, i, q, count, diagonal, b, rhsCount);
            largest = pivot >= 0 ? std::fabs(panel[size_t(pivot) * kBlock + q + 1]) : -1.0f;
            const double scale = static_cast<float>(1.0 / diagonal);
            k.scales[q] = scale;
            for (int c = q + 1; c < count; ++c)
                pi[c] = static_cast<float>(double(pi[c]) * scale);
            pi[q] = 1.0f;
            float *bw = rhs(i);
            for (int c = 0; c < rhsCount; ++c)
                bw[c] = static_cast<float>(double(bw[c]) * scale);
        }
        k.factored = true;
        return true;
    }

    // Columns [begin, end) of this part right of block k: contiguous, split
    // at a multiple of 32 columns so that rows share at most one cache line
    // between the threads. Thread 0's part starts with the next block's columns.
    void partRange(const Block &k, int part, int &begin, int &end) const
    {
        const int from = k.first + k.count;
        const int columns = size - from;
        int first = columns;
        if (parts > 1)
            first = std::clamp((columns - kFactorShare) / 2 / 32 * 32, std::min(columns, kBlock), columns);
        begin = from + (part == 0 ? 0 : first);
        end = part == 0 ? from + first : size;
    }

    void updateColumns(const Block &k, int begin, int end)
    {
        for (int c0 = begin; c0 < end; c0 += kTile)
            tile(a, stride, size, k.first, k.count, k.panel.data(), k.scales, c0, std::min(c0 + kTile, end));
    }

    void run(int part)
    {
        if (part == 0)
            factorBlock(blocks[0], 0);
        if (parts > 1)
            meet.arrive(); // the first block is factored
        // Each thread reads only what was written before the last meeting.
        for (int k = 0;; k ^= 1) {
            const Block &block = blocks[k];
            if (!block.factored) {
                if (part == 0)
                    singular = true;
                return;
            }
            const bool lastBlock = block.first + block.count >= size;
            int begin = 0, end = 0;
            partRange(block, part, begin, end);
            // the row swaps the block owes to the columns right of it
            for (int s = 0; s < block.swapCount; ++s)
                std::swap_ranges(row(block.swaps[s].first) + begin, row(block.swaps[s].first) + end,
                                 row(block.swaps[s].second) + begin);
            if (part == 0 && !lastBlock) {
                const int next = block.first + block.count;
                const int nextEnd = std::min(next + kBlock, size);
                updateColumns(block, begin, nextEnd);
                begin = nextEnd;
                factorBlock(blocks[k ^ 1], next);
            }
            updateColumns(block, begin, end);
            if (parts > 1)
                meet.arrive(); // the columns are up to date, the next block factored
            if (lastBlock)
                return;
        }
    }
};

} // namespace

int TriangleHalf(int m)
{
    // row i holds m - i elements: the first 29 % of the rows hold half of them
    return int(double(m) * (1.0 - 1.0 / std::sqrt(2.0)));
}

void NormalEquations(const double *const *rows, const float *const *rhs, int rowCount, int m,
                     double *normal, double *r, HelperThread *helper)
{
    if (!helper || m < 64) {
        normalPart(rows, rhs, rowCount, m, normal, r, 0, m);
        return;
    }
    const int split = TriangleHalf(m);
    helper->start([&] { normalPart(rows, rhs, rowCount, m, normal, r, split, m); });
    normalPart(rows, rhs, rowCount, m, normal, r, 0, split);
    helper->wait();
}

void GaussSolve(float *a, int stride, float *b, int size, float tolerance, int rhsCount, HelperThread *helper)
{
    if (size < 1)
        return;
    Elimination e;
    for (Elimination::Block &k : e.blocks)
        k.panel.resize(size_t(size) * size_t(Elimination::kBlock));
    e.a = a;
    e.stride = stride;
    e.b = b;
    e.size = size;
    e.tolerance = tolerance;
    e.rhsCount = rhsCount;
    // Below this the meetings after every block cost what sharing the columns saves.
    e.parts = helper && size >= 256 ? 2 : 1;
    if (e.parts == 1) {
        e.run(0);
    } else {
        helper->start([&] { e.run(1); });
        e.run(0);
        helper->wait();
    }
    if (e.singular)
        fault("singular system in the panel solution");
    for (int i = 0; i < size * rhsCount; ++i) {
        if (!std::isfinite(b[i]))
            fault("non-finite solution of the panel system");
    }
}

} // namespace velmora::eppler

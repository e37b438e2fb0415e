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
            for (int s = 0; s < 2; ++s) {
                double t = r[2 * i + s];
                for (int q = 0; q < kRowsPerPass; ++q)
                    t += c[q] * double(rhs[k + q][s]);
                r[2 * i + s] = t;
            }
        }
    }
    for (; k < rowCount; ++k) {
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

constexpr int kMaxBlock = 32;
constexpr int kMaxTile = 128;

// One pivot's step on a block packed kMaxBlock floats per row: every row but
// the pivot row i takes its update on the block's columns right of q and on
// its right-hand sides; f[r] keeps its factor. Returns the row below i with
// the largest |value| in column q + 1 (ties go to the later row), -1 when q is
// the block's last column.
template <class PackedUpdate>
VELMORA_INLINE int pivotStepKernel(float *panel, int size, int i, int q, int count, double diagonal, float *f,
                                   float *b, int rhsCount, PackedUpdate packedUpdate)
{
    const float *pi = panel + size_t(i) * kMaxBlock;
    const float *bi = b + size_t(i) * rhsCount;
    float largest = -1.0f;
    int pivot = -1;
    for (int r = 0; r < size; ++r) {
        if (r == i)
            continue;
        float *pr = panel + size_t(r) * kMaxBlock;
        const float factor = static_cast<float>(double(pr[q]) / diagonal);
        f[r] = factor;
        packedUpdate(pr, pi, factor, q, count);
        pr[q] = 0.0f;
        float *br = b + size_t(r) * rhsCount;
        for (int c = 0; c < rhsCount; ++c)
            br[c] = std::fma(-factor, bi[c], br[c]);
        if (r > i && q + 1 < count && std::fabs(pr[q + 1]) >= largest) {
            largest = std::fabs(pr[q + 1]);
            pivot = r;
        }
    }
    return pivot;
}

struct PackedUpdatePlain
{
    VELMORA_INLINE void operator()(float *pr, const float *pi, float factor, int q, int count) const
    {
        for (int c = q + 1; c < count; ++c)
            pr[c] = std::fma(-factor, pi[c], pr[c]);
    }
};

// The delayed updates of a block of pivots on the column tile [from, to),
// in pivot order: every element sees the operations of the unblocked
// elimination in the same order. factors[q * size + r] is pivot first+q's
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
            const float f = factors[size_t(p) * size + size_t(first + q)];
            const float *pp = pivots + p * width;
            for (int c = 0; c < width; ++c)
                pq[c] = std::fma(-f, pp[c], pq[c]);
        }
    }
    float f[kMaxBlock];
    for (int r = 0; r < size; ++r) {
        float *ar = a + size_t(r) * stride + from;
        if (r >= first && r < first + count) {
            // a pivot row: as used, scaled, then updated by the later pivots
            const int q = r - first;
            const float *pq = pivots + q * width;
            for (int c = 0; c < width; ++c)
                ar[c] = static_cast<float>(double(pq[c]) * scales[q]);
            for (int p = q + 1; p < count; ++p) {
                const float fp = factors[size_t(p) * size + size_t(r)];
                const float *pp = pivots + p * width;
                for (int c = 0; c < width; ++c)
                    ar[c] = std::fma(-fp, pp[c], ar[c]);
            }
            continue;
        }
        for (int q = 0; q < count; ++q)
            f[q] = factors[size_t(q) * size + size_t(r)];
        rowUpdate(ar, f, pivots, width, count);
    }
}

// A row that is no pivot of the block takes the block's updates, column by
// column in pivot order.
VELMORA_INLINE void rowUpdatePlain(float *ar, const float *f, const float *pivots, int width, int count)
{
    for (int c = 0; c < width; ++c) {
        float acc = ar[c];
        for (int q = 0; q < count; ++q)
            acc = std::fma(-f[q], pivots[q * width + c], acc);
        ar[c] = acc;
    }
}

#ifdef VELMORA_AVX2_PATH
__attribute__((target("avx2,fma"))) void normalAvx2(const double *const *rows,
                                                    const float *const *rhs, int rowCount, int m,
                                                    double *normal, double *r, int iBegin, int iEnd)
{
    normalKernel(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
}

// The same with sixteen columns held in registers while the block's pivots
// pass; _mm256_fnmadd_ps rounds once, as std::fma.
__attribute__((target("avx2,fma"))) void rowUpdateAvx2(float *ar, const float *f, const float *pivots, int width,
                                                      int count)
{
    int c = 0;
    for (; c + 16 <= width; c += 16) {
        __m256 acc0 = _mm256_loadu_ps(ar + c);
        __m256 acc1 = _mm256_loadu_ps(ar + c + 8);
        for (int q = 0; q < count; ++q) {
            const __m256 fq = _mm256_set1_ps(f[q]);
            const float *pq = pivots + q * width + c;
            acc0 = _mm256_fnmadd_ps(fq, _mm256_loadu_ps(pq), acc0);
            acc1 = _mm256_fnmadd_ps(fq, _mm256_loadu_ps(pq + 8), acc1);
        }
        _mm256_storeu_ps(ar + c, acc0);
        _mm256_storeu_ps(ar + c + 8, acc1);
    }
    for (; c < width; ++c) {
        float acc = ar[c];
        for (int q = 0; q < count; ++q)
            acc = std::fma(-f[q], pivots[q * width + c], acc);
        ar[c] = acc;
    }
}

// Columns q+1..count-1 in vectors of eight; the packed rows are kMaxBlock
// wide, so a vector never leaves its row, and the columns up to q keep
// their values through the blend.
struct PackedUpdateAvx2
{
    __attribute__((target("avx2,fma"))) void operator()(float *pr, const float *pi, float factor, int q,
                                                     int count) const
    {
        const __m256 fv = _mm256_set1_ps(factor);
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        for (int c = (q + 1) & ~7; c < count; c += 8) {
            const __m256 keep = _mm256_castsi256_ps(
                _mm256_cmpgt_epi32(_mm256_set1_epi32(q + 1), _mm256_add_epi32(lane, _mm256_set1_epi32(c))));
            const __m256 old = _mm256_loadu_ps(pr + c);
            const __m256 updated = _mm256_fnmadd_ps(fv, _mm256_loadu_ps(pi + c), old);
            _mm256_storeu_ps(pr + c, _mm256_blendv_ps(updated, old, keep));
        }
    }
};

__attribute__((target("avx2,fma"))) int pivotStepAvx2(float *panel, int size, int i, int q, int count,
                                                     double diagonal, float *f, float *b, int rhsCount)
{
    return pivotStepKernel(panel, size, i, q, count, diagonal, f, b, rhsCount, PackedUpdateAvx2{});
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

int pivotStep(float *panel, int size, int i, int q, int count, double diagonal, float *f, float *b,
              int rhsCount)
{
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        return pivotStepAvx2(panel, size, i, q, count, diagonal, f, b, rhsCount);
#endif
    return pivotStepKernel(panel, size, i, q, count, diagonal, f, b, rhsCount, PackedUpdatePlain{});
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

// Gauss-Jordan elimination with partial pivoting, blocked: thread 0 takes a
// block of pivots through the block's own columns (choosing and swapping
// rows, keeping each row's factor), then both threads bring the columns
// right of it up to date, tile by tile. Every element still sees the
// operations of the plain elimination in the same order, so the bits do not
// depend on the block size or the number of threads. Singular: `singular`.
struct Elimination
{
    static constexpr int kBlock = kMaxBlock;
    static constexpr int kTile = kMaxTile; // columns, at most

    float *a = nullptr;
    int stride = 0;
    float *b = nullptr;
    int size = 0;
    float tolerance = 0;
    int rhsCount = 0;
    int parts = 1;
    Rendezvous meet;
    std::vector<float> factors; // kBlock x size
    std::vector<float> panel;   // size x kBlock: the block's columns while it is factored
    double scales[kBlock] = {};
    int first = 0, count = 0; // the block the tiles are brought up to date for
    bool singular = false;
    bool finished = false;

    float *row(int r) const { return a + size_t(r) * stride; }
    float *rhs(int r) const { return b + size_t(r) * rhsCount; }

    // Thread 0: pivots first..first+count-1 on their own columns, packed
    // row by row into `panel` so that each row's part is one short vector.
    bool factorBlock()
    {
        const int end = first + count;
        for (int r = 0; r < size; ++r) {
            float *pr = panel.data() + size_t(r) * kBlock;
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
            float *pi = panel.data() + size_t(i) * kBlock;
            if (pivot != i) {
                // left of column i both rows hold zeros
                std::swap_ranges(pi, pi + kBlock, panel.data() + size_t(pivot) * kBlock);
                std::swap_ranges(row(i) + end, row(i) + size, row(pivot) + end);
                std::swap_ranges(rhs(i), rhs(i) + rhsCount, rhs(pivot));
                // the updates still owed to the columns right of the block go with the rows
                for (int p = 0; p < q; ++p)
                    std::swap(factors[size_t(p) * size + i], factors[size_t(p) * size + pivot]);
            }
            const double diagonal = pi[q];
            pivot = pivotStep(panel.data(), size, i, q, count, diagonal, factors.data() + size_t(q) * size, b,
                              rhsCount);
            largest = pivot >= 0 ? std::fabs(panel[size_t(pivot) * kBlock + q + 1]) : -1.0f;
            const double scale = static_cast<float>(1.0 / diagonal);
            scales[q] = scale;
            for (int c = q + 1; c < count; ++c)
                pi[c] = static_cast<float>(double(pi[c]) * scale);
            pi[q] = 1.0f;
            float *bw = rhs(i);
            for (int c = 0; c < rhsCount; ++c)
                bw[c] = static_cast<float>(double(bw[c]) * scale);
        }
        for (int r = 0; r < size; ++r) {
            const float *pr = panel.data() + size_t(r) * kBlock;
            std::copy(pr, pr + count, row(r) + first);
        }
        return true;
    }

    // Tiles part, part + parts, ... of the columns right of the block.
    void updateTiles(int part)
    {
        const int from = first + count;
        const int columns = size - from;
        if (columns <= 0)
            return;
        // as many tiles as needed to fit the caches, shared out evenly
        int tiles = (columns + kTile - 1) / kTile;
        tiles = (tiles + parts - 1) / parts * parts;
        const int width = (columns + tiles - 1) / tiles;
        for (int t = part; t < tiles; t += parts) {
            const int c0 = from + t * width;
            if (c0 < size)
                tile(a, stride, size, first, count, factors.data(), scales, c0, std::min(c0 + width, size));
        }
    }

    void run(int part)
    {
        for (;;) {
            if (part == 0) {
                if (first + count >= size) {
                    finished = true;
                } else {
                    first += count;
                    count = std::min(kBlock, size - first);
                    if (!factorBlock()) {
                        singular = true;
                        finished = true;
                    }
                }
            }
            if (parts > 1)
                meet.arrive(); // the block is factored (or all is done)
            if (finished)
                return;
            updateTiles(part);
            if (parts > 1)
                meet.arrive(); // the columns right of the block are up to date
        }
    }
};

} // namespace

void NormalEquations(const double *const *rows, const float *const *rhs, int rowCount, int m,
                     double *normal, double *r, HelperThread *helper)
{
    if (!helper || m < 64) {
        normalPart(rows, rhs, rowCount, m, normal, r, 0, m);
        return;
    }
    // Row i of the triangle costs m - i: the first 29 % of the rows are half the work.
    const int split = int(double(m) * (1.0 - 1.0 / std::sqrt(2.0)));
    helper->start([&] { normalPart(rows, rhs, rowCount, m, normal, r, split, m); });
    normalPart(rows, rhs, rowCount, m, normal, r, 0, split);
    helper->wait();
}

void GaussSolve(float *a, int stride, float *b, int size, float tolerance, int rhsCount, HelperThread *helper)
{
    if (size < 1)
        return;
    Elimination e;
    e.factors.resize(size_t(Elimination::kBlock) * size_t(size));
    e.panel.resize(size_t(size) * size_t(Elimination::kBlock));
    e.a = a;
    e.stride = stride;
    e.b = b;
    e.size = size;
    e.tolerance = tolerance;
    e.rhsCount = rhsCount;
    // Below this the columns right of a block are too few to share.
    e.parts = helper && size >= 128 ? 2 : 1;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The O(n^3) part of a run. Each kernel is compiled twice, for the baseline
// instruction set and for AVX2, and picked at run time; both give the same
// bits, on one thread or two.
// - Normal equations: every product is of two floats and therefore exact in
//   double, so a fused multiply-add rounds like the separate operations, and
//   the summation order is fixed by the source.
// - Elimination: single precision, each update a - f * b rounded once
//   (std::fma, which the baseline path computes in software as exactly).

#include "analysis/stages.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <thread>

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

// Subtracts `factor` times the pivot row from row `ar`, columns i+1.., and
// returns |new value in column i + 1| for the next pivot search.
VELMORA_INLINE float eliminateRow(float *__restrict ar, const float *__restrict ai, float *br,
                                  const float *bi, double diagonal, int i, int size, int rhsCount)
{
    const float factor = static_cast<float>(double(ar[i]) / diagonal);
    for (int col = i + 1; col < size; ++col)
        ar[col] = std::fma(-factor, ai[col], ar[col]);
    ar[i] = 0.0f;
    for (int c = 0; c < rhsCount; ++c)
        br[c] = std::fma(-factor, bi[c], br[c]);
    return i + 1 < size ? std::fabs(ar[i + 1]) : 0.0f;
}

#ifdef VELMORA_AVX2_PATH
__attribute__((target("avx2,fma"))) void normalAvx2(const double *const *rows,
                                                    const float *const *rhs, int rowCount, int m,
                                                    double *normal, double *r, int iBegin, int iEnd)
{
    normalKernel(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
}

__attribute__((target("avx2,fma"))) float eliminateAvx2(float *ar, const float *ai, float *br, const float *bi,
                                                        double diagonal, int i, int size, int rhsCount)
{
    return eliminateRow(ar, ai, br, bi, diagonal, i, size, rhsCount);
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

float eliminate(float *ar, const float *ai, float *br, const float *bi, double diagonal, int i, int size,
                int rhsCount)
{
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        return eliminateAvx2(ar, ai, br, bi, diagonal, i, size, rhsCount);
#endif
    return eliminateRow(ar, ai, br, bi, diagonal, i, size, rhsCount);
}

// Two threads meeting after every pivot: spins briefly (a pivot step takes
// microseconds), then sleeps, so that a busy machine is not made busier.
class Rendezvous
{
public:
    // True when it had to sleep: the other thread was not running.
    bool arrive()
    {
        const unsigned generation = m_generation.load(std::memory_order_acquire);
        if (m_waiting.fetch_add(1, std::memory_order_acq_rel) == 1) {
            m_waiting.store(0, std::memory_order_relaxed);
            m_generation.fetch_add(1, std::memory_order_acq_rel);
            m_generation.notify_one();
            return false;
        }
        for (int spin = 0; spin < 4000; ++spin) {
            if (m_generation.load(std::memory_order_acquire) != generation)
                return false;
        }
        while (m_generation.load(std::memory_order_acquire) == generation)
            m_generation.wait(generation, std::memory_order_acquire);
        return true;
    }

private:
    std::atomic<unsigned> m_generation{0};
    std::atomic<int> m_waiting{0};
};

// Gauss-Jordan elimination with partial pivoting. Thread `part` of `parts`
// eliminates the rows of its share; thread 0 also picks and swaps pivots and
// scales the pivot rows. Every row sees the same operations in the same
// order however the rows are shared. Returns false when singular.
struct Elimination
{
    float *a = nullptr;
    int stride = 0;
    float *b = nullptr;
    int size = 0;
    float tolerance = 0;
    int rhsCount = 0;
    int parts = 1;
    Rendezvous meet;
    // On a busy machine the partner thread may not get a core for a while;
    // after a few such waits thread 0 goes on alone (the bits stay the same).
    static constexpr int kPatience = 3;
    int waits = 0;
    std::atomic<bool> alone{false};
    // Largest |column i + 1| below the pivot row, per part, and where.
    float largest[2] = {-1.0f, -1.0f};
    int pivotRow[2] = {0, 0};
    std::atomic<bool> singular{false};

    float *row(int r) const { return a + size_t(r) * stride; }
    float *rhs(int r) const { return b + size_t(r) * rhsCount; }
    int firstRow(int part) const { return part == 0 ? 0 : size / 2; }
    int endRow(int part) const { return part + 1 == parts || alone ? size : size / 2; }

    void scan(int part, int column)
    {
        largest[part] = -1.0f;
        for (int j = std::max(column, firstRow(part)); j < endRow(part); ++j) {
            const float magnitude = std::fabs(row(j)[column]);
            if (magnitude >= largest[part]) { // ties go to the later row
                largest[part] = magnitude;
                pivotRow[part] = j;
            }
        }
    }

    void run(int part)
    {
        scan(part, 0);
        for (int i = 0; i < size; ++i) {
            const bool shared = parts > 1 && !alone;
            if (shared && meet.arrive() && part == 0) // every row updated, the pivot searches done
                ++waits;
            if (part == 0) {
                if (i > 0)
                    scaleRow(i - 1);
                int pivot = pivotRow[0];
                float best = largest[0];
                if (shared && largest[1] >= best) {
                    best = largest[1];
                    pivot = pivotRow[1];
                }
                if (!(best > std::fabs(tolerance))) {
                    singular = true;
                } else if (pivot != i) {
                    float *ai = row(i);
                    std::swap_ranges(ai + i, ai + size, row(pivot) + i);
                    std::swap_ranges(rhs(i), rhs(i) + rhsCount, rhs(pivot));
                }
                if (shared && waits >= kPatience)
                    alone = true;
            }
            if (shared)
                meet.arrive(); // the pivot row is in place
            if (singular || (part == 1 && alone))
                return;
            const float *ai = row(i);
            const float *bi = rhs(i);
            const double diagonal = ai[i];
            largest[part] = -1.0f;
            for (int r = firstRow(part); r < endRow(part); ++r) {
                if (r == i)
                    continue;
                const float next = eliminate(row(r), ai, rhs(r), bi, diagonal, i, size, rhsCount);
                if (r > i && next >= largest[part]) {
                    largest[part] = next;
                    pivotRow[part] = r;
                }
            }
        }
        if (parts > 1 && !alone)
            meet.arrive();
        if (part == 0)
            scaleRow(size - 1);
    }

    void scaleRow(int i)
    {
        float *ai = row(i);
        const double scale = static_cast<float>(1.0 / double(ai[i]));
        for (int col = i + 1; col < size; ++col)
            ai[col] = static_cast<float>(double(ai[col]) * scale);
        ai[i] = 1.0f;
        float *bw = rhs(i);
        for (int c = 0; c < rhsCount; ++c)
            bw[c] = static_cast<float>(double(bw[c]) * scale);
    }
};

} // namespace

void NormalEquations(const double *const *rows, const float *const *rhs, int rowCount, int m,
                     double *normal, double *r, int threads)
{
    if (threads < 2 || m < 64) {
        normalPart(rows, rhs, rowCount, m, normal, r, 0, m);
        return;
    }
    // Row i of the triangle costs m - i: the first 29 % of the rows are half the work.
    const int split = int(double(m) * (1.0 - 1.0 / std::sqrt(2.0)));
    std::thread helper([&] { normalPart(rows, rhs, rowCount, m, normal, r, split, m); });
    normalPart(rows, rhs, rowCount, m, normal, r, 0, split);
    helper.join();
}

void GaussSolve(float *a, int stride, float *b, int size, float tolerance, int rhsCount, int threads)
{
    if (size < 1)
        return;
    Elimination e;
    e.a = a;
    e.stride = stride;
    e.b = b;
    e.size = size;
    e.tolerance = tolerance;
    e.rhsCount = rhsCount;
    // Below this a pivot step is too short to share.
    e.parts = threads >= 2 && size >= 128 ? 2 : 1;
    if (e.parts == 1) {
        e.run(0);
    } else {
        std::thread helper([&] { e.run(1); });
        e.run(0);
        helper.join();
    }
    if (e.singular)
        fault("singular system in the panel solution");
    for (int i = 0; i < size * rhsCount; ++i) {
        if (!std::isfinite(b[i]))
            fault("non-finite solution of the panel system");
    }
}

} // namespace velmora::eppler

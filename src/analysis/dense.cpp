// SPDX-License-Identifier: GPL-3.0-or-later
// The O(n^3) part of a run. Each kernel is compiled twice, for the baseline
// instruction set and for AVX2, and picked at run time. Both give the same
// bits: every product is of two floats and therefore exact in double, so a
// fused multiply-add rounds exactly like the separate operations, and the
// summation order is fixed by the source.

#include "analysis/stages.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace velmora::eppler {

namespace {

#if defined(__GNUC__) && defined(__x86_64__)
#define VELMORA_AVX2_PATH 1
#define VELMORA_INLINE inline __attribute__((always_inline))
#else
#define VELMORA_INLINE inline
#endif

// Rows iBegin..iEnd-1 of the triangle: threads may share the work by rows,
// every element still sums in the same order.
VELMORA_INLINE void normalKernel(const float *const *rows, const float *const *rhs, int rowCount,
                                 int m, double *normal, double *r, int iBegin, int iEnd)
{
    std::fill(normal + size_t(iBegin) * m, normal + size_t(iEnd) * m, 0.0);
    std::fill(r + 2 * iBegin, r + 2 * iEnd, 0.0);
    // Four rows per pass over the triangle, added one after another so that
    // every element sees the same sequence of additions as row by row.
    int k = 0;
    for (; k + 4 <= rowCount; k += 4) {
        const float *a0 = rows[k], *a1 = rows[k + 1], *a2 = rows[k + 2], *a3 = rows[k + 3];
        for (int i = iBegin; i < iEnd; ++i) {
            const double c0 = a0[i], c1 = a1[i], c2 = a2[i], c3 = a3[i];
            double *__restrict ni = normal + size_t(i) * m;
            for (int j = i; j < m; ++j) {
                double t = ni[j];
                t += c0 * double(a0[j]);
                t += c1 * double(a1[j]);
                t += c2 * double(a2[j]);
                t += c3 * double(a3[j]);
                ni[j] = t;
            }
            for (int c = 0; c < 2; ++c) {
                double t = r[2 * i + c];
                t += c0 * double(rhs[k][c]);
                t += c1 * double(rhs[k + 1][c]);
                t += c2 * double(rhs[k + 2][c]);
                t += c3 * double(rhs[k + 3][c]);
                r[2 * i + c] = t;
            }
        }
    }
    for (; k < rowCount; ++k) {
        const float *a0 = rows[k];
        for (int i = iBegin; i < iEnd; ++i) {
            const double c0 = a0[i];
            double *__restrict ni = normal + size_t(i) * m;
            for (int j = i; j < m; ++j)
                ni[j] += c0 * double(a0[j]);
            r[2 * i] += c0 * double(rhs[k][0]);
            r[2 * i + 1] += c0 * double(rhs[k][1]);
        }
    }
}

// Returns false on a singular system (the arrays are then half eliminated).
VELMORA_INLINE bool gaussKernel(float *a, int stride, float *b, int size, float tolerance,
                                int rhsCount)
{
    for (int i = 0; i < size; ++i) {
        int pivot = i;
        float largest = -1.0f;
        for (int j = i; j < size; ++j) {
            const float magnitude = std::fabs(a[size_t(j) * stride + i]);
            if (magnitude >= largest) { // ties go to the later row
                largest = magnitude;
                pivot = j;
            }
        }
        if (!(largest > std::fabs(tolerance)))
            return false;
        float *__restrict ai = a + size_t(i) * stride;
        if (pivot != i) {
            std::swap_ranges(ai + i, ai + size, a + size_t(pivot) * stride + i);
            std::swap_ranges(b + size_t(i) * rhsCount, b + size_t(i + 1) * rhsCount,
                             b + size_t(pivot) * rhsCount);
        }
        const double diagonal = ai[i];
        const float *bi = b + size_t(i) * rhsCount;
        for (int row = 0; row < size; ++row) {
            if (row == i)
                continue;
            float *__restrict ar = a + size_t(row) * stride;
            const double factor = static_cast<float>(double(ar[i]) / diagonal);
            for (int col = i + 1; col < size; ++col)
                ar[col] = static_cast<float>(double(ar[col]) - factor * double(ai[col]));
            ar[i] = 0.0f;
            float *br = b + size_t(row) * rhsCount;
            for (int c = 0; c < rhsCount; ++c)
                br[c] = static_cast<float>(double(br[c]) - factor * double(bi[c]));
        }
        const double scale = static_cast<float>(1.0 / diagonal);
        for (int col = i + 1; col < size; ++col)
            ai[col] = static_cast<float>(double(ai[col]) * scale);
        ai[i] = 1.0f;
        float *bw = b + size_t(i) * rhsCount;
        for (int c = 0; c < rhsCount; ++c)
            bw[c] = static_cast<float>(double(bw[c]) * scale);
    }
    return true;
}

#ifdef VELMORA_AVX2_PATH
__attribute__((target("avx2,fma"))) void normalAvx2(const float *const *rows,
                                                    const float *const *rhs, int rowCount, int m,
                                                    double *normal, double *r, int iBegin, int iEnd)
{
    normalKernel(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
}

__attribute__((target("avx2,fma"))) bool gaussAvx2(float *a, int stride, float *b, int size,
                                                   float tolerance, int rhsCount)
{
    return gaussKernel(a, stride, b, size, tolerance, rhsCount);
}

bool haveAvx2()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}
#endif

} // namespace

namespace {

void normalPart(const float *const *rows, const float *const *rhs, int rowCount, int m, double *normal,
                double *r, int iBegin, int iEnd)
{
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        return normalAvx2(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
#endif
    normalKernel(rows, rhs, rowCount, m, normal, r, iBegin, iEnd);
}

} // namespace

void NormalEquations(const float *const *rows, const float *const *rhs, int rowCount, int m,
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

void GaussSolve(float *a, int stride, float *b, int size, float tolerance, int rhsCount)
{
    bool solved = false;
#ifdef VELMORA_AVX2_PATH
    if (haveAvx2())
        solved = gaussAvx2(a, stride, b, size, tolerance, rhsCount);
    else
#endif
        solved = gaussKernel(a, stride, b, size, tolerance, rhsCount);
    if (!solved)
        fault("singular system in the panel solution");
    for (int i = 0; i < size * rhsCount; ++i) {
        if (!std::isfinite(b[i]))
            fault("non-finite solution of the panel system");
    }
}

} // namespace velmora::eppler

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Logarithm and arc tangent on vectors of doubles, written once with the
// compiler's vector extensions so that a build for the baseline instruction
// set and one for AVX2 compute the same bits (plain IEEE operations, no fused
// multiply-add). Both stay within 2 units in the last place of the C library
// functions (fdlibm's polynomials). The caller keeps the arguments in range
// and falls back to the library for anything else.

namespace velmora::eppler {

typedef double Doubles4 __attribute__((vector_size(32)));
typedef long long Bits4 __attribute__((vector_size(32)));

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

// log(x) for positive, normal, finite x.
inline __attribute__((always_inline)) Doubles4 vectorLog(Doubles4 x)
{
    constexpr double ln2Hi = 6.93147180369123816490e-01, ln2Lo = 1.90821492927058770002e-10;
    constexpr double lg1 = 6.666666666666735130e-01, lg2 = 3.999999999940941908e-01,
                     lg3 = 2.857142874366239149e-01, lg4 = 2.222219843214978396e-01,
                     lg5 = 1.818357216161805012e-01, lg6 = 1.531383769920937332e-01,
                     lg7 = 1.479819860511658591e-01;
    // x = 2^k (1 + f) with 1 + f in [sqrt(2)/2, sqrt(2))
    const Bits4 bits = (Bits4)x;
    const Bits4 offset = bits - 0x3fe6a09e667f3bcdLL;
    const Bits4 k = offset >> 52;
    const Doubles4 f = (Doubles4)(bits - (offset & (0xfffLL << 52))) - 1.0;
    const Doubles4 dk = (Doubles4)(k + 0x4338000000000000LL) - 6755399441055744.0; // exact for |k| < 2^51
    const Doubles4 s = f / (2.0 + f);
    const Doubles4 z = s * s;
    const Doubles4 w = z * z;
    const Doubles4 r = z * (lg1 + w * (lg3 + w * (lg5 + w * lg7))) + w * (lg2 + w * (lg4 + w * lg6));
    const Doubles4 hfsq = 0.5 * f * f;
    return dk * ln2Hi - ((hfsq - (s * (hfsq + r) + dk * ln2Lo)) - f);
}

// atan2(y, x) for finite arguments that are not both zero.
inline __attribute__((always_inline)) Doubles4 vectorAtan2(Doubles4 y, Doubles4 x)
{
    constexpr double aT[] = {3.33333333333329318027e-01, -1.99999999998764832476e-01, 1.42857142725034663711e-01,
                             -1.11111104054623557880e-01, 9.09088713343650656196e-02, -7.69187620504482999495e-02,
                             6.66107313738753120669e-02, -5.83357013379057348645e-02, 4.97687799461593236017e-02,
                             -3.65315727442169155270e-02, 1.62858201153657823623e-02};
    constexpr double atanHalfHi = 4.63647609000806093515e-01, atanHalfLo = 2.26987774529616870924e-17;
    constexpr double atanOneHi = 7.85398163397448278999e-01, atanOneLo = 3.06161699786838301793e-17;
    constexpr double halfPiHi = 1.57079632679489655800e+00, halfPiLo = 6.12323399573676603587e-17;
    constexpr double piHi = 3.1415926535897931160e+00, piLo = 1.2246467991473531772e-16;
    constexpr long long magnitude = 0x7fffffffffffffffLL;
    const Doubles4 zero{};
    const Doubles4 ax = (Doubles4)((Bits4)x & magnitude);
    const Doubles4 ay = (Doubles4)((Bits4)y & magnitude);
    // atan of a = min/max in [0, 1], reduced about 0.5 and 1 as fdlibm does
    const Bits4 swapped = ay > ax;
    const Doubles4 a = (swapped ? ax : ay) / (swapped ? ay : ax);
    const Bits4 nearHalf = a >= 0.4375;
    const Bits4 nearOne = a >= 0.6875;
    const Doubles4 t = (nearOne ? a - 1.0 : (nearHalf ? 2.0 * a - 1.0 : a))
        / (nearOne ? a + 1.0 : (nearHalf ? 2.0 + a : zero + 1.0));
    const Doubles4 z = t * t;
    const Doubles4 w = z * z;
    const Doubles4 s1 = z * (aT[0] + w * (aT[2] + w * (aT[4] + w * (aT[6] + w * (aT[8] + w * aT[10])))));
    const Doubles4 s2 = w * (aT[1] + w * (aT[3] + w * (aT[5] + w * (aT[7] + w * aT[9]))));
    const Doubles4 hi = nearOne ? zero + atanOneHi : (nearHalf ? zero + atanHalfHi : zero);
    const Doubles4 lo = nearOne ? zero + atanOneLo : (nearHalf ? zero + atanHalfLo : zero);
    Doubles4 r = hi - ((t * (s1 + s2) - lo) - t);
    r = swapped ? (halfPiHi - r) + halfPiLo : r;
    r = x < 0.0 ? (piHi - r) + piLo : r;
    return (Doubles4)(((Bits4)r & magnitude) | ((Bits4)y & ~magnitude));
}

#pragma GCC diagnostic pop

} // namespace velmora::eppler

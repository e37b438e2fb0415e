// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/memoryusage.h"

#include <malloc.h>

namespace velmora {

uint64_t CurrentHeapBytes()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 mi = mallinfo2();
    return uint64_t(mi.uordblks) + uint64_t(mi.hblkhd);
#else
    return 0;
#endif
}

} // namespace velmora

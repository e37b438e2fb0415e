// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace velmora {

// Bytes the program currently holds on its heap (the memory manager's figure).
uint64_t CurrentHeapBytes();

} // namespace velmora

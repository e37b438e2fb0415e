// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/chartmodel.h"

namespace velmora {

// Index of the point of series `seriesIndex` under the cursor (plot pixels),
// or -1. Scanning in index order, the first match wins: a point whose shown
// marker covers the cursor (|dx| and |dy| below the marker half-sizes), a
// point exactly at the cursor, or the segment from point i - 1 to point i
// passing within about a pixel of the cursor (which picks i - 1).
// Hidden series and invalid indices give -1.
int PickPoint(const ChartModel &chart, int seriesIndex, int cursorX, int cursorY);

} // namespace velmora

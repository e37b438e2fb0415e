// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/picking.h"

#include <algorithm>
#include <cstdlib>

namespace velmora {

int PickPoint(const ChartModel &chart, int seriesIndex, int cursorX, int cursorY)
{
    if (seriesIndex < 0 || seriesIndex >= chart.SeriesCount())
        return -1;
    const ChartSeries &s = chart.At(seriesIndex);
    if (!s.Shown)
        return -1;
    int prevX = 0;
    int prevY = 0;
    for (int i = 0; i < s.Count(); ++i) {
        const int px = chart.XToPixel(s.XValues[size_t(i)]);
        const int py = chart.YToPixel(s.YValues[size_t(i)]);
        if (s.Marker.Visible && std::abs(px - cursorX) < s.Marker.HorizSize
            && std::abs(py - cursorY) < s.Marker.VertSize)
            return i;
        if (px == cursorX && py == cursorY)
            return i;
        if (i > 0) {
            const bool inBox = cursorX >= std::min(prevX, px) && cursorX <= std::max(prevX, px)
                && cursorY >= std::min(prevY, py) && cursorY <= std::max(prevY, py);
            if (inBox) {
                const long long sx = px - prevX;
                const long long sy = py - prevY;
                const long long ox = cursorX - prevX;
                const long long oy = cursorY - prevY;
                const long long cross = std::llabs(sx * oy - sy * ox);
                if (cross < std::max(std::llabs(sx), std::llabs(sy)))
                    return i - 1;
            }
        }
        prevX = px;
        prevY = py;
    }
    return -1;
}

} // namespace velmora

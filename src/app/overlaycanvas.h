// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/colour.h"

#include <string>

namespace velmora {

// What the overlay pass draws on the finished plot, in plot pixels.
class OverlayCanvas
{
public:
    virtual ~OverlayCanvas() = default;
    virtual void Line(int x0, int y0, int x1, int y1, TColor colour, int width) = 0;
    // Text with its top-left corner at (x, y) on an opaque background.
    virtual void Text(int x, int y, const std::string &utf8, TColor colour, TColor background) = 0;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/colour.h"

#include <cmath>

namespace velmora {

TColor ResolveColour(TColor c)
{
    if (c >= 0)
        return c & 0xFFFFFF;
    switch (c & 0xFF) {
    case 5:  // window
        return kColorWhite;
    case 8:  // window text
    case 7:  // menu text
    case 18: // button text
        return kColorBlack;
    case 15: // button face
    case 4:  // menu
        return RgbColor(240, 240, 240);
    case 16: // button shadow
        return RgbColor(160, 160, 160);
    case 13: // highlight
        return RgbColor(0, 120, 215);
    default:
        return RgbColor(192, 192, 192);
    }
}

TColor ContrastColour(TColor background)
{
    const TColor c = ResolveColour(background);
    const int weighted = 61 * RedOf(c) + 174 * GreenOf(c) + 21 * BlueOf(c);
    return weighted < 32768 ? kColorWhite : kColorBlack;
}

TColor ShadeColour(TColor background, double f)
{
    const int k = int(std::nearbyint(f * 255.0));
    if (ContrastColour(background) == kColorWhite)
        return RgbColor(255 - k, 255 - k, 255 - k);
    return RgbColor(k, k, k);
}

const std::array<TColor, 16> &ProfilePalette()
{
    static constexpr std::array<TColor, 16> palette = {
        RgbColor(255, 0, 0),     RgbColor(0, 128, 0),     RgbColor(255, 255, 0),
        RgbColor(0, 0, 255),     RgbColor(255, 255, 255), RgbColor(128, 128, 128),
        RgbColor(255, 0, 255),   RgbColor(0, 128, 128),   RgbColor(0, 0, 128),
        RgbColor(128, 0, 0),     RgbColor(0, 255, 0),     RgbColor(128, 128, 0),
        RgbColor(128, 0, 128),   RgbColor(192, 192, 192), RgbColor(0, 255, 255),
        RgbColor(0, 0, 0),
    };
    return palette;
}

} // namespace velmora

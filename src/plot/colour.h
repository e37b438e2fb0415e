// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace velmora {

// Colours are Windows colour values 0x00BBGGRR in a signed 32-bit integer;
// values with the high bit set name a system colour (the low byte is its index).
using TColor = int32_t;

constexpr TColor RgbColor(int r, int g, int b)
{
    return TColor((b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF));
}
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

inline constexpr TColor kColorWhite = RgbColor(255, 255, 255);
inline constexpr TColor kColorBlack = RgbColor(0, 0, 0);
inline constexpr TColor kColorRed = RgbColor(255, 0, 0);

// System colour values as the settings file stores them.
inline constexpr TColor kSysColorWindow = TColor(0x80000005);
inline constexpr TColor kSysColorWindowText = TColor(0x80000008);
inline constexpr TColor kSysColorBtnFace = TColor(0x8000000F);

// Resolves a system colour to its RGB value (the face colour is a light
// grey 240, 240, 240); plain colours are returned as they are.
TColor ResolveColour(TColor c);

// White or black, whichever stands out against `background`:
// white when 61 R + 174 G + 21 B < 32768.
TColor ContrastColour(TColor background);

// The contrast colour moved towards mid grey by f (0..1): k = round(f * 255),
// halves to even; grey 255 - k against a dark background, grey k against a
// light one. f = 0 gives the contrast colour.
TColor ShadeColour(TColor background, double f);

// The 16 colours given to new profiles, in the order they are handed out.
const std::array<TColor, 16> &ProfilePalette();

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum FontStyleFlag : unsigned {
    kFontBold = 1u,
    kFontItalic = 2u,
    kFontUnderline = 4u,
    kFontStrikeOut = 8u,
};

// The common font of "Velmora_Fontinfo.txt". The initial values apply when the
// file does not name a key: an empty face name leaves each control's face
// as it is.
struct TFontSettings
{
    std::string Name;
    int Size = 0;
    int Color = 0;
    std::string Style;
};

// Lines that begin with FONT_NAME=, FONT_SIZE=, FONT_COLOR= or FONT_STYLE=
// (exact case, at the first character) set their value, trimmed; empty values
// give "MS Sans Serif", 8 and 0. Other lines, and size or colour values that
// are not integers, are ignored; a later line overrides an earlier one.
TFontSettings ParseFontSettingsLines(const std::vector<std::string> &lines);

// Reads the file; returns false, with `settings` unchanged, when it cannot be read.
bool ReadFontSettingsFile(const std::string &path, TFontSettings &settings);

// "fsBold,fsItalic", optionally in square brackets, to FontStyleFlag bits;
// unknown names are ignored.
unsigned ParseFontStyle(std::string_view text);

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The place and state of a window of its own (polars, boundary layers), kept
// in a settings file of its own beside Velmora.ini, which keeps its fixed
// set of keys: one "KEY=value" line each, the keys named after the window
// ("POLAREN_TOP=", "GRENZSCHICHT_TOP=", ...).

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct WindowPlace
{
    int Top = 0;
    int Left = 0;
    int Width = 0; // pixels
    int Height = 0;
    bool Visible = false;
    bool AllChecked = false; // "Alle angehakten Profile"
};

// The lines of a settings file; none when it is missing or unreadable.
std::vector<std::string> ReadSettingsLines(const std::string &path);

// Takes <prefix>TOP, LEFT, WIDTH, HEIGHT, SICHTBAR and ALLE from `lines`.
// Missing keys and values that are not whole numbers of sensible size leave
// the field as it was.
void ReadWindowPlace(const std::vector<std::string> &lines, std::string_view prefix, WindowPlace &place);

// The value after "<key>=" on the line that starts with it, if any.
bool SettingValue(const std::vector<std::string> &lines, std::string_view key, std::string &value);

// The lines for `place`, in the order above (ALLE last).
std::vector<std::string> WindowPlaceLines(std::string_view prefix, const WindowPlace &place);

} // namespace velmora

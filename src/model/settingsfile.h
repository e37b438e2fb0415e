// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The window face colour as a Windows system colour value (high bit set);
// written to the settings file as -2147483633.
inline constexpr int kColorBtnFace = int(0x8000000F);

// The values of the settings file "Velmora.ini". The defaults are those the
// program uses when a key is missing; the window sizes are the designed
// client sizes.
struct TSettings
{
    int Form1Top = 94;
    int Form1Left = 138;
    int Form1Width = 1012;
    int Form1Height = 714;
    int Form3Top = 11;
    int Form3Left = 253;
    int Form3Width = 862;
    int Form3Height = 204;
    std::string OpenDialog1Dir; // profile load
    std::string SaveDialog1Dir; // profile save
    std::string OpenDialog2Dir; // project open (load and append)
    std::string SaveDialog2Dir; // project save
    int WheelStep = 4;
    int Chart1BackColor = kColorBtnFace;
};

// Applies the lines of a settings file to `settings`: a key counts wherever it
// stands in a line, its value is the text after the first "=", the line is
// cut down to that value before the next key is tried, and the last line
// with a key wins. Keys missing from the lines, and integer values that are
// not integers, leave their field as it is.
void ParseSettingsLines(const std::vector<std::string> &lines, TSettings &settings);

// The 14 lines in their fixed order.
std::vector<std::string> SettingsLines(const TSettings &settings);

// Reads the file onto `settings`; a missing or unreadable file changes
// nothing and is not an error.
void ReadSettingsFile(const std::string &path, TSettings &settings);

// Writes the 14 lines atomically; throws UserError "Datei %s kann nicht
// erstellt werden" on failure.
void WriteSettingsFile(const std::string &path, const TSettings &settings);

} // namespace velmora

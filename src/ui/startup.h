// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/fontsettingsfile.h"

#include <QString>

#include <functional>
#include <string>

class QApplication;
class QWidget;

namespace velmora {

class TForm1;
class TForm3;

// "Velmora.ini" and "Velmora_Fontinfo.txt" in the program folder.
QString SettingsPath(const QString &programFolder);
QString FontSettingsPath(const QString &programFolder);

// Where the program finds its files and keeps the user's. An installed
// program (PREFIX/bin beside PREFIX/share/velmora) has its samples and help
// documents in share/velmora; its settings, like those of a program whose
// folder is not writable, go to $XDG_CONFIG_HOME/velmora (default
// ~/.config/velmora), created when missing. Otherwise all three are the
// program folder, as always.
struct ProgramFolders
{
    QString program;
    QString data;
    QString settings;
    bool installed = false;
};
ProgramFolders FindProgramFolders(const QString &programFolder);

// Restores window places, dialog folders, wheel step and plot colour; a
// missing or unreadable file restores nothing. Windows that would lie off
// every screen are moved onto the primary screen.
void ReadSettings(TForm1 &form1, TForm3 &form3, const QString &path);

// Writes the 14 settings; false with the German message in `error` on failure.
bool WriteSettings(TForm1 &form1, TForm3 &form3, const QString &path, std::string &error);

// Moves a window whose rectangle shows too little on any screen back onto
// the primary screen, shrinking it to fit when needed.
void KeepOnScreen(QWidget &window);

// Calls `before` whenever a close request reaches `window`, before the window
// handles it: closing the main window takes its other windows along, and
// whether they were open is what the user left, not what the close made of it.
void OnCloseRequest(QWidget &window, std::function<void()> before);

// Gives every control of every top-level window the common font of the font
// settings file: an empty face keeps each face, a size below 1 keeps sizes.
void ApplyFontSettings(const TFontSettings &font);

// The whole program: windows in their start order, settings, message loop,
// settings at exit. Returns the exit status.
int RunVelmora(QApplication &app);

} // namespace velmora

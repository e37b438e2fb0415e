// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/redistribute.h"
#include "plot/colour.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What a file dialog shows; texts in UTF-8.
struct FileDialogSetup
{
    std::string Title;
    std::string FilterDescription; // "Profildateien *.Dat"
    std::string FilterPattern;     // "*.dat" or "*.VMPRO;*.VMPRO2"
    std::string DefaultSuffix;     // added when the typed name has no ending
    bool MultiSelect = false;
    bool Save = false;             // save dialogs ask before overwriting
};

// The four dialogs of the "Datei" menu.
extern const FileDialogSetup kProfileLoadDialog;
extern const FileDialogSetup kProfileSaveDialog;
extern const FileDialogSetup kProjectOpenDialog;
extern const FileDialogSetup kProjectSaveDialog;

// Menu entries whose enabled state follows the program's state.
enum class MenuEntry { InsertClipboardLowerSide };

// The angle fields of the transition polar ("Alfa Start", "Alfa Ende", "Alfa Step").
enum class PolarField { Start, End, Step };

// Everything modal or visual the commands need from the main window. The Qt
// window implements it with message boxes, file and colour dialogs and its
// controls; tests use a scripted fake. Texts are UTF-8; "\r" in a message
// breaks the line.
class MainView
{
public:
    virtual ~MainView() = default;

    // Information box, caption "Information", one "OK" button.
    virtual void ShowInfo(const std::string &text) = 0;
    // Confirmation box, caption "Bestätigung", "&Ja" and "&Nein"; true for Ja.
    virtual bool AskYesNo(const std::string &text) = 0;
    // The application's error box for a failed command (file access, numbers).
    virtual void ShowError(const std::string &text) = 0;

    // File dialogs starting in `folder`; empty results mean cancelled.
    virtual std::vector<std::string> ChooseOpenFiles(const FileDialogSetup &setup,
                                                     const std::string &folder) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup,
                                                      const std::string &folder,
                                                      const std::string &proposedName) = 0;
    // Colour dialog preset to `initial`; nullopt when cancelled.
    virtual std::optional<TColor> ChooseColour(TColor initial) = 0;
    // Input box with caption, prompt and preset text; nullopt when cancelled.
    virtual std::optional<std::string> AskText(const std::string &caption, const std::string &prompt,
                                               const std::string &preset) = 0;
    // The modal redistribution dialog (count text and distribution, kept
    // between openings). OK calls `accept`; the dialog closes only when it
    // returns true.
    virtual void ShowRedistributionDialog(
        const std::function<bool(const std::string &count, StationDistribution distribution)> &accept) = 0;

    // The profile list must be redrawn from the controller's state.
    virtual void RepaintList() = 0;
    // The plot must be redrawn (it calls back BeforeDrawSeries and AfterDraw).
    virtual void RedrawPlot() = 0;
    // "Profil - Dateiname" and "Profil - Überschrift (erste Zeile)" fields.
    virtual void SetNameTitleFields(const std::string &name, const std::string &title) = 0;
    virtual void SetStatusText(int panel, const std::string &text) = 0;
    virtual void SetMenuEnabled(MenuEntry entry, bool enabled) = 0;
    // The profile list takes no input while a polar is computed.
    virtual void SetListEnabled(bool enabled) = 0;

    // The ca, cm and cw fields of the speed distribution (empty texts clear them).
    virtual void SetResultFields(const std::string &ca, const std::string &cm, const std::string &cw) = 0;
    // A polar angle field marked red after an engine error, or back to normal.
    virtual void SetPolarFieldAlarm(PolarField field, bool alarm) = 0;
    virtual void FocusPolarField(PolarField field) = 0;
    // "Aktiver Punkt" X and Y (empty texts clear them).
    virtual void SetActivePointFields(const std::string &x, const std::string &y) = 0;
    // Another point became active than the one the fields showed: a
    // coordinate typed for the old point is dropped, never applied to the new one.
    virtual void ActivePointChanged() {}
    virtual void CloseMainWindow() = 0;
};

} // namespace velmora

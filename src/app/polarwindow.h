// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The polar window without a window: four diagrams (ca over alpha, ca over
// cw, cm over alpha, transition x over alpha) of the selected profile or of
// every checked profile, at up to five Reynolds numbers, following every
// change. Computing is split from showing so that the sweep can run on a
// worker thread: MakeJob copies what it needs on the GUI thread, a
// PolarComputer computes anywhere, Show applies on the GUI thread.

#include "analysis/panelshare.h"
#include "analysis/polarsweep.h"
#include "app/diagrampanel.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisInputs;

extern const FileDialogSetup kPolarCsvDialog;
extern const FileDialogSetup kPolarImageDialog;

using PolarView = DiagramView;

enum PolarDiagramIndex { kCaAlpha = 0, kCaCw = 1, kCmAlpha = 2, kXtrAlpha = 3, kPolarDiagrams = 4 };

using PolarJobProfile = JobProfile;

// Everything a computation needs, copied from the project.
struct PolarJob
{
    uint64_t Generation = 0;
    std::vector<PolarJobProfile> Profiles;
    std::vector<double> Reynolds;
    PolarRange Range;
    std::string Error; // a field text that is not usable: nothing to compute
};

struct PolarProfileResult
{
    std::string Name;
    TColor Color = kColorRed;
    std::string Refused;            // why the profile is not analysed (first line shown), or empty
    std::vector<PolarCurve> Curves; // one per Reynolds number
};

struct PolarResults
{
    uint64_t Generation = 0;
    std::vector<PolarProfileResult> Profiles;
    std::vector<double> Reynolds;
    std::string Error;
    bool Superseded = false; // stopped early for a newer state: not to be shown
};

// Computes polar jobs; keeps the last result of each profile so that only
// profiles whose points or inputs changed are swept again. One per thread.
class PolarComputer
{
public:
    explicit PolarComputer(int jobs = 0) : m_sweep(jobs) {}
    // `stop` (see PolarSweep::run) ends a job whose state is outdated early:
    // the results are then Superseded, and nothing of them is kept.
    PolarResults Compute(const PolarJob &job, const std::function<bool()> &stop = {});
    // Panel solutions shared with other threads working on the same contours.
    void SetPanelShare(std::shared_ptr<PanelShare> share) { m_share = std::move(share); }

private:
    struct Entry
    {
        std::vector<TKoordi> Points;
        std::vector<double> Reynolds;
        PolarRange Range;
        std::vector<PolarCurve> Curves;
    };
    PolarSweep m_sweep;
    std::vector<Entry> m_cache;
    std::shared_ptr<PanelShare> m_share;
};

class PolarWindowController
{
public:
    explicit PolarWindowController(PolarView &view);

    // Inputs of the window, in their start states.
    std::string ReText = "100000 200000 500000"; // "Re-Zahlen"
    bool AllChecked = false;                     // "Alle angehakten Profile"
    bool Visible = false;
    std::string ExportFolder;

    // The profiles to show: the selected one (if visible), or every visible
    // one; angles from the transition polar's fields.
    PolarJob MakeJob(const TProf_Projekt &project, int selectedRow, const AnalysisInputs &inputs);
    // The generation of the newest job made; results of older jobs are stale.
    uint64_t LatestGeneration() const { return m_generation; }
    // Shows results unless a newer job has been made since; true when shown.
    bool Show(PolarResults results);
    // MakeJob, compute on this thread, Show.
    void Refresh(const TProf_Projekt &project, int selectedRow, const AnalysisInputs &inputs);

    Diagram &At(int i) { return m_panel.At(i); }
    const Diagram &At(int i) const { return m_panel.At(i); }
    const PolarResults &Results() const { return m_results; }
    // Count of angles without a result over every shown curve.
    int GapCount() const;
    // "n Winkel ohne Ergebnis", the input error or empty.
    std::string StatusText() const;

    // Layout, mouse, zoom and scene of the four diagrams in a 2 x 2 grid; the
    // readout names the point nearest the mouse.
    DiagramPanel &Panel() { return m_panel; }
    const DiagramPanel &Panel() const { return m_panel; }

    // "Polare speichern unter": CSV of every shown curve.
    void PolareSpeichernUnter();
    // "Diagramme speichern unter": the four diagrams as PNG or SVG (by the ending).
    void DiagrammeSpeichernUnter();
    // The CSV text (header and one line per valid sample).
    std::string CsvText() const;

private:
    void rebuild();
    std::string readout(int diagram, int x, int y) const;

    PolarView &m_view;
    uint64_t m_generation = 0;
    PolarResults m_results;
    DiagramPanel m_panel;
    // per diagram and series: the profile, Reynolds number and first sample
    struct Origin
    {
        int Profile, Re, FirstSample;
        bool Lower;
    };
    std::array<std::vector<Origin>, kPolarDiagrams> m_origins;
    PolarComputer m_computer;
};

} // namespace velmora

namespace velmora {

// The polar window's own settings file "Velmora_Polaren.ini" beside
// Velmora.ini (which keeps its fixed set of keys): place, shown state and
// inputs of the window, one "KEY=value" line each.
struct PolarWindowSettings
{
    int Top = 60;
    int Left = 240;
    int Width = 980;
    int Height = 720;
    bool Visible = false;
    std::string ReText = "100000 200000 500000"; // UTF-8
    bool AllChecked = false;
};

inline constexpr const char *kPolarSettingsFileName = "Velmora_Polaren.ini";

// Missing or unreadable file, missing keys and values that are not numbers
// leave the defaults.
PolarWindowSettings ReadPolarWindowSettings(const std::string &path);
// Throws UserError "Datei %s kann nicht erstellt werden".
void WritePolarWindowSettings(const std::string &path, const PolarWindowSettings &settings);

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The boundary-layer window without a window: for the selected profile (or
// every checked one) at the angle and Reynolds number of the speed
// distribution, the pressure coefficient over x with the outline below it,
// the thicknesses, the shape factor and the skin friction of both layers over
// x, following every change. Like the polar window, computing is split from
// showing: MakeJob on the GUI thread, a BoundaryLayerComputer anywhere, Show
// on the GUI thread.

#include "analysis/boundarylayertrace.h"
#include "analysis/eppler.h"
#include "analysis/panelshare.h"
#include "app/diagrampanel.h"
#include "app/windowplace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisInputs;

extern const FileDialogSetup kTraceCsvDialog;
extern const FileDialogSetup kTraceImageDialog;

enum BoundaryLayerDiagramIndex {
    kCpOverX = 0,      // cp, axis growing downwards
    kOutline = 1,      // the profiles, below cp, same x scale, equal scaling
    kThicknessOverX = 2, // delta2 and displacement thickness
    kH12OverX = 3,
    kCfOverX = 4,
    kBoundaryLayerDiagrams = 5
};

struct BoundaryLayerJob
{
    uint64_t Generation = 0;
    std::vector<JobProfile> Profiles;
    double Alpha = 0; // degrees
    double Re = 0;
    std::string Error; // a field text that is not usable: nothing to compute
};

struct BoundaryLayerProfileResult
{
    std::string Name; // UTF-8
    TColor Color = kColorRed;
    std::string Refused;          // why the profile is not analysed (message text), or empty
    std::vector<TKoordi> Outline; // the profile's points
    float Ca = 0, Cm = 0, Cw = 0;
    std::vector<TVPunkt> Nodes; // (x, y, |v/V|) per profile point
    BoundaryLayerTrace Trace;
};

struct BoundaryLayerResults
{
    uint64_t Generation = 0;
    std::vector<BoundaryLayerProfileResult> Profiles;
    double Alpha = 0;
    double Re = 0;
    std::string Error;
};

// Computes jobs; keeps the last result of each profile, so that only the
// profiles whose points changed (or all, when angle or Reynolds number did)
// are analysed again. One per thread.
class BoundaryLayerComputer
{
public:
    BoundaryLayerResults Compute(const BoundaryLayerJob &job);
    // Takes the panel solutions of the contours the analyses solve from there.
    void SetPanelShare(std::shared_ptr<PanelShare> share) { m_share = std::move(share); }

private:
    EpplerSolver m_solver;
    std::shared_ptr<PanelShare> m_share;
    std::vector<BoundaryLayerProfileResult> m_cache;
    double m_alpha = 0, m_re = 0;
};

class BoundaryLayerWindowController
{
public:
    explicit BoundaryLayerWindowController(DiagramView &view);

    bool AllChecked = false; // "Alle angehakten Profile"
    bool Visible = false;
    std::string ExportFolder;

    // The profiles to show: the selected one (if visible), or every visible
    // one; angle and Reynolds number from the speed distribution's fields.
    BoundaryLayerJob MakeJob(const TProf_Projekt &project, int selectedRow, const AnalysisInputs &inputs);
    uint64_t LatestGeneration() const { return m_generation; }
    // Shows results unless a newer job has been made since; true when shown.
    bool Show(BoundaryLayerResults results);
    // MakeJob, compute on this thread, Show.
    void Refresh(const TProf_Projekt &project, int selectedRow, const AnalysisInputs &inputs);

    Diagram &At(int i) { return m_panel.At(i); }
    const Diagram &At(int i) const { return m_panel.At(i); }
    const BoundaryLayerResults &Results() const { return m_results; }
    // Per profile ca, cw, transition and separation, the refusals, or the input error.
    std::string StatusText() const;

    // Layout, mouse, zoom and scene of the diagrams: cp and outline in the
    // upper left cell, the other three in the other cells of a 2 x 2 grid;
    // the crosshair crosses every diagram, the readout gives the values of
    // the diagram under the mouse at its x on both sides.
    DiagramPanel &Panel() { return m_panel; }
    const DiagramPanel &Panel() const { return m_panel; }

    // "Grenzschicht speichern unter": CSV of every shown trace.
    void GrenzschichtSpeichernUnter();
    // "Diagramme speichern unter": the diagrams as PNG or SVG (by the ending).
    void DiagrammeSpeichernUnter();
    // Header and one line per node of every shown trace.
    std::string CsvText() const;

    // The curves of one side of one shown profile, in march order (from
    // the stagnation point to the trailing edge), as the diagrams draw them.
    struct SideCurves
    {
        std::vector<double> cpX, cpS, cp; // every contour node of the side (s 0 before the trace starts)
        std::vector<double> x, s, delta2, delta1, h12, cf;
        double transitionS = -1, transitionX = -1, separationS = -1, separationX = -1;
    };
    const SideCurves &Curves(int profile, int side) const { return m_curves[size_t(profile)][size_t(side)]; }

private:
    void rebuild();
    void layout(int width, int height);
    void fit(int diagram);
    void fitOutline();
    std::string readout(int diagram, int x, int y) const;

    DiagramView &m_view;
    uint64_t m_generation = 0;
    BoundaryLayerResults m_results;
    std::vector<std::array<SideCurves, 2>> m_curves;
    DiagramPanel m_panel;
    BoundaryLayerComputer m_computer;
};

// The window's own settings file beside Velmora.ini: its place, whether it
// was open, and its profile switch ("GRENZSCHICHT_TOP=", ...).
inline constexpr const char *kBoundaryLayerSettingsFileName = "Velmora_Grenzschicht.ini";
inline constexpr WindowPlace kBoundaryLayerDefaultPlace{80, 260, 1100, 760, false, false};

// A missing or unreadable file, missing keys and values that are not numbers
// leave the defaults.
WindowPlace ReadBoundaryLayerWindowSettings(const std::string &path);
// Throws UserError "Datei %s kann nicht erstellt werden".
void WriteBoundaryLayerWindowSettings(const std::string &path, const WindowPlace &place);

} // namespace velmora

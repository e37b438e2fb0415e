// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the windows of diagrams beside the editor (polars, boundary layer)
// share without a window: the view they talk to, a set of diagrams with
// zoom, pan, crosshair and readout, picture export, and the number texts of
// their readouts and files.

#include "app/mainview.h"
#include "model/profile.h"
#include "plot/diagram.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What a diagram window needs from its window. Texts are UTF-8.
class DiagramView
{
public:
    virtual ~DiagramView() = default;
    virtual void ShowInfo(const std::string &text) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                                      const std::string &proposedName) = 0;
    // Renders the scene into a PNG file; false when it could not be written.
    virtual bool WritePng(const DiagramScene &scene, const std::string &path) = 0;
    // The diagrams or the status line changed.
    virtual void Repaint() = 0;
};

// A profile as a computation takes it, copied from the project.
struct JobProfile
{
    std::string Name; // UTF-8
    TColor Color = kColorRed;
    std::vector<TKoordi> Points;
};

// Values in a window: six decimals at most, decimal comma.
std::string ShownNumber(double v);
// A CSV field, quoted when it holds a comma, quote or line break.
std::string CsvField(const std::string &text);

// Diagrams laid out in one area, each zoomed and panned on its own. The
// owner says how they are laid out, how an unzoomed diagram fits its data
// and what the readout at the mouse says.
class DiagramPanel
{
public:
    DiagramPanel(DiagramView &view, int count);

    int Count() const { return int(m_diagrams.size()); }
    Diagram &At(int i) { return m_diagrams[size_t(i)]; }
    const Diagram &At(int i) const { return m_diagrams[size_t(i)]; }
    bool Zoomed(int i) const { return m_zoomed[size_t(i)]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Lays the diagrams out in a width x height area (at least 40 x 40).
    std::function<void(int width, int height)> OnLayout;
    // Sets the ranges of an unzoomed diagram; FitDiagram when not set.
    std::function<void(int diagram)> OnFit;
    // After the ranges of a diagram changed by zoom, pan or reset.
    std::function<void(int diagram)> OnRangeChanged;
    // The readout for the mouse at (x, y) over a diagram; empty for none.
    std::function<std::string(int diagram, int x, int y)> OnReadout;
    // The crosshair's vertical line also crosses every other diagram at the
    // same x value (diagrams over the same abscissa).
    bool SharedX = false;

    void Layout(int width, int height);
    // Fits every diagram not zoomed, lays out again, renews the readout.
    void DataChanged();
    int DiagramAt(int x, int y) const;
    void MouseMove(int x, int y);
    void MouseLeave();
    const std::string &Readout() const { return m_readout; }
    // Left drag from (x0, y0) to (x1, y1) in the diagram under (x0, y0):
    // right and down zooms into the rectangle, any other way resets the zoom.
    void Drag(int x0, int y0, int x1, int y1);
    void Pan(int x, int y, int dx, int dy);
    void ZoomPercent(int x, int y, double percent);
    void ResetZoom(int diagram); // -1: all
    // Everything laid out, with crosshair and readout.
    DiagramScene Scene() const;
    // The diagrams as PNG or SVG (by the ending, PNG without one), after the
    // save dialog; the crosshair belongs to the screen, not to the picture.
    void SaveImage(const FileDialogSetup &dialog, const std::string &folder, const std::string &proposedName);

private:
    void fit(int diagram);

    DiagramView &m_view;
    std::vector<Diagram> m_diagrams;
    std::vector<bool> m_zoomed;
    int m_width = 800;
    int m_height = 600;
    std::optional<std::pair<int, int>> m_mouse;
    std::string m_readout;
};

} // namespace velmora

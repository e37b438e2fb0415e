// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A titled x/y diagram with axis titles and a legend, on the chart model, and
// the one way it is drawn: as a list of pixel primitives that the window
// paints with its painter and that also becomes an SVG file. Windows that
// show curves beside the profile plot (polars, boundary-layer quantities)
// build on it.

#include "plot/chartmodel.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

struct LegendEntry
{
    std::string Text; // UTF-8
    TColor Color = kColorBlack;
    PenStyle Pen = PenStyle::Solid;
    int Width = 2;
};

// A marked point of a curve with its label (a transition, a separation).
struct DiagramMark
{
    double X = 0, Y = 0; // chart values
    std::string Text;    // UTF-8, beside the mark
    TColor Color = kColorBlack;
    bool TextBelow = false; // else above the mark
};

struct Diagram
{
    std::string Title;  // above the plot, UTF-8
    std::string XTitle; // below the bottom axis labels
    std::string YTitle; // left of the left axis labels, written upwards
    ChartModel Chart;
    std::vector<LegendEntry> Legend; // top right inside the plot; none when empty
    std::vector<DiagramMark> Marks;
    // The series hold the negated values, so the axis grows downwards (as
    // pressure coefficients are shown); the labels show the real values.
    bool NegatedYLabels = false;
};

// --- drawing primitives (pixels; y downwards) ----------------------------

enum class TextAnchor { Left, Centre, Right };

struct SceneLine
{
    double x0, y0, x1, y1;
    TColor Color;
    double Width;
    PenStyle Pen;
};

struct ScenePolyline
{
    std::vector<std::pair<double, double>> Points;
    TColor Color;
    double Width;
    PenStyle Pen;
};

struct SceneRect
{
    double x, y, w, h;
    std::optional<TColor> Fill;
    std::optional<TColor> Stroke;
};

struct SceneText
{
    double x, y; // baseline point at the anchor
    std::string Text;
    TColor Color;
    int PixelSize;
    bool Bold;
    TextAnchor Anchor;
    bool Upwards; // rotated 90 degrees anticlockwise round (x, y)
};

// A filled dot of radius R (a single valid point between two gaps).
struct SceneDot
{
    double x, y, r;
    TColor Color;
};

// Everything inside a primitive after a clip is clipped to that rectangle.
struct SceneClip
{
    std::optional<SceneRect> Rect; // none: clipping ends
};

using SceneItem = std::variant<SceneLine, ScenePolyline, SceneRect, SceneText, SceneDot, SceneClip>;

struct DiagramScene
{
    int Width = 0;
    int Height = 0;
    std::vector<SceneItem> Items;
};

inline constexpr int kDiagramFontSize = 11;

// Sets the chart's plotting rectangle for a diagram drawn into a w x h area
// at (left, top): room for the title, the axis labels and the axis titles.
// Text widths are estimated from the font size, so the layout is the same
// on screen, in PNG and in SVG.
void LayoutDiagram(Diagram &d, int left, int top, int width, int height);

// The primitives of the diagram laid out by LayoutDiagram: background, grid,
// labels, titles, series (a series of one point becomes a dot), marks,
// frame, legend. `crosshair` (pixels) adds a crosshair with `readout` in the top
// left corner of the plot.
void RenderDiagram(const Diagram &d, DiagramScene &scene,
                   std::optional<std::pair<int, int>> crosshair = std::nullopt,
                   const std::string &readout = {});

// The scene as a standalone SVG document.
std::string SceneToSvg(const DiagramScene &scene);

// The point of a shown series nearest to the pixel (px, py), at most
// `maxDistance` pixels away.
struct NearestPoint
{
    int Series = -1;
    int Index = -1;
    double X = 0;
    double Y = 0;
};
std::optional<NearestPoint> FindNearestPoint(const ChartModel &chart, int px, int py, double maxDistance);

// Axis ranges of the data widened by 5 % on each side (a flat range gets
// +-1); [0, 1] without data.
void FitDiagram(ChartModel &chart);

} // namespace velmora

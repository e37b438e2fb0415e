// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/colour.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class MarkerStyle { Circle, Star, Triangle, DownTriangle };
enum class PenStyle { Solid, Dot, Dash, DashDot, DashDotDot };

struct ChartMarker
{
    MarkerStyle Style = MarkerStyle::Circle;
    int HorizSize = 5; // half-sizes in pixels
    int VertSize = 5;
    bool Visible = true;
    TColor OutlineColor = kColorBlack;
    bool OutlineVisible = true;
};

// A line series: straight segments between consecutive points, in insertion
// order (never sorted: a contour runs round the nose and back).
struct ChartSeries
{
    std::string Name;
    std::string Title;
    TColor Color = kColorRed;
    bool Shown = true;
    int Tag = 0; // maps series point i to profile point Tag + i
    std::vector<double> XValues;
    std::vector<double> YValues;
    ChartMarker Marker;
    int LineWidth = 1;
    PenStyle Pen = PenStyle::Solid;

    int Count() const { return int(XValues.size()); }
    void AddXY(double x, double y)
    {
        XValues.push_back(x);
        YValues.push_back(y);
    }
    void ClearPoints()
    {
        XValues.clear();
        YValues.clear();
    }
};

// Pixel rectangle of the plotting area inside the widget; Right and Bottom
// are the last pixel positions that belong to it.
struct PlotRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

struct AxisRange
{
    double Min = 0.0;
    double Max = 1.0;
    bool Automatic = true; // follows the data of the shown series
};

// A pending request to give y the scale of x, consumed after the next draw.
enum class ScaleRequest { None, KeepCentre, CentreOnZero };

enum class DragAction { None, ZoomToRect, UndoZoom };

// The plot without a window: series, the bottom (x) and left (y) axis,
// zoom with one level of undo, panning and the value <-> pixel mapping.
// The y values use the lower 97 % of the plotting rectangle; x its full width.
class ChartModel
{
public:
    // Series, in drawing order.
    std::vector<ChartSeries> &Series() { return m_series; }
    const std::vector<ChartSeries> &Series() const { return m_series; }
    int SeriesCount() const { return int(m_series.size()); }
    ChartSeries &At(int i) { return m_series[size_t(i)]; }
    const ChartSeries &At(int i) const { return m_series[size_t(i)]; }
    int AddSeries(ChartSeries s);
    void RemoveSeries(int i);
    void ClearSeries();
    // Removes every series whose name contains `part`; returns how many.
    int RemoveSeriesContaining(std::string_view part);
    // Index of the last series whose name contains `part`, -1 if none.
    int LastSeriesContaining(std::string_view part) const;

    // Axes. The getters give the range in force: the data extent of the shown
    // series while an axis is automatic ([0, 1] without data, a width of 2
    // round a single value).
    AxisRange BottomAxis() const;
    AxisRange LeftAxis() const;
    void SetBottomRange(double min, double max);
    void SetLeftRange(double min, double max);

    // ZoomPercent(P): each end of both ranges moves in by (max - min) (P - 100) / 100
    // (105 zooms in, 95 and 90 out), as one zoom; OnZoom fires.
    void ZoomPercent(double percent);
    // Zoom to the pixel rectangle from (x0, y0) to (x1, y1); OnZoom fires.
    void ZoomToPixels(int x0, int y0, int x1, int y1);
    // Restores the ranges saved before the first zoom since the last undo
    // (normally the automatic state); OnUndoZoom fires.
    void UndoZoom();
    // Right-button panning: the view follows the mouse by (dx, dy) pixels.
    void PanPixels(int dx, int dy);
    // Left-button drag from (x0, y0) to (x1, y1): more than 16 pixels in both
    // directions zooms when it goes right and down and undoes the zoom
    // otherwise; shorter drags and a forbidden zoom do nothing.
    DragAction ClassifyDrag(int x0, int y0, int x1, int y1) const;
    bool AllowZoom = true;

    // Equal scaling: consumes `request` and gives the left axis the range of
    // height/width times the bottom range, round its centre (KeepCentre) or
    // round 0 (CentreOnZero). Returns true when the range changed (redraw).
    // A plotting rectangle without width leaves the request pending.
    bool ApplyScaleRequest(ScaleRequest &request);

    // Pixel geometry, set by the widget from its size and fonts.
    void SetPlotRect(const PlotRect &r) { m_rect = r; }
    const PlotRect &Rect() const { return m_rect; }
    int LeftAxisTop() const;    // 3 % of the height below the top
    int LeftAxisBottom() const { return m_rect.Bottom; }

    int XToPixel(double x) const;
    int YToPixel(double y) const;
    // Unrounded positions, for smooth painting (clamped to +-1e6).
    double XToPixelF(double x) const;
    double YToPixelF(double y) const;
    double PixelToX(int px) const;
    double PixelToY(int py) const;

    TColor BackColor = kSysColorBtnFace;
    bool GridVisible = true;
    TColor GridColor = RgbColor(128, 128, 128);

    // Notifications; OnChanged asks the widget for a repaint.
    std::function<void()> OnZoom;
    std::function<void()> OnUndoZoom;
    std::function<void()> OnChanged;
    void Changed() const
    {
        if (OnChanged)
            OnChanged();
    }

private:
    struct Extent
    {
        double xMin, xMax, yMin, yMax;
    };
    Extent dataExtent() const;
    void saveForUndo();
    void applyZoom(double xMin, double xMax, double yMin, double yMax);

    std::vector<ChartSeries> m_series;
    AxisRange m_bottom;
    AxisRange m_left;
    std::optional<std::pair<AxisRange, AxisRange>> m_beforeZoom;
    PlotRect m_rect;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/chartmodel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

int ChartModel::AddSeries(ChartSeries s)
{
    m_series.push_back(std::move(s));
    return int(m_series.size()) - 1;
}

void ChartModel::RemoveSeries(int i)
{
    if (i >= 0 && i < int(m_series.size()))
        m_series.erase(m_series.begin() + i);
}

void ChartModel::ClearSeries()
{
    m_series.clear();
}

int ChartModel::RemoveSeriesContaining(std::string_view part)
{
    const auto before = m_series.size();
    std::erase_if(m_series, [part](const ChartSeries &s) {
        return s.Name.find(part) != std::string::npos;
    });
    return int(before - m_series.size());
}

int ChartModel::LastSeriesContaining(std::string_view part) const
{
    for (int i = int(m_series.size()) - 1; i >= 0; --i) {
        if (m_series[size_t(i)].Name.find(part) != std::string::npos)
            return i;
    }
    return -1;
}

ChartModel::Extent ChartModel::dataExtent() const
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    Extent e{inf, -inf, inf, -inf};
    for (const ChartSeries &s : m_series) {
        if (!s.Shown)
            continue;
        for (int i = 0; i < s.Count(); ++i) {
            const double x = s.XValues[size_t(i)];
            const double y = s.YValues[size_t(i)];
            if (!std::isfinite(x) || !std::isfinite(y))
                continue;
            e.xMin = std::min(e.xMin, x);
            e.xMax = std::max(e.xMax, x);
            e.yMin = std::min(e.yMin, y);
            e.yMax = std::max(e.yMax, y);
        }
    }
    auto fix = [](double &lo, double &hi) {
        if (lo > hi) {
            lo = 0.0;
            hi = 1.0;
        } else if (lo == hi) {
            lo -= 1.0;
            hi += 1.0;
        }
    };
    fix(e.xMin, e.xMax);
    fix(e.yMin, e.yMax);
    return e;
}

AxisRange ChartModel::BottomAxis() const
{
    if (!m_bottom.Automatic)
        return m_bottom;
    const Extent e = dataExtent();
    return {e.xMin, e.xMax, true};
}

AxisRange ChartModel::LeftAxis() const
{
    if (!m_left.Automatic)
        return m_left;
    const Extent e = dataExtent();
    return {e.yMin, e.yMax, true};
}

void ChartModel::SetBottomRange(double min, double max)
{
    m_bottom = {min, max, false};
}

void ChartModel::SetLeftRange(double min, double max)
{
    m_left = {min, max, false};
}

void ChartModel::saveForUndo()
{
    if (!m_beforeZoom)
        m_beforeZoom = std::make_pair(m_bottom, m_left);
}

void ChartModel::applyZoom(double xMin, double xMax, double yMin, double yMax)
{
    // a degenerate or non-finite range would make every later conversion meaningless
    if (!(std::isfinite(xMin) && std::isfinite(xMax) && std::isfinite(yMin) && std::isfinite(yMax))
        || !(xMax > xMin) || !(yMax > yMin))
        return;
    saveForUndo();
    m_bottom = {xMin, xMax, false};
    m_left = {yMin, yMax, false};
    if (OnZoom)
        OnZoom();
    Changed();
}

void ChartModel::ZoomPercent(double percent)
{
    const AxisRange b = BottomAxis();
    const AxisRange l = LeftAxis();
    const double dx = (b.Max - b.Min) * (percent - 100.0) * 0.01;
    const double dy = (l.Max - l.Min) * (percent - 100.0) * 0.01;
    applyZoom(b.Min + dx, b.Max - dx, l.Min + dy, l.Max - dy);
}

void ChartModel::ZoomToPixels(int x0, int y0, int x1, int y1)
{
    applyZoom(PixelToX(std::min(x0, x1)), PixelToX(std::max(x0, x1)),
              PixelToY(std::max(y0, y1)), PixelToY(std::min(y0, y1)));
}

void ChartModel::UndoZoom()
{
    if (m_beforeZoom) {
        m_bottom = m_beforeZoom->first;
        m_left = m_beforeZoom->second;
        m_beforeZoom.reset();
    } else {
        m_bottom.Automatic = true;
        m_left.Automatic = true;
    }
    if (OnUndoZoom)
        OnUndoZoom();
    Changed();
}

void ChartModel::PanPixels(int dx, int dy)
{
    const AxisRange b = BottomAxis();
    const AxisRange l = LeftAxis();
    const double w = std::max(1, m_rect.Width());
    const double h = std::max(1, LeftAxisBottom() - LeftAxisTop());
    const double shiftX = -dx * (b.Max - b.Min) / w;
    const double shiftY = dy * (l.Max - l.Min) / h;
    m_bottom = {b.Min + shiftX, b.Max + shiftX, false};
    m_left = {l.Min + shiftY, l.Max + shiftY, false};
    Changed();
}

DragAction ChartModel::ClassifyDrag(int x0, int y0, int x1, int y1) const
{
    if (!AllowZoom)
        return DragAction::None;
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    if (std::abs(dx) <= 16 || std::abs(dy) <= 16)
        return DragAction::None;
    return (dx > 0 && dy > 0) ? DragAction::ZoomToRect : DragAction::UndoZoom;
}

bool ChartModel::ApplyScaleRequest(ScaleRequest &request)
{
    if (request == ScaleRequest::None || m_rect.Width() <= 0)
        return false;
    const double r = double(m_rect.Height()) / double(m_rect.Width());
    const AxisRange b = BottomAxis();
    const double w = b.Max - b.Min;
    double c = 0.0;
    if (request == ScaleRequest::KeepCentre) {
        const AxisRange l = LeftAxis();
        c = (l.Min + l.Max) / 2.0;
    }
    request = ScaleRequest::None;
    const double lo = c - r * w / 2.0;
    const double hi = c + r * w / 2.0;
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi))
        return false;
    m_left = {lo, hi, false};
    return true;
}

int ChartModel::LeftAxisTop() const
{
    return m_rect.Top + int(std::lround(0.03 * m_rect.Height()));
}

namespace {

// far outside values are clamped so that painting never overflows
double clampPixel(double v)
{
    if (std::isnan(v))
        return -1e6;
    return std::clamp(v, -1e6, 1e6);
}

} // namespace

double ChartModel::XToPixelF(double x) const
{
    const AxisRange b = BottomAxis();
    const double span = b.Max - b.Min;
    return clampPixel(m_rect.Left + (x - b.Min) / (span != 0 ? span : 1.0) * m_rect.Width());
}

double ChartModel::YToPixelF(double y) const
{
    const AxisRange l = LeftAxis();
    const double span = l.Max - l.Min;
    const int top = LeftAxisTop();
    const int bottom = LeftAxisBottom();
    return clampPixel(bottom - (y - l.Min) / (span != 0 ? span : 1.0) * (bottom - top));
}

int ChartModel::XToPixel(double x) const
{
    return int(std::lround(XToPixelF(x)));
}

int ChartModel::YToPixel(double y) const
{
    return int(std::lround(YToPixelF(y)));
}

double ChartModel::PixelToX(int px) const
{
    const AxisRange b = BottomAxis();
    const int w = m_rect.Width();
    return b.Min + double(px - m_rect.Left) / (w != 0 ? w : 1) * (b.Max - b.Min);
}

double ChartModel::PixelToY(int py) const
{
    const AxisRange l = LeftAxis();
    const int h = LeftAxisBottom() - LeftAxisTop();
    return l.Min + double(LeftAxisBottom() - py) / (h != 0 ? h : 1) * (l.Max - l.Min);
}

} // namespace velmora

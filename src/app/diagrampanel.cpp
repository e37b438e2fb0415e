// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/diagrampanel.h"

#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <algorithm>

namespace velmora {

std::string ShownNumber(double v)
{
    return FloatToCommaText(RoundDecimals(6, v));
}

std::string CsvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string q = "\"";
    for (char c : text)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

DiagramPanel::DiagramPanel(DiagramView &view, int count)
    : m_view(view)
    , m_diagrams(size_t(count))
    , m_zoomed(size_t(count), false)
{
    for (Diagram &d : m_diagrams) {
        d.Chart.BackColor = kColorWhite;
        d.Chart.GridColor = RgbColor(190, 190, 190);
    }
}

void DiagramPanel::fit(int diagram)
{
    if (OnFit)
        OnFit(diagram);
    else
        FitDiagram(At(diagram).Chart);
}

void DiagramPanel::Layout(int width, int height)
{
    m_width = std::max(width, 40);
    m_height = std::max(height, 40);
    if (OnLayout)
        OnLayout(m_width, m_height);
}

void DiagramPanel::DataChanged()
{
    for (int d = 0; d < Count(); ++d) {
        if (!m_zoomed[size_t(d)])
            fit(d);
    }
    Layout(m_width, m_height);
    if (m_mouse)
        MouseMove(m_mouse->first, m_mouse->second);
}

int DiagramPanel::DiagramAt(int x, int y) const
{
    for (int d = 0; d < Count(); ++d) {
        const PlotRect &r = At(d).Chart.Rect();
        if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom)
            return d;
    }
    return -1;
}

void DiagramPanel::MouseMove(int x, int y)
{
    m_mouse = {x, y};
    m_readout.clear();
    const int d = DiagramAt(x, y);
    if (d >= 0 && OnReadout)
        m_readout = OnReadout(d, x, y);
    m_view.Repaint();
}

void DiagramPanel::MouseLeave()
{
    m_mouse.reset();
    m_readout.clear();
    m_view.Repaint();
}

void DiagramPanel::Drag(int x0, int y0, int x1, int y1)
{
    const int d = DiagramAt(x0, y0);
    if (d < 0)
        return;
    ChartModel &chart = At(d).Chart;
    switch (chart.ClassifyDrag(x0, y0, x1, y1)) {
    case DragAction::ZoomToRect:
        chart.ZoomToPixels(x0, y0, x1, y1);
        m_zoomed[size_t(d)] = true;
        if (OnRangeChanged)
            OnRangeChanged(d);
        break;
    case DragAction::UndoZoom:
        ResetZoom(d);
        break;
    case DragAction::None:
        return;
    }
    m_view.Repaint();
}

void DiagramPanel::Pan(int x, int y, int dx, int dy)
{
    const int d = DiagramAt(x, y);
    if (d < 0)
        return;
    At(d).Chart.PanPixels(dx, dy);
    m_zoomed[size_t(d)] = true;
    if (OnRangeChanged)
        OnRangeChanged(d);
    m_view.Repaint();
}

void DiagramPanel::ZoomPercent(int x, int y, double percent)
{
    const int d = DiagramAt(x, y);
    if (d < 0)
        return;
    At(d).Chart.ZoomPercent(percent);
    m_zoomed[size_t(d)] = true;
    if (OnRangeChanged)
        OnRangeChanged(d);
    m_view.Repaint();
}

void DiagramPanel::ResetZoom(int diagram)
{
    for (int d = 0; d < Count(); ++d) {
        if (diagram >= 0 && d != diagram)
            continue;
        m_zoomed[size_t(d)] = false;
        fit(d);
    }
    Layout(m_width, m_height);
    for (int d = 0; d < Count(); ++d) {
        if ((diagram < 0 || d == diagram) && OnRangeChanged)
            OnRangeChanged(d);
    }
    m_view.Repaint();
}

DiagramScene DiagramPanel::Scene() const
{
    DiagramScene scene;
    scene.Width = m_width;
    scene.Height = m_height;
    const int under = m_mouse ? DiagramAt(m_mouse->first, m_mouse->second) : -1;
    const double mouseX = under >= 0 ? At(under).Chart.PixelToX(m_mouse->first) : 0.0;
    for (int d = 0; d < Count(); ++d) {
        if (d == under) {
            RenderDiagram(At(d), scene, m_mouse, m_readout);
            continue;
        }
        RenderDiagram(At(d), scene);
        if (under < 0 || !SharedX)
            continue;
        const ChartModel &chart = At(d).Chart;
        const PlotRect &r = chart.Rect();
        const double px = chart.XToPixelF(mouseX);
        if (px >= r.Left && px <= r.Right)
            scene.Items.push_back(SceneLine{px, double(r.Top), px, double(r.Bottom), ShadeColour(chart.BackColor, 0.3),
                                            1, PenStyle::Solid});
    }
    return scene;
}

void DiagramPanel::SaveImage(const FileDialogSetup &dialog, const std::string &folder, const std::string &proposedName)
{
    const auto path = m_view.ChooseSaveFile(dialog, folder, proposedName);
    if (!path)
        return;
    auto mouse = m_mouse;
    m_mouse.reset();
    const DiagramScene scene = Scene();
    m_mouse = mouse;
    const bool svg = EndsWithNoCase(*path, ".svg");
    const std::string file = svg || EndsWithNoCase(*path, ".png") ? *path : *path + ".png";
    if (svg) {
        try {
            WriteFileAtomic(file, SceneToSvg(scene));
        } catch (const UserError &e) {
            m_view.ShowInfo(e.what());
        }
    } else if (!m_view.WritePng(scene, file)) {
        m_view.ShowInfo("Datei " + file + " kann nicht erstellt werden");
    }
}

} // namespace velmora

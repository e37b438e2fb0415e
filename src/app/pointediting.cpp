// SPDX-License-Identifier: GPL-3.0-or-later
// Editing the selected profile in the plot: picking, marking, the wheel,
// typed coordinates, F4 insertion, and the overlay pass that shows it all.
#include "app/maincontroller.h"
#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "plot/fillchart.h"
#include "plot/overlaygeometry.h"
#include "plot/picking.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr double kNoCandidate = -10000.0;

void clearFlags(TProfile &p, bool marked, bool active)
{
    for (TKoordi &k : p.Points) {
        if (marked)
            k.Marked = false;
        if (active)
            k.Active = false;
    }
}

void resetAnchors(TProfile &p)
{
    p.MarkRangeStart = p.MarkRangeEnd = p.UnmarkRangeStart = p.UnmarkRangeEnd = -1;
}

// Anchors may point past a list that a geometry command shortened.
void setRange(TProfile &p, int a, int b, bool marked)
{
    const int last = p.PointCount() - 1;
    const int from = std::clamp(std::min(a, b), 0, std::max(0, last));
    const int to = std::min(std::max(a, b), last);
    for (int i = from; i <= to; ++i)
        p.Points[size_t(i)].Marked = marked;
}

// Notches on the same marked points of the same profile, in the same
// direction, make one undo step: FNV-1a over what identifies them.
uint64_t wheelBurstKey(const TProfile &p, bool horizontal)
{
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            h ^= (v >> (8 * i)) & 0xff;
            h *= 1099511628211ull;
        }
    };
    mix(p.Serial);
    mix(horizontal ? 1 : 2);
    for (size_t i = 0; i < p.Points.size(); ++i) {
        if (p.Points[i].Marked)
            mix(i);
    }
    return h == 0 ? 1 : h;
}

} // namespace

float WheelStepValue(int wheelStep)
{
    switch (wheelStep) {
    case 1:
        return 0.1f;
    case 2:
        return 0.01f;
    case 3:
        return 0.001f;
    case 5:
        return 0.00001f;
    case 6:
        return 0.000001f;
    default:
        return 0.0001f;
    }
}

void MainController::afterPointEdit()
{
    RefillSeries(m_project, m_chart, m_project.ActiveIndex);
    if (OnProfileInfoRefresh)
        OnProfileInfoRefresh();
    if (m_runner)
        refreshAnalysisLater();
    else
        RefreshAnalysis();
    m_project.Modified = true;
}

void MainController::Chart1MouseMove(int x, int y, bool ctrlHeld)
{
    // Ctrl-clicks mark ranges; they must never start a zoom
    m_chart.AllowZoom = !ctrlHeld;
    const PlotRect &r = m_chart.Rect();
    MouseX = std::clamp(x, r.Left, std::max(r.Left, r.Right));
    MouseY = std::clamp(y, r.Top, std::max(r.Top, r.Bottom));
    MouseSeen = true;
    m_view.RedrawPlot();
}

void MainController::Chart1MouseDown(int x, int y, bool left, bool right, bool ctrlHeld)
{
    TProfile *p = m_project.ActiveProfile();
    if (!p)
        return;
    const int vIndex = left ? m_chart.LastSeriesContaining("V_POL") : -1;
    if (vIndex >= 0) {
        const int k = PickPoint(m_chart, vIndex, x, y);
        const int idx = k + m_chart.At(vIndex).Tag;
        if (k >= 0 && idx < p->PointCount()) {
            clearFlags(*p, true, true);
            p->Points[size_t(idx)].Marked = true;
            p->Points[size_t(idx)].Active = true;
            m_view.RedrawPlot();
            return;
        }
    }
    int idx = PickPoint(m_chart, m_project.ActiveIndex, x, y);
    if (idx < 0 || idx >= p->PointCount()) {
        m_view.RedrawPlot();
        return;
    }
    if (vIndex >= 0 && Analysis.Side != ShownSide::Both) {
        // clicks on the side whose speeds are hidden are ignored
        int nose = -1;
        float smallest = 1000000.0f;
        for (int i = 0; i < p->PointCount(); ++i) {
            if (float(p->Points[size_t(i)].X) < smallest) {
                smallest = float(p->Points[size_t(i)].X);
                nose = i;
            }
        }
        if ((Analysis.Side == ShownSide::Upper && idx > nose) || (Analysis.Side == ShownSide::Lower && idx < nose))
            return;
    }
    if (idx == 0 && p->Points.front().Y == p->Points.back().Y) {
        // a closed trailing edge: both end points lie under the cursor
        m_chart.AllowZoom = false;
        if (!m_view.AskYesNo(msg::kEndPointQuestion))
            idx = p->PointCount() - 1;
    }
    TKoordi &q = p->Points[size_t(idx)];
    if (left && q.Marked && !ctrlHeld) {
        clearFlags(*p, false, true);
        resetAnchors(*p);
        q.Active = true;
        m_view.RedrawPlot();
        return;
    }
    if (!ctrlHeld)
        resetAnchors(*p);
    if (left && !ctrlHeld)
        q.Marked = true;
    if (right && !ctrlHeld) {
        q.Active = false;
        q.Marked = false;
    }
    if (left && ctrlHeld) {
        p->UnmarkRangeStart = p->UnmarkRangeEnd = -1;
        q.Marked = true;
        if (p->MarkRangeStart == -1)
            p->MarkRangeStart = idx;
        else
            p->MarkRangeEnd = idx;
        if (p->MarkRangeStart != -1 && p->MarkRangeEnd != -1) {
            setRange(*p, p->MarkRangeStart, p->MarkRangeEnd, true);
            p->MarkRangeStart = p->MarkRangeEnd = -1;
        }
    }
    if (right && ctrlHeld) {
        p->MarkRangeStart = p->MarkRangeEnd = -1;
        q.Active = false;
        q.Marked = false;
        if (p->UnmarkRangeStart == -1)
            p->UnmarkRangeStart = idx;
        else
            p->UnmarkRangeEnd = idx;
        if (p->UnmarkRangeStart != -1 && p->UnmarkRangeEnd != -1) {
            setRange(*p, p->UnmarkRangeStart, p->UnmarkRangeEnd, false);
            p->UnmarkRangeStart = p->UnmarkRangeEnd = -1;
        }
    }
    m_view.RedrawPlot();
}

void MainController::Chart1Click(bool f4Held)
{
    const auto step = RecordStep("Punkt einfügen");
    if (!f4Held)
        return;
    if (!RowExists(m_selectedRow)) {
        m_view.ShowInfo(msg::kNoProfileSelected);
        return;
    }
    TProfile *p = m_project.ActiveProfile();
    if (!p || m_project.InsertX == kNoCandidate || m_project.InsertY == kNoCandidate)
        return;
    const double x = RoundDecimals(6, m_project.InsertX);
    const double y = RoundDecimals(6, m_project.InsertY);
    for (const TKoordi &k : p->Points) {
        if (RoundDecimals(6, k.X) == x && RoundDecimals(6, k.Y) == y)
            return; // no second point on the same place
    }
    TKoordi k;
    k.X = m_project.InsertX;
    k.Y = m_project.InsertY;
    k.IsNew = true;
    const int at = std::clamp(m_project.InsertIndex, 0, p->PointCount());
    p->Points.insert(p->Points.begin() + at, k);
    p->Modified = true;
    repaintList();
    afterPointEdit();
}

void MainController::FormMouseWheel(int delta)
{
    auto undoStep = RecordStep("Punkte verschieben");
    TProfile *p = m_project.ActiveProfile();
    if (!p || !p->Visible
        || std::none_of(p->Points.begin(), p->Points.end(), [](const TKoordi &k) { return k.Active; }))
        return;
    undoStep.Burst(wheelBurstKey(*p, MoveHorizontal));
    const float step = WheelStepValue(m_project.WheelStep);
    const double signedStep = delta < 0 ? -double(step) : double(step);
    for (TKoordi &k : p->Points) {
        if (!k.Marked)
            continue;
        if (MoveHorizontal)
            k.X += signedStep;
        else
            k.Y += signedStep;
        k.X = RoundTo6(k.X);
        k.Y = RoundTo6(k.Y);
        if (!p->Modified) {
            p->Modified = true;
            repaintList();
        }
    }
    afterPointEdit();
}

void MainController::ActivePointFieldDone(bool xField, const std::string &text)
{
    const auto step = RecordStep("Koordinate eingeben");
    TProfile *p = m_project.ActiveProfile();
    if (!p)
        return;
    const auto active = std::find_if(p->Points.begin(), p->Points.end(), [](const TKoordi &k) { return k.Active; });
    if (active != p->Points.end()) {
        const double v = ParseNumber(utf8ToCp1252(text));
        (xField ? active->X : active->Y) = v;
        p->Modified = true;
        repaintList();
    }
    afterPointEdit();
}

void MainController::PunkteDemarkieren(bool alsoActive)
{
    if (TProfile *p = m_project.ActiveProfile())
        clearFlags(*p, true, alsoActive);
    m_view.RedrawPlot();
}

void MainController::DrawOverlays(OverlayCanvas &canvas, bool f4Held)
{
    const PlotRect &r = m_chart.Rect();
    const TColor contrast = ContrastColour(m_chart.BackColor);
    // no crosshair in a corner before the mouse has come over the plot
    if (Display.Crosshair && MouseSeen) {
        canvas.Line(r.Left, MouseY, r.Right, MouseY, contrast, 1);
        canvas.Line(MouseX, r.Top, MouseX, r.Bottom, contrast, 1);
    }

    TProfile *active = m_project.ActiveProfile();
    if (RowExists(m_selectedRow) && active) {
        std::string text = cp1252ToUtf8(active->Name);
        if (Display.MouseCoords) {
            const float xv = float(m_chart.PixelToX(MouseX));
            const float yv = float(m_chart.PixelToY(MouseY));
            text += "   , X=" + FormatCoordinate(10, 6, LocaleDecimal, xv) + " , Y="
                + FormatCoordinate(10, 6, LocaleDecimal, yv);
        }
        canvas.Text(r.Left + 3, r.Top + 3, text, contrast, m_chart.BackColor);
    }

    if (f4Held && active && MouseX > m_chart.Rect().Left && MouseX < m_chart.Rect().Right
        && MouseY > m_chart.Rect().Top && MouseY < m_chart.Rect().Bottom) {
        const TVec m = VecMake(m_chart.PixelToX(MouseX), m_chart.PixelToY(MouseY));
        const InsertionSearch s = FindInsertionCandidate(active->Points, m);
        if (s.searched) {
            m_project.InsertX = m_project.InsertY = kNoCandidate;
        }
        if (s.found) {
            canvas.Line(MouseX, MouseY, m_chart.XToPixel(s.x), m_chart.YToPixel(s.y), contrast, 1);
            m_project.InsertSegment = s.segment;
            m_project.InsertIndex = s.segment + 1;
            m_project.InsertX = s.x;
            m_project.InsertY = s.y;
        }
    }

    const int vIndex = m_chart.LastSeriesContaining("V_POL");
    for (int i = 0; i < int(m_project.Profiles.size()) && i < m_chart.SeriesCount(); ++i) {
        const TProfile &p = m_project.Profiles[size_t(i)];
        const ChartSeries &s = m_chart.At(i);
        const bool isActive = &p == active;
        for (int h = 0; h < int(p.Points.size()) && h < s.Count(); ++h) {
            const TKoordi &k = p.Points[size_t(h)];
            const int px = m_chart.XToPixel(s.XValues[size_t(h)]);
            const int py = m_chart.YToPixel(s.YValues[size_t(h)]);
            if (k.Marked && p.Visible && isActive) {
                auto square = [&](int half, TColor colour, int width) {
                    canvas.Line(px - half, py - half, px + half, py - half, colour, width);
                    canvas.Line(px + half, py - half, px + half, py + half, colour, width);
                    canvas.Line(px + half, py + half, px - half, py + half, colour, width);
                    canvas.Line(px - half, py + half, px - half, py - half, colour, width);
                };
                square(5, s.Color, 2);
                square(6, kColorBlack, 1);
            }
            if (k.IsNew && p.Visible && Display.NewPoints) {
                canvas.Line(px - 7, py - 7, px + 7, py + 7, contrast, 1);
                canvas.Line(px + 7, py - 7, px - 7, py + 7, contrast, 1);
            }
            if (k.Active && k.Marked && p.Visible && isActive) {
                auto arrow = [&](int ax, int ay) {
                    canvas.Line(ax, ay - 5, ax - 5, ay - 20, s.Color, 2);
                    canvas.Line(ax, ay - 5, ax + 5, ay - 20, s.Color, 2);
                };
                arrow(px, py);
                if (vIndex >= 0) {
                    const ChartSeries &v = m_chart.At(vIndex);
                    const int kv = h - v.Tag;
                    if (kv >= v.Count())
                        break;
                    if (kv >= 0)
                        arrow(m_chart.XToPixel(v.XValues[size_t(kv)]), m_chart.YToPixel(v.YValues[size_t(kv)]));
                }
            }
        }
    }

    std::string xs;
    std::string ys;
    std::pair<int, int> shown{-1, -1};
    if (active) {
        const auto k = std::find_if(active->Points.begin(), active->Points.end(),
                                    [](const TKoordi &q) { return q.Active; });
        if (k != active->Points.end()) {
            xs = FormatCoordinate(11, 6, ',', k->X);
            ys = FormatCoordinate(11, 6, ',', k->Y);
            shown = {m_project.ActiveIndex, int(k - active->Points.begin())};
        }
    }
    if (shown != m_fieldsPoint) {
        m_fieldsPoint = shown;
        m_view.ActivePointChanged();
    }
    m_view.SetActivePointFields(xs, ys);
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/diagram.h"

#include "plot/axislabels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace velmora {

namespace {

constexpr int kTick = 5;
constexpr int kLegendLine = 24; // length of the line sample
constexpr TColor kFrameColour = kColorBlack;

// DejaVu Sans averages a little over half the pixel size per character.
double textWidth(const std::string &utf8, int pixelSize)
{
    int chars = 0;
    for (unsigned char c : utf8)
        chars += (c & 0xC0) != 0x80; // count code points, not bytes
    return chars * pixelSize * 0.62;
}

std::string label(double v)
{
    return FormatAxisLabel(v, ',', '.');
}

std::vector<double> xTicks(const Diagram &d)
{
    const AxisRange b = d.Chart.BottomAxis();
    const PlotRect &r = d.Chart.Rect();
    return AxisTicks(b.Min, b.Max, r.Width(), textWidth("-0,0000", kDiagramFontSize) + 20);
}

std::vector<double> yTicks(const Diagram &d)
{
    const AxisRange l = d.Chart.LeftAxis();
    return AxisTicks(l.Min, l.Max, d.Chart.LeftAxisBottom() - d.Chart.LeftAxisTop(), kDiagramFontSize + 16);
}

std::string xmlEscaped(const std::string &s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string colour(TColor c)
{
    const TColor rgb = ResolveColour(c);
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
    return buf;
}

std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

const char *dashArray(PenStyle pen)
{
    switch (pen) {
    case PenStyle::Solid: return nullptr;
    case PenStyle::Dot: return "1.5,3";
    case PenStyle::Dash: return "7,4";
    case PenStyle::DashDot: return "7,3,1.5,3";
    case PenStyle::DashDotDot: return "7,3,1.5,3,1.5,3";
    }
    return nullptr;
}

std::string stroke(TColor c, double width, PenStyle pen)
{
    std::string s = " fill=\"none\" stroke=\"" + colour(c) + "\" stroke-width=\"" + num(width) + "\"";
    if (const char *dash = dashArray(pen))
        s += std::string(" stroke-dasharray=\"") + dash + "\"";
    return s;
}

} // namespace

void LayoutDiagram(Diagram &d, int left, int top, int width, int height)
{
    const AxisRange l = d.Chart.LeftAxis();
    double labelWidth = textWidth("-0,00", kDiagramFontSize);
    for (double v : {l.Min, l.Max, (l.Min + l.Max) / 2})
        labelWidth = std::max(labelWidth, textWidth(label(d.NegatedYLabels ? -v : v), kDiagramFontSize));
    const int titleRoom = d.Title.empty() ? 6 : kDiagramFontSize + 10;
    const int yTitleRoom = d.YTitle.empty() ? 0 : kDiagramFontSize + 6;
    const int xTitleRoom = d.XTitle.empty() ? 0 : kDiagramFontSize + 4;
    PlotRect r;
    r.Left = left + std::min(width / 3, int(labelWidth) + kTick + 6 + yTitleRoom);
    r.Top = top + titleRoom;
    r.Right = std::max(r.Left + 1, left + width - 12);
    r.Bottom = std::max(r.Top + 1, top + height - kDiagramFontSize - 10 - xTitleRoom);
    d.Chart.SetPlotRect(r);
}

void RenderDiagram(const Diagram &d, DiagramScene &scene, std::optional<std::pair<int, int>> crosshair,
                   const std::string &readout)
{
    const ChartModel &chart = d.Chart;
    const PlotRect r = chart.Rect();
    auto add = [&](SceneItem item) { scene.Items.push_back(std::move(item)); };
    const TColor ink = ContrastColour(chart.BackColor);
    const TColor back = chart.BackColor;

    add(SceneRect{double(r.Left), double(r.Top), double(r.Width()), double(r.Height()), back, std::nullopt});
    for (double x : xTicks(d)) {
        const double px = chart.XToPixel(x);
        if (chart.GridVisible)
            add(SceneLine{px, double(r.Top), px, double(r.Bottom), chart.GridColor, 1, PenStyle::Dot});
        add(SceneText{px, double(r.Bottom + 4 + kDiagramFontSize), label(x), kColorBlack, kDiagramFontSize,
                      false, TextAnchor::Centre, false});
    }
    for (double y : yTicks(d)) {
        const double py = chart.YToPixel(y);
        if (chart.GridVisible)
            add(SceneLine{double(r.Left), py, double(r.Right), py, chart.GridColor, 1, PenStyle::Dot});
        add(SceneLine{double(r.Left - kTick), py, double(r.Left), py, kFrameColour, 1, PenStyle::Solid});
        add(SceneText{double(r.Left - kTick - 3), py + kDiagramFontSize / 2.0 - 1, label(d.NegatedYLabels ? -y : y), kColorBlack,
                      kDiagramFontSize, false, TextAnchor::Right, false});
    }
    if (!d.Title.empty())
        add(SceneText{(r.Left + r.Right) / 2.0, double(r.Top - 6), d.Title, kColorBlack, kDiagramFontSize + 1,
                      true, TextAnchor::Centre, false});
    if (!d.XTitle.empty())
        add(SceneText{(r.Left + r.Right) / 2.0, double(r.Bottom + 2 * kDiagramFontSize + 8), d.XTitle,
                      kColorBlack, kDiagramFontSize, true, TextAnchor::Centre, false});
    if (!d.YTitle.empty()) {
        double labelWidth = 0;
        for (double y : yTicks(d))
            labelWidth = std::max(labelWidth, textWidth(label(d.NegatedYLabels ? -y : y), kDiagramFontSize));
        add(SceneText{r.Left - kTick - 8 - labelWidth, (r.Top + r.Bottom) / 2.0, d.YTitle, kColorBlack,
                      kDiagramFontSize, true, TextAnchor::Centre, true});
    }

    add(SceneClip{SceneRect{double(r.Left), double(r.Top), double(r.Width() + 1), double(r.Height() + 1),
                            std::nullopt, std::nullopt}});
    for (const ChartSeries &s : chart.Series()) {
        if (!s.Shown || s.Count() == 0)
            continue;
        if (s.Count() == 1) {
            add(SceneDot{chart.XToPixelF(s.XValues[0]), chart.YToPixelF(s.YValues[0]), 2.0 + s.LineWidth, s.Color});
            continue;
        }
        ScenePolyline line{{}, s.Color, double(s.LineWidth), s.Pen};
        line.Points.reserve(size_t(s.Count()));
        for (int i = 0; i < s.Count(); ++i)
            line.Points.emplace_back(chart.XToPixelF(s.XValues[size_t(i)]), chart.YToPixelF(s.YValues[size_t(i)]));
        add(std::move(line));
    }
    for (const DiagramMark &m : d.Marks) {
        const double mx = chart.XToPixelF(m.X), my = chart.YToPixelF(m.Y);
        add(SceneDot{mx, my, 3.5, m.Color});
        if (m.Text.empty())
            continue;
        // beside the mark, on the side where it fits
        const bool left = mx + 4 + textWidth(m.Text, kDiagramFontSize) > r.Right;
        add(SceneText{left ? mx - 4 : mx + 4, m.TextBelow ? my + kDiagramFontSize + 3 : my - 5, m.Text, m.Color,
                      kDiagramFontSize, false, left ? TextAnchor::Right : TextAnchor::Left, false});
    }
    if (crosshair) {
        const double cx = std::clamp(crosshair->first, r.Left, r.Right);
        const double cy = std::clamp(crosshair->second, r.Top, r.Bottom);
        add(SceneLine{cx, double(r.Top), cx, double(r.Bottom), ShadeColour(back, 0.3), 1, PenStyle::Solid});
        add(SceneLine{double(r.Left), cy, double(r.Right), cy, ShadeColour(back, 0.3), 1, PenStyle::Solid});
    }
    add(SceneClip{std::nullopt});
    add(SceneRect{double(r.Left), double(r.Top), double(r.Width()), double(r.Height()), std::nullopt, kFrameColour});


    if (!d.Legend.empty()) {
        double w = 0;
        for (const LegendEntry &e : d.Legend)
            w = std::max(w, textWidth(e.Text, kDiagramFontSize));
        w += kLegendLine + 16;
        const double rowHeight = kDiagramFontSize + 5;
        const double h = rowHeight * double(d.Legend.size()) + 6;
        const double x = r.Right - w - 6;
        const double y = r.Top + 6;
        add(SceneRect{x, y, w, h, back, ink});
        for (size_t i = 0; i < d.Legend.size(); ++i) {
            const LegendEntry &e = d.Legend[i];
            const double ly = y + 3 + rowHeight * double(i) + rowHeight / 2;
            add(SceneLine{x + 5, ly, x + 5 + kLegendLine, ly, e.Color, double(e.Width), e.Pen});
            add(SceneText{x + 10 + kLegendLine, ly + kDiagramFontSize / 2.0 - 1, e.Text, ink, kDiagramFontSize,
                          false, TextAnchor::Left, false});
        }
    }
    // the readout goes last, bottom left, clear of the legend in the top right corner
    if (crosshair && !readout.empty()) {
        const double w = textWidth(readout, kDiagramFontSize) + 10;
        const double h = kDiagramFontSize + 6.0;
        add(SceneRect{r.Left + 4.0, r.Bottom - 4.0 - h, w, h, back, ink});
        add(SceneText{r.Left + 8.0, r.Bottom - 8.0, readout, ink, kDiagramFontSize, false, TextAnchor::Left, false});
    }
}

std::string SceneToSvg(const DiagramScene &scene)
{
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        + std::to_string(scene.Width) + "\" height=\"" + std::to_string(scene.Height) + "\" viewBox=\"0 0 "
        + std::to_string(scene.Width) + " " + std::to_string(scene.Height)
        + "\" font-family=\"DejaVu Sans, sans-serif\">\n"
          "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    int clips = 0;
    bool clipped = false;
    for (const SceneItem &item : scene.Items) {
        if (const auto *l = std::get_if<SceneLine>(&item)) {
            svg += "<line x1=\"" + num(l->x0) + "\" y1=\"" + num(l->y0) + "\" x2=\"" + num(l->x1) + "\" y2=\""
                + num(l->y1) + "\"" + stroke(l->Color, l->Width, l->Pen) + "/>\n";
        } else if (const auto *p = std::get_if<ScenePolyline>(&item)) {
            svg += "<polyline points=\"";
            for (const auto &[x, y] : p->Points)
                svg += num(x) + "," + num(y) + " ";
            svg += "\"" + stroke(p->Color, p->Width, p->Pen) + " stroke-linejoin=\"round\"/>\n";
        } else if (const auto *rc = std::get_if<SceneRect>(&item)) {
            svg += "<rect x=\"" + num(rc->x) + "\" y=\"" + num(rc->y) + "\" width=\"" + num(rc->w)
                + "\" height=\"" + num(rc->h) + "\" fill=\"" + (rc->Fill ? colour(*rc->Fill) : "none") + "\"";
            if (rc->Stroke)
                svg += " stroke=\"" + colour(*rc->Stroke) + "\" stroke-width=\"1\"";
            svg += "/>\n";
        } else if (const auto *t = std::get_if<SceneText>(&item)) {
            const char *anchor = t->Anchor == TextAnchor::Left ? "start"
                : t->Anchor == TextAnchor::Centre                ? "middle"
                                                                 : "end";
            svg += "<text x=\"" + num(t->x) + "\" y=\"" + num(t->y) + "\" font-size=\"" + std::to_string(t->PixelSize)
                + "\" fill=\"" + colour(t->Color) + "\" text-anchor=\"" + anchor + "\"";
            if (t->Bold)
                svg += " font-weight=\"bold\"";
            if (t->Upwards)
                svg += " transform=\"rotate(-90 " + num(t->x) + " " + num(t->y) + ")\"";
            svg += ">" + xmlEscaped(t->Text) + "</text>\n";
        } else if (const auto *d = std::get_if<SceneDot>(&item)) {
            svg += "<circle cx=\"" + num(d->x) + "\" cy=\"" + num(d->y) + "\" r=\"" + num(d->r) + "\" fill=\""
                + colour(d->Color) + "\"/>\n";
        } else if (const auto *c = std::get_if<SceneClip>(&item)) {
            if (clipped)
                svg += "</g>\n";
            clipped = bool(c->Rect);
            if (c->Rect) {
                const std::string id = "c" + std::to_string(clips++);
                svg += "<clipPath id=\"" + id + "\"><rect x=\"" + num(c->Rect->x) + "\" y=\"" + num(c->Rect->y)
                    + "\" width=\"" + num(c->Rect->w) + "\" height=\"" + num(c->Rect->h) + "\"/></clipPath>\n<g clip-path=\"url(#"
                    + id + ")\">\n";
            }
        }
    }
    if (clipped)
        svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

std::optional<NearestPoint> FindNearestPoint(const ChartModel &chart, int px, int py, double maxDistance)
{
    std::optional<NearestPoint> best;
    double bestDistance = maxDistance * maxDistance;
    for (int si = 0; si < chart.SeriesCount(); ++si) {
        const ChartSeries &s = chart.At(si);
        if (!s.Shown)
            continue;
        for (int i = 0; i < s.Count(); ++i) {
            const double dx = chart.XToPixelF(s.XValues[size_t(i)]) - px;
            const double dy = chart.YToPixelF(s.YValues[size_t(i)]) - py;
            const double dd = dx * dx + dy * dy;
            if (dd <= bestDistance) {
                bestDistance = dd;
                best = NearestPoint{si, i, s.XValues[size_t(i)], s.YValues[size_t(i)]};
            }
        }
    }
    return best;
}

void FitDiagram(ChartModel &chart)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    double xMin = inf, xMax = -inf, yMin = inf, yMax = -inf;
    for (const ChartSeries &s : chart.Series()) {
        if (!s.Shown)
            continue;
        for (int i = 0; i < s.Count(); ++i) {
            const double x = s.XValues[size_t(i)], y = s.YValues[size_t(i)];
            if (!std::isfinite(x) || !std::isfinite(y))
                continue;
            xMin = std::min(xMin, x);
            xMax = std::max(xMax, x);
            yMin = std::min(yMin, y);
            yMax = std::max(yMax, y);
        }
    }
    auto widen = [](double &lo, double &hi) {
        if (lo > hi) {
            lo = 0.0;
            hi = 1.0;
        } else if (lo == hi) {
            lo -= 1.0;
            hi += 1.0;
        } else {
            const double m = (hi - lo) * 0.05;
            lo -= m;
            hi += m;
        }
    };
    widen(xMin, xMax);
    widen(yMin, yMax);
    chart.SetBottomRange(xMin, xMax);
    chart.SetLeftRange(yMin, yMax);
}

} // namespace velmora

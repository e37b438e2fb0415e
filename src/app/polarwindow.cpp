// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/polarwindow.h"

#include "analysis/analysiscommands.h"
#include "app/maincontroller.h"
#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmora {

const FileDialogSetup kPolarCsvDialog = {"Polare speichern unter", "CSV-Dateien *.csv", "*.csv", "csv",
                                         false, true};
const FileDialogSetup kPolarImageDialog = {"Diagramme speichern unter", "Bilder *.png ; *.svg",
                                           "*.png;*.svg", "png", false, true};

namespace {

// Line styles of the Reynolds numbers, in list order.
constexpr std::array<PenStyle, kMaxReynolds> kRePens = {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot,
                                                       PenStyle::DashDot, PenStyle::DashDotDot};

std::string reText(double re)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", re);
    return buf;
}

// Values in the window: six decimals at most, decimal comma.
std::string shown(double v)
{
    return FloatToCommaText(RoundDecimals(6, v));
}

// Values in files: shortest text that reads back as the same float.
std::string fileNumber(float f)
{
    char buf[32];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, double(f));
        if (std::strtof(buf, nullptr) == f)
            break;
    }
    return buf;
}

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string q = "\"";
    for (char c : text)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

} // namespace

// --- computing -------------------------------------------------------------

PolarResults PolarComputer::Compute(const PolarJob &job)
{
    PolarResults results;
    results.Generation = job.Generation;
    results.Reynolds = job.Reynolds;
    results.Error = job.Error;
    if (!job.Error.empty())
        return results;
    std::vector<Entry> used;
    for (const PolarJobProfile &p : job.Profiles) {
        PolarProfileResult r;
        r.Name = p.Name;
        r.Color = p.Color;
        r.Refused = p.Points.size() > size_t(kMaxProfilePoints) ? kMsgTooManyPoints
                                                                : AnalysisContractViolation(p.Points);
        if (!r.Refused.empty()) {
            results.Profiles.push_back(std::move(r));
            continue;
        }
        const auto hit = std::find_if(m_cache.begin(), m_cache.end(), [&](const Entry &e) {
            return e.Reynolds == job.Reynolds && e.Range.start == job.Range.start && e.Range.end == job.Range.end
                && e.Range.step == job.Range.step && e.Points.size() == p.Points.size()
                && std::equal(e.Points.begin(), e.Points.end(), p.Points.begin(),
                              [](const TKoordi &a, const TKoordi &b) { return a.X == b.X && a.Y == b.Y; });
        });
        if (hit != m_cache.end()) {
            r.Curves = hit->Curves;
            used.push_back(std::move(*hit));
            m_cache.erase(hit);
        } else {
            if (m_share)
                m_share->prepare(m_sweep.leadSolver(), p.Points);
            r.Curves = m_sweep.run(p.Points, job.Reynolds, job.Range);
            used.push_back({p.Points, job.Reynolds, job.Range, r.Curves});
        }
        results.Profiles.push_back(std::move(r));
    }
    // what the last job did not need is not kept
    m_cache = std::move(used);
    return results;
}

// --- window state ------------------------------------------------------------

PolarWindowController::PolarWindowController(PolarView &view)
    : m_view(view)
{
    const char *titles[kPolarDiagrams][3] = {{"Auftrieb ca über α", "α [°]", "ca"},
                                             {"Widerstandspolare ca über cw", "cw", "ca"},
                                             {"Moment cm über α", "α [°]", "cm"},
                                             {"Umschlag x über α", "α [°]", "x/l"}};
    for (int i = 0; i < kPolarDiagrams; ++i) {
        Diagram &d = m_diagrams[size_t(i)];
        d.Title = titles[i][0];
        d.XTitle = titles[i][1];
        d.YTitle = titles[i][2];
        d.Chart.BackColor = kColorWhite;
        d.Chart.GridColor = RgbColor(190, 190, 190);
    }
}

PolarJob PolarWindowController::MakeJob(const TProf_Projekt &project, int selectedRow, const AnalysisInputs &inputs)
{
    PolarJob job;
    job.Generation = ++m_generation;
    job.Error = ParseReynoldsList(ReText, job.Reynolds);
    for (double re : job.Reynolds) {
        if (job.Error.empty() && !(re >= kLowestReynolds && re <= kHighestReynolds))
            job.Error = kMsgBadReynolds;
    }
    if (job.Error.empty())
        job.Error = ParsePolarRange(inputs.StartText, inputs.EndText, inputs.StepText, job.Range);
    if (!job.Error.empty())
        return job;
    for (int i = 0; i < int(project.Profiles.size()); ++i) {
        const TProfile &p = project.Profiles[size_t(i)];
        if (!p.Visible || (!AllChecked && i != selectedRow))
            continue;
        job.Profiles.push_back({cp1252ToUtf8(p.Name), p.Color, p.Points});
    }
    return job;
}

bool PolarWindowController::Show(PolarResults results)
{
    if (results.Generation != m_generation)
        return false;
    m_results = std::move(results);
    rebuild();
    m_view.Repaint();
    return true;
}

void PolarWindowController::Refresh(const TProf_Projekt &project, int selectedRow, const AnalysisInputs &inputs)
{
    Show(m_computer.Compute(MakeJob(project, selectedRow, inputs)));
}

int PolarWindowController::GapCount() const
{
    int gaps = 0;
    for (const PolarProfileResult &p : m_results.Profiles) {
        for (const PolarCurve &c : p.Curves)
            gaps += c.failed;
    }
    return gaps;
}

std::string PolarWindowController::StatusText() const
{
    if (!m_results.Error.empty()) {
        std::string flat = m_results.Error;
        std::replace(flat.begin(), flat.end(), '\r', ' ');
        return flat;
    }
    std::string text;
    for (const PolarProfileResult &p : m_results.Profiles) {
        if (!p.Refused.empty())
            text += p.Name + ": " + p.Refused.substr(0, p.Refused.find('\r')) + "  ";
    }
    if (m_results.Profiles.empty())
        return text + "Kein sichtbares Profil angewählt.";
    const int gaps = GapCount();
    if (gaps == 0)
        return text + "Alle Winkel gerechnet.";
    return text + std::to_string(gaps) + (gaps == 1 ? " Winkel ohne Ergebnis." : " Winkel ohne Ergebnis.");
}

void PolarWindowController::rebuild()
{
    for (int d = 0; d < kPolarDiagrams; ++d) {
        m_diagrams[size_t(d)].Chart.ClearSeries();
        m_diagrams[size_t(d)].Legend.clear();
        m_origins[size_t(d)].clear();
    }
    const bool several = m_results.Profiles.size() > 1;
    for (int pi = 0; pi < int(m_results.Profiles.size()); ++pi) {
        const PolarProfileResult &p = m_results.Profiles[size_t(pi)];
        for (int ri = 0; ri < int(p.Curves.size()); ++ri) {
            const PolarCurve &c = p.Curves[size_t(ri)];
            // a run of valid samples is one series: the engine's failures are gaps
            for (size_t k = 0; k < c.samples.size();) {
                if (!c.samples[k].valid) {
                    ++k;
                    continue;
                }
                size_t end = k;
                while (end < c.samples.size() && c.samples[end].valid)
                    ++end;
                for (int d = 0; d < kPolarDiagrams; ++d) {
                    for (bool lower : {false, true}) {
                        if (lower && d != kXtrAlpha)
                            continue;
                        ChartSeries s;
                        s.Color = p.Color;
                        s.Pen = kRePens[size_t(ri) % kRePens.size()];
                        s.LineWidth = (d == kXtrAlpha && lower) ? 1 : 2;
                        s.Marker.Visible = false;
                        for (size_t i = k; i < end; ++i) {
                            const PolarSample &v = c.samples[i];
                            switch (d) {
                            case kCaAlpha: s.AddXY(v.alpha, v.ca); break;
                            case kCaCw: s.AddXY(v.cw, v.ca); break;
                            case kCmAlpha: s.AddXY(v.alpha, v.cm); break;
                            default: s.AddXY(v.alpha, lower ? v.xtrLower : v.xtrUpper); break;
                            }
                        }
                        m_diagrams[size_t(d)].Chart.AddSeries(std::move(s));
                        m_origins[size_t(d)].push_back({pi, ri, int(k), lower});
                    }
                }
                k = end;
            }
        }
    }
    // legend: the profiles by colour (when several), the Reynolds numbers by line style
    const TColor ink = kColorBlack;
    for (int d = 0; d < kPolarDiagrams; ++d) {
        std::vector<LegendEntry> &legend = m_diagrams[size_t(d)].Legend;
        if (several) {
            for (const PolarProfileResult &p : m_results.Profiles)
                legend.push_back({p.Name, p.Color, PenStyle::Solid});
        }
        const TColor reColour = several || m_results.Profiles.empty() ? ink : m_results.Profiles[0].Color;
        for (size_t ri = 0; ri < m_results.Reynolds.size(); ++ri)
            legend.push_back({"Re " + reText(m_results.Reynolds[ri]), reColour, kRePens[ri % kRePens.size()]});
        if (d == kXtrAlpha && !m_results.Profiles.empty()) {
            legend.push_back({"oben", ink, PenStyle::Solid, 2});
            legend.push_back({"unten", ink, PenStyle::Solid, 1});
        }
        if (!m_zoomed[size_t(d)])
            FitDiagram(m_diagrams[size_t(d)].Chart);
    }
    Layout(m_width, m_height);
    if (m_mouse)
        MouseMove(m_mouse->first, m_mouse->second);
}

// --- layout, mouse, zoom -----------------------------------------------------

void PolarWindowController::Layout(int width, int height)
{
    m_width = std::max(width, 40);
    m_height = std::max(height, 40);
    const int w = m_width / 2;
    const int h = m_height / 2;
    for (int d = 0; d < kPolarDiagrams; ++d)
        LayoutDiagram(m_diagrams[size_t(d)], (d % 2) * w, (d / 2) * h, w, h);
}

int PolarWindowController::DiagramAt(int x, int y) const
{
    for (int d = 0; d < kPolarDiagrams; ++d) {
        const PlotRect &r = m_diagrams[size_t(d)].Chart.Rect();
        if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom)
            return d;
    }
    return -1;
}

void PolarWindowController::MouseMove(int x, int y)
{
    m_mouse = {x, y};
    m_readout.clear();
    const int d = DiagramAt(x, y);
    if (d >= 0) {
        const auto nearest = FindNearestPoint(m_diagrams[size_t(d)].Chart, x, y, 40);
        if (nearest) {
            const Origin &o = m_origins[size_t(d)][size_t(nearest->Series)];
            const PolarProfileResult &p = m_results.Profiles[size_t(o.Profile)];
            const PolarCurve &c = p.Curves[size_t(o.Re)];
            const PolarSample &s = c.samples[size_t(o.FirstSample + nearest->Index)];
            // the swept angles carry the rounding of single precision: 3,000009 is 3
            m_readout = p.Name + ", Re " + reText(c.re) + ": α " + FloatToCommaText(RoundDecimals(3, s.alpha))
                + "°  ca " + shown(s.ca)
                + "  cw " + shown(s.cw) + "  cm " + shown(s.cm);
            if (d == kXtrAlpha)
                m_readout += std::string("  x ") + (o.Lower ? "unten " : "oben ") + shown(o.Lower ? s.xtrLower : s.xtrUpper);
        }
    }
    m_view.Repaint();
}

void PolarWindowController::MouseLeave()
{
    m_mouse.reset();
    m_readout.clear();
    m_view.Repaint();
}

void PolarWindowController::Drag(int x0, int y0, int x1, int y1)
{
    const int d = DiagramAt(x0, y0);
    if (d < 0)
        return;
    ChartModel &chart = m_diagrams[size_t(d)].Chart;
    switch (chart.ClassifyDrag(x0, y0, x1, y1)) {
    case DragAction::ZoomToRect:
        chart.ZoomToPixels(x0, y0, x1, y1);
        m_zoomed[size_t(d)] = true;
        break;
    case DragAction::UndoZoom:
        ResetZoom(d);
        break;
    case DragAction::None:
        return;
    }
    m_view.Repaint();
}

void PolarWindowController::Pan(int x, int y, int dx, int dy)
{
    const int d = DiagramAt(x, y);
    if (d < 0)
        return;
    m_diagrams[size_t(d)].Chart.PanPixels(dx, dy);
    m_zoomed[size_t(d)] = true;
    m_view.Repaint();
}

void PolarWindowController::ZoomPercent(int x, int y, double percent)
{
    const int d = DiagramAt(x, y);
    if (d < 0)
        return;
    m_diagrams[size_t(d)].Chart.ZoomPercent(percent);
    m_zoomed[size_t(d)] = true;
    m_view.Repaint();
}

void PolarWindowController::ResetZoom(int diagram)
{
    for (int d = 0; d < kPolarDiagrams; ++d) {
        if (diagram >= 0 && d != diagram)
            continue;
        m_zoomed[size_t(d)] = false;
        FitDiagram(m_diagrams[size_t(d)].Chart);
    }
    Layout(m_width, m_height);
    m_view.Repaint();
}

DiagramScene PolarWindowController::Scene() const
{
    DiagramScene scene;
    scene.Width = m_width;
    scene.Height = m_height;
    const int under = m_mouse ? DiagramAt(m_mouse->first, m_mouse->second) : -1;
    for (int d = 0; d < kPolarDiagrams; ++d) {
        if (d == under)
            RenderDiagram(m_diagrams[size_t(d)], scene, m_mouse, m_readout);
        else
            RenderDiagram(m_diagrams[size_t(d)], scene);
    }
    return scene;
}

// --- export ----------------------------------------------------------------------

std::string PolarWindowController::CsvText() const
{
    std::string csv = "profile,re,alpha,ca,cm,cw,xtr_upper,xtr_lower\n";
    for (const PolarProfileResult &p : m_results.Profiles) {
        for (const PolarCurve &c : p.Curves) {
            for (const PolarSample &s : c.samples) {
                if (!s.valid)
                    continue;
                csv += csvField(p.Name) + "," + reText(c.re) + "," + fileNumber(s.alpha) + "," + fileNumber(s.ca) + ","
                    + fileNumber(s.cm) + "," + fileNumber(s.cw) + "," + fileNumber(s.xtrUpper) + ","
                    + fileNumber(s.xtrLower) + "\n";
            }
        }
    }
    return csv;
}

void PolarWindowController::PolareSpeichernUnter()
{
    if (m_results.Profiles.empty()) {
        m_view.ShowInfo("Keine Polare vorhanden !!");
        return;
    }
    const std::string proposed = m_results.Profiles.size() == 1 ? m_results.Profiles[0].Name + "_polare.csv" : "polaren.csv";
    const auto path = m_view.ChooseSaveFile(kPolarCsvDialog, ExportFolder, proposed);
    if (!path)
        return;
    const std::string file = EndsWithNoCase(*path, ".csv") ? *path : *path + ".csv";
    try {
        WriteFileAtomic(file, CsvText());
    } catch (const UserError &e) {
        m_view.ShowInfo(e.what());
    }
}

void PolarWindowController::DiagrammeSpeichernUnter()
{
    const auto path = m_view.ChooseSaveFile(kPolarImageDialog, ExportFolder, "polaren.png");
    if (!path)
        return;
    // the crosshair belongs to the screen, not to the picture
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

namespace velmora {

namespace {

constexpr const char *kKeys[] = {"POLAREN_TOP=", "POLAREN_LEFT=", "POLAREN_WIDTH=", "POLAREN_HEIGHT=",
                                 "POLAREN_SICHTBAR=", "POLAREN_RE=", "POLAREN_ALLE="};

} // namespace

PolarWindowSettings ReadPolarWindowSettings(const std::string &path)
{
    PolarWindowSettings s;
    std::vector<std::string> lines;
    try {
        lines = ReadFileLines(path);
    } catch (const UserError &) {
        return s;
    }
    for (const std::string &line : lines) {
        for (int k = 0; k < 7; ++k) {
            const std::string key = kKeys[k];
            if (line.rfind(key, 0) != 0)
                continue;
            const std::string value = line.substr(key.size());
            if (k == 5) {
                s.ReText = value;
                continue;
            }
            double v = 0;
            if (!TryParseNumber(value, v) || v != std::floor(v) || std::fabs(v) > 1e6)
                continue;
            switch (k) {
            case 0: s.Top = int(v); break;
            case 1: s.Left = int(v); break;
            case 2: s.Width = int(v); break;
            case 3: s.Height = int(v); break;
            case 4: s.Visible = v != 0; break;
            case 6: s.AllChecked = v != 0; break;
            }
        }
    }
    return s;
}

void WritePolarWindowSettings(const std::string &path, const PolarWindowSettings &s)
{
    std::vector<std::string> lines = {
        kKeys[0] + std::to_string(s.Top),          kKeys[1] + std::to_string(s.Left),
        kKeys[2] + std::to_string(s.Width),        kKeys[3] + std::to_string(s.Height),
        kKeys[4] + std::to_string(int(s.Visible)), kKeys[5] + s.ReText,
        kKeys[6] + std::to_string(int(s.AllChecked))};
    WriteFileAtomic(path, JoinLinesCrLf(lines));
}

} // namespace velmora

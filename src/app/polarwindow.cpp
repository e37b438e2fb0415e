// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/polarwindow.h"

#include "analysis/analysiscommands.h"
#include "app/maincontroller.h"
#include "app/windowplace.h"
#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <algorithm>
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

} // namespace

// --- computing -------------------------------------------------------------

PolarResults PolarComputer::Compute(const PolarJob &job, const std::function<bool()> &stop)
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
            bool superseded = stop && stop();
            if (!superseded) {
                if (m_share)
                    m_share->prepare(m_sweep.leadSolver(), p.Points);
                r.Curves = m_sweep.run(p.Points, job.Reynolds, job.Range, stop);
                superseded = m_sweep.stopped();
            }
            if (superseded) {
                // what was kept stays kept; the incomplete curves are dropped
                for (Entry &e : m_cache)
                    used.push_back(std::move(e));
                m_cache = std::move(used);
                results.Profiles.clear();
                results.Superseded = true;
                return results;
            }
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
    , m_panel(view, kPolarDiagrams)
{
    const char *titles[kPolarDiagrams][3] = {{"Auftrieb ca über α", "α [°]", "ca"},
                                             {"Widerstandspolare ca über cw", "cw", "ca"},
                                             {"Moment cm über α", "α [°]", "cm"},
                                             {"Umschlag x über α", "α [°]", "x/l"}};
    for (int i = 0; i < kPolarDiagrams; ++i) {
        Diagram &d = m_panel.At(i);
        d.Title = titles[i][0];
        d.XTitle = titles[i][1];
        d.YTitle = titles[i][2];
    }
    // a 2 x 2 grid
    m_panel.OnLayout = [this](int width, int height) {
        const int w = width / 2;
        const int h = height / 2;
        for (int d = 0; d < kPolarDiagrams; ++d)
            LayoutDiagram(m_panel.At(d), (d % 2) * w, (d / 2) * h, w, h);
    };
    m_panel.OnReadout = [this](int d, int x, int y) { return readout(d, x, y); };
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
    if (results.Generation != m_generation || results.Superseded)
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
        m_panel.At(d).Chart.ClearSeries();
        m_panel.At(d).Legend.clear();
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
                        m_panel.At(d).Chart.AddSeries(std::move(s));
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
        std::vector<LegendEntry> &legend = m_panel.At(d).Legend;
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
    }
    m_panel.DataChanged();
}

// --- readout -------------------------------------------------------------------

// The readout names the nearest point.
std::string PolarWindowController::readout(int d, int x, int y) const
{
    const auto nearest = FindNearestPoint(m_panel.At(d).Chart, x, y, 40);
    if (!nearest)
        return {};
    const Origin &o = m_origins[size_t(d)][size_t(nearest->Series)];
    const PolarProfileResult &p = m_results.Profiles[size_t(o.Profile)];
    const PolarCurve &c = p.Curves[size_t(o.Re)];
    const PolarSample &s = c.samples[size_t(o.FirstSample + nearest->Index)];
    // the swept angles carry the rounding of single precision: 3,000009 is 3
    std::string text = p.Name + ", Re " + reText(c.re) + ": α " + FloatToCommaText(RoundDecimals(3, s.alpha))
        + "°  ca " + ShownNumber(s.ca) + "  cw " + ShownNumber(s.cw) + "  cm " + ShownNumber(s.cm);
    if (d == kXtrAlpha)
        text += std::string("  x ") + (o.Lower ? "unten " : "oben ") + ShownNumber(o.Lower ? s.xtrLower : s.xtrUpper);
    return text;
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
                csv += CsvField(p.Name) + "," + reText(c.re) + "," + ShortestFloatText(s.alpha) + "," + ShortestFloatText(s.ca) + ","
                    + ShortestFloatText(s.cm) + "," + ShortestFloatText(s.cw) + "," + ShortestFloatText(s.xtrUpper) + ","
                    + ShortestFloatText(s.xtrLower) + "\n";
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
    m_panel.SaveImage(kPolarImageDialog, ExportFolder, "polaren.png");
}

} // namespace velmora

namespace velmora {

namespace {

constexpr const char *kPolarPrefix = "POLAREN_";

WindowPlace placeOf(const PolarWindowSettings &s)
{
    return {s.Top, s.Left, s.Width, s.Height, s.Visible, s.AllChecked};
}

} // namespace

PolarWindowSettings ReadPolarWindowSettings(const std::string &path)
{
    PolarWindowSettings s;
    const std::vector<std::string> lines = ReadSettingsLines(path);
    WindowPlace place = placeOf(s);
    ReadWindowPlace(lines, kPolarPrefix, place);
    s.Top = place.Top;
    s.Left = place.Left;
    s.Width = place.Width;
    s.Height = place.Height;
    s.Visible = place.Visible;
    s.AllChecked = place.AllChecked;
    SettingValue(lines, "POLAREN_RE", s.ReText);
    return s;
}

void WritePolarWindowSettings(const std::string &path, const PolarWindowSettings &s)
{
    std::vector<std::string> lines = WindowPlaceLines(kPolarPrefix, placeOf(s));
    lines.insert(lines.end() - 1, "POLAREN_RE=" + s.ReText); // before ALLE, where it always stood
    WriteFileAtomic(path, JoinLinesCrLf(lines));
}

} // namespace velmora

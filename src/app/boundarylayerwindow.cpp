// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/boundarylayerwindow.h"

#include "analysis/analysiscommands.h"
#include "app/maincontroller.h"
#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace velmora {

const FileDialogSetup kTraceCsvDialog = {"Grenzschicht speichern unter", "CSV-Dateien *.csv", "*.csv", "csv",
                                         false, true};
const FileDialogSetup kTraceImageDialog = {"Diagramme speichern unter", "Bilder *.png ; *.svg", "*.png;*.svg",
                                           "png", false, true};

namespace {

// Share of the upper left cell that cp takes; the outline gets the rest.
constexpr double kCpShare = 0.68;
// cf near the stagnation point dwarfs the rest of the curve; its range is
// fitted to what lies aft of this x.
constexpr double kCfFitFrom = 0.05;

constexpr int kSideWidth[2] = {2, 1}; // upper thick, lower thin

std::string chordText(double x)
{
    return FloatToCommaText(RoundDecimals(3, x));
}

// Four significant digits: enough to read off, short enough for one line.
std::string readoutNumber(double v)
{
    if (v == 0 || !std::isfinite(v))
        return FloatToCommaText(v);
    const int decimals = std::clamp(3 - int(std::floor(std::log10(std::fabs(v)))), 0, 9);
    return FloatToCommaText(RoundDecimals(decimals, v));
}

// Value of `ys` at arc length s along a curve in march order; none outside.
std::optional<double> atS(const std::vector<double> &ss, const std::vector<double> &ys, double s)
{
    for (size_t i = 1; i < ss.size(); ++i) {
        if (s >= ss[i - 1] && s <= ss[i]) {
            const double span = ss[i] - ss[i - 1];
            const double t = span > 0 ? (s - ss[i - 1]) / span : 1.0;
            return ys[i - 1] + t * (ys[i] - ys[i - 1]);
        }
    }
    return std::nullopt;
}

// Value at chordwise x: the segment nearest the trailing edge that spans x
// (round the nose a side may pass an x twice).
std::optional<double> atX(const std::vector<double> &xs, const std::vector<double> &ys, double x)
{
    for (size_t i = xs.size(); i-- > 1;) {
        const double a = xs[i - 1], b = xs[i];
        if ((x >= a && x <= b) || (x >= b && x <= a)) {
            const double t = b != a ? (x - a) / (b - a) : 1.0;
            return ys[i - 1] + t * (ys[i] - ys[i - 1]);
        }
    }
    return std::nullopt;
}

// A side's curve as series: attached in `pen`, from the separation point on
// dashed. y values are multiplied by `ySign`.
void addSideSeries(ChartModel &chart, TColor colour, int side, PenStyle pen, const std::vector<double> &xs,
                   const std::vector<double> &ss, const std::vector<double> &ys, double separationS, double ySign)
{
    ChartSeries attached, separated;
    for (ChartSeries *s : {&attached, &separated}) {
        s->Color = colour;
        s->LineWidth = kSideWidth[side];
        s->Marker.Visible = false;
    }
    attached.Pen = pen;
    separated.Pen = PenStyle::Dash;
    for (size_t i = 0; i < xs.size(); ++i) {
        if (separationS >= 0 && ss[i] > separationS) {
            if (separated.Count() == 0 && i > 0) {
                // the two parts meet at the separation point
                const double t = (separationS - ss[i - 1]) / (ss[i] - ss[i - 1]);
                const double x = xs[i - 1] + t * (xs[i] - xs[i - 1]);
                const double y = ySign * (ys[i - 1] + t * (ys[i] - ys[i - 1]));
                attached.AddXY(x, y);
                separated.AddXY(x, y);
            }
            separated.AddXY(xs[i], ySign * ys[i]);
        } else {
            attached.AddXY(xs[i], ySign * ys[i]);
        }
    }
    chart.AddSeries(std::move(attached));
    if (separated.Count() > 0)
        chart.AddSeries(std::move(separated));
}

BoundaryLayerWindowController::SideCurves curvesOf(const BoundaryLayerProfileResult &r, int side)
{
    BoundaryLayerWindowController::SideCurves c;
    const SideTrace &t = r.Trace.sides[size_t(side)];
    for (const TraceNode &n : t.nodes) {
        c.x.push_back(n.x);
        c.s.push_back(n.s);
        c.delta2.push_back(n.delta2);
        c.delta1.push_back(n.delta1());
        c.h12.push_back(n.h12);
        c.cf.push_back(n.cf);
    }
    c.transitionS = t.transitionS;
    c.transitionX = t.transitionX;
    c.separationS = t.separationS;
    c.separationX = t.separationX;

    // cp at every contour node of the side: the lower side starts at its
    // first marched node, the upper side is everything before it
    const SideTrace &lower = r.Trace.sides[kTraceLower];
    const int n = int(r.Nodes.size());
    if (lower.nodes.empty() || n == 0)
        return c;
    const int lowerFirst = std::clamp(lower.nodes.front().node, 0, n);
    std::vector<double> sOfNode(size_t(n), 0.0);
    for (const TraceNode &tn : t.nodes) {
        if (tn.node >= 0 && tn.node < n)
            sOfNode[size_t(tn.node)] = tn.s;
    }
    auto add = [&](int i) {
        const TVPunkt &p = r.Nodes[size_t(i)];
        c.cpX.push_back(p.x);
        c.cpS.push_back(sOfNode[size_t(i)]);
        c.cp.push_back(1.0 - p.v * p.v);
    };
    if (side == kTraceUpper) {
        for (int i = lowerFirst - 1; i >= 0; --i)
            add(i);
    } else {
        for (int i = lowerFirst; i < n; ++i)
            add(i);
    }
    return c;
}

} // namespace

// --- computing -------------------------------------------------------------

BoundaryLayerResults BoundaryLayerComputer::Compute(const BoundaryLayerJob &job)
{
    BoundaryLayerResults results;
    results.Generation = job.Generation;
    results.Alpha = job.Alpha;
    results.Re = job.Re;
    results.Error = job.Error;
    if (!job.Error.empty())
        return results;
    if (job.Alpha != m_alpha || job.Re != m_re)
        m_cache.clear();
    m_alpha = job.Alpha;
    m_re = job.Re;
    std::vector<BoundaryLayerProfileResult> used;
    for (const JobProfile &p : job.Profiles) {
        const auto hit = std::find_if(m_cache.begin(), m_cache.end(), [&](const BoundaryLayerProfileResult &e) {
            return e.Outline.size() == p.Points.size()
                && std::equal(e.Outline.begin(), e.Outline.end(), p.Points.begin(),
                              [](const TKoordi &a, const TKoordi &b) { return a.X == b.X && a.Y == b.Y; });
        });
        BoundaryLayerProfileResult r;
        if (hit != m_cache.end()) {
            r = *hit;
        } else {
            r.Outline = p.Points;
            if (m_share)
                m_share->prepare(m_solver, p.Points);
            const VelocityDistribution v = ComputeVelocityDistribution(m_solver, p.Points, job.Alpha, job.Re, &r.Trace);
            if (v.status != AnalysisStatus::Ok) {
                r.Refused = v.message;
            } else {
                r.Ca = float(v.row.ca);
                r.Cm = float(v.row.cm);
                r.Cw = float(v.row.cw);
                r.Nodes = v.row.vPunkte;
            }
        }
        r.Name = p.Name;
        r.Color = p.Color;
        used.push_back(r);
        results.Profiles.push_back(std::move(r));
    }
    m_cache = std::move(used);
    return results;
}

// --- window state ------------------------------------------------------------

BoundaryLayerWindowController::BoundaryLayerWindowController(DiagramView &view)
    : m_view(view)
    , m_panel(view, kBoundaryLayerDiagrams)
{
    const char *titles[kBoundaryLayerDiagrams][3] = {{"Druckverteilung cp über x", "", "cp"},
                                                     {"", "x/l", ""},
                                                     {"Grenzschichtdicken über x", "x/l", "δ2, δ1"},
                                                     {"Formfaktor H12 über x", "x/l", "H12"},
                                                     {"Reibungsbeiwert cf über x", "x/l", "cf"}};
    for (int i = 0; i < kBoundaryLayerDiagrams; ++i) {
        Diagram &d = m_panel.At(i);
        d.Title = titles[i][0];
        d.XTitle = titles[i][1];
        d.YTitle = titles[i][2];
    }
    m_panel.At(kCpOverX).NegatedYLabels = true;
    m_panel.At(kOutline).Chart.GridVisible = false;
    m_panel.SharedX = true;
    m_panel.OnLayout = [this](int w, int h) { layout(w, h); };
    m_panel.OnFit = [this](int d) { fit(d); };
    m_panel.OnRangeChanged = [this](int d) {
        if (d == kOutline)
            m_panel.At(kCpOverX).Chart.SetBottomRange(m_panel.At(kOutline).Chart.BottomAxis().Min,
                                                      m_panel.At(kOutline).Chart.BottomAxis().Max);
        if (d == kCpOverX || d == kOutline)
            fitOutline();
    };
    m_panel.OnReadout = [this](int d, int x, int y) { return readout(d, x, y); };
}

BoundaryLayerJob BoundaryLayerWindowController::MakeJob(const TProf_Projekt &project, int selectedRow,
                                                        const AnalysisInputs &inputs)
{
    BoundaryLayerJob job;
    job.Generation = ++m_generation;
    if (!TryParseNumber(inputs.AlfaText, job.Alpha))
        job.Error = NotAFloatError(inputs.AlfaText).what();
    else if (!TryParseNumber(inputs.ReText, job.Re))
        job.Error = NotAFloatError(inputs.ReText).what();
    else if (!(std::fabs(job.Alpha) <= kAnalysisAngleLimit))
        job.Error = kMsgBadAngle;
    else if (!(job.Re >= kLowestReynolds && job.Re <= kHighestReynolds))
        job.Error = kMsgBadReynolds;
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

bool BoundaryLayerWindowController::Show(BoundaryLayerResults results)
{
    if (results.Generation != m_generation)
        return false;
    m_results = std::move(results);
    rebuild();
    m_view.Repaint();
    return true;
}

void BoundaryLayerWindowController::Refresh(const TProf_Projekt &project, int selectedRow,
                                            const AnalysisInputs &inputs)
{
    Show(m_computer.Compute(MakeJob(project, selectedRow, inputs)));
}

std::string BoundaryLayerWindowController::StatusText() const
{
    if (!m_results.Error.empty()) {
        std::string flat = m_results.Error;
        std::replace(flat.begin(), flat.end(), '\r', ' ');
        return flat;
    }
    if (m_results.Profiles.empty())
        return "Kein sichtbares Profil angewählt.";
    std::string text;
    for (const BoundaryLayerProfileResult &p : m_results.Profiles) {
        if (!text.empty())
            text += "   ";
        text += p.Name + ": ";
        if (!p.Refused.empty()) {
            text += p.Refused.substr(0, p.Refused.find('\r'));
            continue;
        }
        const SideTrace &up = p.Trace.sides[kTraceUpper];
        const SideTrace &lo = p.Trace.sides[kTraceLower];
        auto where = [](float x) { return x >= 0 ? chordText(x) : std::string("–"); };
        text += "ca " + ShownNumber(p.Ca) + "  cw " + ShownNumber(p.Cw) + "  Umschlag oben " + where(up.transitionX)
            + " unten " + where(lo.transitionX);
        if (up.separationX >= 0 || lo.separationX >= 0)
            text += "  Ablösung oben " + where(up.separationX) + " unten " + where(lo.separationX);
    }
    return text;
}

void BoundaryLayerWindowController::rebuild()
{
    for (int d = 0; d < kBoundaryLayerDiagrams; ++d) {
        m_panel.At(d).Chart.ClearSeries();
        m_panel.At(d).Legend.clear();
        m_panel.At(d).Marks.clear();
    }
    m_curves.assign(m_results.Profiles.size(), {});
    const bool several = m_results.Profiles.size() > 1;
    bool anySeparated = false;
    for (size_t pi = 0; pi < m_results.Profiles.size(); ++pi) {
        const BoundaryLayerProfileResult &p = m_results.Profiles[pi];
        if (!p.Outline.empty()) {
            ChartSeries outline;
            outline.Color = p.Color;
            outline.LineWidth = 1;
            outline.Marker.Visible = false;
            for (const TKoordi &k : p.Outline)
                outline.AddXY(k.X, k.Y);
            m_panel.At(kOutline).Chart.AddSeries(std::move(outline));
        }
        if (!p.Refused.empty())
            continue;
        for (int side : {kTraceUpper, kTraceLower}) {
            const SideCurves &c = m_curves[pi][size_t(side)] = curvesOf(p, side);
            anySeparated = anySeparated || c.separationS >= 0;
            addSideSeries(m_panel.At(kCpOverX).Chart, p.Color, side, PenStyle::Solid, c.cpX, c.cpS, c.cp,
                          c.separationS, -1.0);
            addSideSeries(m_panel.At(kThicknessOverX).Chart, p.Color, side, PenStyle::Solid, c.x, c.s, c.delta2,
                          c.separationS, 1.0);
            addSideSeries(m_panel.At(kThicknessOverX).Chart, p.Color, side, PenStyle::Dot, c.x, c.s, c.delta1,
                          c.separationS, 1.0);
            addSideSeries(m_panel.At(kH12OverX).Chart, p.Color, side, PenStyle::Solid, c.x, c.s, c.h12, c.separationS,
                          1.0);
            addSideSeries(m_panel.At(kCfOverX).Chart, p.Color, side, PenStyle::Solid, c.x, c.s, c.cf, c.separationS,
                          1.0);
            // transition and separation marked on every curve, with their x
            const struct
            {
                int diagram;
                const std::vector<double> &xs, &ss, &ys;
                double sign;
            } marked[] = {{kCpOverX, c.cpX, c.cpS, c.cp, -1.0},
                          {kThicknessOverX, c.x, c.s, c.delta2, 1.0},
                          {kH12OverX, c.x, c.s, c.h12, 1.0},
                          {kCfOverX, c.x, c.s, c.cf, 1.0}};
            for (const auto &m : marked) {
                for (const auto &[s, x, letter] : {std::tuple{c.transitionS, c.transitionX, "U "},
                                                   std::tuple{c.separationS, c.separationX, "A "}}) {
                    if (s < 0)
                        continue;
                    const std::optional<double> y = atS(m.ss, m.ys, s);
                    if (y)
                        m_panel.At(m.diagram).Marks.push_back(
                            {x, m.sign * *y, letter + chordText(x), p.Color, side == kTraceLower});
                }
            }
        }
    }
    // legend: the profiles by colour (when several), the sides by width, the rest by line style
    const TColor ink = several || m_results.Profiles.empty() ? kColorBlack : m_results.Profiles[0].Color;
    for (int d : {kCpOverX, kThicknessOverX, kH12OverX, kCfOverX}) {
        std::vector<LegendEntry> &legend = m_panel.At(d).Legend;
        if (std::all_of(m_results.Profiles.begin(), m_results.Profiles.end(),
                        [](const BoundaryLayerProfileResult &p) { return !p.Refused.empty(); }))
            continue;
        if (several) {
            for (const BoundaryLayerProfileResult &p : m_results.Profiles)
                legend.push_back({p.Name, p.Color, PenStyle::Solid});
        }
        legend.push_back({"oben", ink, PenStyle::Solid, kSideWidth[0]});
        legend.push_back({"unten", ink, PenStyle::Solid, kSideWidth[1]});
        if (d == kThicknessOverX) {
            legend.push_back({"δ2 Impulsverlustdicke", ink, PenStyle::Solid, 1});
            legend.push_back({"δ1 Verdrängungsdicke", ink, PenStyle::Dot, 1});
        }
        if (anySeparated)
            legend.push_back({"abgelöst", ink, PenStyle::Dash, 1});
    }
    m_panel.DataChanged();
}

// --- layout and ranges -----------------------------------------------------------

void BoundaryLayerWindowController::layout(int width, int height)
{
    const int w = width / 2;
    const int h = height / 2;
    const int cpHeight = int(h * kCpShare);
    LayoutDiagram(m_panel.At(kCpOverX), 0, 0, w, cpHeight);
    LayoutDiagram(m_panel.At(kOutline), 0, cpHeight, w, h - cpHeight);
    // the outline shares cp's x scale pixel for pixel
    PlotRect outline = m_panel.At(kOutline).Chart.Rect();
    outline.Left = m_panel.At(kCpOverX).Chart.Rect().Left;
    outline.Right = m_panel.At(kCpOverX).Chart.Rect().Right;
    m_panel.At(kOutline).Chart.SetPlotRect(outline);
    LayoutDiagram(m_panel.At(kThicknessOverX), w, 0, w, h);
    LayoutDiagram(m_panel.At(kH12OverX), 0, h, w, h);
    LayoutDiagram(m_panel.At(kCfOverX), w, h, w, h);
    fitOutline();
}

void BoundaryLayerWindowController::fit(int diagram)
{
    if (diagram == kOutline) {
        fitOutline();
        return;
    }
    // y fitted to the attached layers: a separated layer's thickness grows
    // without bound towards the trailing edge, and cf near the stagnation
    // point dwarfs the rest of its curve
    ChartModel &chart = m_panel.At(diagram).Chart;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const ChartSeries &s : chart.Series()) {
        if (s.Pen == PenStyle::Dash && diagram != kCpOverX)
            continue;
        for (int i = 0; i < s.Count(); ++i) {
            const double x = s.XValues[size_t(i)], y = s.YValues[size_t(i)];
            if (std::isfinite(y) && (diagram != kCfOverX || x >= kCfFitFrom)) {
                lo = std::min(lo, y);
                hi = std::max(hi, y);
            }
        }
    }
    if (diagram == kThicknessOverX || diagram == kCfOverX)
        lo = std::min(lo, 0.0);
    if (lo < hi)
        chart.SetLeftRange(lo - 0.05 * (hi - lo), hi + 0.05 * (hi - lo));
    else
        FitDiagram(chart);
    // every diagram over the chord: the same x range
    chart.SetBottomRange(-0.03, 1.03);
}

// x as cp, y at the same scale round the chord line.
void BoundaryLayerWindowController::fitOutline()
{
    ChartModel &outline = m_panel.At(kOutline).Chart;
    const AxisRange x = m_panel.At(kCpOverX).Chart.BottomAxis();
    outline.SetBottomRange(x.Min, x.Max);
    const PlotRect &r = outline.Rect();
    const double perPixel = r.Width() > 0 ? (x.Max - x.Min) / r.Width() : 0.0;
    const int height = outline.LeftAxisBottom() - outline.LeftAxisTop();
    const double half = std::max(perPixel * height / 2.0, 1e-6);
    // centred on the profiles' height
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const ChartSeries &s : outline.Series()) {
        for (double y : s.YValues) {
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
    }
    const double centre = lo <= hi ? (lo + hi) / 2.0 : 0.0;
    outline.SetLeftRange(centre - half, centre + half);
}

std::string BoundaryLayerWindowController::readout(int diagram, int px, int) const
{
    const double x = m_panel.At(diagram).Chart.PixelToX(px);
    std::string text = "x " + FloatToCommaText(RoundDecimals(4, x));
    const bool several = m_results.Profiles.size() > 1;
    for (size_t pi = 0; pi < m_results.Profiles.size(); ++pi) {
        if (!m_results.Profiles[pi].Refused.empty())
            continue;
        text += " |";
        if (several)
            text += " " + m_results.Profiles[pi].Name + ":";
        for (int side : {kTraceUpper, kTraceLower}) {
            const SideCurves &c = m_curves[pi][size_t(side)];
            auto value = [&](const char *name, const std::vector<double> &xs, const std::vector<double> &ys) {
                const std::optional<double> v = atX(xs, ys, x);
                return std::string(" ") + name + " " + (v ? readoutNumber(*v) : std::string("–"));
            };
            text += side == kTraceUpper ? " oben" : " unten";
            switch (diagram) {
            case kThicknessOverX: text += value("δ2", c.x, c.delta2) + value("δ1", c.x, c.delta1); break;
            case kH12OverX: text += value("H12", c.x, c.h12); break;
            case kCfOverX: text += value("cf", c.x, c.cf); break;
            default: text += value("cp", c.cpX, c.cp); break;
            }
        }
    }
    return text;
}

// --- export ----------------------------------------------------------------------

std::string BoundaryLayerWindowController::CsvText() const
{
    std::string csv = "profile," + TraceCsvHeader() + "\n";
    for (const BoundaryLayerProfileResult &p : m_results.Profiles) {
        if (p.Refused.empty())
            csv += TraceCsvRows(p.Trace, CsvField(p.Name) + ",");
    }
    return csv;
}

void BoundaryLayerWindowController::GrenzschichtSpeichernUnter()
{
    const bool any = std::any_of(m_results.Profiles.begin(), m_results.Profiles.end(),
                                 [](const BoundaryLayerProfileResult &p) { return p.Refused.empty(); });
    if (!any) {
        m_view.ShowInfo("Keine Grenzschicht vorhanden !!");
        return;
    }
    const std::string proposed =
        m_results.Profiles.size() == 1 ? m_results.Profiles[0].Name + "_grenzschicht.csv" : "grenzschicht.csv";
    const auto path = m_view.ChooseSaveFile(kTraceCsvDialog, ExportFolder, proposed);
    if (!path)
        return;
    const std::string file = EndsWithNoCase(*path, ".csv") ? *path : *path + ".csv";
    try {
        WriteFileAtomic(file, CsvText());
    } catch (const UserError &e) {
        m_view.ShowInfo(e.what());
    }
}

void BoundaryLayerWindowController::DiagrammeSpeichernUnter()
{
    m_panel.SaveImage(kTraceImageDialog, ExportFolder, "grenzschicht.png");
}

WindowPlace ReadBoundaryLayerWindowSettings(const std::string &path)
{
    WindowPlace place = kBoundaryLayerDefaultPlace;
    ReadWindowPlace(ReadSettingsLines(path), "GRENZSCHICHT_", place);
    return place;
}

void WriteBoundaryLayerWindowSettings(const std::string &path, const WindowPlace &place)
{
    WriteFileAtomic(path, JoinLinesCrLf(WindowPlaceLines("GRENZSCHICHT_", place)));
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
// The two analysis commands of the main window: speed distribution and
// transition polar of the selected profile, drawn as extra series.
#include "analysis/analysiscommands.h"
#include "app/maincontroller.h"
#include "geometry/characteristics.h"
#include "model/errors.h"

#include <cmath>

namespace velmora {

double SpinScale(int value)
{
    if (value == 0)
        return 1.0;
    if (value > 0)
        return value / 25.0 + 1.0;
    return std::max(0.0, 1.0 - std::fabs(value / 25.0));
}

int MainController::removeResultSeries(std::string_view namePart)
{
    // the counter goes back with them, so that names of later series stay short
    const int removed = m_chart.RemoveSeriesContaining(namePart);
    m_project.SeriesCounter -= removed;
    return removed;
}

std::string MainController::AnalysisNote() const
{
    return m_velocityNote.empty() ? m_polarNote : m_velocityNote;
}

void MainController::setAnalysisNote(std::string &slot, std::string_view message)
{
    std::string line(message);
    for (char &ch : line) {
        if (ch == '\r')
            ch = ' ';
    }
    if (line == slot)
        return;
    slot = std::move(line);
    showStatusNote();
}

void MainController::RunVelocityDistribution()
{
    TProfile *profile = m_project.ActiveProfile();
    // Nothing on screen may outlive the profile and state it was computed for.
    auto clearAndRemove = [this] {
        m_view.SetResultFields({}, {}, {});
        removeResultSeries("V_POL");
        m_view.RedrawPlot();
    };
    if (!profile || !profile->Visible || !Analysis.VRechnen || !RowExists(m_selectedRow)) {
        setAnalysisNote(m_velocityNote, {});
        clearAndRemove();
        return;
    }
    if (profile->PointCount() > kMaxProfilePoints) {
        setAnalysisNote(m_velocityNote, {});
        clearAndRemove();
        m_view.ShowInfo(kMsgTooManyPoints);
        return;
    }
    VelocityDistribution result;
    try {
        result = computeVelocity(*profile);
    } catch (const UserError &) {
        setAnalysisNote(m_velocityNote, {});
        clearAndRemove();
        throw;
    }
    if (result.status == AnalysisStatus::Refused) {
        setAnalysisNote(m_velocityNote, result.message);
        clearAndRemove();
        return;
    }
    setAnalysisNote(m_velocityNote, {});
    if (result.status != AnalysisStatus::Ok) {
        clearAndRemove();
        m_view.ShowInfo(result.message);
        return;
    }
    profile->PolarRows.assign(1, result.row);
    m_view.SetResultFields(CoefficientText(result.row.ca), CoefficientText(result.row.cm),
                           CoefficientText(result.row.cw));

    removeResultSeries("V_POL");
    ChartSeries s;
    s.Pen = PenStyle::Dot;
    s.LineWidth = 1;
    s.Marker.Style = MarkerStyle::Star;
    s.Marker.HorizSize = 4;
    s.Marker.VertSize = 4;
    s.Marker.Visible = true;
    s.Marker.OutlineVisible = true;
    s.Marker.OutlineColor = ShadeColour(m_chart.BackColor, 0.0);
    s.Color = profile->Color;
    s.Name = "V_POL" + std::to_string(++m_project.SeriesCounter);

    const double scale = SpinScale(Analysis.VScale);
    const double offset = Analysis.VOffset / 25.0;
    const std::vector<TVPunkt> &v = result.row.vPunkte;
    int nose = -1;
    double smallest = 1000000.0;
    for (int i = 0; i < int(v.size()); ++i) {
        if (v[size_t(i)].x < smallest) {
            smallest = v[size_t(i)].x;
            nose = i;
        }
    }
    if (nose >= 0) {
        int from = 0;
        int to = int(v.size()) - 1;
        if (Analysis.Side == ShownSide::Upper)
            to = nose;
        else if (Analysis.Side == ShownSide::Lower)
            from = nose;
        s.Tag = from;
        for (int i = from; i <= to; ++i)
            s.AddXY(v[size_t(i)].x, (v[size_t(i)].v + offset) * scale);
    }
    m_chart.AddSeries(std::move(s));
    m_view.RedrawPlot();
}

void MainController::RunTransitionPolar()
{
    struct ListLock
    {
        MainView &view;
        explicit ListLock(MainView &v) : view(v) { view.SetListEnabled(false); }
        ~ListLock() { view.SetListEnabled(true); }
    } lock(m_view);

    TProfile *profile = m_project.ActiveProfile();
    auto remove = [this] {
        removeResultSeries("UM_POL");
        m_view.RedrawPlot();
    };
    if (!profile || !profile->Visible || !Analysis.UmRechnen || !RowExists(m_selectedRow)) {
        setAnalysisNote(m_polarNote, {});
        remove();
        return;
    }
    TransitionPolar polar;
    try {
        polar = computeTransitionPolar(*profile);
    } catch (const UserError &) {
        setAnalysisNote(m_polarNote, {});
        remove();
        throw;
    }
    setAnalysisNote(m_polarNote, polar.status == PolarStatus::Refused ? polar.message : std::string());
    switch (polar.status) {
    case PolarStatus::Refused:
        remove();
        return;
    case PolarStatus::TooManyPoints:
        remove();
        m_view.ShowInfo(polar.message);
        return;
    case PolarStatus::BadStart:
    case PolarStatus::BadEnd:
    case PolarStatus::BadStep: {
        remove();
        m_view.ShowInfo(polar.message);
        const PolarField f = polar.status == PolarStatus::BadStart ? PolarField::Start
            : polar.status == PolarStatus::BadEnd                  ? PolarField::End
                                                                   : PolarField::Step;
        m_view.FocusPolarField(f);
        return;
    }
    case PolarStatus::EngineError:
    case PolarStatus::Ok:
        break;
    }

    // the thin-airfoil zero-lift angle decides which field an engine error marks
    ComputeCharacteristics(*profile);
    const double alphaTat = profile->Characteristics[kAlfa0];
    m_view.SetPolarFieldAlarm(PolarField::Start, false);
    m_view.SetPolarFieldAlarm(PolarField::End, false);
    if (polar.status == PolarStatus::EngineError) {
        m_view.SetPolarFieldAlarm(polar.engineErrorAtStart(alphaTat) ? PolarField::Start : PolarField::End,
                                  true);
        remove();
        return;
    }

    removeResultSeries("UM_POL");
    const double scale = SpinScale(Analysis.UmScale);
    const double offset = Analysis.UmOffset / 25.0;
    auto addSide = [&](bool upper) {
        ChartSeries s;
        s.Marker.Style = upper ? MarkerStyle::Triangle : MarkerStyle::DownTriangle;
        s.Marker.HorizSize = 5;
        s.Marker.VertSize = 5;
        if (Display.PointsOn) {
            s.Pen = PenStyle::Dot;
            s.LineWidth = 1;
            s.Marker.Visible = true;
        } else {
            s.Pen = PenStyle::Solid;
            s.LineWidth = 2;
            s.Marker.Visible = false;
        }
        s.Marker.OutlineColor = ContrastColour(m_chart.BackColor);
        s.Name = (upper ? "UM_POL_OBEN" : "UM_POL_UNTEN") + std::to_string(++m_project.SeriesCounter);
        s.Color = profile->Color;
        for (const TUmschlagPunkt &row : polar.rows)
            s.AddXY(upper ? row.xUpper : row.xLower, (row.angle / 30.0 + offset) * scale);
        m_chart.AddSeries(std::move(s));
    };
    if (Analysis.Side != ShownSide::Lower)
        addSide(true);
    if (Analysis.Side != ShownSide::Upper)
        addSide(false);
    m_view.RedrawPlot();
}

void MainController::RefreshAnalysis()
{
    newState();
    runAnalyses();
    if (OnAnalysisRefreshed)
        OnAnalysisRefreshed();
}

void MainController::AnalysisInputChanged(bool velocity, bool polar, bool swallowErrors)
{
    newState();
    try {
        if (velocity)
            RunVelocityDistribution();
        if (polar)
            RunTransitionPolar();
    } catch (const UserError &e) {
        if (!swallowErrors)
            reportError(e.what());
    }
    if ((velocity || polar) && OnAnalysisRefreshed)
        OnAnalysisRefreshed();
}

void MainController::SideClicked(ShownSide side)
{
    Analysis.Side = side;
    if (!requireSelection())
        return;
    if (TProfile *profile = m_project.ActiveProfile()) {
        for (TKoordi &k : profile->Points) {
            k.Marked = false;
            k.Active = false;
        }
    }
    AnalysisInputChanged(true, true);
}

} // namespace velmora

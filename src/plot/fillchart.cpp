// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/fillchart.h"

#include <algorithm>

namespace velmora {

namespace {

void fillPoints(const TProfile &profile, ChartSeries &s)
{
    s.ClearPoints();
    s.XValues.reserve(profile.Points.size());
    s.YValues.reserve(profile.Points.size());
    for (const TKoordi &k : profile.Points)
        s.AddXY(k.X, k.Y);
}

} // namespace

void FillChart(TProf_Projekt &project, ChartModel &chart)
{
    chart.ClearSeries();
    for (const TProfile &p : project.Profiles) {
        ChartSeries s;
        ++project.SeriesCounter;
        s.Name = "P" + std::to_string(project.SeriesCounter);
        s.Title = p.Name + ";" + p.Title;
        s.Color = p.Color;
        s.Shown = p.Visible;
        s.Marker.Style = MarkerStyle::Circle;
        s.Marker.HorizSize = 5;
        s.Marker.VertSize = 5;
        s.Marker.Visible = true;
        fillPoints(p, s);
        chart.AddSeries(std::move(s));
    }
    chart.Changed();
}

void RefillSeries(const TProf_Projekt &project, ChartModel &chart, int index)
{
    if (index < 0 || index >= int(project.Profiles.size()) || index >= chart.SeriesCount())
        return;
    fillPoints(project.Profiles[size_t(index)], chart.At(index));
    chart.Changed();
}

TColor NextFreeColour(const ChartModel &chart, TColor panelColour, TColor backgroundColour)
{
    const TColor panel = ResolveColour(panelColour);
    const TColor back = ResolveColour(backgroundColour);
    for (TColor c : ProfilePalette()) {
        const bool used = std::any_of(chart.Series().begin(), chart.Series().end(),
                                      [c](const ChartSeries &s) { return ResolveColour(s.Color) == c; });
        if (!used && c != panel && c != back)
            return c;
    }
    return kColorRed;
}

} // namespace velmora

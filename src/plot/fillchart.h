// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"
#include "plot/chartmodel.h"

namespace velmora {

// Removes every series (result series too) and creates one line series per
// profile in list order: name "P" + the raised SeriesCounter, title
// Name + ";" + Title, the profile's colour and visibility, its points in
// list order, a shown circle marker of half-size 5. Series i is profile i.
void FillChart(TProf_Projekt &project, ChartModel &chart);

// Refills the series of profile `index` with the profile's points; colour and
// everything else stay. Does nothing for an index without a series.
void RefillSeries(const TProf_Projekt &project, ChartModel &chart, int index);

// The first palette colour that no series uses and that differs from the
// panel and the background colour; red when all are taken.
TColor NextFreeColour(const ChartModel &chart, TColor panelColour, TColor backgroundColour);

} // namespace velmora

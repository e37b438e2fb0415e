// SPDX-License-Identifier: GPL-3.0-or-later
// "Rückgängig" and "Wiederholen": the history puts a former content back,
// the window shows it as after any command.
#include "app/maincontroller.h"
#include "plot/fillchart.h"

namespace velmora {

void MainController::Rueckgaengig()
{
    restoreStep(true);
}

void MainController::Wiederholen()
{
    restoreStep(false);
}

void MainController::restoreStep(bool undo)
{
    // a change no command recorded becomes a step of its own rather than being lost
    { const auto pending = RecordStep("Änderung"); }
    const uint64_t selected = RowExists(m_selectedRow) ? m_project.Profiles[size_t(m_selectedRow)].Serial : 0;
    if (!(undo ? m_history.Undo(m_project) : m_history.Redo(m_project)))
        return;
    rebuildRows();
    for (int i = 0; selected != 0 && i < int(m_project.Profiles.size()); ++i) {
        if (m_project.Profiles[size_t(i)].Serial == selected) {
            m_selectedRow = i;
            m_project.ActiveIndex = i;
        }
    }
    FillChart(m_project, m_chart);
    repaintList();
    m_view.RedrawPlot();
    RefreshAnalysis();
}

} // namespace velmora

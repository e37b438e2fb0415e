// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of "Funktionen" and "Edit" that rebuild a profile's points,
// and the lists of the profile information window.
#include "app/maincontroller.h"
#include "geometry/align.h"
#include "geometry/characteristics.h"
#include "geometry/primitives.h"
#include "geometry/sides.h"
#include "geometry/smoothing.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "plot/fillchart.h"

namespace velmora {

TProfile *MainController::SelectedProfile()
{
    return RowExists(m_selectedRow) ? &m_project.Profiles[size_t(m_selectedRow)] : nullptr;
}

bool MainController::requireSelection()
{
    if (RowExists(m_selectedRow))
        return true;
    m_view.ShowInfo(msg::kNoProfileSelected);
    return false;
}

bool MainController::accepted(const GeometryResult &result)
{
    if (!result && !result.message.empty())
        m_view.ShowInfo(result.message);
    return bool(result);
}

void MainController::afterGeometryChange(int index, bool markProfile)
{
    if (markProfile && index >= 0 && index < int(m_project.Profiles.size()))
        m_project.Profiles[size_t(index)].Modified = true;
    FillChart(m_project, m_chart);
    repaintList();
    m_view.RedrawPlot();
    m_project.Modified = true;
    RefreshAnalysis();
}

void MainController::ProfilAusrichtenUndNormieren(bool extrapolate)
{
    const auto step = RecordStep("Profil ausrichten und normieren");
    if (!requireSelection())
        return;
    TProfile *profile = m_project.ActiveProfile();
    if (!profile)
        return;
    if (!accepted(AlignNormalise(*profile, extrapolate)))
        return;
    RoundTo6(*profile);
    profile->Modified = true;
    // only this profile's series changes
    RefillSeries(m_project, m_chart, m_project.ActiveIndex);
    repaintList();
    m_view.RedrawPlot();
    m_project.Modified = true;
    RefreshAnalysis();
}

void MainController::ProfilGlaetten()
{
    const auto step = RecordStep("Profil glätten");
    if (!requireSelection())
        return;
    const auto answer = m_view.AskText(msg::kSmoothCaption, msg::kSmoothPrompt, "121");
    int count = 0;
    if (!answer || !TryParseInteger(*answer, count) || count < 5)
        return;
    TProfile *profile = m_project.ActiveProfile();
    if (!profile)
        return;
    if (!accepted(SmoothCosine(*profile, count)))
        return;
    afterGeometryChange(m_project.ActiveIndex, true);
}

void MainController::ZwischenpunkteEinfuegen()
{
    const auto step = RecordStep("Zwischenpunkte einfügen");
    TProfile *profile = m_project.ActiveProfile();
    if (!profile)
        return;
    if (!accepted(InsertMidpointsCubic(*profile)))
        return;
    afterGeometryChange(m_project.ActiveIndex, true);
}

void MainController::PunkteNeuVerteilen()
{
    const auto step = RecordStep("Punkte neu verteilen");
    if (!requireSelection())
        return;
    m_view.ShowRedistributionDialog([this](const std::string &countText, StationDistribution distribution) {
        TProfile *profile = m_project.ActiveProfile();
        if (!profile)
            return false;
        int count = 0;
        if (!TryParseInteger(countText, count)) {
            reportError(msgNotAnInteger(countText));
            return false;
        }
        if (!accepted(RedistributeCubic(*profile, count, distribution)))
            return false;
        afterGeometryChange(m_project.ActiveIndex, true);
        return true;
    });
}

void MainController::KopieErzeugen(bool inverse)
{
    const auto step = RecordStep(inverse ? "Inverse Kopie erzeugen" : "Kopie erzeugen");
    if (!requireSelection())
        return;
    const TProfile *profile = m_project.ActiveProfile();
    if (!profile)
        return;
    TProfile copy = inverse ? InverseCopy(*profile) : WholeCopy(*profile);
    copy.Color = NextFreeColour(m_chart, kSysColorBtnFace, m_chart.BackColor);
    m_project.Profiles.push_back(std::move(copy));
    afterGeometryChange(-1, false);
}

void MainController::SeiteSpiegeln(bool upper)
{
    const auto step = RecordStep(upper ? "Oberseite spiegeln" : "Unterseite spiegeln");
    if (!requireSelection())
        return;
    TProfile &profile = *SelectedProfile();
    if (!accepted(upper ? MirrorUpper(profile) : MirrorLower(profile)))
        return;
    afterGeometryChange(m_selectedRow, true);
}

void MainController::ProfilInZwischenspeicher()
{
    const auto step = RecordStep("Profil merken");
    if (!requireSelection())
        return;
    if (const TProfile *profile = m_project.ActiveProfile())
        m_project.ClipboardProfile = WholeCopy(*profile);
}

void MainController::UnterseiteEinbauen()
{
    const auto step = RecordStep("Unterseite einbauen");
    if (!m_project.ClipboardProfile)
        return;
    if (!requireSelection())
        return;
    if (!m_view.AskYesNo(msg::kReallyReplaceLowerSide))
        return;
    TProfile *profile = m_project.ActiveProfile();
    if (!profile)
        return;
    if (!accepted(ReplaceLowerSide(*profile, *m_project.ClipboardProfile)))
        return;
    m_project.ClipboardProfile.reset();
    profile->Modified = true;
    FillChart(m_project, m_chart);
    m_view.RedrawPlot();
    repaintList();
    m_project.Modified = true;
    RefreshAnalysis();
}

void MainController::MarkiertePunkteLoeschen()
{
    const auto step = RecordStep("Markierte Punkte löschen");
    TProfile *profile = m_project.ActiveProfile();
    if (!profile)
        return;
    if (!m_view.AskYesNo(msg::kReallyRemove))
        return;
    DeleteMarkedPoints(*profile);
    afterGeometryChange(m_project.ActiveIndex, true);
}

std::pair<std::vector<std::string>, std::vector<std::string>> MainController::ProfileInfoLines(char decimalChar)
{
    TProfile *profile = SelectedProfile();
    return {ShowCharacteristics(profile, decimalChar), CheckProfile(profile)};
}

} // namespace velmora

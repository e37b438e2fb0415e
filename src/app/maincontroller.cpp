// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"

#include "app/memoryusage.h"
#include "model/codepage.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/projectfile.h"
#include "model/textfile.h"
#include "plot/fillchart.h"

#include <algorithm>

namespace velmora {

const FileDialogSetup kProfileLoadDialog = {"Profil- / Koordinaten-Datei laden", "Profildateien *.Dat",
                                           "*.dat", "dat", true, false};
const FileDialogSetup kProfileSaveDialog = {"Profil- / Koordinaten-Datei speichern",
                                           "Profildateien *.dat", "*.dat", "dat", false, true};
const FileDialogSetup kProjectOpenDialog = {"Projekt-Datei öffnen",
                                           "Velmora Projektdatei  *.VMPRO ; *.VMPRO2",
                                           "*.VMPRO;*.VMPRO2", "VMPRO", false, false};
const FileDialogSetup kProjectSaveDialog = {"Projekt-Datei speichern unter",
                                           "Velmora Projektdatei *.VMPRO2", "*.VMPRO2", "VMPRO2",
                                           false, true};

namespace {

// A typed name without an ending gets the dialog's default one.
std::string withDefaultSuffix(const std::string &path, const std::string &suffix)
{
    if (suffix.empty() || FileNamePart(path).find('.') != std::string::npos)
        return path;
    return path + "." + suffix;
}

} // namespace

MainController::MainController(MainView &view, std::string programFolder)
    : m_view(view)
    , m_programFolder(std::move(programFolder))
{
    OpenDialog1Dir = SaveDialog1Dir = OpenDialog2Dir = SaveDialog2Dir = m_programFolder;
    m_chart.BackColor = kSysColorBtnFace;
    m_chart.OnChanged = [this] { m_view.RedrawPlot(); };
    m_chart.OnZoom = [this] {
        if (Scale == ScaleRequest::None)
            Scale = ScaleRequest::KeepCentre;
    };
    m_chart.OnUndoZoom = [this] {
        Scale = ScaleRequest::CentreOnZero;
        m_chart.ZoomPercent(90);
    };
    m_history.Reset(m_project);
}

// --- helpers -------------------------------------------------------------

void MainController::clearSelection()
{
    m_selectedRow = -1;
    m_project.ActiveIndex = -1;
}

void MainController::rebuildRows()
{
    m_rowCount = int(m_project.Profiles.size());
    clearSelection();
}

void MainController::repaintList()
{
    // drawing the rows fills the name and title fields and follows the info window
    if (const TProfile *p = RowExists(m_selectedRow) ? &m_project.Profiles[size_t(m_selectedRow)]
                                                     : nullptr)
        m_view.SetNameTitleFields(cp1252ToUtf8(p->Name), cp1252ToUtf8(p->Title));
    else
        m_view.SetNameTitleFields({}, {});
    m_view.RepaintList();
    if (OnProfileInfoRefresh)
        OnProfileInfoRefresh();
}

void MainController::reportError(const std::string &message)
{
    m_view.ShowError(message);
}

// --- profile list --------------------------------------------------------

std::string MainController::RowText(int row) const
{
    if (!RowExists(row))
        return {};
    const TProfile &p = m_project.Profiles[size_t(row)];
    return p.Modified ? "# " + p.Name : p.Name;
}

bool MainController::RowChecked(int row) const
{
    return RowExists(row) && m_project.Profiles[size_t(row)].Visible;
}

TColor MainController::RowColour(int row) const
{
    return RowExists(row) ? m_project.Profiles[size_t(row)].Color : kColorBlack;
}

void MainController::CheckListBox1ClickCheck(int row, bool checked)
{
    if (RowExists(row))
        m_project.Profiles[size_t(row)].Visible = checked;
    for (int i = 0; i < int(m_project.Profiles.size()) && i < m_chart.SeriesCount(); ++i)
        m_chart.At(i).Shown = m_project.Profiles[size_t(i)].Visible;
    m_project.ActiveIndex = m_selectedRow;
    m_project.Modified = true;
    repaintList();
    m_view.RedrawPlot();
    RefreshAnalysis();
}

void MainController::CheckListBox1MouseDown(int row, bool rightButton)
{
    m_selectedRow = (rightButton || !RowExists(row)) ? -1 : row;
    BeforeDrawSeries();
    m_view.RedrawPlot();
    repaintList();
    RefreshAnalysis();
}

void MainController::CheckListBox1KeySelect(int row)
{
    CheckListBox1MouseDown(row, false);
}

void MainController::AlleHaekchen(bool on)
{
    for (TProfile &p : m_project.Profiles)
        p.Visible = on;
    m_project.Modified = true;
    FillChart(m_project, m_chart);
    m_view.RedrawPlot();
    clearSelection();
    repaintList();
    RefreshAnalysis();
}

void MainController::ProfilNachVorneBringen()
{
    const auto step = RecordStep("Profil nach vorne bringen");
    if (!requireSelection())
        return;
    const int n = int(m_project.Profiles.size());
    std::swap(m_project.Profiles[size_t(m_selectedRow)], m_project.Profiles[size_t(n - 1)]);
    rebuildRows();
    FillChart(m_project, m_chart);
    m_selectedRow = n - 1;
    m_project.ActiveIndex = n - 1;
    repaintList();
    m_view.RedrawPlot();
    m_project.Modified = true;
    RefreshAnalysis();
}

void MainController::SortiereListeNachNamen()
{
    const auto step = RecordStep("Liste nach Namen sortieren");
    // names equal after upper-casing a-z keep their order; other bytes compare by code
    std::stable_sort(m_project.Profiles.begin(), m_project.Profiles.end(),
                     [](const TProfile &a, const TProfile &b) {
                         const std::string ua = UpperAscii(a.Name);
                         const std::string ub = UpperAscii(b.Name);
                         return std::lexicographical_compare(
                             ua.begin(), ua.end(), ub.begin(), ub.end(), [](char x, char y) {
                                 return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                             });
                     });
    rebuildRows();
    FillChart(m_project, m_chart);
    repaintList();
    clearSelection();
    m_project.Modified = true;
    RefreshAnalysis();
}

void MainController::ProfilFarbeAendern()
{
    const auto step = RecordStep("Profil-Farbe ändern");
    if (!requireSelection())
        return;
    TProfile &p = m_project.Profiles[size_t(m_selectedRow)];
    if (const auto colour = m_view.ChooseColour(p.Color)) {
        p.Color = *colour;
        if (m_selectedRow < m_chart.SeriesCount())
            m_chart.At(m_selectedRow).Color = *colour;
        repaintList();
    }
    RefreshAnalysis();
    m_view.RedrawPlot();
    m_project.Modified = true;
}

void MainController::ProfilEntfernen()
{
    const auto step = RecordStep("Profil entfernen");
    if (!requireSelection())
        return;
    if (!m_view.AskYesNo(msg::kReallyRemove))
        return;
    m_project.RemoveProfile(m_selectedRow);
    m_rowCount = std::max(0, m_rowCount - 1);
    clearSelection();
    FillChart(m_project, m_chart);
    m_view.RedrawPlot();
    repaintList();
    m_project.Modified = true;
    RefreshAnalysis();
}

void MainController::AlleProfileEntfernen()
{
    const auto step = RecordStep("Alle Profile entfernen");
    if (m_view.AskYesNo(msg::kReallyRemoveAll)) {
        m_project.ClearProfiles();
        m_rowCount = 0;
        m_project.Modified = false;
    }
    FillChart(m_project, m_chart);
    clearSelection();
    m_view.SetNameTitleFields({}, {});
    repaintList();
    RefreshAnalysis();
}

void MainController::NameFieldDone(const std::string &textUtf8)
{
    const auto step = RecordStep("Name ändern");
    // leaving the field without a change is no edit
    if (!RowExists(m_selectedRow) || m_project.Profiles[size_t(m_selectedRow)].Name == utf8ToCp1252(textUtf8))
        return;
    m_project.Profiles[size_t(m_selectedRow)].Name = utf8ToCp1252(textUtf8);
    repaintList();
    m_project.Modified = true;
}

void MainController::TitleFieldDone(const std::string &textUtf8)
{
    const auto step = RecordStep("Überschrift ändern");
    if (!RowExists(m_selectedRow) || m_project.Profiles[size_t(m_selectedRow)].Title == utf8ToCp1252(textUtf8))
        return;
    m_project.Profiles[size_t(m_selectedRow)].Title = utf8ToCp1252(textUtf8);
    repaintList();
    m_project.Modified = true;
}

// --- files ---------------------------------------------------------------

void MainController::ProjektDateiLaden()
{
    const auto step = RecordStep("Projekt-Datei laden");
    if (m_project.Modified && m_view.AskYesNo(msg::kProjectLoadedAndModified))
        ProjektDateiSpeichernUnter();

    // the current project goes only once a new one has been read completely
    const std::vector<std::string> chosen = chooseOpen(kProjectOpenDialog, OpenDialog2Dir);
    if (chosen.empty())
        return;
    const std::string &path = chosen.front();
    TProf_Projekt loaded;
    try {
        ReadProjectFile(loaded, path);
    } catch (const UserError &e) {
        reportError(e.what());
        return;
    }
    // a file that yields no profile (a coordinate file, plain text under
    // the scrambled ending, nothing at all) is a bad file, not an empty project
    if (loaded.Profiles.empty()) {
        reportError(msgNoProfile(path));
        return;
    }

    m_project.ClearProfiles();
    rebuildRows();
    FillChart(m_project, m_chart);
    m_view.SetNameTitleFields({}, {});
    repaintList();
    m_project.Modified = false;
    RefreshAnalysis();

    m_project.Profiles = std::move(loaded.Profiles);
    m_project.FileName = FileNamePart(path);
    m_project.FilePath = path;
    m_recent.Add(path);
    FillChart(m_project, m_chart);
    OpenDialog2Dir = FolderPartWithSeparator(path);
    ResetView();
    m_project.Modified = false;
}

void MainController::ProjektDateiDazuLaden()
{
    const auto step = RecordStep("Projekt-Datei dazu laden");
    const std::vector<std::string> chosen = chooseOpen(kProjectOpenDialog, OpenDialog2Dir);
    if (!chosen.empty()) {
        const std::string &path = chosen.front();
        const size_t before = m_project.Profiles.size();
        try {
            ReadProjectFile(m_project, path);
        } catch (const UserError &e) {
            reportError(e.what());
            return;
        }
        if (m_project.Profiles.size() == before) {
            reportError(msgNoProfile(path));
            return;
        }
        m_project.FileName = FileNamePart(path);
        m_recent.Add(path);
        FillChart(m_project, m_chart);
        OpenDialog2Dir = FolderPartWithSeparator(path);
        ResetView();
    }
    m_project.Modified = true;
    RefreshAnalysis();
}

bool MainController::ProjektDateiSpeichernUnter()
{
    std::string proposed = m_project.FileName.empty() ? "Noname" : m_project.FileName;
    if (EndsWithNoCase(proposed, ".VMPRO"))
        proposed += "2";
    const auto chosen = m_view.ChooseSaveFile(kProjectSaveDialog, SaveDialog2Dir, proposed);
    if (!chosen || chosen->empty())
        return false;
    const std::string path = withDefaultSuffix(*chosen, kProjectSaveDialog.DefaultSuffix);
    try {
        WriteProjectFile(m_project, path);
    } catch (const UserError &e) {
        reportError(e.what());
        return false;
    }
    m_project.FileName = path;
    m_project.FilePath = path;
    m_history.MarkSaved(path);
    m_recent.Add(path);
    SaveDialog2Dir = FolderPartWithSeparator(path);
    return true;
}

void MainController::ProfilLaden()
{
    const auto step = RecordStep("Profil laden");
    const std::vector<std::string> files = chooseOpen(kProfileLoadDialog, OpenDialog1Dir);
    if (!files.empty()) {
        for (size_t i = 0; i < files.size(); ++i) {
            // the placeholder keeps its colour taken, so the next file gets another one
            ChartSeries placeholder;
            placeholder.Name = "PPP" + std::to_string(i);
            placeholder.Color = NextFreeColour(m_chart, kSysColorBtnFace, m_chart.BackColor);
            m_chart.AddSeries(placeholder);
            TProfile profile;
            profile.Color = placeholder.Color;
            try {
                LoadCoordinateFile(profile, files[i]);
            } catch (const UserError &e) {
                reportError(e.what());
                break;
            }
            m_project.Profiles.push_back(std::move(profile));
            m_recent.Add(files[i]);
        }
        m_chart.RemoveSeriesContaining("PPP");
        OpenDialog1Dir = FolderPartWithSeparator(files.front());
    }
    FillChart(m_project, m_chart);
    ResetView();
    m_project.Modified = true;
    clearSelection();
    repaintList();
    RefreshAnalysis();
}

void MainController::ProfilSpeichernUnter()
{
    if (!requireSelection())
        return;
    const TProfile &p = m_project.Profiles[size_t(m_selectedRow)];
    const std::string proposed = p.Name.empty() ? std::string() : cp1252ToUtf8(p.Name) + ".dat";
    const auto chosen = m_view.ChooseSaveFile(kProfileSaveDialog, SaveDialog1Dir, proposed);
    if (chosen && !chosen->empty()) {
        const std::string path = withDefaultSuffix(*chosen, kProfileSaveDialog.DefaultSuffix);
        try {
            WriteCoordinateFile(p, path);
            SaveDialog1Dir = FolderPartWithSeparator(path);
            m_recent.Add(path);
        } catch (const UserError &e) {
            reportError(e.what());
        }
    }
    clearSelection();
    repaintList();
    RefreshAnalysis();
}

void MainController::ProgrammSchliessen()
{
    m_view.CloseMainWindow();
}

bool MainController::CloseQuery()
{
    if (m_project.Modified && m_view.AskYesNo(msg::kCloseModified)) {
        if (!ProjektDateiSpeichernUnter())
            return false;
    }
    m_project.Modified = false;
    return true;
}

// --- plot ----------------------------------------------------------------

void MainController::ZoomIn()
{
    m_chart.ZoomPercent(105);
}

void MainController::ResetView()
{
    m_chart.UndoZoom();
}

void MainController::ZoomOut()
{
    m_chart.ZoomPercent(95);
}

void MainController::ChartResized()
{
    Scale = ScaleRequest::KeepCentre;
    m_view.RedrawPlot();
}

void MainController::showStatusNote()
{
    const std::string note = AnalysisNote();
    m_view.SetStatusText(0, note.empty() ? "Aktueller Speicherbedarf=" + std::to_string(CurrentHeapBytes()) + " Byte"
                                         : note);
}

void MainController::BeforeDrawSeries()
{
    showStatusNote();
    if (m_project.ClipboardProfile) {
        m_view.SetStatusText(1, "Profil '" + cp1252ToUtf8(m_project.ClipboardProfile->Name)
                                    + "' im Zwischenspeicher vorhanden !");
        m_view.SetMenuEnabled(MenuEntry::InsertClipboardLowerSide, true);
    } else {
        m_view.SetStatusText(1, {});
        m_view.SetMenuEnabled(MenuEntry::InsertClipboardLowerSide, false);
    }
    m_project.ActiveIndex = RowExists(m_selectedRow) ? m_selectedRow : -1;

    for (ChartSeries &s : m_chart.Series()) {
        s.Marker.Visible = false;
        s.LineWidth = 1;
        if (s.Name.find("V_POL") != std::string::npos)
            s.Marker.Visible = true;
        if (s.Name.find("UM_POL") != std::string::npos)
            s.Marker.Visible = Display.PointsOn;
    }
    if (m_selectedRow >= 0 && m_selectedRow < m_chart.SeriesCount()) {
        ChartSeries &s = m_chart.At(m_selectedRow);
        s.LineWidth = 2;
        s.Marker.OutlineColor = ContrastColour(m_chart.BackColor);
        s.Marker.Visible = Display.Circles;
    }
    m_chart.GridColor = ShadeColour(m_chart.BackColor, 0.5);
    m_chart.GridVisible = Display.Grid;
}

bool MainController::AfterDraw()
{
    const bool again = m_chart.ApplyScaleRequest(Scale);
    if (m_rowCount != int(m_project.Profiles.size())) {
        rebuildRows();
        repaintList();
        // the selection is gone, and with it what was shown for it
        RefreshAnalysis();
    }
    return again;
}

// The step may come from the settings file as any 32-bit value: no overflow.
void MainController::WheelStepDec()
{
    const int step = m_project.WheelStep;
    m_project.WheelStep = step <= 1 ? 1 : step - 1;
}

void MainController::WheelStepInc()
{
    const int step = m_project.WheelStep;
    m_project.WheelStep = step >= 6 ? 6 : step + 1;
}

void MainController::Hintergrundfarbe()
{
    if (const auto colour = m_view.ChooseColour(m_chart.BackColor))
        m_chart.BackColor = *colour;
    m_view.RedrawPlot();
    // result series take their colours from the background
    RefreshAnalysis();
}

// --- settings ------------------------------------------------------------

void MainController::ApplySettings(const TSettings &s)
{
    OpenDialog1Dir = s.OpenDialog1Dir;
    SaveDialog1Dir = s.SaveDialog1Dir;
    OpenDialog2Dir = s.OpenDialog2Dir;
    SaveDialog2Dir = s.SaveDialog2Dir;
    m_project.WheelStep = s.WheelStep;
    m_chart.BackColor = s.Chart1BackColor;
    m_chart.GridColor = ContrastColour(s.Chart1BackColor);
}

void MainController::StoreSettings(TSettings &s) const
{
    s.OpenDialog1Dir = OpenDialog1Dir;
    s.SaveDialog1Dir = SaveDialog1Dir;
    s.OpenDialog2Dir = OpenDialog2Dir;
    s.SaveDialog2Dir = SaveDialog2Dir;
    s.WheelStep = m_project.WheelStep;
    s.Chart1BackColor = m_chart.BackColor;
}

} // namespace velmora

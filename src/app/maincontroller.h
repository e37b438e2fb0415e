// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysiscommands.h"
#include "analysis/eppler.h"
#include "analysis/panelshare.h"
#include "analysis/polarsweep.h"
#include "app/analysisgate.h"
#include "app/backgroundrunner.h"
#include "app/mainview.h"
#include "app/overlaycanvas.h"
#include "app/recentfiles.h"
#include "app/undohistory.h"
#include "geometry/result.h"
#include "model/profile.h"
#include "model/settingsfile.h"
#include "plot/chartmodel.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmora {

// The display switches of the control panel, in their start states.
struct DisplayOptions
{
    bool Crosshair = true;    // "Fadenkreuz"
    bool Grid = true;         // "Gitter"
    bool NewPoints = false;   // "Neue Punkte"
    bool Circles = true;      // "Kreis um Prof-Punkte"
    bool MouseCoords = false; // "Mauskoordinaten"
    bool PointsOn = true;     // "Punkte an" (transition polar markers)
};

// Which side of the profile the result series cover ("oben/unten", "oben", "unten").
enum class ShownSide { Both, Upper, Lower };

// The inputs of the group boxes "v-Verteilung", "Umschlag" and "v\Um Sichtbar",
// in their start states. Texts as typed (UTF-8).
struct AnalysisInputs
{
    bool VRechnen = true;          // "v  rechnen"
    std::string AlfaText = "0";    // "Alfa [°] "
    std::string ReText = "100000"; // "Re"
    int VScale = 0;                // "v-Scale"
    int VOffset = -25;             // "v-Offset"
    bool UmRechnen = false;        // "Umschlag rechnen"
    std::string StartText = "-12"; // "Alfa Start [°]"
    std::string EndText = "14";    // "Alfa Ende [°]"
    std::string StepText = "0,1";  // "Alfa Step [°]"
    int UmScale = -6;              // "Um-Scale"
    int UmOffset = 0;              // "Um-Offset"
    ShownSide Side = ShownSide::Both;
};

// The step one wheel notch moves marked points: 10^-WheelStep for 1..6,
// 0.0001 for any other value; single precision like the fields it feeds.
float WheelStepValue(int wheelStep);

// Vertical scale of a result series from its spin field: 0 -> 1, v > 0 ->
// v / 25 + 1, v < 0 -> 1 - |v / 25| but not below 0.
double SpinScale(int value);

// The main window without a window: the project, the plot model, the state
// of the profile list and every command of the menus and controls. The Qt
// window forwards its events here and shows what it is told through
// MainView. Profile i, series i and list row i are the same profile.
class MainController
{
public:
    // `programFolder` without a trailing separator; the four dialogs start there.
    MainController(MainView &view, std::string programFolder);

    TProf_Projekt &Project() { return m_project; }
    const TProf_Projekt &Project() const { return m_project; }
    ChartModel &Chart() { return m_chart; }
    const ChartModel &Chart() const { return m_chart; }
    const std::string &ProgramFolder() const { return m_programFolder; }

    DisplayOptions Display;
    ScaleRequest Scale = ScaleRequest::None;
    int MouseX = 0;
    int MouseY = 0;
    bool MouseSeen = false; // the mouse has been over the plot: the crosshair follows it

    // Dialog start folders (UTF-8; a folder taken from a chosen file keeps its separator).
    std::string OpenDialog1Dir; // profile load
    std::string SaveDialog1Dir; // profile save
    std::string OpenDialog2Dir; // project open and append
    std::string SaveDialog2Dir; // project save

    AnalysisInputs Analysis;
    // Refreshes the profile information window (it ignores the call while hidden).
    std::function<void()> OnProfileInfoRefresh;
    // After the analyses were brought up to date with the profiles and the
    // fields: windows that follow them (polars, boundary layer) recompute.
    std::function<void()> OnAnalysisRefreshed;

    // --- profile list --------------------------------------------------
    int RowCount() const { return m_rowCount; }
    int SelectedRow() const { return m_selectedRow; }
    // Row text: "# " before the name of a modified profile; Windows-1252 bytes.
    std::string RowText(int row) const;
    bool RowChecked(int row) const;
    TColor RowColour(int row) const;
    bool RowExists(int row) const { return row >= 0 && row < m_rowCount && row < int(m_project.Profiles.size()); }

    // A row's check box was toggled (mouse or space key).
    void CheckListBox1ClickCheck(int row, bool checked);
    // A mouse button went down on the list after it moved its selection to
    // `row` (-1 below the last row); the right button clears the selection.
    void CheckListBox1MouseDown(int row, bool rightButton);
    // The keyboard moved the selection to `row`.
    void CheckListBox1KeySelect(int row);

    void AlleHaekchen(bool on);           // "Alle Häkchen aus" / "Alle Häkchen an"
    void ProfilNachVorneBringen();        // "Profil nach vorne bringen"
    void SortiereListeNachNamen();        // "Sortiere Liste nach Namen"
    void ProfilFarbeAendern();            // "Profil-Farbe ändern"
    void ProfilEntfernen();               // "Profil entfernen"
    void AlleProfileEntfernen();          // "Alle Profile entfernen"

    // Name and title fields lost the focus or got Enter (UTF-8 text).
    void NameFieldDone(const std::string &textUtf8);
    void TitleFieldDone(const std::string &textUtf8);

    // --- files ---------------------------------------------------------
    void ProjektDateiLaden();             // "Projekt-Datei laden"
    void ProjektDateiDazuLaden();         // "Projekt-Datei dazu laden"
    bool ProjektDateiSpeichernUnter();    // "Projekt-Datei speichern unter"; true when written
    void ProfilLaden();                   // "Profil laden"
    void ProfilSpeichernUnter();          // "Profil speichern unter"
    void ProgrammSchliessen();            // "Programm schließen"
    // Asked before the main window closes; false keeps it open (the user
    // wanted to save and the save did not happen).
    bool CloseQuery();

    // --- geometry ------------------------------------------------------
    // The profile of the selected row, or null.
    TProfile *SelectedProfile();
    void ProfilAusrichtenUndNormieren(bool extrapolate); // both "Profil Ausrichten und Normieren" entries
    void ProfilGlaetten();                               // "Profil automatisch Glätten (COS-Verteilung)"
    void ZwischenpunkteEinfuegen();                      // "Zwischenpunkte bei t=0.5 einfügen Polynom 3'"
    void PunkteNeuVerteilen();                           // "Punkte neu verteilen (Ober/Unterseite getrennt) Polynom 3'"
    void KopieErzeugen(bool inverse);                    // "Kopie erzeugen", "Inverse Kopie erzeugen"
    void SeiteSpiegeln(bool upper);                      // "Oberseite spiegeln, Unterseite weg" / "Unterseite spiegeln, Oberseite weg"
    void ProfilInZwischenspeicher();                     // "Profil in Zwischenspeicher merken"
    void UnterseiteEinbauen();                           // "Unterseite des Zwischenspeicher-Profiles einbauen"
    void MarkiertePunkteLoeschen();                      // "Markierte Punkte löschen"
    // The two lists of the profile information window for the selected profile.
    std::pair<std::vector<std::string>, std::vector<std::string>> ProfileInfoLines(char decimalChar);

    // --- analysis ------------------------------------------------------
    // The speed distribution of the selected profile: result row, ca/cm/cw
    // fields and the "V_POL" series over the profile; removes the series when
    // "v  rechnen" is off or nothing visible is selected.
    void RunVelocityDistribution();
    // The transition polar: "UM_POL_OBEN"/"UM_POL_UNTEN" series of transition
    // position over angle; removes them when "Umschlag rechnen" is off.
    void RunTransitionPolar();
    // Both, as after every change of profiles, selection or order. A text
    // that is no number ends it with its message.
    void RefreshAnalysis();
    // --- live analysis (liveanalysis.cpp) --------------------------------
    // With a runner, point edits (wheel notches, typed coordinates, inserted
    // points) return at once and leave the analyses of the new state to it;
    // results are shown only while they belong to the latest state. Without
    // one, everything runs synchronously. The runner must outlive its use.
    void SetAnalysisRunner(BackgroundRunner *runner) { m_runner = runner; }
    // Counts the states whose analyses were asked for; results of an older
    // state are never shown.
    uint64_t AnalysisGeneration() const { return m_analysisGeneration; }
    struct AnalysisTimes
    {
        uint64_t Generation = 0; // the state the shown analyses belong to
        double VelocityMs = 0;   // computing time of the speed distribution
        double PolarMs = 0;      // ... of the transition polar
        std::chrono::steady_clock::time_point StateTime{}; // when that state was made
    };
    const AnalysisTimes &ShownAnalysisTimes() const { return m_shownTimes; }
    // The panel solutions the live analyses compute, for other workers on the same edit.
    std::shared_ptr<PanelShare> SharedPanels() const { return m_panelShare; }
    // Followers' workers wait here for the analyses of an edit (see AnalysisGate).
    std::shared_ptr<AnalysisGate> AnalysesGate() const { return m_analysisGate; }
    std::chrono::steady_clock::time_point LatestStateTime() const { return m_stateTime; }

    // "oben/unten", "oben", "unten" clicked.
    void SideClicked(ShownSide side);
    // Why the last analysis of the selected profile was refused (one line),
    // empty when it was not; shown in the status bar instead of a message
    // box, since the commands rerun on every wheel notch.
    std::string AnalysisNote() const;
    // A field or switch of a group box changed; `polarToo` also reruns the polar.
    void AnalysisInputChanged(bool velocity, bool polar, bool swallowErrors = false);

    // --- point editing -------------------------------------------------
    bool MoveHorizontal = false; // "Verschiebung horizontal ( X-Richtung )", else vertical
    char LocaleDecimal = '.';    // decimal separator of the mouse-position label

    void Chart1MouseMove(int x, int y, bool ctrlHeld);
    // A button went down on the plot at (x, y): picks, marks, unmarks or
    // activates a point of the selected profile (or its speed curve).
    void Chart1MouseDown(int x, int y, bool left, bool right, bool ctrlHeld);
    // A click on the plot: with F4 held, inserts the previewed point.
    void Chart1Click(bool f4Held);
    // One wheel notch anywhere in the main window moves the marked points.
    void FormMouseWheel(int delta);
    // "Aktiver Punkt" X (xField) or Y left with `text`.
    void ActivePointFieldDone(bool xField, const std::string &text);
    // SpeedButton4 clears marks and the active point; the menu entry only marks.
    void PunkteDemarkieren(bool alsoActive);
    // After the plot and the equal-scaling step: crosshair, label, insertion
    // preview (while F4 is held), point marks, the active point fields.
    void DrawOverlays(OverlayCanvas &canvas, bool f4Held);

    // --- plot ----------------------------------------------------------
    void ZoomIn();                        // SpeedButton1
    void ResetView();                     // SpeedButton2
    void ZoomOut();                       // SpeedButton3
    void ChartResized();
    // Per-draw styling, before the series are drawn.
    void BeforeDrawSeries();
    // After the plot is drawn: equal scaling, list in step. True when the
    // plot must be drawn once more.
    bool AfterDraw();

    // Wheel step: F2 / "<" makes the step ten times larger (WheelStep - 1, not
    // below 1), F3 / ">" ten times smaller (WheelStep + 1, not above 6).
    void WheelStepDec();
    void WheelStepInc();
    // "Hintergrundfarbe": the plot background from the colour dialog.
    void Hintergrundfarbe();

    // --- for commands kept in classes of their own ----------------------
    MainView &View() { return m_view; }
    // The after-change sequence once profile `index` (-1: none, e.g. after
    // one was added) got new points: plot, list, Modified flags, analysis.
    void AfterProfileChange(int index, bool markProfile) { afterGeometryChange(index, markProfile); }
    // Shows a refusal's reason (when it has one); true when the operation ran.
    bool Accepted(const GeometryResult &result) { return accepted(result); }
    // --- desktop -------------------------------------------------------
    // Files dropped on the window or named on the command line: coordinate
    // files load as with "Profil laden" (all at once), each project file is
    // added as with "Projekt-Datei dazu laden".
    void OpenFiles(const std::vector<std::string> &paths);
    // An entry of "Zuletzt geöffnet": a project replaces the current one as
    // with "Projekt-Datei laden", a coordinate file is loaded; a missing file
    // leaves the list with a message.
    void OpenRecent(const std::string &path);
    // "Projekt-Datei speichern": to the project file last loaded or saved,
    // without a dialog; "speichern unter" when there is none. True when written.
    bool ProjektDateiSpeichern();
    // "Velmora " until a project file was loaded or saved, then
    // "Velmora – NAME", with "*" while the project is modified.
    std::string WindowTitle() const;
    RecentFiles &Recent() { return m_recent; }

    // --- undo ----------------------------------------------------------
    UndoHistory &History() { return m_history; }
    // Every command that changes the project opens one of these first:
    //   const auto step = RecordStep("Profil glätten");
    // The change becomes one undo step when it goes out of scope.
    [[nodiscard]] UndoRecorder RecordStep(const std::string &label) { return {m_history, m_project, label}; }
    void Rueckgaengig(); // "Rückgängig"
    void Wiederholen();  // "Wiederholen"

    // --- settings ------------------------------------------------------
    void ApplySettings(const TSettings &s);
    void StoreSettings(TSettings &s) const;

private:
    void clearSelection();
    void rebuildRows();
    void repaintList();
    void reportError(const std::string &message);
    int removeResultSeries(std::string_view namePart);
    void setAnalysisNote(std::string &slot, std::string_view message);
    // Status panel 0: the analysis note, else the memory in use.
    void showStatusNote();
    // Shows "Es wurde kein Profil angewählt !!" and returns false without a selected row.
    bool requireSelection();
    // True when the operation ran; otherwise shows its reason (if it has one).
    bool accepted(const GeometryResult &result);
    // After a geometry command changed the points of profile `index`.
    void afterGeometryChange(int index, bool markProfile);
    // After a point of the active profile was moved, typed or inserted.
    void afterPointEdit();

    // Live analysis: results computed off the GUI thread, used by the two
    // commands instead of computing when they match the profile and fields.
    struct Precomputed;
    void refreshAnalysisLater();
    void runAnalyses();
    VelocityDistribution computeVelocity(const TProfile &profile);
    TransitionPolar computeTransitionPolar(const TProfile &profile);
    void newState();
    BackgroundRunner *m_runner = nullptr;
    // The worker's solvers: the lead one for the speed distribution, all for the polar.
    std::shared_ptr<PolarSweep> m_workerSweep = std::make_shared<PolarSweep>();
    std::shared_ptr<PanelShare> m_panelShare = std::make_shared<PanelShare>();
    std::shared_ptr<AnalysisGate> m_analysisGate = std::make_shared<AnalysisGate>();
    std::shared_ptr<const Precomputed> m_precomputed;
    uint64_t m_analysisGeneration = 0;
    std::chrono::steady_clock::time_point m_stateTime{};
    AnalysisTimes m_shownTimes;

    MainView &m_view;
    std::string m_programFolder;
    TProf_Projekt m_project;
    ChartModel m_chart;
    int m_rowCount = 0;
    int m_selectedRow = -1;
    // (profile, point) whose coordinates the "Aktiver Punkt" fields show
    std::pair<int, int> m_fieldsPoint{-1, -1};
    EpplerSolver m_solver;
    std::string m_velocityNote, m_polarNote;
    UndoHistory m_history;
    RecentFiles m_recent;
    // Files handed over instead of asking the open dialog once.
    std::optional<std::vector<std::string>> m_givenFiles;
    std::vector<std::string> chooseOpen(const FileDialogSetup &setup, const std::string &folder);
    void restoreStep(bool undo);
};

// The German message texts of the shell.
namespace msg {
inline constexpr const char *kNoProfileSelected = "Es wurde kein Profil angewählt !!";
inline constexpr const char *kReallyRemove = "Wirklich entfernen ?";
inline constexpr const char *kReallyRemoveAll = "Wirklich alle Profile entfernen ?";
inline constexpr const char *kReallyReplaceLowerSide = "Soll die Unterseite wirklich ausgetauscht werden ?";
inline constexpr const char *kEndPointQuestion = "Meinten Sie die Endkoordinate oben ?";
inline constexpr const char *kSmoothCaption = "Anz. Koordinaten";
inline constexpr const char *kSmoothPrompt = "Bitte geben die gewünschte Anzahl von Koodinaten ein !";
inline constexpr const char *kProjectLoadedAndModified =
    "Achtung: Es ist bereits ein Projekt geladen und es wurde geändert!!\rSollen diese Daten erst gespeichert werden ?";
inline constexpr const char *kCloseModified =
    "Achtung: Das Projekt wurde geändert aber nicht gespeichert !!\rSoll nun gespeichert werden ?";
} // namespace msg

} // namespace velmora

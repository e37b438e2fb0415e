// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "model/projectfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace velmora;
using velmora::testing::FakeView;
using velmora::testing::TempDir;

namespace {

// Everything a step may change, as text: profiles in order with name, title,
// colour, "# " mark and points, the clipboard profile and the file name.
std::string content(const TProf_Projekt &p)
{
    std::ostringstream s;
    s.precision(17);
    auto profile = [&s](const TProfile &q) {
        s << q.Name << '|' << q.Title << '|' << q.Color << '|' << q.Modified << '|';
        for (const TKoordi &k : q.Points)
            s << k.X << ',' << k.Y << (k.IsNew ? "n" : "") << ';';
        s << '\n';
    };
    for (const TProfile &q : p.Profiles)
        profile(q);
    if (p.ClipboardProfile) {
        s << "clipboard ";
        profile(*p.ClipboardProfile);
    }
    s << p.FileName;
    return s.str();
}

// A project of three profiles as loaded from a file (unmodified), the third
// selected: NACA 4412 in millimetres and turned, NACA 0012, NACA 2412.
struct UndoCommands : ::testing::Test
{
    TempDir dir;
    FakeView view;
    MainController c{view, dir.path().string()};

    std::string projectFile(const std::string &name, std::initializer_list<const char *> digits)
    {
        TProf_Projekt p;
        for (const char *d : digits)
            p.Profiles.push_back(MakeNaca4(d, 11));
        WriteProjectFile(p, dir.file(name));
        return dir.file(name);
    }
    std::string profileFile(const std::string &digits, int pointsPerSide = 11)
    {
        const std::string path = dir.file("NACA" + digits + ".dat");
        WriteCoordinateFile(MakeNaca4(digits, pointsPerSide), path);
        return path;
    }

    void SetUp() override
    {
        c.Analysis.VRechnen = false;
        TProf_Projekt start;
        TProfile turned = MakeNaca4("4412", 11);
        for (TKoordi &k : turned.Points) {
            const double x = k.X * 100.0;
            const double y = k.Y * 100.0;
            k.X = 20.0 + x * std::cos(0.1) - y * std::sin(0.1);
            k.Y = 5.0 + x * std::sin(0.1) + y * std::cos(0.1);
        }
        start.Profiles = {turned, MakeNaca4("0012", 11), MakeNaca4("2412", 11)};
        start.Profiles[0].Color = RgbColor(255, 0, 0);
        WriteProjectFile(start, dir.file("start.VMPRO2"));
        view.openAnswers = {{dir.file("start.VMPRO2")}};
        c.ProjektDateiLaden();
        c.AfterDraw();
        select(2);
        ASSERT_FALSE(c.Project().Modified);
    }

    TProfile &profile(int i) { return c.Project().Profiles[size_t(i)]; }
    void select(int row) { c.CheckListBox1MouseDown(row, false); }
    void markAndActivate(int point)
    {
        profile(c.SelectedRow()).Points[size_t(point)].Marked = true;
        profile(c.SelectedRow()).Points[size_t(point)].Active = true;
    }
};

struct CommandCase
{
    std::string name;
    std::string label;  // caption of the undo step
    std::function<void(UndoCommands &)> run;
    bool modifiedAfter = true; // the command leaves the project modified
};

class EveryCommand : public UndoCommands, public ::testing::WithParamInterface<CommandCase>
{
};

const std::vector<CommandCase> kCommands = {
    {"WheelMove", "Punkte verschieben", [](UndoCommands &t) { t.markAndActivate(3); t.c.FormMouseWheel(120); }},
    {"TypedCoordinate", "Koordinate eingeben",
     [](UndoCommands &t) { t.markAndActivate(3); t.c.ActivePointFieldDone(false, "0,25"); }},
    {"InsertedPoint", "Punkt einfügen",
     [](UndoCommands &t) {
         t.c.Project().InsertIndex = 4;
         t.c.Project().InsertX = 0.5;
         t.c.Project().InsertY = 0.2;
         t.c.Chart1Click(true);
     }},
    {"DeletedPoints", "Markierte Punkte löschen",
     [](UndoCommands &t) {
         t.markAndActivate(3);
         t.markAndActivate(4);
         t.view.yesNoAnswers = {true};
         t.c.MarkiertePunkteLoeschen();
     }},
    {"Align", "Profil ausrichten und normieren", [](UndoCommands &t) { t.select(0); t.c.ProfilAusrichtenUndNormieren(false); }},
    {"AlignExtrapolated", "Profil ausrichten und normieren",
     [](UndoCommands &t) { t.select(0); t.c.ProfilAusrichtenUndNormieren(true); }},
    {"Smooth", "Profil glätten", [](UndoCommands &t) { t.view.textAnswers = {"31"}; t.c.ProfilGlaetten(); }},
    {"Midpoints", "Zwischenpunkte einfügen", [](UndoCommands &t) { t.c.ZwischenpunkteEinfuegen(); }},
    {"Redistribute", "Punkte neu verteilen",
     [](UndoCommands &t) {
         t.view.redistributionPresses = {{"30", StationDistribution::Cos}};
         t.c.PunkteNeuVerteilen();
     }},
    {"Copy", "Kopie erzeugen", [](UndoCommands &t) { t.c.KopieErzeugen(false); }},
    {"InverseCopy", "Inverse Kopie erzeugen", [](UndoCommands &t) { t.c.KopieErzeugen(true); }},
    {"MirrorUpper", "Oberseite spiegeln", [](UndoCommands &t) { t.c.SeiteSpiegeln(true); }},
    {"MirrorLower", "Unterseite spiegeln", [](UndoCommands &t) { t.c.SeiteSpiegeln(false); }},
    {"RememberProfile", "Profil merken", [](UndoCommands &t) { t.c.ProfilInZwischenspeicher(); }, false},
    {"LowerSide", "Unterseite einbauen",
     [](UndoCommands &t) {
         t.select(1);
         t.c.ProfilInZwischenspeicher();
         t.select(2);
         t.view.yesNoAnswers = {true};
         t.c.UnterseiteEinbauen();
     }},
    {"Colour", "Profil-Farbe ändern",
     [](UndoCommands &t) { t.view.colourAnswers = {RgbColor(0, 0, 255)}; t.c.ProfilFarbeAendern(); }},
    {"Name", "Name ändern", [](UndoCommands &t) { t.c.NameFieldDone("Flügel außen"); }},
    {"Title", "Überschrift ändern", [](UndoCommands &t) { t.c.TitleFieldDone("Wurzel"); }},
    {"BringToFront", "Profil nach vorne bringen", [](UndoCommands &t) { t.select(0); t.c.ProfilNachVorneBringen(); }},
    {"Sort", "Liste nach Namen sortieren", [](UndoCommands &t) { t.c.SortiereListeNachNamen(); }},
    {"Remove", "Profil entfernen", [](UndoCommands &t) { t.view.yesNoAnswers = {true}; t.c.ProfilEntfernen(); }},
    {"RemoveAll", "Alle Profile entfernen",
     [](UndoCommands &t) { t.view.yesNoAnswers = {true}; t.c.AlleProfileEntfernen(); }, false},
    {"LoadProject", "Projekt-Datei laden",
     [](UndoCommands &t) {
         t.view.openAnswers = {{t.projectFile("other.VMPRO2", {"6409"})}};
         t.c.ProjektDateiLaden();
     },
     false},
    {"AppendProject", "Projekt-Datei dazu laden",
     [](UndoCommands &t) {
         t.view.openAnswers = {{t.projectFile("more.VMPRO2", {"6409", "0009"})}};
         t.c.ProjektDateiDazuLaden();
     }},
    {"LoadProfiles", "Profil laden",
     [](UndoCommands &t) {
         t.view.openAnswers = {{t.profileFile("6409"), t.profileFile("0009")}};
         t.c.ProfilLaden();
     }},
};

} // namespace

TEST_P(EveryCommand, IsOneStepThatUndoAndRedoTakeBackAndRepeat)
{
    const CommandCase &command = GetParam();
    const std::string before = content(c.Project());
    const int historyBefore = c.History().UndoCount();
    command.run(*this);
    const std::string after = content(c.Project());
    ASSERT_NE(after, before) << "the command changed nothing";
    ASSERT_TRUE(view.errors.empty()) << view.errors.front();
    EXPECT_EQ(c.History().UndoLabel(), command.label);
    EXPECT_EQ(c.Project().Modified, command.modifiedAfter);
    const bool rememberedFirst = command.name == "LowerSide";
    EXPECT_EQ(c.History().UndoCount(), historyBefore + (rememberedFirst ? 2 : 1));

    const int repaints = view.listRepaints;
    c.Rueckgaengig();
    if (rememberedFirst)
        c.Rueckgaengig();
    EXPECT_EQ(content(c.Project()), before);
    EXPECT_FALSE(c.Project().Modified) << "back at the state loaded from the file";
    EXPECT_EQ(c.RowCount(), int(c.Project().Profiles.size()));
    EXPECT_EQ(c.Chart().SeriesCount(), int(c.Project().Profiles.size()));
    EXPECT_GT(view.listRepaints, repaints);

    c.Wiederholen();
    if (rememberedFirst)
        c.Wiederholen();
    EXPECT_EQ(content(c.Project()), after);
    EXPECT_EQ(c.Project().Modified, command.modifiedAfter);
    EXPECT_FALSE(c.History().CanRedo());
    EXPECT_EQ(c.Chart().SeriesCount(), int(c.Project().Profiles.size()));
    for (int i = 0; i < c.Chart().SeriesCount(); ++i)
        EXPECT_EQ(c.Chart().At(i).Count(), profile(i).PointCount()) << "series " << i;
}

INSTANTIATE_TEST_SUITE_P(UndoCommands, EveryCommand, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<CommandCase> &info) { return info.param.name; });

TEST_F(UndoCommands, ViewStateIsNoStep)
{
    const int base = c.History().UndoCount();
    c.CheckListBox1ClickCheck(0, false);
    c.AlleHaekchen(false);
    c.AlleHaekchen(true);
    select(1);
    c.ZoomIn();
    c.ResetView();
    markAndActivate(2);
    c.PunkteDemarkieren(true);
    c.WheelStepInc();
    EXPECT_EQ(c.History().UndoCount(), base);
}

TEST_F(UndoCommands, AWheelBurstOnTheSameMarksIsOneStep)
{
    std::int64_t now = 0;
    c.History().Clock = [&now] { return now; };
    const double y0 = profile(2).Points[3].Y;
    const int base = c.History().UndoCount();
    markAndActivate(3);
    for (int i = 0; i < 4; ++i) {
        now += 100;
        c.FormMouseWheel(120);
    }
    EXPECT_EQ(c.History().UndoCount(), base + 1);
    profile(2).Points[4].Marked = true; // a new mark ends the burst
    c.FormMouseWheel(120);
    now += UndoHistory::kBurstPauseMs + 1; // so does a pause
    c.FormMouseWheel(-120);
    EXPECT_EQ(c.History().UndoCount(), base + 3);

    c.Rueckgaengig();
    c.Rueckgaengig();
    EXPECT_NEAR(profile(2).Points[3].Y, y0 + 4 * 0.0001, 1e-7);
    EXPECT_TRUE(profile(2).Points[4].Marked) << "marks of the restored points stay";
    EXPECT_TRUE(profile(2).Points[3].Active);
    c.Rueckgaengig();
    EXPECT_EQ(profile(2).Points[3].Y, y0);
    EXPECT_EQ(c.SelectedRow(), 2) << "the selection follows its profile";
}

TEST_F(UndoCommands, SelectionFollowsItsProfileAndGoesWhenItIsGone)
{
    view.textAnswers = {"31"};
    c.ProfilGlaetten();
    select(0);
    c.ProfilNachVorneBringen(); // the turned profile is now last and selected
    select(0);                  // NACA 2412
    c.Rueckgaengig();
    EXPECT_EQ(c.SelectedRow(), 2);
    EXPECT_EQ(c.Project().ActiveIndex, 2);
    EXPECT_EQ(view.nameField, "NACA2412");

    view.openAnswers = {{profileFile("6409")}};
    c.ProfilLaden();
    c.AfterDraw();
    select(3);
    ASSERT_EQ(view.nameField, "NACA6409");
    c.Rueckgaengig();
    EXPECT_EQ(c.SelectedRow(), -1);
    EXPECT_EQ(view.nameField, "");
}

TEST_F(UndoCommands, SavingIsNotUndoneAndTheSavedStateIsUnmodified)
{
    view.textAnswers = {"31"};
    c.ProfilGlaetten();
    view.saveAnswers = {dir.file("saved.VMPRO2")};
    ASSERT_TRUE(c.ProjektDateiSpeichernUnter());
    EXPECT_FALSE(c.Project().Modified);
    c.ZwischenpunkteEinfuegen();
    EXPECT_TRUE(c.Project().Modified);
    c.Rueckgaengig();
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_TRUE(profile(2).Modified) << "the \"# \" mark stays after saving";
    c.Rueckgaengig();
    EXPECT_TRUE(c.Project().Modified) << "the loaded state is no longer the saved one";
    EXPECT_EQ(c.Project().FileName, dir.file("saved.VMPRO2"));
    EXPECT_FALSE(profile(2).Modified);

    // closing asks exactly when the state differs from the file
    view.yesNoAnswers = {false};
    EXPECT_TRUE(c.CloseQuery());
    EXPECT_EQ(view.questions.size(), 1u);
}

TEST_F(UndoCommands, AfterUndoTheAnalysisShowsTheRestoredProfile)
{
    view.openAnswers = {{profileFile("2412", 41)}};
    c.ProfilLaden();
    c.AfterDraw();
    c.Analysis.VRechnen = true;
    select(3);
    ASSERT_EQ(view.results.size(), 3u);
    const std::vector<std::string> original = view.results;
    const int vPol = c.Chart().LastSeriesContaining("V_POL");
    ASSERT_GE(vPol, 0);
    const int originalNodes = c.Chart().At(vPol).Count();

    view.textAnswers = {"101"};
    c.ProfilGlaetten();
    EXPECT_NE(view.results, original);
    c.Rueckgaengig();
    EXPECT_EQ(view.results, original);
    EXPECT_EQ(c.Chart().At(c.Chart().LastSeriesContaining("V_POL")).Count(), originalNodes);
}

TEST_F(UndoCommands, AChangeNoCommandRecordedIsKeptAsAStep)
{
    profile(1).Name = "von Hand";
    c.Rueckgaengig();
    EXPECT_EQ(profile(1).Name, "NACA0012");
    c.Wiederholen();
    EXPECT_EQ(profile(1).Name, "von Hand");
}

TEST_F(UndoCommands, HistoryReportsItsChanges)
{
    int calls = 0;
    c.History().OnChanged = [&calls] { ++calls; };
    c.ZwischenpunkteEinfuegen();
    c.Rueckgaengig();
    c.Wiederholen();
    EXPECT_EQ(calls, 3);
    c.Rueckgaengig();
    c.Rueckgaengig(); // the load of the fixture
    ASSERT_FALSE(c.History().CanUndo());
    c.Rueckgaengig(); // nothing left: no report
    EXPECT_EQ(calls, 5);
}

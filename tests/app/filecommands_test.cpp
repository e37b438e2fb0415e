// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "model/projectfile.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmora;
using velmora::testing::FakeView;
using velmora::testing::TempDir;
using velmora::testing::readFile;
using velmora::testing::writeFile;

namespace {

class FileCommands : public ::testing::Test
{
protected:
    TempDir dir;
    FakeView view;
    MainController c{view, "/prog"};

    std::string naca(const std::string &digits)
    {
        const std::string path = dir.file("NACA" + digits + ".dat");
        WriteCoordinateFile(MakeNaca4(digits, 11), path);
        return path;
    }

    std::string project(const std::string &name, std::initializer_list<const char *> digits)
    {
        TProf_Projekt p;
        for (const char *d : digits)
            p.Profiles.push_back(MakeNaca4(d, 11));
        WriteProjectFile(p, dir.file(name));
        return dir.file(name);
    }

    std::vector<std::string> names() const { return velmora::testing::profileNames(c.Project()); }
};

} // namespace

TEST_F(FileCommands, LoadingThreeProfilesGivesRedGreenYellow)
{
    view.openAnswers = {{naca("0012"), naca("2412"), naca("4412")}};
    c.ProfilLaden();
    EXPECT_EQ(view.dialogTitles.back(), "Profil- / Koordinaten-Datei laden");
    EXPECT_EQ(view.dialogFolders.back(), "/prog");
    ASSERT_EQ(names(), (std::vector<std::string>{"NACA0012", "NACA2412", "NACA4412"}));
    EXPECT_EQ(c.Project().Profiles[0].Color, RgbColor(255, 0, 0));
    EXPECT_EQ(c.Project().Profiles[1].Color, RgbColor(0, 128, 0));
    EXPECT_EQ(c.Project().Profiles[2].Color, RgbColor(255, 255, 0));
    ASSERT_EQ(c.Chart().SeriesCount(), 3) << "placeholders are gone";
    for (const ChartSeries &s : c.Chart().Series())
        EXPECT_EQ(s.Name.find("PPP"), std::string::npos);
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.SelectedRow(), -1);
    EXPECT_EQ(c.OpenDialog1Dir, dir.path().string() + "/");
}

TEST_F(FileCommands, CancelledProfileLoadStillRebuildsAndMarksModified)
{
    view.openAnswers = {{}};
    c.ProfilLaden();
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.OpenDialog1Dir, "/prog");
}

TEST_F(FileCommands, FailedProfileLoadKeepsEarlierFilesAndStops)
{
    writeFile(dir.file("bad.dat"), "T\n1 x\n");
    view.openAnswers = {{naca("0012"), dir.file("bad.dat"), naca("2412")}};
    c.ProfilLaden();
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012"}));
    EXPECT_EQ(view.errors, (std::vector<std::string>{"'x' ist kein gültiger Gleitkommawert"}));
    EXPECT_EQ(c.Chart().SeriesCount(), 1);
    EXPECT_EQ(c.Chart().At(0).Name.substr(0, 1), "P");
    EXPECT_EQ(c.Chart().At(0).Name.find("PPP"), std::string::npos);
}

TEST_F(FileCommands, SaveProposesNonameOrTheVmpro2NameAndWritesScrambled)
{
    view.openAnswers = {{naca("2412")}};
    c.ProfilLaden();
    view.saveAnswers = {dir.file("Projekt")};
    ASSERT_TRUE(c.ProjektDateiSpeichernUnter());
    EXPECT_EQ(view.proposedNames.back(), "Noname");
    EXPECT_EQ(view.dialogTitles.back(), "Projekt-Datei speichern unter");
    const std::string written = dir.file("Projekt.VMPRO2");
    EXPECT_EQ(readFile(written).find("SER_START"), std::string::npos) << "scrambled";
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_EQ(c.Project().FileName, written);
    EXPECT_EQ(c.SaveDialog2Dir, dir.path().string() + "/");
    EXPECT_TRUE(c.Project().Profiles[0].Modified == false);

    c.Project().FileName = "alt.vmpro";
    view.saveAnswers = {std::nullopt};
    EXPECT_FALSE(c.ProjektDateiSpeichernUnter());
    EXPECT_EQ(view.proposedNames.back(), "alt.vmpro2");
}

TEST_F(FileCommands, PlainEndingIsWrittenPlainAndReadsBack)
{
    view.openAnswers = {{naca("0012")}};
    c.ProfilLaden();
    view.saveAnswers = {dir.file("klar.VMPRO")};
    ASSERT_TRUE(c.ProjektDateiSpeichernUnter());
    EXPECT_EQ(readFile(dir.file("klar.VMPRO")).substr(0, 9), "SER_START");
    TProf_Projekt back;
    ReadProjectFile(back, dir.file("klar.VMPRO"));
    EXPECT_EQ(back.Profiles.size(), 1u);
}

TEST_F(FileCommands, FailedSaveReportsAndKeepsModified)
{
    view.openAnswers = {{naca("0012")}};
    c.ProfilLaden();
    view.saveAnswers = {dir.file("no/such/folder/p.VMPRO2")};
    EXPECT_FALSE(c.ProjektDateiSpeichernUnter());
    EXPECT_TRUE(c.Project().Modified);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], "Datei " + dir.file("no/such/folder/p.VMPRO2") + " kann nicht erstellt werden");
}

TEST_F(FileCommands, ProjectLoadAsksAndReplacesOnlyOnceAFileWasRead)
{
    view.openAnswers = {{naca("0012")}};
    c.ProfilLaden();
    ASSERT_TRUE(c.Project().Modified);

    // cancelled: the project stays as it was
    view.yesNoAnswers = {false};
    view.openAnswers = {{}};
    c.ProjektDateiLaden();
    EXPECT_EQ(view.questions.back(),
              "Achtung: Es ist bereits ein Projekt geladen und es wurde geändert!!\rSollen diese Daten erst gespeichert werden ?");
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012"}));
    EXPECT_TRUE(c.Project().Modified);

    // unreadable: the same
    writeFile(dir.file("bad.VMPRO"), "SER_START\nSER_COLOR=blau\n");
    view.yesNoAnswers = {false};
    view.openAnswers = {{dir.file("bad.VMPRO")}};
    c.ProjektDateiLaden();
    EXPECT_EQ(view.errors.back(), "'blau' ist kein gültiger Integerwert");
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012"}));

    // read: replaces the project
    const std::string path = project("zwei.VMPRO2", {"2412", "4412"});
    view.yesNoAnswers = {false};
    view.openAnswers = {{path}};
    c.ProjektDateiLaden();
    EXPECT_EQ(view.dialogTitles.back(), "Projekt-Datei öffnen");
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA2412", "NACA4412"}));
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_EQ(c.Project().FileName, "zwei.VMPRO2");
    EXPECT_EQ(c.OpenDialog2Dir, dir.path().string() + "/");
    EXPECT_EQ(c.Chart().SeriesCount(), 2);
}

TEST_F(FileCommands, ProjectLoadOfferToSaveFirst)
{
    view.openAnswers = {{naca("0012")}};
    c.ProfilLaden();
    const std::string path = project("p.VMPRO2", {"2412"});
    view.yesNoAnswers = {true};
    view.saveAnswers = {dir.file("gesichert.VMPRO2")};
    view.openAnswers = {{path}};
    c.ProjektDateiLaden();
    TProf_Projekt saved;
    ReadProjectFile(saved, dir.file("gesichert.VMPRO2"));
    ASSERT_EQ(saved.Profiles.size(), 1u);
    EXPECT_EQ(saved.Profiles[0].Name, "NACA0012");
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA2412"}));
}

TEST_F(FileCommands, MergeAppendsAndAlwaysMarksModified)
{
    view.openAnswers = {{naca("0012")}};
    c.ProfilLaden();
    c.Project().Modified = false;
    view.openAnswers = {{}};
    c.ProjektDateiDazuLaden();
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_TRUE(view.questions.empty());

    view.openAnswers = {{project("m.VMPRO2", {"2412", "4412"})}};
    c.ProjektDateiDazuLaden();
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012", "NACA2412", "NACA4412"}));
    EXPECT_EQ(c.Project().FileName, "m.VMPRO2");
    EXPECT_EQ(c.Chart().SeriesCount(), 3);
}

TEST_F(FileCommands, ProfileSaveWritesTheSelectedProfileAndClearsTheSelection)
{
    view.openAnswers = {{naca("2412")}};
    c.ProfilLaden();
    c.AfterDraw();
    c.CheckListBox1MouseDown(0, false);
    c.Project().Modified = false;
    view.saveAnswers = {dir.file("kopie")};
    c.ProfilSpeichernUnter();
    EXPECT_EQ(view.proposedNames.back(), "NACA2412.dat");
    EXPECT_EQ(readFile(dir.file("kopie.dat")).substr(0, 11), "NACA 2412\r\n");
    EXPECT_EQ(c.SelectedRow(), -1);
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_EQ(c.SaveDialog1Dir, dir.path().string() + "/");
}

TEST_F(FileCommands, CloseAsksOnlyForAModifiedProjectAndStaysOpenWithoutASave)
{
    EXPECT_TRUE(c.CloseQuery());
    EXPECT_TRUE(view.questions.empty());

    c.Project().Modified = true;
    view.yesNoAnswers = {true};
    view.saveAnswers = {std::nullopt};
    EXPECT_FALSE(c.CloseQuery()) << "a cancelled save must not lose the work";
    EXPECT_EQ(view.questions.back(),
              "Achtung: Das Projekt wurde geändert aber nicht gespeichert !!\rSoll nun gespeichert werden ?");
    EXPECT_TRUE(c.Project().Modified);

    view.yesNoAnswers = {true};
    view.saveAnswers = {dir.file("no/folder/x.VMPRO2")};
    EXPECT_FALSE(c.CloseQuery());

    view.yesNoAnswers = {true};
    view.saveAnswers = {dir.file("ende.VMPRO2")};
    EXPECT_TRUE(c.CloseQuery());

    c.Project().Modified = true;
    view.yesNoAnswers = {false};
    EXPECT_TRUE(c.CloseQuery());
    EXPECT_FALSE(c.Project().Modified);
}

TEST_F(FileCommands, SettingsCarryFoldersWheelStepAndBackground)
{
    TSettings s;
    s.OpenDialog1Dir = "";
    s.SaveDialog2Dir = "/daten/";
    s.WheelStep = 9;
    s.Chart1BackColor = 0;
    c.ApplySettings(s);
    EXPECT_EQ(c.OpenDialog1Dir, "");
    EXPECT_EQ(c.Project().WheelStep, 9);
    EXPECT_EQ(c.Chart().BackColor, 0);
    EXPECT_EQ(c.Chart().GridColor, kColorWhite);
    TSettings out;
    c.StoreSettings(out);
    EXPECT_EQ(out.OpenDialog1Dir, "");
    EXPECT_EQ(out.SaveDialog2Dir, "/daten/");
    EXPECT_EQ(out.WheelStep, 9);
    EXPECT_EQ(out.Chart1BackColor, 0);
}

TEST_F(FileCommands, AFileWithoutProfilesIsABadProjectFile)
{
    view.openAnswers = {{naca("0012")}};
    c.ProfilLaden();
    ASSERT_TRUE(c.Project().Modified);
    writeFile(dir.file("leer.VMPRO2"), "");
    writeFile(dir.file("plain.VMPRO2"), readFile(project("plain.VMPRO", {"2412"})));
    for (const std::string &bad : {naca("2412"), dir.file("leer.VMPRO2"), dir.file("plain.VMPRO2")}) {
        view.yesNoAnswers = {false};
        view.openAnswers = {{bad}};
        c.ProjektDateiLaden();
        EXPECT_EQ(view.errors.back(), "Datei " + bad + " enthält kein Profil");
        EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012"})) << bad;
        EXPECT_TRUE(c.Project().Modified) << bad;
    }
    c.Project().Modified = false;
    view.openAnswers = {{dir.file("leer.VMPRO2")}};
    c.ProjektDateiDazuLaden();
    EXPECT_EQ(view.errors.size(), 4u);
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012"}));
    EXPECT_FALSE(c.Project().Modified);
}

TEST_F(FileCommands, WheelStepKeysStayInRangeWhateverTheSettingsSaid)
{
    TSettings s;
    s.WheelStep = std::numeric_limits<int>::max();
    c.ApplySettings(s);
    c.WheelStepInc();
    EXPECT_EQ(c.Project().WheelStep, 6);
    s.WheelStep = std::numeric_limits<int>::min();
    c.ApplySettings(s);
    c.WheelStepDec();
    EXPECT_EQ(c.Project().WheelStep, 1);
    s.WheelStep = 9;
    c.ApplySettings(s);
    c.WheelStepDec();
    EXPECT_EQ(c.Project().WheelStep, 8);
    s.WheelStep = -3;
    c.ApplySettings(s);
    c.WheelStepInc();
    EXPECT_EQ(c.Project().WheelStep, -2);
}

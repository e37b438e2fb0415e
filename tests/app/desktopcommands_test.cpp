// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "model/projectfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::FakeView;
using velmora::testing::TempDir;

namespace {

struct DesktopCommands : ::testing::Test
{
    TempDir dir;
    FakeView view;
    MainController c{view, "/prog"};

    void SetUp() override { c.Analysis.VRechnen = false; }
    std::string profileFile(const std::string &digits)
    {
        const std::string path = dir.file("NACA" + digits + ".dat");
        WriteCoordinateFile(MakeNaca4(digits, 11), path);
        return path;
    }
    std::string projectFile(const std::string &name, std::initializer_list<const char *> digits)
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

TEST(RecentFilesList, KeepsTheTenNewestFirstAndSurvivesARestart)
{
    TempDir dir;
    const std::string storage = dir.file(RecentFiles::kFileName);
    RecentFiles recent;
    recent.Attach(storage);
    EXPECT_TRUE(recent.Paths().empty()) << "no file yet";
    for (int i = 0; i < 12; ++i)
        recent.Add("/p/f" + std::to_string(i) + ".dat");
    recent.Add("/p/f5.dat");
    ASSERT_EQ(recent.Paths().size(), 10u);
    EXPECT_EQ(recent.Paths().front(), "/p/f5.dat");
    EXPECT_EQ(recent.Paths()[1], "/p/f11.dat");
    EXPECT_EQ(recent.Paths().back(), "/p/f2.dat");
    recent.Remove("/p/f11.dat");

    RecentFiles again;
    again.Attach(storage);
    EXPECT_EQ(again.Paths(), recent.Paths());
    EXPECT_EQ(again.Paths().size(), 9u);

    velmora::testing::writeFile(storage, "/a\n\n/a\n/b\n");
    again.Attach(storage);
    EXPECT_EQ(again.Paths(), (std::vector<std::string>{"/a", "/b"})) << "empty lines and repeats dropped";
}

TEST_F(DesktopCommands, HandedOverFilesLoadProfilesAndAddProjects)
{
    view.openAnswers = {{profileFile("0012")}};
    c.ProfilLaden();
    c.OpenFiles({projectFile("p.VMPRO2", {"4412", "6409"}), profileFile("2412"), profileFile("0009")});
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA0012", "NACA2412", "NACA0009", "NACA4412", "NACA6409"}));
    EXPECT_TRUE(view.openAnswers.empty());
    EXPECT_EQ(view.dialogTitles.size(), 1u) << "no dialog for handed-over files";
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.WindowTitle(), "Velmora ") << "adding a project does not make it the project file";

    // anything else: the loader's message, the project as it was
    velmora::testing::writeFile(dir.file("notes.txt"), "nichts\nweiter\n");
    c.OpenFiles({dir.file("notes.txt")});
    EXPECT_EQ(names().size(), 5u);
    ASSERT_EQ(view.errors.size(), 1u);
    // every file opened shows in the recent list, newest first
    EXPECT_EQ(c.Recent().Paths().front(), dir.file("p.VMPRO2"));
    EXPECT_EQ(c.Recent().Paths().size(), 4u);
}

TEST_F(DesktopCommands, RecentEntriesReopenAndMissingOnesLeaveTheList)
{
    const std::string project = projectFile("p.VMPRO2", {"4412"});
    c.Recent().Add(dir.file("gone.dat"));
    c.Recent().Add(project);
    c.OpenRecent(project);
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA4412"}));
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_EQ(c.WindowTitle(), "Velmora – p.VMPRO2");

    c.OpenRecent(profileFile("2412"));
    EXPECT_EQ(c.WindowTitle(), "Velmora – p.VMPRO2*");
    // a project from the list replaces the modified one only after the usual question
    view.yesNoAnswers = {false};
    c.OpenRecent(project);
    EXPECT_EQ(view.questions.back(), msg::kProjectLoadedAndModified);
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA4412"}));

    c.OpenRecent(dir.file("gone.dat"));
    ASSERT_EQ(view.infos.size(), 1u);
    EXPECT_NE(view.infos[0].find("gone.dat"), std::string::npos);
    EXPECT_EQ(std::count(c.Recent().Paths().begin(), c.Recent().Paths().end(), dir.file("gone.dat")), 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"NACA4412"}));
}

TEST_F(DesktopCommands, SaveWritesToTheProjectFileWithoutADialog)
{
    view.saveAnswers = {dir.file("neu.VMPRO2")};
    view.openAnswers = {{profileFile("2412")}};
    c.ProfilLaden();
    ASSERT_TRUE(c.ProjektDateiSpeichern()) << "no project file yet: save as";
    EXPECT_EQ(view.dialogTitles.back(), "Projekt-Datei speichern unter");
    EXPECT_EQ(c.WindowTitle(), "Velmora – neu.VMPRO2");

    c.CheckListBox1MouseDown(-1, false);
    c.AfterDraw();
    c.CheckListBox1MouseDown(0, false);
    c.NameFieldDone("Wurzel");
    EXPECT_EQ(c.WindowTitle(), "Velmora – neu.VMPRO2*");
    const size_t dialogs = view.dialogTitles.size();
    ASSERT_TRUE(c.ProjektDateiSpeichern());
    EXPECT_EQ(view.dialogTitles.size(), dialogs);
    EXPECT_FALSE(c.Project().Modified);
    TProf_Projekt back;
    ReadProjectFile(back, dir.file("neu.VMPRO2"));
    ASSERT_EQ(back.Profiles.size(), 1u);
    EXPECT_EQ(back.Profiles[0].Name, "Wurzel");

    // undoing a load takes its project file along: no silent overwrite of the other file
    view.openAnswers = {{projectFile("other.VMPRO2", {"0012"})}};
    c.ProjektDateiLaden();
    EXPECT_EQ(c.WindowTitle(), "Velmora – other.VMPRO2");
    c.Rueckgaengig();
    EXPECT_EQ(c.WindowTitle(), "Velmora – neu.VMPRO2");
}

TEST_F(DesktopCommands, AFailedSaveKeepsTheProjectModified)
{
    view.openAnswers = {{projectFile("p.VMPRO2", {"4412"})}};
    c.ProjektDateiLaden();
    c.OpenFiles({profileFile("0012")});
    std::filesystem::remove(dir.file("p.VMPRO2"));
    std::filesystem::create_directory(dir.file("p.VMPRO2"));
    EXPECT_FALSE(c.ProjektDateiSpeichern());
    EXPECT_EQ(view.errors.size(), 1u);
    EXPECT_TRUE(c.Project().Modified);
}

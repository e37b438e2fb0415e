// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "fakeview.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::FakeView;
using velmora::testing::profileFrom;

namespace {

class ListCommands : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};

    void SetUp() override { c.Analysis.VRechnen = false; } // three-point profiles cannot be analysed
    // the speed-distribution command writes its result fields on every run
    int refreshes() const { return view.resultFieldWrites; }

    void add(std::initializer_list<const char *> names)
    {
        for (const char *n : names) {
            TProfile p = profileFrom({{1, 0}, {0, 0}, {1, 0}}, n);
            p.Color = RgbColor(int(c.Project().Profiles.size()) * 10, 0, 0);
            c.Project().Profiles.push_back(p);
        }
        FillChart(c.Project(), c.Chart());
        c.AfterDraw(); // the redraw brings the rows in step (and clears what was shown)
        view.resultFieldWrites = 0;
    }

    std::vector<std::string> names() const { return velmora::testing::profileNames(c.Project()); }
};

} // namespace

TEST_F(ListCommands, RowsFollowTheProjectAtTheNextRedraw)
{
    add({"a", "b"});
    EXPECT_EQ(c.RowCount(), 2);
    c.Project().Profiles[1].Modified = true;
    EXPECT_EQ(c.RowText(0), "a");
    EXPECT_EQ(c.RowText(1), "# b");
    EXPECT_EQ(c.RowText(5), "");
    c.Project().Profiles.push_back(profileFrom({{0, 0}}, "c"));
    EXPECT_EQ(c.RowCount(), 2);
    c.AfterDraw();
    EXPECT_EQ(c.RowCount(), 3);
}

TEST_F(ListCommands, SelectingFillsTheFieldsAndSetsTheActiveProfile)
{
    add({"a", "b"});
    c.Project().Profiles[1].Title = "Titel \xE4";
    c.CheckListBox1MouseDown(1, false);
    EXPECT_EQ(c.SelectedRow(), 1);
    EXPECT_EQ(c.Project().ActiveProfile(), &c.Project().Profiles[1]);
    EXPECT_EQ(view.nameField, "b");
    EXPECT_EQ(view.titleField, "Titel ä");
    EXPECT_EQ(c.Chart().At(1).LineWidth, 2);
    EXPECT_EQ(refreshes(), 1);

    c.CheckListBox1MouseDown(1, true);
    EXPECT_EQ(c.SelectedRow(), -1) << "the right button clears the selection";
    EXPECT_EQ(c.Project().ActiveProfile(), nullptr);
    EXPECT_EQ(view.nameField, "");
}

TEST_F(ListCommands, CheckMarkHidesTheSeriesWithoutRebuildingThePlot)
{
    add({"a", "b"});
    c.CheckListBox1ClickCheck(0, false);
    EXPECT_FALSE(c.Project().Profiles[0].Visible);
    EXPECT_FALSE(c.Chart().At(0).Shown);
    EXPECT_EQ(c.Chart().At(0).Name, "P0") << "no FillChart";
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(refreshes(), 1);
}

TEST_F(ListCommands, AllCheckMarksOffAndOnRebuildThePlotAndClearTheSelection)
{
    add({"a", "b"});
    c.CheckListBox1MouseDown(0, false);
    c.AlleHaekchen(false);
    EXPECT_FALSE(c.Project().Profiles[1].Visible);
    EXPECT_FALSE(c.Chart().At(1).Shown);
    EXPECT_EQ(c.Chart().At(0).Name, "P2");
    EXPECT_EQ(c.SelectedRow(), -1);
    c.AlleHaekchen(true);
    EXPECT_TRUE(c.Chart().At(0).Shown);
}

TEST_F(ListCommands, CommandsWithoutASelectionOnlyShowTheMessage)
{
    add({"a"});
    c.Project().Modified = false;
    c.ProfilNachVorneBringen();
    c.ProfilFarbeAendern();
    c.ProfilEntfernen();
    c.ProfilSpeichernUnter();
    EXPECT_EQ(view.infos, std::vector<std::string>(4, "Es wurde kein Profil angewählt !!"));
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_EQ(c.Project().Profiles.size(), 1u);
    EXPECT_EQ(refreshes(), 0);
}

TEST_F(ListCommands, BringToFrontSwapsWithTheLastAndSelectsIt)
{
    add({"1", "2", "3", "4"});
    c.Project().Profiles[1].Visible = false;
    c.CheckListBox1MouseDown(1, false);
    c.ProfilNachVorneBringen();
    EXPECT_EQ(names(), (std::vector<std::string>{"1", "4", "3", "2"}));
    EXPECT_EQ(c.SelectedRow(), 3);
    EXPECT_FALSE(c.RowChecked(3)) << "each profile keeps its own check mark";
    EXPECT_TRUE(c.RowChecked(1));
    EXPECT_EQ(c.Chart().At(3).Title, "2;2");
    EXPECT_TRUE(c.Project().Modified);
}

TEST_F(ListCommands, SortIsStableAndFoldsOnlyAsciiLetters)
{
    add({"b", "A", "a", "\xC4rger", "Zeta"});
    c.CheckListBox1MouseDown(0, false);
    c.SortiereListeNachNamen();
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "a", "b", "Zeta", "\xC4rger"}));
    EXPECT_EQ(c.SelectedRow(), -1);
    EXPECT_TRUE(c.Project().Modified);
}

TEST_F(ListCommands, ColourChangeMarksTheProjectEvenWhenCancelled)
{
    add({"a", "b"});
    c.CheckListBox1MouseDown(1, false);
    view.colourAnswers = {std::nullopt, RgbColor(1, 2, 3)};
    c.ProfilFarbeAendern();
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_NE(c.Project().Profiles[1].Color, RgbColor(1, 2, 3));
    c.ProfilFarbeAendern();
    EXPECT_EQ(c.Project().Profiles[1].Color, RgbColor(1, 2, 3));
    EXPECT_EQ(c.Chart().At(1).Color, RgbColor(1, 2, 3));
    EXPECT_EQ(c.RowColour(1), RgbColor(1, 2, 3));
}

TEST_F(ListCommands, RemoveAsksAndTakesOutTheSelectedProfile)
{
    add({"a", "b", "c"});
    c.CheckListBox1MouseDown(1, false);
    view.yesNoAnswers = {false, true};
    c.ProfilEntfernen();
    EXPECT_EQ(names().size(), 3u);
    c.ProfilEntfernen();
    EXPECT_EQ(view.questions, std::vector<std::string>(2, "Wirklich entfernen ?"));
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(c.SelectedRow(), -1);
    EXPECT_EQ(c.RowCount(), 2);
    EXPECT_EQ(c.Chart().SeriesCount(), 2);
    EXPECT_EQ(c.Chart().At(1).Title, "c;c");
}

TEST_F(ListCommands, RemoveAllKeepsEverythingOnNo)
{
    add({"a", "b"});
    c.Project().Modified = true;
    view.yesNoAnswers = {false};
    c.AlleProfileEntfernen();
    EXPECT_EQ(view.questions.back(), "Wirklich alle Profile entfernen ?");
    EXPECT_EQ(names().size(), 2u);
    EXPECT_TRUE(c.Project().Modified);

    view.yesNoAnswers = {true};
    c.Project().FileName = "keep.VMPRO2";
    c.AlleProfileEntfernen();
    EXPECT_TRUE(c.Project().Profiles.empty());
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_EQ(c.RowCount(), 0);
    EXPECT_EQ(c.Project().FileName, "keep.VMPRO2");
    // series names go on counting after a new fill
    c.Project().Profiles.push_back(profileFrom({{0, 0}}, "n"));
    FillChart(c.Project(), c.Chart());
    EXPECT_EQ(c.Chart().At(0).Name, "P4");
}

TEST_F(ListCommands, NameAndTitleFieldsRenameTheSelectedProfile)
{
    add({"a"});
    c.NameFieldDone("ignored");
    EXPECT_EQ(c.Project().Profiles[0].Name, "a");
    c.CheckListBox1MouseDown(0, false);
    c.Project().Modified = false;
    c.NameFieldDone("Flügel");
    c.TitleFieldDone("");
    EXPECT_EQ(c.Project().Profiles[0].Name, "Fl\xFCgel");
    EXPECT_EQ(c.Project().Profiles[0].Title, "");
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_FALSE(c.Project().Profiles[0].Modified) << "renaming does not mark the points changed";
}

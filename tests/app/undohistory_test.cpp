// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/undohistory.h"
#include "geometry/naca4.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A history on a project of named NACA profiles and a hand-driven clock.
class History : public ::testing::Test
{
protected:
    TProf_Projekt project;
    UndoHistory history;
    std::int64_t now = 0;

    void SetUp() override
    {
        for (const char *digits : {"0012", "2412", "4412"})
            project.Profiles.push_back(MakeNaca4(digits, 11));
        history.Clock = [this] { return now; };
        history.Reset(project);
    }

    TProfile &profile(int i) { return project.Profiles[size_t(i)]; }
    void move(int profileIndex, double dy, const std::string &label = "Punkte verschieben", std::uint64_t key = 0)
    {
        profile(profileIndex).Points[3].Y += dy;
        project.Modified = true;
        history.Record(project, label, key);
    }
};

} // namespace

TEST_F(History, OnlyContentChangesAreStepsAndTheyCarryTheirNames)
{
    EXPECT_FALSE(history.Record(project, "nichts"));
    // view state
    profile(0).Visible = false;
    profile(1).Points[2].Marked = true;
    profile(1).Points[2].Active = true;
    profile(2).Characteristics[kThickness] = 12;
    profile(2).PolarRows.resize(1);
    EXPECT_FALSE(history.Record(project, "Ansicht"));
    EXPECT_FALSE(history.CanUndo());

    move(1, 0.01, "Punkte verschieben");
    profile(2).Name = "neu";
    history.Record(project, "Name ändern");
    std::swap(profile(0), profile(2));
    history.Record(project, "Profil nach vorne bringen");
    project.ClipboardProfile = profile(1);
    history.Record(project, "Profil merken");
    EXPECT_EQ(history.UndoCount(), 4);
    EXPECT_EQ(history.UndoLabel(), "Profil merken");
    ASSERT_TRUE(history.Undo(project));
    EXPECT_FALSE(project.ClipboardProfile);
    ASSERT_TRUE(history.Undo(project));
    EXPECT_EQ(profile(0).Name, "NACA0012");
    EXPECT_EQ(history.UndoLabel(), "Name ändern");
    EXPECT_EQ(history.RedoLabel(), "Profil nach vorne bringen");
    ASSERT_TRUE(history.Undo(project));
    EXPECT_EQ(profile(2).Name, "NACA4412");
    ASSERT_TRUE(history.Undo(project));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo(project));
    EXPECT_EQ(profile(1).Points[3].Y, MakeNaca4("2412", 11).Points[3].Y);
    EXPECT_EQ(history.RedoCount(), 4);
}

TEST_F(History, RestoredProfilesKeepTheirVisibilityAndMarksWhileTheyExist)
{
    move(0, 0.02);
    profile(0).Points.erase(profile(0).Points.begin() + 5);
    history.Record(project, "Markierte Punkte löschen");
    project.Profiles.erase(project.Profiles.begin() + 1);
    history.Record(project, "Profil entfernen");

    profile(0).Visible = false;
    profile(0).Points[1].Marked = true;
    ASSERT_TRUE(history.Undo(project)); // the removed profile is back, with its own visibility
    ASSERT_EQ(project.Profiles.size(), 3u);
    EXPECT_FALSE(profile(0).Visible);
    EXPECT_TRUE(profile(1).Visible);
    EXPECT_TRUE(profile(0).Points[1].Marked) << "same point count: the marks stay";

    ASSERT_TRUE(history.Undo(project)); // the deleted point is back: other count, marks as they were
    EXPECT_EQ(profile(0).PointCount(), 21);
    EXPECT_FALSE(profile(0).Points[1].Marked);
    EXPECT_FALSE(profile(0).Visible);
    EXPECT_EQ(project.ActiveIndex, -1);
    EXPECT_TRUE(profile(0).PolarRows.empty());
}

TEST_F(History, ANewChangeAfterUndoDropsTheRedoBranch)
{
    move(0, 0.01, "eins");
    move(0, 0.01, "zwei");
    history.Undo(project);
    ASSERT_TRUE(history.CanRedo());
    move(1, 0.01, "drei");
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoCount(), 2);
    history.Undo(project);
    EXPECT_EQ(history.UndoLabel(), "eins");
    EXPECT_EQ(history.RedoLabel(), "drei");
}

TEST_F(History, ModifiedIsClearedExactlyAtTheStateLastSavedOrLoaded)
{
    move(0, 0.01, "eins");
    EXPECT_TRUE(project.Modified);
    history.Undo(project);
    EXPECT_FALSE(project.Modified) << "back at the start";
    history.Redo(project);
    EXPECT_TRUE(project.Modified);

    project.Modified = false; // the file was written
    project.FileName = "/tmp/a.VMPRO2";
    history.MarkSaved("/tmp/a.VMPRO2");
    move(0, 0.01, "zwei");
    history.Undo(project);
    EXPECT_FALSE(project.Modified);
    EXPECT_EQ(project.FileName, "/tmp/a.VMPRO2");
    history.Undo(project);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.FileName, "/tmp/a.VMPRO2") << "saving is not undone";

    // a command that leaves the project unmodified (a load) is the new saved state
    history.Redo(project);
    history.Redo(project);
    project.Profiles.resize(1);
    project.FileName = "b.VMPRO2";
    project.Modified = false;
    history.Record(project, "Projekt-Datei laden");
    history.Undo(project);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.FileName, "/tmp/a.VMPRO2");
    history.Redo(project);
    EXPECT_FALSE(project.Modified);
    EXPECT_EQ(project.FileName, "b.VMPRO2");
}

TEST_F(History, WheelBurstsOnTheSameKeyAreOneStepUntilAPauseOrAnotherStep)
{
    for (int i = 0; i < 5; ++i) {
        now += 300;
        move(0, 0.001, "Punkte verschieben", 7);
    }
    EXPECT_EQ(history.UndoCount(), 1);
    now += UndoHistory::kBurstPauseMs + 1;
    move(0, 0.001, "Punkte verschieben", 7);
    EXPECT_EQ(history.UndoCount(), 2) << "after a pause";
    move(0, 0.001, "Punkte verschieben", 8);
    EXPECT_EQ(history.UndoCount(), 3) << "other marks";
    move(1, 0.001, "Name ändern");
    move(0, 0.001, "Punkte verschieben", 8);
    EXPECT_EQ(history.UndoCount(), 5) << "another command between";
    history.EndBurst();
    move(0, 0.001, "Punkte verschieben", 8);
    EXPECT_EQ(history.UndoCount(), 6);

    // undoing the first burst takes back all five notches
    for (int i = 0; i < 5; ++i)
        history.Undo(project);
    EXPECT_NEAR(profile(0).Points[3].Y, MakeNaca4("0012", 11).Points[3].Y + 0.005, 1e-12);
    history.Undo(project);
    EXPECT_EQ(profile(0).Points[3].Y, MakeNaca4("0012", 11).Points[3].Y);
}

TEST_F(History, ABurstAfterUndoStartsAfreshInsteadOfRewritingTheRedoBranch)
{
    move(0, 0.001, "Punkte verschieben", 7);
    history.Undo(project);
    move(0, 0.002, "Punkte verschieben", 7);
    EXPECT_EQ(history.UndoCount(), 1);
    EXPECT_FALSE(history.CanRedo());
    history.Undo(project);
    EXPECT_EQ(profile(0).Points[3].Y, MakeNaca4("0012", 11).Points[3].Y);
}

TEST_F(History, CopiesOfAProfileAreNumberedApart)
{
    project.Profiles.push_back(profile(1)); // a copy carries the original's serial
    history.Number(project);
    EXPECT_NE(profile(3).Serial, profile(1).Serial);
    EXPECT_NE(profile(3).Serial, 0u);
    const std::uint64_t original = profile(1).Serial;
    history.Record(project, "Kopie erzeugen");
    EXPECT_EQ(profile(1).Serial, original) << "the original keeps its identity";
}

TEST(HistoryLimits, TwoHundredStepsOnOneProfileShareTheOthers)
{
    TProf_Projekt project;
    for (int i = 0; i < 50; ++i)
        project.Profiles.push_back(MakeNaca4("2412", 100));
    UndoHistory history;
    history.Reset(project);
    const std::size_t base = history.StoredBytes();
    for (int i = 0; i < 250; ++i) {
        project.Profiles[7].Points[10].Y += 0.001;
        history.Record(project, "Punkte verschieben");
    }
    EXPECT_EQ(history.UndoCount(), 250);
    // one new copy of one profile a step, not of all fifty
    const std::size_t perStep = (history.StoredBytes() - base) / 250;
    EXPECT_LT(perStep, base / 25);
    for (int i = 0; i < 250; ++i)
        history.Undo(project);
    EXPECT_EQ(project.Profiles[7].Points[10].Y, MakeNaca4("2412", 100).Points[10].Y);
}

TEST(HistoryLimits, OldestStepsGoWhenTheBoundIsReached)
{
    TProf_Projekt project;
    project.Profiles.push_back(MakeNaca4("2412", 2000)); // about 96 KB a copy
    UndoHistory bytesBound(1 << 20, 1000);
    bytesBound.Reset(project);
    UndoHistory stepsBound(std::size_t(1) << 30, 30);
    stepsBound.Reset(project);
    for (int i = 0; i < 60; ++i) {
        project.Profiles[0].Points[5].X += 0.0001;
        bytesBound.Record(project, "Punkte verschieben");
        stepsBound.Record(project, "Punkte verschieben");
    }
    EXPECT_LE(bytesBound.StoredBytes(), std::size_t(1) << 20);
    EXPECT_GT(bytesBound.UndoCount(), 5);
    EXPECT_LT(bytesBound.UndoCount(), 15);
    EXPECT_EQ(stepsBound.UndoCount(), 30);
    // the newest steps are the ones kept
    stepsBound.Undo(project);
    EXPECT_NEAR(project.Profiles[0].Points[5].X, MakeNaca4("2412", 2000).Points[5].X + 59 * 0.0001, 1e-9);
}

TEST(HistoryLimits, TheDefaultBoundHoldsTwoHundredStepsOnALargeProfile)
{
    TProf_Projekt project;
    project.Profiles.push_back(MakeNaca4("2412", 5000)); // 10 000 points
    UndoHistory history;
    history.Reset(project);
    for (int i = 0; i < 200; ++i) {
        project.Profiles[0].Points[5].X += 0.0001;
        history.Record(project, "Punkte verschieben");
    }
    EXPECT_EQ(history.UndoCount(), 200);
    EXPECT_LE(history.StoredBytes(), UndoHistory::kMaxBytes);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/designcommands.h"
#include "fakedesignview.h"
#include "fakeview.h"
#include "geometry/characteristics.h"
#include "geometry/edges.h"
#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "geometry/thicknesscamber.h"
#include "model/numbertext.h"
#include "geometry/geometry_testing.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::FakeDesignView;
using velmora::testing::FakeView;

namespace {

class DesignCommandsTest : public ::testing::Test
{
protected:
    FakeView view;
    FakeDesignView dialogs;
    MainController c{view, "/prog"};
    DesignCommands design{c, dialogs};

    void SetUp() override
    {
        c.Analysis.VRechnen = false;
        TProfile moved = MakeNaca4("2412", 41);
        for (TKoordi &k : moved.Points)
            k.X += 0.1;
        c.Project().Profiles.push_back(moved);
        c.Project().Profiles.push_back(MakeNaca4("0012", 41));
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
        c.History().Reset(c.Project());
    }

    TProfile &profile(int i) { return c.Project().Profiles[size_t(i)]; }
    void select(int row) { c.CheckListBox1MouseDown(row, false); }
    const std::vector<DialogField> &lastFields() const { return dialogs.shown.back().fields; }
};

} // namespace

TEST_F(DesignCommandsTest, NeedASelectedProfileInsideTheirDomainBeforeAnyDialog)
{
    design.DickeUndWoelbungAendern();
    design.Endleistendicke();
    design.Nasenradius();
    design.Klappe();
    EXPECT_EQ(view.infos, std::vector<std::string>(4, "Es wurde kein Profil angewählt !!"));
    select(0); // shifted along the chord
    design.Klappe();
    design.DickeUndWoelbungAendern();
    ASSERT_EQ(view.infos.size(), 6u);
    EXPECT_EQ(view.infos[4], kMsgNotNormalised);
    EXPECT_TRUE(dialogs.shown.empty());
    c.Project().Profiles.clear();
    FillChart(c.Project(), c.Chart());
    c.AfterDraw();
    design.ProfileMischen();
    EXPECT_EQ(view.infos.back(), "Es wurde kein Profil angewählt !!");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(c.Project().Modified);
}

TEST_F(DesignCommandsTest, ThicknessDialogOffersTheCurrentValuesAndAppliesTheNewOnes)
{
    c.Analysis.VRechnen = true;
    select(1);
    const int repaints = view.listRepaints;
    const int analyses = view.resultFieldWrites;
    dialogs.ok({"15", "29,9807", "0", "0,0000"});
    design.DickeUndWoelbungAendern();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto &fields = dialogs.shown[0].fields;
    ASSERT_EQ(fields.size(), 4u);
    // NACA 0012: 12.0014 % thick, in the program's decimal comma
    EXPECT_NEAR(ParseNumber(fields[0].text), 12.0014, 2e-4);
    EXPECT_NE(fields[0].text.find(','), std::string::npos);
    EXPECT_EQ(fields[2].text, "0,0000");
    EXPECT_EQ(dialogs.closedByOk, 1);
    // a typed place that differs from the offered one moves the maximum
    GeometryResult why;
    const auto now = CurrentThicknessCamber(profile(1), why);
    ASSERT_TRUE(now);
    EXPECT_NEAR(now->thickness, 0.15, 1e-6);
    EXPECT_NEAR(now->thicknessX, 0.299807, 1e-3);
    // the after-change sequence: plot, list, flags, analysis
    EXPECT_TRUE(profile(1).Modified);
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.Chart().At(1).YValues[5], profile(1).Points[5].Y);
    EXPECT_GT(view.listRepaints, repaints);
    EXPECT_GT(view.resultFieldWrites, analyses);

    // one undo step, which gives the section back
    EXPECT_EQ(c.History().UndoCount(), 1);
    EXPECT_EQ(c.History().UndoLabel(), "Dicke und Wölbung ändern");
    c.Rueckgaengig();
    EXPECT_TRUE(velmora::testing::samePoints(profile(1), MakeNaca4("0012", 41)));
    EXPECT_FALSE(profile(1).Modified);
    c.Wiederholen();
    EXPECT_NEAR(CurrentThicknessCamber(profile(1), why)->thickness, 0.15, 1e-6);
}

TEST_F(DesignCommandsTest, OfferedValuesLeftAsTheyAreChangeNothing)
{
    select(1);
    const TProfile before = profile(1);
    design.DickeUndWoelbungAendern(); // cancelled: the script is empty
    ASSERT_EQ(dialogs.shown.size(), 1u);
    std::vector<std::string> offered;
    for (const DialogField &f : lastFields())
        offered.push_back(f.text);
    dialogs.ok(offered);
    design.DickeUndWoelbungAendern();
    EXPECT_TRUE(velmora::testing::samePoints(profile(1), before));
}

TEST_F(DesignCommandsTest, BadEntriesKeepTheDialogOpenAndTheProfileAsItWas)
{
    select(1);
    const TProfile before = profile(1);
    dialogs.ok({"viel", "80"});
    dialogs.ok({"-1", "80"});
    dialogs.cancel();
    design.Endleistendicke();
    EXPECT_EQ(view.errors, std::vector<std::string>{"'viel' ist kein gültiger Gleitkommawert"});
    EXPECT_EQ(view.infos, std::vector<std::string>{std::string(kMsgGapNegative)});
    EXPECT_EQ(dialogs.closedByOk, 0);
    EXPECT_TRUE(velmora::testing::samePoints(profile(1), before));
    EXPECT_FALSE(profile(1).Modified);
    EXPECT_FALSE(c.Project().Modified);
    EXPECT_FALSE(c.History().CanUndo());
}

TEST_F(DesignCommandsTest, GapNoseAndFlapRunFromTheirDialogsAndRememberTheEntries)
{
    select(1);
    dialogs.ok({"0,5", "60"});
    design.Endleistendicke();
    EXPECT_NEAR(profile(1).Points.front().Y - profile(1).Points.back().Y, 0.005, 1e-12);
    design.Endleistendicke();
    EXPECT_EQ(lastFields()[0].text, "0,5");
    EXPECT_EQ(lastFields()[1].text, "60");

    const TProfile before = profile(1);
    dialogs.ok({"1", "20"});
    design.Nasenradius();
    EXPECT_TRUE(velmora::testing::samePoints(profile(1), before));

    dialogs.ok({"75", "50", "10"});
    design.Klappe();
    TProfile flapped = profile(1);
    ASSERT_TRUE(ComputeCharacteristics(flapped));
    EXPECT_LT(flapped.Characteristics[kAlfa0], -3.0);
    EXPECT_EQ(c.Chart().At(1).XValues.size(), profile(1).Points.size());
    // the neutral nose radius changed nothing and is no step of its own
    EXPECT_EQ(c.History().UndoCount(), 2);
    EXPECT_EQ(c.History().UndoLabel(), "Klappe");
    c.Rueckgaengig();
    EXPECT_EQ(c.History().UndoLabel(), "Endleistendicke");
    EXPECT_NEAR(profile(1).Points.front().Y - profile(1).Points.back().Y, 0.005, 1e-12);
}

TEST_F(DesignCommandsTest, BlendingAddsANewProfileWithTheNextColour)
{
    c.Project().Profiles.push_back(MakeNaca4("4412", 41));
    FillChart(c.Project(), c.Chart());
    c.AfterDraw();
    c.History().Reset(c.Project());
    select(1);
    dialogs.ok({"0,5"}, {0, 2}); // A not normalised: refused, the dialog stays
    dialogs.ok({"0,5"}, {1, 2});
    design.ProfileMischen();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto &choices = dialogs.shown[0].choices;
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].selected, 1);
    EXPECT_EQ(choices[1].selected, 2);
    EXPECT_EQ(choices[0].options[2], "NACA4412");
    EXPECT_EQ(view.infos, std::vector<std::string>{std::string(kMsgNotNormalised)});
    ASSERT_EQ(c.Project().Profiles.size(), 4u);
    TProfile &mix = profile(3);
    EXPECT_EQ(mix.Name, "NACA0012_NACA4412_50");
    EXPECT_FALSE(mix.Modified);
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(mix.Color, profile(i).Color);
    ASSERT_TRUE(ComputeCharacteristics(mix));
    EXPECT_NEAR(mix.Characteristics[kCamber], 2.0, 0.05);
    EXPECT_EQ(c.Chart().SeriesCount(), 4);
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.History().UndoLabel(), "Profile mischen");
    c.Rueckgaengig();
    EXPECT_EQ(c.Project().Profiles.size(), 3u);
}

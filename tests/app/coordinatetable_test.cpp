// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/coordinatetable.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "plot/fillchart.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace velmora;
using velmora::testing::FakeView;

namespace {

class CoordinateTableTest : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};
    CoordinateTable table{c};

    void SetUp() override
    {
        c.Analysis.VRechnen = false;
        c.Project().Profiles.push_back(MakeNaca4("0012", 11));
        c.Project().Profiles.push_back(MakeNaca4("2412", 11));
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
        c.History().Reset(c.Project());
    }

    TProfile &profile(int i) { return c.Project().Profiles[size_t(i)]; }
    void select(int row) { c.CheckListBox1MouseDown(row, false); }
};

} // namespace

TEST_F(CoordinateTableTest, ShowsThePointsOfTheSelectedProfile)
{
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.Cell(0, CoordinateTable::kX), "");
    select(1);
    ASSERT_EQ(table.RowCount(), 21);
    profile(1).Points[3].Marked = true;
    profile(1).Points[4].Marked = true;
    profile(1).Points[4].Active = true;
    EXPECT_EQ(table.Cell(0, CoordinateTable::kNumber), "1");
    EXPECT_EQ(table.Cell(0, CoordinateTable::kX), "1,000000");
    EXPECT_EQ(table.Cell(10, CoordinateTable::kY), "0,000000");
    EXPECT_EQ(table.Cell(2, CoordinateTable::kState), "");
    EXPECT_EQ(table.Cell(3, CoordinateTable::kState), "markiert");
    EXPECT_EQ(table.Cell(4, CoordinateTable::kState), "aktiv");
    EXPECT_EQ(table.MarkedRows(), (std::vector<int>{3, 4}));
    EXPECT_EQ(table.Cell(21, CoordinateTable::kX), "");
}

TEST_F(CoordinateTableTest, EditsTakeBothDecimalSeparatorsAndRefreshEverything)
{
    c.Analysis.VRechnen = true;
    select(0);
    const int analyses = view.resultFieldWrites;
    EXPECT_TRUE(table.EditCell(2, CoordinateTable::kY, "0,0125"));
    EXPECT_TRUE(table.EditCell(3, CoordinateTable::kX, " 0.75 "));
    EXPECT_EQ(profile(0).Points[2].Y, 0.0125);
    EXPECT_EQ(profile(0).Points[3].X, 0.75);
    EXPECT_EQ(c.Chart().At(0).YValues[2], 0.0125);
    EXPECT_TRUE(profile(0).Modified);
    EXPECT_TRUE(c.Project().Modified);
    EXPECT_EQ(c.RowText(0), "# NACA0012");
    EXPECT_GT(view.resultFieldWrites, analyses);
    EXPECT_EQ(c.History().UndoCount(), 2);
    EXPECT_EQ(c.History().UndoLabel(), "Koordinate ändern");

    const TKoordi before = profile(0).Points[4];
    EXPECT_FALSE(table.EditCell(4, CoordinateTable::kY, "0,1x"));
    EXPECT_FALSE(table.EditCell(4, CoordinateTable::kNumber, "7"));
    EXPECT_FALSE(table.EditCell(99, CoordinateTable::kX, "0"));
    EXPECT_EQ(view.errors, std::vector<std::string>{"'0,1x' ist kein gültiger Gleitkommawert"});
    EXPECT_EQ(profile(0).Points[4].Y, before.Y);
    EXPECT_EQ(c.History().UndoCount(), 2);
    c.Rueckgaengig();
    EXPECT_EQ(profile(0).Points[3].X, MakeNaca4("0012", 11).Points[3].X);
    EXPECT_EQ(profile(0).Points[2].Y, 0.0125);
}

TEST_F(CoordinateTableTest, InsertsBetweenNeighboursAndDeletesAnySelection)
{
    EXPECT_EQ(table.InsertRow(0), -1);
    EXPECT_EQ(view.infos, std::vector<std::string>{"Es wurde kein Profil angewählt !!"});
    select(1);
    const std::vector<TKoordi> original = profile(1).Points;
    EXPECT_EQ(table.InsertRow(4), 5);
    const TKoordi &mid = profile(1).Points[5];
    EXPECT_DOUBLE_EQ(mid.X, (original[4].X + original[5].X) / 2);
    EXPECT_DOUBLE_EQ(mid.Y, (original[4].Y + original[5].Y) / 2);
    EXPECT_TRUE(mid.IsNew);
    EXPECT_EQ(table.InsertRow(21), 22); // after the last: a copy of it
    EXPECT_EQ(profile(1).Points[22].X, original.back().X);
    EXPECT_EQ(table.InsertRow(-1), 0);
    EXPECT_EQ(profile(1).PointCount(), 24);

    table.DeleteRows({23, 0, 6, 6, 99});
    ASSERT_EQ(profile(1).PointCount(), 21);
    for (size_t i = 0; i < original.size(); ++i) {
        EXPECT_EQ(profile(1).Points[i].X, original[i].X) << i;
        EXPECT_EQ(profile(1).Points[i].Y, original[i].Y) << i;
    }
    EXPECT_EQ(c.History().UndoCount(), 4);
    c.Rueckgaengig();
    EXPECT_EQ(profile(1).PointCount(), 24);
    EXPECT_EQ(c.History().UndoLabel(), "Zeile einfügen");
}

TEST_F(CoordinateTableTest, PastesABlockOf160RowsFromASpreadsheetOrAFile)
{
    select(0);
    // a title line, then tab-, blank- and semicolon-separated rows with
    // either decimal separator, CR LF and LF mixed, an empty line
    std::string text = "Mein Profil aus der Tabelle\r\n";
    std::vector<std::pair<double, double>> expected;
    for (int i = 0; i < 160; ++i) {
        const double x = std::abs(i - 80) / 80.0;
        const double y = (i < 80 ? 0.06 : -0.04) * std::sqrt(x) * (1 - x);
        expected.emplace_back(std::round(x * 1e6) / 1e6, std::round(y * 1e6) / 1e6);
        char line[64];
        const char *format = i % 3 == 0 ? "%.6f\t%.6f\r\n" : (i % 3 == 1 ? "  %.6f   %.6f\n" : "%.6f;%.6f\n");
        std::snprintf(line, sizeof line, format, expected.back().first, expected.back().second);
        std::string l = line;
        if (i % 2 == 0)
            std::replace(l.begin(), l.end(), '.', ',');
        text += l;
        if (i == 100)
            text += "\n";
    }
    std::vector<int> all(size_t(table.RowCount()));
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = int(i);
    const std::vector<int> rows = table.Paste(all, 0, text);
    ASSERT_EQ(rows.size(), 160u);
    EXPECT_EQ(rows.front(), 0);
    ASSERT_EQ(profile(0).PointCount(), 160);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(profile(0).Points[i].X, expected[i].first, 1e-12) << i;
        EXPECT_NEAR(profile(0).Points[i].Y, expected[i].second, 1e-12) << i;
        EXPECT_FALSE(profile(0).Points[i].IsNew);
    }
    EXPECT_EQ(c.Chart().At(0).XValues.size(), 160u);
    EXPECT_TRUE(view.infos.empty());

    // copied out and pasted over a selection, the rows come back unchanged
    const std::string copied = table.CopyRows({7, 5, 6});
    char firstLine[64];
    std::snprintf(firstLine, sizeof firstLine, "%.6f\t%.6f\n", expected[5].first, expected[5].second);
    EXPECT_EQ(copied.substr(0, copied.find('\n') + 1), firstLine);
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 3);
    const std::vector<TKoordi> before = profile(0).Points;
    EXPECT_EQ(table.Paste({7, 5, 6}, 0, copied).size(), 3u);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(profile(0).Points[i].Y, before[i].Y) << i;
}

TEST_F(CoordinateTableTest, PasteWithoutSelectionGoesInAfterTheCurrentRow)
{
    select(0);
    ASSERT_EQ(table.Paste({}, 2, "0,5 0,2\n0,4 0,3").size(), 2u);
    EXPECT_EQ(profile(0).PointCount(), 23);
    EXPECT_EQ(profile(0).Points[3].X, 0.5);
    EXPECT_EQ(profile(0).Points[4].Y, 0.3);
    EXPECT_EQ(table.Paste({}, -1, "0,9 0,1").front(), 23);
}

TEST_F(CoordinateTableTest, ABadLineRefusesTheWholePaste)
{
    select(0);
    const std::vector<TKoordi> before = profile(0).Points;
    EXPECT_TRUE(table.Paste({0, 1}, 0, "0.1 0.2\n0.3 0.4 0.5\n0.6 0.7").empty());
    EXPECT_TRUE(table.Paste({0}, 0, "0.1 0.2\n\nX Y\n").empty());
    EXPECT_TRUE(table.Paste({0}, 0, "Nur ein Titel\r\n\r\n").empty());
    ASSERT_EQ(view.infos.size(), 3u);
    EXPECT_EQ(view.infos[0], "Zeile 2: '0.3 0.4 0.5' ist kein Koordinatenpaar (X und Y, getrennt durch "
                             "Tabulator, Leerzeichen oder \";\") !!");
    EXPECT_EQ(view.infos[1].substr(0, 14), "Zeile 3: 'X Y'");
    EXPECT_EQ(view.infos[2], kMsgPasteEmpty);
    EXPECT_EQ(profile(0).PointCount(), int(before.size()));
    EXPECT_FALSE(profile(0).Modified);
    EXPECT_FALSE(c.History().CanUndo());
}

TEST_F(CoordinateTableTest, TheSelectionAndThePlotMarksFollowEachOther)
{
    select(1);
    profile(1).Points[0].Marked = true;
    const int redraws = view.plotRedraws;
    table.SelectRows({5, 2, 40});
    EXPECT_EQ(table.MarkedRows(), (std::vector<int>{2, 5}));
    EXPECT_GT(view.plotRedraws, redraws);
    // unmarking in the main window empties the table's selection
    c.PunkteDemarkieren(false);
    EXPECT_TRUE(table.MarkedRows().empty());
    EXPECT_FALSE(profile(1).Modified);
    EXPECT_FALSE(c.History().CanUndo()) << "marks are no content";
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/naca4.h"
#include "plot/fillchart.h"
#include "ui/chartwidget.h"
#include "ui/coordinatewindow.h"
#include "ui/tform1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QAction *menuAction(QMainWindow &w, const QString &caption)
{
    for (QAction *a : w.menuBar()->findChildren<QAction *>()) {
        if (QString(a->text()).remove(QLatin1Char('&')) == caption)
            return a;
    }
    return nullptr;
}

} // namespace

TEST(CoordinateWindow, FollowsTheSelectedProfileAndForwardsEditsSelectionAndPaste)
{
    TForm1 w(QStringLiteral("/tmp"));
    MainController &c = w.Controller();
    c.Analysis.VRechnen = false;
    c.Project().Profiles.push_back(MakeNaca4("2412", 21));
    FillChart(c.Project(), c.Chart());
    c.AfterDraw();
    c.CheckListBox1MouseDown(0, false);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    QAction *open = menuAction(w, QStringLiteral("Fenster Koordinaten"));
    ASSERT_NE(open, nullptr);
    open->trigger();
    auto *window = w.findChild<CoordinateWindow *>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    QTableWidget *grid = window->Grid;
    ASSERT_EQ(grid->rowCount(), 41);
    EXPECT_EQ(grid->item(0, CoordinateTable::kX)->text(), QStringLiteral("1,000000"));

    // rows chosen in the table are the marked points of the plot
    grid->selectRow(3);
    EXPECT_TRUE(c.Project().Profiles[0].Points[3].Marked);
    // and points marked elsewhere become the table's selection
    c.PunkteDemarkieren(false);
    c.Project().Profiles[0].Points[7].Marked = true;
    w.Chart1->repaint();
    const QModelIndexList rows = grid->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), 7);

    // a typed y reaches the profile and its series
    grid->item(5, CoordinateTable::kY)->setText(QStringLiteral("0,05"));
    QTRY_COMPARE(c.Project().Profiles[0].Points[5].Y, 0.05);
    EXPECT_EQ(c.Chart().At(0).YValues[5], 0.05);
    EXPECT_EQ(c.RowText(0), "# NACA2412");

    // Ctrl+V over the whole table puts in the clipboard's rows
    QString text = QStringLiteral("Titel\n");
    for (int i = 0; i < 160; ++i)
        text += QStringLiteral("%1\t%2\n").arg(std::abs(i - 80) / 80.0).arg((i < 80 ? 0.05 : -0.05) * (1 - std::abs(i - 80) / 80.0));
    QApplication::clipboard()->setText(text);
    grid->selectAll();
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(c.Project().Profiles[0].PointCount(), 160);
    QTRY_COMPARE(grid->rowCount(), 160);
    EXPECT_EQ(c.Chart().At(0).XValues.size(), 160u);

    // the main window's undo reaches the table's window
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(c.Project().Profiles[0].PointCount(), 41);
    QTRY_COMPARE(grid->rowCount(), 41);
}

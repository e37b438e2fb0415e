// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven by keys and clicks as a user drives it.
#include "geometry/naca4.h"
#include "model/numbertext.h"
#include "plot/fillchart.h"
#include "support/testing.h"
#include "ui/chartwidget.h"
#include "ui/checklistbox.h"
#include "ui/editfield.h"
#include "ui/tform1.h"
#include "ui/tform4.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::TempDir;

namespace {

// A shown main window holding NACA 0012 and 4412, the polar switched on so
// that every selection runs it.
struct EditorWindow
{
    TempDir dir;
    TForm1 w{QString::fromStdString(dir.path().string())};
    MainController &c = w.Controller();

    EditorWindow()
    {
        c.Analysis.VRechnen = false;
        c.Analysis.UmRechnen = true;
        c.Analysis.StartText = "0";
        c.Analysis.EndText = "1";
        c.Analysis.StepText = "1";
        c.Project().Profiles.push_back(MakeNaca4("0012"));
        c.Project().Profiles.push_back(MakeNaca4("4412"));
        FillChart(c.Project(), c.Chart());
        w.resize(1012, 714);
        w.show();
        w.activateWindow();
    }

    // Active, drawn once (the rows follow the profiles at a redraw).
    bool ready()
    {
        return QTest::qWaitForWindowActive(&w) && QTest::qWaitFor([this] {
                   w.Chart1->repaint();
                   return c.RowCount() == 2;
               });
    }

    QPoint pointPixel(int index) const
    {
        const ChartSeries &s = c.Chart().At(c.SelectedRow());
        return {c.Chart().XToPixel(s.XValues[size_t(index)]), c.Chart().YToPixel(s.YValues[size_t(index)])};
    }
};

} // namespace

TEST(Editing, ListKeepsTheKeyboardAfterAClickThatRanThePolar)
{
    EditorWindow e;
    ASSERT_TRUE(e.ready());
    const int h = e.w.CheckListBox1->rowHeight();
    QTest::mouseClick(e.w.CheckListBox1->viewport(), Qt::LeftButton, {}, QPoint(60, h / 2));
    ASSERT_EQ(e.c.SelectedRow(), 0);
    EXPECT_EQ(QApplication::focusWidget(), e.w.CheckListBox1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(e.c.SelectedRow(), 1) << "Down moves the selection";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(e.c.Project().Profiles[1].Visible) << "Space ticks the profile's box";
    EXPECT_TRUE(e.w.CheckBox1->isChecked()) << "not \"Fadenkreuz\"";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(e.c.SelectedRow(), 0);
}

TEST(Editing, ATypedCoordinateNeverLandsOnAnotherPoint)
{
    EditorWindow e;
    e.c.Analysis.UmRechnen = false;
    ASSERT_TRUE(e.ready());
    e.c.CheckListBox1MouseDown(0, false);
    ASSERT_EQ(e.c.SelectedRow(), 0);
    e.w.Chart1->repaint();
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(e.w.Chart1, Qt::LeftButton, {}, e.pointPixel(40));
    e.w.Chart1->repaint();
    const TProfile &p = e.c.Project().Profiles[0];
    ASSERT_TRUE(p.Points[40].Active);
    const double y30 = p.Points[30].Y;
    const double y40 = p.Points[40].Y;

    e.w.Edit2->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return e.w.Edit2->hasFocus(); }));
    e.w.Edit2->selectAll();
    QTest::keyClicks(e.w.Edit2, "0.12");
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(e.w.Chart1, Qt::LeftButton, {}, e.pointPixel(30));
    e.w.Chart1->repaint();
    ASSERT_TRUE(p.Points[30].Active);
    EXPECT_EQ(e.w.Edit1->text().toStdString(), FormatCoordinate(11, 6, ',', p.Points[30].X));
    EXPECT_EQ(e.w.Edit2->text().toStdString(), FormatCoordinate(11, 6, ',', y30))
        << "the fields show one point, not the new X beside the old typing";
    QTest::keyClick(e.w.Edit2, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(p.Points[30].Y, RoundTo6(y30));
    EXPECT_DOUBLE_EQ(p.Points[40].Y, y40);

    // typing for the point that stays active still applies
    e.w.Edit2->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return e.w.Edit2->hasFocus(); }));
    e.w.Edit2->selectAll();
    QTest::keyClicks(e.w.Edit2, "0.05");
    e.w.Chart1->repaint();
    QTest::keyClick(e.w.Edit2, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(p.Points[30].Y, 0.05);
}

TEST(Dialogs, RedistributionDialogOpensCentredOnTheScreenEveryTime)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    w.setGeometry(10, 10, 500, 400);
    w.show();
    TForm4 dialog(&w);
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    EXPECT_GT(dialog.width(), title.horizontalAdvance(dialog.windowTitle()) + 60)
        << "the caption fits beside the title bar's buttons";
    const QPoint centre = dialog.screen()->availableGeometry().center();
    QPoint reopened;
    for (int opening = 0; opening < 4; ++opening) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        // the frame's extents are known from the second opening on
        EXPECT_LE((dialog.frameGeometry().center() - centre).manhattanLength(), 4) << opening;
        if (opening == 1)
            reopened = dialog.pos();
        if (opening > 1) {
            EXPECT_EQ(dialog.pos(), reopened) << "the dialog creeps at opening " << opening;
        }
        dialog.hide();
    }
}

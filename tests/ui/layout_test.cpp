// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's fonts, layout and drawing at every size a user gives it.
#include "geometry/naca4.h"
#include "model/fontsettingsfile.h"
#include "plot/fillchart.h"
#include "support/testing.h"
#include "ui/chartwidget.h"
#include "ui/checklistbox.h"
#include "ui/startup.h"
#include "ui/tform1.h"
#include "ui/wheelstepsample.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace velmora;
using velmora::testing::TempDir;

namespace {

bool isRed(QColor c)
{
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

bool isDark(QColor c)
{
    return c.red() < 110 && c.green() < 110 && c.blue() < 110;
}

double points(const QWidget *w)
{
    return w->font().pointSizeF() > 0 ? w->font().pointSizeF() : QFontInfo(w->font()).pointSizeF();
}

// Resizes and lets the window lay itself out.
void resizeTo(TForm1 &w, int width, int height)
{
    w.resize(width, height);
    QApplication::processEvents();
}

} // namespace

TEST(Layout, FontFileReachesEveryControlAndTheResizerScalesFromIt)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ApplyFontSettings(ParseFontSettingsLines({"FONT_SIZE=10", "FONT_COLOR=255"}));
    resizeTo(w, 1012, 714); // a resize to the recorded size must not bring the designed font back
    for (const QWidget *c : {static_cast<QWidget *>(w.CheckBox2), static_cast<QWidget *>(w.Edit4),
                             static_cast<QWidget *>(w.CheckListBox1), static_cast<QWidget *>(w.Chart1)}) {
        EXPECT_NEAR(points(c), 10, 0.1) << c->objectName().toStdString();
    }
    // the axis labels are written in the file's colour
    const QImage plot = w.Chart1->grab().toImage();
    int red = 0;
    for (int y = plot.height() - 14; y < plot.height(); ++y) {
        for (int x = 0; x < plot.width(); ++x)
            red += isRed(plot.pixelColor(x, y));
    }
    EXPECT_GT(red, 20);

    resizeTo(w, 1518, 1071);
    EXPECT_NEAR(points(w.CheckBox2), 15, 0.1) << "one and a half times the file's size";
    EXPECT_NEAR(points(w.CheckListBox1), 15, 0.1) << "the list scales with the panel";
    resizeTo(w, 3036, 2142);
    EXPECT_NEAR(points(w.CheckBox2), 20, 0.1) << "grows to the limit of 20 points";
    resizeTo(w, 1012, 714);
    EXPECT_NEAR(points(w.CheckBox2), 10, 0.1);
}

TEST(Layout, EveryControlStaysWholeAndInsideItsGroupAtEverySize)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    resizeTo(w, 400, 300);
    EXPECT_GE(w.width(), TForm1::kMinimumWidth);
    EXPECT_GE(w.height(), TForm1::kMinimumHeight);

    const int indicator = w.style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, w.CheckBox1);
    const QWidget *panel = w.CheckBox1->parentWidget();
    const QSize sizes[] = {{TForm1::kMinimumWidth, TForm1::kMinimumHeight}, {1012, 714}, {1600, 1000},
                           {TForm1::kMinimumWidth, 1000}, {1600, TForm1::kMinimumHeight}};
    for (const QSize size : sizes) {
        resizeTo(w, size.width(), size.height());
        const std::string at = std::to_string(size.width()) + "x" + std::to_string(size.height());
        for (const QGroupBox *group : panel->findChildren<QGroupBox *>()) {
            EXPECT_TRUE(panel->rect().contains(group->geometry())) << group->title().toStdString() << " " << at;
            const QList<QWidget *> inside = group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            for (const QWidget *c : inside) {
                EXPECT_TRUE(group->rect().contains(c->geometry()))
                    << c->objectName().toStdString() << " sticks out of its group at " << at;
                for (const QWidget *other : inside) {
                    // fields and spin boxes: the v-Offset box once covered the ca field
                    const bool fields = qobject_cast<const QLineEdit *>(c) || qobject_cast<const QSpinBox *>(c);
                    const bool otherFields = qobject_cast<const QLineEdit *>(other) || qobject_cast<const QSpinBox *>(other);
                    if (other != c && fields && otherFields) {
                        EXPECT_FALSE(c->geometry().intersects(other->geometry()))
                            << c->objectName().toStdString() << " overlaps " << other->objectName().toStdString()
                            << " at " << at;
                    }
                }
            }
        }
        for (const QAbstractButton *b : panel->findChildren<QAbstractButton *>()) {
            if (!qobject_cast<const QCheckBox *>(b) && !qobject_cast<const QRadioButton *>(b))
                continue;
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString() << " is cut at " << at;
            EXPECT_GE(b->height(), indicator) << b->text().toStdString() << " loses its square at " << at;
            EXPECT_GE(points(b), 6.0) << b->text().toStdString() << " is too small to read at " << at;
        }
        for (const QLabel *l : panel->findChildren<QLabel *>())
            EXPECT_GE(l->height(), l->fontMetrics().height()) << l->text().toStdString() << " at " << at;
    }
}

TEST(Drawing, OverlaysStayInThePlotAndLabelsInTheWidget)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    MainController &c = w.Controller();
    c.Analysis.VRechnen = false;
    TProfile p = MakeNaca4("0012");
    p.Color = RgbColor(255, 0, 0);
    for (TKoordi &k : p.Points)
        k.Marked = true;
    p.Points[10].Active = true;
    c.Project().Profiles.push_back(p);
    FillChart(c.Project(), c.Chart());
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        w.Chart1->repaint();
        return c.RowCount() == 1;
    }));
    c.CheckListBox1MouseDown(0, false);
    // a view of the nose only: most marks lie beyond the plot
    c.Chart().SetBottomRange(-0.01, 0.05);
    c.Chart().SetLeftRange(-0.03, 0.03);
    w.Chart1->repaint();
    const QImage img = w.Chart1->grab().toImage();
    const PlotRect r = c.Chart().Rect();
    int outside = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if ((x < r.Left - 1 || x > r.Right + 1 || y < r.Top - 1 || y > r.Bottom + 1) && isRed(img.pixelColor(x, y)))
                ++outside;
        }
    }
    EXPECT_EQ(outside, 0) << "marks and arrows drawn over the axis labels";
    // the rightmost bottom label ends before the widget's edge
    for (int y = r.Bottom + 2; y < img.height(); ++y)
        EXPECT_FALSE(isDark(img.pixelColor(img.width() - 1, y))) << "label cut at row " << y;
}

TEST(Drawing, WheelStepSampleShowsTheRedDigitWholeAndAlone)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QColor background = w.PaintBox1->palette().window().color();
    auto inkOf = [&](int step) {
        w.Controller().Project().WheelStep = step;
        const QImage img = w.PaintBox1->grab().toImage();
        std::vector<bool> ink;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                ink.push_back(std::abs(c.red() - background.red()) + std::abs(c.green() - background.green())
                                  + std::abs(c.blue() - background.blue())
                              > 150);
            }
        }
        return ink;
    };
    // a step outside 1..6 highlights nothing: the plain text
    const std::vector<bool> plain = inkOf(9);
    const long plainInk = std::count(plain.begin(), plain.end(), true);
    ASSERT_GT(plainInk, 100);
    for (int step = 1; step <= 6; ++step) {
        const std::vector<bool> ink = inkOf(step);
        long differing = 0;
        for (size_t i = 0; i < ink.size(); ++i)
            differing += ink[i] != plain[i];
        // the same glyphs in the same places, one of them red: no sliver
        // of a black digit beside it and nothing cut off
        EXPECT_LT(differing, plainInk / 40) << "step " << step;
    }
}

TEST(Drawing, AWhiteProfileStillHasAVisibleSwatch)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    MainController &c = w.Controller();
    c.Analysis.VRechnen = false;
    TProfile p = MakeNaca4("0012");
    p.Color = RgbColor(255, 255, 255);
    c.Project().Profiles.push_back(p);
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        w.Chart1->repaint();
        return c.RowCount() == 1;
    }));
    const QImage list = w.CheckListBox1->viewport()->grab().toImage();
    const QRect box = w.CheckListBox1->checkBoxRect(0);
    const int h = w.CheckListBox1->rowHeight();
    // the swatch starts right of the check box: its outline differs from the white list
    int outline = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = box.right() + 4; x < box.right() + 4 + 13; ++x)
            outline += list.pixelColor(x, y) != QColor(Qt::white);
    }
    EXPECT_GT(outline, 2 * 13);
}

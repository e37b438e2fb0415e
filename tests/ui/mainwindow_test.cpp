// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "model/fontsettingsfile.h"
#include "model/numbertext.h"
#include "support/testing.h"
#include "ui/boundarylayerform.h"
#include "ui/chartwidget.h"
#include "ui/checklistbox.h"
#include "ui/editfield.h"
#include "ui/polarform.h"
#include "ui/startup.h"
#include "ui/tform1.h"
#include "ui/tform3.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWindow>
#include <QUrl>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <deque>

using namespace velmora;
using velmora::testing::TempDir;
using velmora::testing::readFile;
using velmora::testing::writeFile;

namespace {

// The real main window with its modal dialogs answered by the test.
class ScriptedForm1 : public TForm1
{
public:
    using TForm1::TForm1;
    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<bool> yesNo;
    std::vector<std::string> shown;

    std::vector<std::string> ChooseOpenFiles(const FileDialogSetup &, const std::string &) override
    {
        auto a = openAnswers.empty() ? std::vector<std::string>{} : openAnswers.front();
        if (!openAnswers.empty())
            openAnswers.pop_front();
        return a;
    }
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &, const std::string &,
                                              const std::string &) override
    {
        auto a = saveAnswers.empty() ? std::nullopt : saveAnswers.front();
        if (!saveAnswers.empty())
            saveAnswers.pop_front();
        return a;
    }
    bool AskYesNo(const std::string &text) override
    {
        shown.push_back(text);
        const bool a = !yesNo.empty() && yesNo.front();
        if (!yesNo.empty())
            yesNo.pop_front();
        return a;
    }
    void ShowInfo(const std::string &text) override { shown.push_back(text); }
    void ShowError(const std::string &text) override { shown.push_back(text); }
};

QAction *menuAction(QMainWindow &w, const QString &caption)
{
    for (QAction *a : w.menuBar()->findChildren<QAction *>()) {
        if (QString(a->text()).remove(QLatin1Char('&')) == caption)
            return a;
    }
    return nullptr;
}

int countColour(const QImage &img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) < 8 && std::abs(p.green() - c.green()) < 8
                && std::abs(p.blue() - c.blue()) < 8)
                ++n;
        }
    }
    return n;
}

} // namespace

TEST(MainWindow, LoadsTwoProfilesShowsRowsSeriesAndSelection)
{
    TempDir dir;
    WriteCoordinateFile(MakeNaca4("0012"), dir.file("NACA0012.dat"));
    WriteCoordinateFile(MakeNaca4("4412"), dir.file("NACA4412.dat"));
    ScriptedForm1 w(QString::fromStdString(dir.path().string()));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Velmora "));
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    w.openAnswers = {{dir.file("NACA0012.dat"), dir.file("NACA4412.dat")}};
    QAction *load = menuAction(w, QStringLiteral("Profil laden"));
    ASSERT_NE(load, nullptr);
    load->trigger();
    w.Chart1->repaint();

    MainController &c = w.Controller();
    ASSERT_EQ(c.RowCount(), 2);
    EXPECT_EQ(c.RowText(0), "NACA0012");
    EXPECT_EQ(c.RowText(1), "NACA4412");
    ASSERT_EQ(c.Chart().SeriesCount(), 2);
    EXPECT_EQ(c.Chart().At(0).Color, RgbColor(255, 0, 0));
    EXPECT_EQ(c.Chart().At(1).Color, RgbColor(0, 128, 0));

    // select the second row with the mouse: the name fields follow
    const int h = w.CheckListBox1->rowHeight();
    QTest::mouseClick(w.CheckListBox1->viewport(), Qt::LeftButton, {}, QPoint(60, h + h / 2));
    EXPECT_EQ(c.SelectedRow(), 1);
    EXPECT_EQ(w.Edit4->text(), QStringLiteral("NACA4412"));
    EXPECT_EQ(w.Edit5->text(), QStringLiteral("NACA 4412"));

    // the selected profile is drawn wide, with circles on its points
    const QImage shot = w.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QImage plot = w.Chart1->grab().toImage();
    EXPECT_GT(countColour(plot, QColor(0, 128, 0)), 500);
    EXPECT_GT(countColour(plot, QColor(255, 0, 0)), 30) << "the red profile is drawn";
    EXPECT_TRUE(shot.save(QString::fromStdString(dir.file("main.png"))));

    // unticking the first row hides the red profile
    QTest::mouseClick(w.CheckListBox1->viewport(), Qt::LeftButton, {},
                      w.CheckListBox1->checkBoxRect(0).center());
    EXPECT_FALSE(c.Project().Profiles[0].Visible);
    EXPECT_EQ(countColour(w.Chart1->grab().toImage(), QColor(255, 0, 0)), 0);
    EXPECT_TRUE(c.Project().Modified);

    // closing asks; a cancelled save keeps the window open
    w.yesNo = {true};
    w.saveAnswers = {std::nullopt};
    w.close();
    EXPECT_TRUE(w.isVisible());
    w.yesNo = {true};
    w.saveAnswers = {dir.file("ende.VMPRO2")};
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_NE(readFile(dir.file("ende.VMPRO2")).size(), 0u);
}

TEST(MainWindow, SettingsSurviveARestartAndStayOnScreen)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    writeFile(dir.file("Velmora.ini"), "FORM1_LEFT=40\r\nMAUSRAD_STEP=2\r\nFORM1_CHART1_BACKCOLOR=0\r\n"
                                       "FORM3_LEFT=90000\r\nFORM1_OPENDIALOG1_DIR=/daten/\r\n");
    {
        TForm1 form1(folder);
        TForm3 form3(&form1);
        form1.move(138, 94);
        ReadSettings(form1, form3, SettingsPath(folder));
        EXPECT_EQ(form1.pos().x(), 40);
        EXPECT_EQ(form1.pos().y(), 94);
        EXPECT_EQ(form1.Controller().Project().WheelStep, 2);
        EXPECT_EQ(form1.Controller().Chart().BackColor, 0);
        EXPECT_EQ(form1.Controller().OpenDialog1Dir, "/daten/");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.intersects(QRect(form3.pos(), form3.size())))
            << "a window off every screen comes back onto the primary one";
        form1.Controller().WheelStepInc();
        std::string error;
        ASSERT_TRUE(WriteSettings(form1, form3, SettingsPath(folder), error)) << error;
    }
    const std::string ini = readFile(dir.file("Velmora.ini"));
    EXPECT_NE(ini.find("FORM1_LEFT=40\r\n"), std::string::npos);
    EXPECT_NE(ini.find("MAUSRAD_STEP=3\r\n"), std::string::npos);
    EXPECT_NE(ini.find("FORM1_OPENDIALOG1_DIR=/daten/\r\n"), std::string::npos);
    EXPECT_NE(ini.find("FORM1_SAVEDIALOG1_DIR=" + dir.path().string() + "\r\n"), std::string::npos);

    std::string error;
    TForm1 form1(folder);
    TForm3 form3(&form1);
    EXPECT_FALSE(WriteSettings(form1, form3, folder + "/no/such/Velmora.ini", error));
    EXPECT_EQ(error, "Datei " + dir.path().string() + "/no/such/Velmora.ini kann nicht erstellt werden");
}

TEST(MainWindow, WheelAnywhereInTheWindowMovesTheMarkedPoints)
{
    TempDir dir;
    ScriptedForm1 w(QString::fromStdString(dir.path().string()));
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    MainController &c = w.Controller();
    c.Analysis.VRechnen = false;
    c.Project().Profiles.push_back(MakeNaca4("0012"));
    c.Project().Profiles[0].Points[10].Marked = true;
    c.Project().Profiles[0].Points[10].Active = true;
    w.Chart1->repaint();
    c.CheckListBox1MouseDown(0, false);
    const double y = c.Project().Profiles[0].Points[10].Y;

    // over the profile list, which would otherwise scroll
    const QPoint at = w.CheckListBox1->viewport()->rect().center();
    QWheelEvent wheel(at, w.CheckListBox1->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.CheckListBox1->viewport(), &wheel);
    EXPECT_DOUBLE_EQ(c.Project().Profiles[0].Points[10].Y, RoundTo6(y + 0.0001));
    w.Chart1->repaint();
    EXPECT_EQ(w.Edit2->text().toStdString(), FormatCoordinate(11, 6, ',', c.Project().Profiles[0].Points[10].Y))
        << "the active point fields follow after the redraw";
}

TEST(MainWindow, FontSettingsGiveEveryControlTheCommonFont)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    const QString family = w.Edit4->font().family();
    TFontSettings font = ParseFontSettingsLines({"FONT_SIZE=10", "FONT_STYLE=[fsItalic]", "FONT_COLOR=255"});
    ApplyFontSettings(font);
    for (QWidget *control : {static_cast<QWidget *>(w.Edit4), static_cast<QWidget *>(w.CheckBox2),
                             static_cast<QWidget *>(w.Button6)}) {
        EXPECT_EQ(control->font().pointSize(), 10) << control->objectName().toStdString();
        EXPECT_TRUE(control->font().italic());
        EXPECT_FALSE(control->font().bold()) << "the style replaces the designed bold";
        EXPECT_EQ(control->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    EXPECT_EQ(w.Edit4->font().family(), family) << "an empty face name keeps each face";
}

TEST(MainWindow, FunctionKeysRestWhileACoordinateIsTyped)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    MainController &c = w.Controller();
    w.Edit1->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Edit1->hasFocus(); }));
    QTest::keyClick(w.Edit1, Qt::Key_F3); // the first key still reaches the window
    EXPECT_EQ(c.Project().WheelStep, 5);
    QTest::keyClick(w.Edit1, Qt::Key_F3);
    EXPECT_EQ(c.Project().WheelStep, 5) << "typing into the field took the keys from the window";
    QMouseEvent move(QEvent::MouseMove, QPointF(301, 201), w.Chart1->mapToGlobal(QPointF(301, 201)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.Chart1, &move);
    QTest::keyClick(w.Edit1, Qt::Key_F2);
    EXPECT_EQ(c.Project().WheelStep, 4) << "a mouse move over the plot gives them back";
}

TEST(MainWindow, EditMenuStartsWithUndoAndRedoNamingTheirSteps)
{
    TempDir dir;
    const std::string file = dir.file("NACA2412.dat");
    WriteCoordinateFile(MakeNaca4("2412", 21), file);
    ScriptedForm1 w(QString::fromStdString(dir.path().string()));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Controller().Analysis.VRechnen = false;

    QMenu *edit = nullptr;
    for (QAction *m : w.menuBar()->actions()) {
        if (m->text().remove(QLatin1Char('&')) == QStringLiteral("Edit"))
            edit = m->menu();
    }
    ASSERT_NE(edit, nullptr);
    QAction *undo = edit->actions().at(0);
    QAction *redo = edit->actions().at(1);
    EXPECT_EQ(undo->text().remove(QLatin1Char('&')), QStringLiteral("Rückgängig"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    w.openAnswers = {{file}};
    w.Controller().ProfilLaden();
    EXPECT_EQ(undo->text().remove(QLatin1Char('&')), QStringLiteral("Rückgängig: Profil laden"));
    EXPECT_TRUE(undo->isEnabled());

    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(w.Controller().Project().Profiles.empty());
    EXPECT_EQ(w.Controller().RowCount(), 0);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text().remove(QLatin1Char('&')), QStringLiteral("Wiederholen: Profil laden"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Controller().Project().Profiles.size(), 1u);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Controller().Project().Profiles.size(), 1u);
    EXPECT_EQ(w.Controller().RowCount(), 1);
}

TEST(MainWindow, AnInstalledProgramKeepsSettingsInTheConfigFolderAndFindsItsData)
{
    TempDir dir;
    const QString root = QString::fromStdString(dir.path().string());
    QDir(root).mkpath(QStringLiteral("prefix/bin"));
    QDir(root).mkpath(QStringLiteral("prefix/share/velmora"));
    QDir(root).mkpath(QStringLiteral("build/bin/Velmora_Hilfe"));
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());

    const ProgramFolders built = FindProgramFolders(root + QStringLiteral("/build/bin"));
    EXPECT_FALSE(built.installed);
    EXPECT_EQ(built.settings, built.program) << "a writable program folder keeps its settings";
    EXPECT_EQ(built.data, built.program);

    const ProgramFolders installed = FindProgramFolders(root + QStringLiteral("/prefix/bin"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.data, QDir(root + QStringLiteral("/prefix/share/velmora")).canonicalPath());
    EXPECT_EQ(installed.settings, root + QStringLiteral("/config/velmora"));
    EXPECT_TRUE(QFileInfo(installed.settings).isDir()) << "created for the first start";
}

TEST(MainWindow, EveryPanelControlListAndPlotButtonExplainsItself)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    QWidget *panel = w.findChild<QWidget *>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    QList<QWidget *> controls{w.CheckListBox1};
    for (QWidget *c : panel->findChildren<QWidget *>()) {
        const bool input = qobject_cast<QAbstractButton *>(c) || qobject_cast<QAbstractSpinBox *>(c)
            || (qobject_cast<QLineEdit *>(c) && !qobject_cast<QAbstractSpinBox *>(c->parentWidget()));
        if (input && c->isVisibleTo(panel))
            controls << c;
    }
    EXPECT_GT(controls.size(), 30);
    for (QWidget *c : controls)
        EXPECT_FALSE(c->toolTip().isEmpty()) << c->objectName().toStdString() << " " << c->metaObject()->className();
}

TEST(MainWindow, FilesDroppedOnTheWindowOpen)
{
    TempDir dir;
    const std::string file = dir.file("NACA2412.dat");
    WriteCoordinateFile(MakeNaca4("2412", 21), file);
    ScriptedForm1 w(QString::fromStdString(dir.path().string()));
    w.Controller().Analysis.VRechnen = false;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file)), QUrl(QStringLiteral("https://example.org/x.dat"))});
    const QPoint at = w.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    ASSERT_EQ(w.Controller().Project().Profiles.size(), 1u) << "the local file only";
    EXPECT_EQ(w.Controller().Project().Profiles[0].Name, "NACA2412");
    EXPECT_TRUE(w.shown.empty());
}

TEST(MainWindow, EveryMenuEntryHasItsOwnAltLetter)
{
    TempDir dir;
    TForm1 w(QString::fromStdString(dir.path().string()));
    auto letter = [](const QString &text) {
        const int amp = text.indexOf(QLatin1Char('&'));
        return amp >= 0 && amp + 1 < text.size() ? text.at(amp + 1).toLower() : QChar();
    };
    QList<QMenu *> menus;
    QString bar;
    for (QAction *m : w.menuBar()->actions()) {
        EXPECT_FALSE(bar.contains(letter(m->text()))) << m->text().toStdString();
        bar += letter(m->text());
        menus << m->menu();
    }
    for (int i = 0; i < menus.size(); ++i) {
        QString used;
        for (QAction *a : menus[i]->actions()) {
            if (a->menu())
                menus << a->menu();
            if (a->isSeparator())
                continue;
            const QChar l = letter(a->text());
            EXPECT_FALSE(l.isNull()) << a->text().toStdString();
            EXPECT_FALSE(used.contains(l)) << a->text().toStdString() << " repeats an Alt letter";
            used += l;
        }
    }
}

// The plotting area's left edge follows the width of the y labels, and the y
// scale follows the area's shape: some ranges made the two chase each other,
// and an empty window repainted itself hundreds of times a second.
TEST(MainWindow, AnIdleWindowStopsRepainting)
{
    TempDir dir;
    ScriptedForm1 w(QString::fromStdString(dir.path().string()));
    int paints = 0;
    w.Chart1->Painted = [&paints] { ++paints; };
    w.resize(1012, 714);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(300);
    const int settled = paints;
    EXPECT_GT(settled, 0);
    QTest::qWait(300);
    EXPECT_EQ(paints, settled);
}

// The polar and boundary-layer windows reopen at the next start when they
// were open at the last close. The program ends with the main window, and
// quitting closes every window before the main window's close has returned.
TEST(MainWindow, TheWindowsOpenWhenTheMainWindowClosesAreKnownAfterwards)
{
    TempDir dir;
    TForm1 form1(QString::fromStdString(dir.path().string()));
    PolarForm polars(&form1);
    BoundaryLayerForm layers(&form1);
    form1.show();
    polars.show();
    QObject::connect(&form1, &TForm1::closed, qApp, &QCoreApplication::quit);
    bool polarsOpen = false, layersOpen = true;
    OnCloseRequest(form1, [&] {
        polarsOpen = polars.CurrentSettings().Visible;
        layersOpen = layers.CurrentSettings().Visible;
    });
    // the window manager's close button, in the program's message loop
    QTimer::singleShot(0, &form1, [&] { form1.windowHandle()->close(); });
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // should the close be lost
    qApp->exec();
    EXPECT_FALSE(form1.isVisible());
    EXPECT_TRUE(polarsOpen);
    EXPECT_FALSE(layersOpen);
}

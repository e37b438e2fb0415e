// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/startup.h"

#include "model/errors.h"
#include "model/settingsfile.h"
#include "ui/qtconvert.h"
#include "ui/tform1.h"
#include "ui/tform3.h"
#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ui/polarform.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>

namespace velmora {

QString SettingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Velmora.ini");
}

QString FontSettingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Velmora_Fontinfo.txt");
}

namespace {

QRect placeOf(const QWidget &w)
{
    return w.isMaximized() ? w.normalGeometry() : QRect(w.pos(), w.size());
}

// The values the windows and the controller hold now.
TSettings currentSettings(TForm1 &form1, TForm3 &form3)
{
    TSettings s;
    const QRect p1 = placeOf(form1);
    const QRect p3 = placeOf(form3);
    s.Form1Top = p1.top();
    s.Form1Left = p1.left();
    s.Form1Width = p1.width();
    s.Form1Height = p1.height();
    s.Form3Top = p3.top();
    s.Form3Left = p3.left();
    s.Form3Width = p3.width();
    s.Form3Height = p3.height();
    form1.Controller().StoreSettings(s);
    return s;
}

void setPlace(QWidget &w, int left, int top, int width, int height)
{
    w.move(left, top);
    w.resize(std::max(width, 100), std::max(height, 60));
}

} // namespace

void KeepOnScreen(QWidget &window)
{
    const QRect r(window.pos(), window.size());
    for (const QScreen *s : QGuiApplication::screens()) {
        const QRect shown = s->availableGeometry().intersected(r);
        if (shown.width() >= 100 && shown.height() >= 50)
            return;
    }
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect avail = primary->availableGeometry();
    const int w = std::min(r.width(), avail.width());
    const int h = std::min(r.height(), avail.height());
    window.resize(w, h);
    window.move(avail.left() + std::max(0, (avail.width() - w) / 2), avail.top() + std::max(0, (avail.height() - h) / 2));
}

void ReadSettings(TForm1 &form1, TForm3 &form3, const QString &path)
{
    TSettings s = currentSettings(form1, form3);
    ReadSettingsFile(path.toStdString(), s);
    setPlace(form1, s.Form1Left, s.Form1Top, s.Form1Width, s.Form1Height);
    setPlace(form3, s.Form3Left, s.Form3Top, s.Form3Width, s.Form3Height);
    KeepOnScreen(form1);
    KeepOnScreen(form3);
    form1.Controller().ApplySettings(s);
}

bool WriteSettings(TForm1 &form1, TForm3 &form3, const QString &path, std::string &error)
{
    TSettings s = currentSettings(form1, form3);
    try {
        WriteSettingsFile(path.toStdString(), s);
    } catch (const UserError &e) {
        error = e.what();
        return false;
    }
    return true;
}

void ApplyFontSettings(const TFontSettings &font)
{
    const unsigned style = ParseFontStyle(font.Style);
    const QColor colour = toQColor(font.Color);
    for (QWidget *top : QApplication::topLevelWidgets()) {
        QList<QWidget *> widgets = top->findChildren<QWidget *>();
        widgets.prepend(top);
        for (QWidget *w : widgets) {
            QFont f = w->font();
            if (!font.Name.empty())
                f.setFamily(QString::fromStdString(font.Name));
            if (font.Size > 0)
                f.setPointSize(font.Size);
            f.setBold(style & kFontBold);
            f.setItalic(style & kFontItalic);
            f.setUnderline(style & kFontUnderline);
            f.setStrikeOut(style & kFontStrikeOut);
            w->setFont(f);
            QPalette pal = w->palette();
            pal.setColor(QPalette::WindowText, colour);
            pal.setColor(QPalette::Text, colour);
            pal.setColor(QPalette::ButtonText, colour);
            w->setPalette(pal);
        }
    }
}

int RunVelmora(QApplication &app)
{
    const QString programFolder = QApplication::applicationDirPath();
    auto *form1 = new TForm1(programFolder);
    form1->move(138, 94);
    auto *form3 = new TForm3(form1);
    form3->move(253, 11);
    auto *form4 = new TForm4(form1);
    auto *form5 = new TForm5(form1);
    form1->setProfileInfoWindow(form3);
    form1->setInfoWindow(form5);
    form1->setProfileInfoRefresh([form3] { form3->Refresh(); });
    form1->setRedistributionDialog(form4);
    form3->Lines = [form1] {
        const QString dec = QLocale().decimalPoint();
        return form1->Controller().ProfileInfoLines(dec == QStringLiteral(",") ? ',' : '.');
    };

    auto *polars = new PolarForm(form1);
    const QString polarSettings = QDir(programFolder).filePath(QString::fromUtf8(kPolarSettingsFileName));
    const PolarWindowSettings polarPlace = ReadPolarWindowSettings(polarSettings.toStdString());
    polars->ApplySettings(polarPlace);
    KeepOnScreen(*polars);
    auto refreshPolars = [form1, polars] {
        if (polars->isVisible()) {
            MainController &c = form1->Controller();
            polars->Controller().Refresh(c.Project(), c.SelectedRow(), c.Analysis);
        }
    };
    polars->RefreshRequested = refreshPolars;
    form1->Controller().OnAnalysisRefreshed = refreshPolars;
    form1->ShowPolarWindow = [polars] {
        polars->show();
        polars->raise();
        polars->activateWindow();
    };

    ReadSettings(*form1, *form3, SettingsPath(programFolder));
    TFontSettings font;
    if (ReadFontSettingsFile(FontSettingsPath(programFolder).toStdString(), font))
        ApplyFontSettings(font);

    // the main window ends the program even while other windows are open
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(form1, &TForm1::closed, &app, &QApplication::quit);
    form1->show();
    if (polarPlace.Visible)
        polars->show();
    const int status = app.exec();

    std::string error;
    if (!WriteSettings(*form1, *form3, SettingsPath(programFolder), error))
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"), messageText(error));
    try {
        WritePolarWindowSettings(polarSettings.toStdString(), polars->CurrentSettings());
    } catch (const UserError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"), messageText(e.what()));
    }
    delete form1;
    return status;
}

} // namespace velmora

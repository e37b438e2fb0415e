// SPDX-License-Identifier: GPL-3.0-or-later
// Build helper: photographs the real windows, offscreen, with the sample
// profiles, so that the pictures in the help documents show the program as
// it is built. Everything runs synchronously on this thread; no settings are
// read or written.
#include "app/polarwindow.h"
#include "ui/polarform.h"
#include "ui/tform1.h"
#include "ui/tform3.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QPalette>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace velmora;

namespace {

// Pending events must have been processed: the window is drawn as it is.
bool save(QWidget &window, const QString &path)
{
    if (window.grab().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "Bild %s kann nicht geschrieben werden\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // always offscreen: the build machine may have no display at all
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: velmora-help-pictures PROFILORDNER BILDORDNER\n");
        return 2;
    }
    // a stuck analysis must never hold up the build
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(60));
        std::fprintf(stderr, "velmora-help-pictures: Zeit überschritten\n");
        std::_Exit(1);
    }).detach();
    QLocale::setDefault(QLocale(QLocale::German));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const QDir samples(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;

    auto *form1 = new TForm1(samples.absolutePath());
    form1->DataFolder = samples.absolutePath();
    auto *form3 = new TForm3(form1);
    form1->setProfileInfoWindow(form3);
    form3->Lines = [form1] { return form1->Controller().ProfileInfoLines(','); };
    form1->setProfileInfoRefresh([form3] { form3->Refresh(); });
    auto *polars = new PolarForm(form1);

    MainController &c = form1->Controller();
    std::vector<std::string> files;
    for (const char *name : {"NACA0012.dat", "NACA2412.dat", "NACA4412.dat"})
        files.push_back(samples.absoluteFilePath(QString::fromLatin1(name)).toStdString());
    c.OpenFiles(files);
    if (c.Project().Profiles.size() != 3) {
        std::fprintf(stderr, "Die Beispielprofile fehlen in %s\n", argv[1]);
        return 1;
    }
    form1->resize(1100, 720);
    form1->show();
    QApplication::processEvents();
    c.CheckListBox1MouseDown(1, false);
    form1->CheckBox4->setChecked(true);
    QApplication::processEvents();
    if (c.SelectedRow() != 1) {
        std::fprintf(stderr, "Das Beispielprofil lässt sich nicht anwählen\n");
        return 1;
    }
    // the memory figure in the status bar differs from run to run and is
    // refreshed while the chart draws; the pictures must not differ, so its
    // text is drawn invisibly
    QPalette quiet = form1->StatusPanel0->palette();
    quiet.setColor(QPalette::WindowText, Qt::transparent);
    form1->StatusPanel0->setPalette(quiet);
    bool ok = save(*form1, out.filePath(QStringLiteral("hauptfenster.png")));

    form3->resize(560, 320);
    form3->Refresh();
    form3->show();
    QApplication::processEvents();
    ok = save(*form3, out.filePath(QStringLiteral("profileigenschaften.png"))) && ok;

    polars->resize(980, 720);
    polars->show();
    polars->Controller().Refresh(c.Project(), c.SelectedRow(), c.Analysis);
    QApplication::processEvents();
    ok = save(*polars, out.filePath(QStringLiteral("polaren.png"))) && ok;

    delete form1;
    return ok ? 0 : 1;
}

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
#include "ui/chartwidget.h"
#include "ui/diagramcanvas.h"
#include "app/backgroundrunner.h"
#include "app/maincontroller.h"
#include "ui/boundarylayerform.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>

#include <chrono>
#include <cstdio>
#include <QDir>
#include <QFileInfo>
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

ProgramFolders FindProgramFolders(const QString &programFolder)
{
    ProgramFolders f{programFolder, programFolder, programFolder, false};
    const QDir shared(programFolder + QStringLiteral("/../share/velmora"));
    if (shared.exists() && !QFileInfo::exists(programFolder + QStringLiteral("/Velmora_Hilfe"))) {
        f.installed = true;
        f.data = shared.canonicalPath();
    }
    if (f.installed || !QFileInfo(programFolder).isWritable()) {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty() || !QDir::isAbsolutePath(config))
            config = QDir::homePath() + QStringLiteral("/.config");
        f.settings = config + QStringLiteral("/velmora");
        QDir().mkpath(f.settings);
    }
    return f;
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

namespace {

class CloseRequestFilter : public QObject
{
public:
    CloseRequestFilter(QWidget &window, std::function<void()> before)
        : QObject(&window)
        , m_before(std::move(before))
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            m_before();
        return false;
    }

private:
    std::function<void()> m_before;
};

} // namespace

void OnCloseRequest(QWidget &window, std::function<void()> before)
{
    new CloseRequestFilter(window, std::move(before));
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

namespace {

// VELMORA_TIMING=1: one line per painted frame on standard error, with the
// time from the last input event to the end of the paint and, for the state
// whose analyses the frame shows, the time since that state was made (the
// edit) and the computing times.
class FrameTiming : public QObject
{
public:
    using Clock = std::chrono::steady_clock;
    static double msBetween(Clock::time_point a, Clock::time_point b)
    {
        return std::chrono::duration<double, std::milli>(b - a).count();
    }

    // -1 while no analysed state has been shown yet
    static double sinceState(Clock::time_point made, Clock::time_point now)
    {
        return made == Clock::time_point{} ? -1.0 : msBetween(made, now);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
            m_input = Clock::now();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

    void plotPainted(const MainController &c)
    {
        const auto now = Clock::now();
        const MainController::AnalysisTimes &t = c.ShownAnalysisTimes();
        std::fprintf(stderr,
                     "frame=%llu window=plot input_to_paint_ms=%.2f state=%llu analyses_state=%llu "
                     "state_to_paint_ms=%.2f v_ms=%.2f um_ms=%.2f\n",
                     ++m_frames, msBetween(m_input, now), (unsigned long long)c.AnalysisGeneration(),
                     (unsigned long long)t.Generation, sinceState(t.StateTime, now), t.VelocityMs, t.PolarMs);
    }

    void polarShown(uint64_t generation, Clock::time_point made, double ms)
    {
        m_polarGeneration = generation;
        m_polarMade = made;
        m_polarMs = ms;
    }

    void polarPainted()
    {
        const auto now = Clock::now();
        std::fprintf(stderr,
                     "frame=%llu window=polar input_to_paint_ms=%.2f polar_state=%llu state_to_paint_ms=%.2f "
                     "polar_ms=%.2f\n",
                     ++m_frames, msBetween(m_input, now), (unsigned long long)m_polarGeneration,
                     msBetween(m_polarMade, now), m_polarMs);
    }

private:
    Clock::time_point m_input = Clock::now();
    unsigned long long m_frames = 0;
    uint64_t m_polarGeneration = 0;
    Clock::time_point m_polarMade = Clock::now();
    double m_polarMs = 0;
};

} // namespace

int RunVelmora(QApplication &app)
{
    const ProgramFolders folders = FindProgramFolders(QApplication::applicationDirPath());
    const QString &settingsFolder = folders.settings;
    auto *form1 = new TForm1(folders.program);
    form1->DataFolder = folders.data;
    form1->Installed = folders.installed;
    if (folders.installed) {
        // nothing can be written beside an installed program
        MainController &c = form1->Controller();
        c.OpenDialog1Dir = c.SaveDialog1Dir = c.OpenDialog2Dir = c.SaveDialog2Dir = QDir::homePath().toStdString();
    }
    form1->Controller().Recent().Attach(
        QDir(folders.settings).filePath(QString::fromUtf8(RecentFiles::kFileName)).toStdString());
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
    const QString polarSettings = QDir(settingsFolder).filePath(QString::fromUtf8(kPolarSettingsFileName));
    const PolarWindowSettings polarPlace = ReadPolarWindowSettings(polarSettings.toStdString());
    polars->ApplySettings(polarPlace);
    KeepOnScreen(*polars);
    // Analyses of point edits and the polars run on worker threads; their
    // results reach the GUI thread through the main window's event queue
    // (and are dropped with it).
    auto post = [form1](BackgroundRunner::Apply apply) {
        QMetaObject::invokeMethod(form1, std::move(apply), Qt::QueuedConnection);
    };
    auto analysisRunner = std::make_unique<ThreadedRunner>(post);
    auto polarRunner = std::make_unique<ThreadedRunner>(post, RunnerPriority::Low);
    form1->Controller().SetAnalysisRunner(analysisRunner.get());
    auto timing = std::make_shared<FrameTiming>();
    auto polarComputer = std::make_shared<PolarComputer>();
    polarComputer->SetPanelShare(form1->Controller().SharedPanels());
    auto refreshPolars = [form1, polars, polarComputer, timing, runner = polarRunner.get()] {
        if (!polars->isVisible())
            return;
        MainController &c = form1->Controller();
        const PolarJob job = polars->Controller().MakeJob(c.Project(), c.SelectedRow(), c.Analysis);
        const auto made = FrameTiming::Clock::now();
        runner->Submit([job, polarComputer, polars, timing, made, runner, gate = c.AnalysesGate()]() -> BackgroundRunner::Apply {
            gate->waitForAnalyses();
            const auto start = FrameTiming::Clock::now();
            // a newer state waiting: stop between batches, show nothing
            PolarResults results = polarComputer->Compute(job, [runner] { return runner->Superseded(); });
            if (results.Superseded)
                return {};
            const double ms = FrameTiming::msBetween(start, FrameTiming::Clock::now());
            return [results, polars, timing, made, ms] {
                if (polars->Controller().Show(results))
                    timing->polarShown(results.Generation, made, ms);
            };
        });
    };
    if (qEnvironmentVariableIntValue("VELMORA_TIMING") == 1) {
        app.installEventFilter(timing.get());
        form1->Chart1->Painted = [form1, timing] { timing->plotPainted(form1->Controller()); };
        polars->Canvas->Painted = [timing] { timing->polarPainted(); };
    }
    polars->RefreshRequested = refreshPolars;
    auto *layers = new BoundaryLayerForm(form1);
    const QString layerSettings = QDir(settingsFolder).filePath(QString::fromUtf8(kBoundaryLayerSettingsFileName));
    const WindowPlace layerPlace = ReadBoundaryLayerWindowSettings(layerSettings.toStdString());
    layers->ApplySettings(layerPlace);
    KeepOnScreen(*layers);
    // the boundary layers on a worker thread of their own, like the polars
    auto layerRunner = std::make_unique<ThreadedRunner>(post, RunnerPriority::Low);
    auto layerComputer = std::make_shared<BoundaryLayerComputer>();
    layerComputer->SetPanelShare(form1->Controller().SharedPanels());
    auto refreshLayers = [form1, layers, layerComputer, runner = layerRunner.get()] {
        if (!layers->isVisible())
            return;
        MainController &c = form1->Controller();
        const BoundaryLayerJob job = layers->Controller().MakeJob(c.Project(), c.SelectedRow(), c.Analysis);
        runner->Submit([job, layerComputer, layers, gate = c.AnalysesGate()]() -> BackgroundRunner::Apply {
            gate->waitForAnalyses();
            BoundaryLayerResults results = layerComputer->Compute(job);
            return [results = std::move(results), layers]() mutable { layers->Controller().Show(std::move(results)); };
        });
    };
    layers->RefreshRequested = refreshLayers;
    form1->Controller().OnAnalysisRefreshed = [refreshPolars, refreshLayers] {
        refreshPolars();
        refreshLayers();
    };
    form1->ShowBoundaryLayerWindow = [layers] {
        layers->show();
        layers->raise();
        layers->activateWindow();
    };
    form1->ShowPolarWindow = [polars] {
        polars->show();
        polars->raise();
        polars->activateWindow();
    };

    ReadSettings(*form1, *form3, SettingsPath(settingsFolder));
    TFontSettings font;
    if (ReadFontSettingsFile(FontSettingsPath(settingsFolder).toStdString(), font))
        ApplyFontSettings(font);

    // the main window ends the program even while other windows are open
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(form1, &TForm1::closed, &app, &QApplication::quit);
    // closing the main window takes its other windows along: their state counts from before
    PolarWindowSettings polarsOnClose = polars->CurrentSettings();
    WindowPlace layersOnClose = layers->CurrentSettings();
    OnCloseRequest(*form1, [&polarsOnClose, polars, &layersOnClose, layers] {
        polarsOnClose = polars->CurrentSettings();
        layersOnClose = layers->CurrentSettings();
    });
    form1->show();
    if (polarPlace.Visible)
        polars->show();
    if (layerPlace.Visible)
        layers->show();
    // files named on the command line (a file manager, the desktop entry)
    std::vector<std::string> given;
    for (const QString &arg : app.arguments().mid(1)) {
        if (!arg.startsWith(QLatin1Char('-')))
            given.push_back(QFileInfo(arg).absoluteFilePath().toStdString());
    }
    if (!given.empty()) {
        try {
            form1->Controller().OpenFiles(given);
        } catch (const UserError &e) {
            form1->ShowError(e.what());
        }
    }
    const int status = app.exec();

    form1->Controller().SetAnalysisRunner(nullptr);
    form1->Controller().AnalysesGate()->release();
    analysisRunner.reset();
    polarRunner.reset();
    layerRunner.reset();
    std::string error;
    if (!WriteSettings(*form1, *form3, SettingsPath(settingsFolder), error))
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"), messageText(error));
    try {
        WritePolarWindowSettings(polarSettings.toStdString(), polarsOnClose);
        WriteBoundaryLayerWindowSettings(layerSettings.toStdString(), layersOnClose);
    } catch (const UserError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Velmora"), messageText(e.what()));
    }
    delete form1;
    return status;
}

} // namespace velmora

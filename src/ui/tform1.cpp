// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tform1.h"

#include "app/designcommands.h"
#include "model/errors.h"
#include "ui/chartwidget.h"
#include "ui/checklistbox.h"
#include "ui/coordinatewindow.h"
#include "ui/designdialog.h"
#include "ui/editfield.h"
#include "ui/formresizerqt.h"
#include "ui/tform4.h"
#include "ui/qtconvert.h"
#include "ui/wheelstepsample.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLocale>
#include <QWheelEvent>
#include <QSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora {

namespace {

// Qt's name filters match case-sensitively here, unlike the Windows dialogs
// the files come from: offer every spelling of each ending.
QString nameFilter(const FileDialogSetup &setup)
{
    QStringList patterns;
    for (const QString &pattern : QString::fromStdString(setup.FilterPattern).split(QLatin1Char(';'))) {
        const QString p = pattern.trimmed();
        for (const QString &variant : {p, p.toLower(), p.toUpper(),
                                       p.left(2) + p.mid(2, 1).toUpper() + p.mid(3).toLower()}) {
            if (!patterns.contains(variant))
                patterns << variant;
        }
    }
    return QString::fromStdString(setup.FilterDescription) + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
        + QStringLiteral(");;Alle Dateien (*)");
}

// Gives each entry of a menu its own Alt letter: the first free start of a
// word, else the first free letter; letters already chosen are kept.
void assignMnemonics(QMenu *menu)
{
    QString used;
    const QList<QAction *> actions = menu->actions();
    for (QAction *a : actions) {
        const int amp = a->text().indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < a->text().size())
            used += a->text().at(amp + 1).toLower();
    }
    for (QAction *a : actions) {
        if (a->menu())
            assignMnemonics(a->menu());
        const QString text = a->text();
        if (a->isSeparator() || text.isEmpty() || text.contains(QLatin1Char('&')))
            continue;
        int pick = -1;
        for (int pass = 0; pass < 2 && pick < 0; ++pass) {
            for (int i = 0; i < text.size() && pick < 0; ++i) {
                const QChar ch = text.at(i).toLower();
                const bool wordStart = i == 0 || !text.at(i - 1).isLetter();
                if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z') && !used.contains(ch) && (pass == 1 || wordStart))
                    pick = i;
            }
        }
        if (pick >= 0) {
            used += text.at(pick).toLower();
            a->setText(text.left(pick) + QLatin1Char('&') + text.mid(pick));
        }
    }
}

QToolButton *pictureButton(QWidget *parent, const QString &name, const QString &glyph, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(glyph);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TForm1::TForm1(const QString &programFolder, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora "));
    DataFolder = programFolder;
    setAcceptDrops(true);
    m_controller = std::make_unique<MainController>(*this, QDir::toNativeSeparators(programFolder).toStdString());

    CheckListBox1 = new CheckListBox(*m_controller);
    Chart1 = new ChartWidget(*m_controller);
    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(CheckListBox1);
    Splitter1->addWidget(Chart1);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({170, 842});

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter1, 1);
    m_panel = buildPanel();
    layout->addWidget(m_panel);
    setCentralWidget(central);

    StatusPanel0 = new QLabel;
    StatusPanel0->setMinimumWidth(400);
    StatusPanel1 = new QLabel;
    StatusPanel1->setMinimumWidth(200);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);

    buildMenus();
    resize(1012, 714);
    // smaller, the captions of the control panel become too small to read
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    const QString dec = QLocale().decimalPoint();
    m_controller->LocaleDecimal = dec == QStringLiteral(",") ? ',' : '.';
    Chart1->F4Held = [this] { return m_f4Held; };
    Chart1->Guarded = [this](const std::function<void()> &fn) { runGuarded(fn); };
    qApp->installEventFilter(this);

    applyToolTips();
    captureLayout(true);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { captureLayout(false); });
}

void TForm1::captureLayout(bool scaleFonts)
{
    delete m_resizer;
    QList<QWidget *> controls{m_panel};
    for (QWidget *w : m_panel->findChildren<QWidget *>()) {
        if (w->parentWidget() == m_panel || qobject_cast<QGroupBox *>(w->parentWidget()))
            controls.append(w);
    }
    // the list and the plot are placed by the splitter; their fonts scale too
    m_resizer = new QtFormResizer(this, scaleFonts, 2, 20, controls, m_panel, {CheckListBox1, Chart1},
                                  scaleFonts);
}

TForm1::~TForm1()
{
    // it watches the plot and reads the controller, which go before the children
    delete m_coordinateWindow;
}

void TForm1::setProfileInfoRefresh(std::function<void()> refresh)
{
    m_controller->OnProfileInfoRefresh = std::move(refresh);
}

void TForm1::applyToolTips()
{
    const std::pair<QWidget *, const char *> tips[] = {
        {CheckListBox1, "Profilliste: Klick wählt das Profil, Häkchen zeigt oder verbirgt es, Rechtsklick hebt die Auswahl auf; \"# \" = Punkte geändert"},
        {SpeedButton1, "Vergrößern: zoomt um 5 % in die Grafik"},
        {SpeedButton2, "Gesamtansicht: zeigt alle Profile, x und y im gleichen Maßstab"},
        {SpeedButton3, "Verkleinern: zoomt um 5 % aus der Grafik"},
        {SpeedButton4, "Punkte demarkieren: hebt Markierung und aktiven Punkt des Profils auf"},
        {CheckBox1, "Fadenkreuz: Linien durch die Mausposition"},
        {CheckBox2, "Gitter: Gitterlinien der Achsen"},
        {CheckBox3, "Neue Punkte: Kreuze auf Punkten, die das Programm eingefügt hat"},
        {CheckBox7, "Kreis um Prof-Punkte: Kreise auf den Punkten des gewählten Profils"},
        {CheckBox8, "Mauskoordinaten: x und y der Maus (in Profiltiefen) neben dem Profilnamen"},
        {Edit4, "Name des gewählten Profils (Eintrag in der Liste); Enter oder Verlassen übernimmt"},
        {Edit5, "Überschrift des gewählten Profils (erste Zeile der Koordinaten-Datei)"},
        {Edit1, "X des aktiven Punktes in Profiltiefen; Enter oder Verlassen übernimmt"},
        {Edit2, "Y des aktiven Punktes in Profiltiefen; Enter oder Verlassen übernimmt"},
        {PaintBox1, "Schritt eines Mausrad-Klicks: die rote Stelle wird verschoben"},
        {Button6, "Mausrad-Schritt zehnmal größer (F2)"},
        {Button7, "Mausrad-Schritt zehnmal kleiner (F3)"},
        {RadioButton1, "Das Mausrad verschiebt die markierten Punkte in x-Richtung"},
        {RadioButton2, "Das Mausrad verschiebt die markierten Punkte in y-Richtung"},
        {CheckBox4, "v rechnen: Geschwindigkeitsverteilung des gewählten Profils berechnen und zeigen"},
        {Edit6, "Anstellwinkel Alfa in Grad"},
        {Edit7, "Reynoldszahl Re (ohne Einheit)"},
        {Edit8, "ca: Auftriebsbeiwert beim eingestellten Alfa"},
        {Edit9, "cm: Momentenbeiwert um t/4"},
        {Edit10, "cw: Widerstandsbeiwert"},
        {SpinEdit1, "v-Scale: streckt die Geschwindigkeitsverteilung senkrecht (0 = 1:1)"},
        {SpinEdit2, "v-Offset: verschiebt die Geschwindigkeitsverteilung senkrecht (in 1/25 Profiltiefe)"},
        {CheckBox5, "Umschlag rechnen: Umschlagpolare des gewählten Profils über Alfa berechnen"},
        {CheckBox6, "Punkte an: Marken auf den Punkten der Umschlagpolare"},
        {Edit11, "Erster Anstellwinkel der Umschlagpolare in Grad"},
        {Edit12, "Letzter Anstellwinkel der Umschlagpolare in Grad"},
        {Edit13, "Schrittweite des Anstellwinkels in Grad"},
        {SpinEdit3, "Um-Scale: streckt die Umschlagpolare senkrecht"},
        {SpinEdit4, "Um-Offset: verschiebt die Umschlagpolare senkrecht (in 1/25 Profiltiefe)"},
        {RadioButton5, "Ergebnisse für Ober- und Unterseite zeigen"},
        {RadioButton6, "Nur die Ergebnisse der Oberseite zeigen"},
        {RadioButton7, "Nur die Ergebnisse der Unterseite zeigen"},
    };
    for (const auto &[widget, tip] : tips) {
        if (widget)
            widget->setToolTip(QString::fromUtf8(tip));
    }
}

void TForm1::updateTitle()
{
    setWindowTitle(QString::fromStdString(m_controller->WindowTitle()));
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    std::vector<std::string> paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    }
    if (paths.empty())
        return;
    event->acceptProposedAction();
    activateWindow();
    runGuarded([this, paths] { m_controller->OpenFiles(paths); });
}

void TForm1::runGuarded(const std::function<void()> &command)
{
    // a command ends where it failed; what it did before stays
    try {
        command();
    } catch (const UserError &e) {
        ShowError(e.what());
    }
    updateTitle();
}

void TForm1::buildMenus()
{
    MainController &c = *m_controller;
    auto add = [this](QMenu *menu, const char *caption, std::function<void()> fn, bool enabled = true) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, [this, fn] { runGuarded(fn); });
        return a;
    };

    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    add(datei, "Projekt-Datei laden", [&c] { c.ProjektDateiLaden(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    add(datei, "Projekt-Datei dazu laden", [&c] { c.ProjektDateiDazuLaden(); });
    add(datei, "Projekt-Datei speichern", [&c] { c.ProjektDateiSpeichern(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    add(datei, "Projekt-Datei speichern unter", [&c] { c.ProjektDateiSpeichernUnter(); });
    datei->addSeparator();
    add(datei, "Profil laden", [&c] { c.ProfilLaden(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    add(datei, "Profil speichern unter", [&c] { c.ProfilSpeichernUnter(); });
    datei->addSeparator();
    QMenu *recent = datei->addMenu(QStringLiteral("Zuletzt geöffnet"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] {
        recent->clear();
        for (const std::string &path : m_controller->Recent().Paths()) {
            const QString p = QString::fromStdString(path);
            QAction *a = recent->addAction(QFileInfo(p).fileName() + QStringLiteral("  (") + QFileInfo(p).path() + QStringLiteral(")"));
            connect(a, &QAction::triggered, this, [this, path] { runGuarded([this, path] { m_controller->OpenRecent(path); }); });
        }
        if (recent->isEmpty())
            recent->addAction(QStringLiteral("(keine)"))->setEnabled(false);
    });
    datei->addSeparator();
    add(datei, "Programm schließen", [&c] { c.ProgrammSchliessen(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *ansicht = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    add(ansicht, "Alle Häkchen aus", [&c] { c.AlleHaekchen(false); });
    add(ansicht, "Alle Häkchen an", [&c] { c.AlleHaekchen(true); });
    add(ansicht, "Profil nach vorne bringen", [&c] { c.ProfilNachVorneBringen(); });
    add(ansicht, "Sortiere Liste nach Namen", [&c] { c.SortiereListeNachNamen(); });
    ansicht->addSeparator();
    add(ansicht, "Fenster Profileigenschaften/Fehler", [this] {
        if (m_profileInfoWindow) {
            m_profileInfoWindow->show();
            m_profileInfoWindow->raise();
            m_profileInfoWindow->activateWindow();
        }
    });
    add(ansicht, "Fenster Polaren", [this] {
        if (ShowPolarWindow)
            ShowPolarWindow();
    });
    add(ansicht, "Fenster Grenzschicht", [this] {
        if (ShowBoundaryLayerWindow)
            ShowBoundaryLayerWindow();
    });
    add(ansicht, "Fenster Koordinaten", [this, &c] {
        if (!m_coordinateWindow) {
            m_coordinateWindow = new CoordinateWindow(c, Chart1, this);
            // Ctrl+Z and Ctrl+Y work in the table's window too
            m_coordinateWindow->addActions({m_undoAction, m_redoAction});
        }
        m_coordinateWindow->show();
        m_coordinateWindow->raise();
        m_coordinateWindow->activateWindow();
    });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_undoAction = add(edit, "Rückgängig", [&c] { c.Rueckgaengig(); });
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = add(edit, "Wiederholen", [&c] { c.Wiederholen(); });
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    c.History().OnChanged = [this] { updateUndoActions(); };
    updateUndoActions();
    edit->addSeparator();
    add(edit, "Profil-Farbe ändern", [&c] { c.ProfilFarbeAendern(); });
    add(edit, "Profil entfernen", [&c] { c.ProfilEntfernen(); });
    add(edit, "Alle Profile entfernen", [&c] { c.AlleProfileEntfernen(); });
    edit->addSeparator();
    add(edit, "Punkte demarkieren", [&c] { c.PunkteDemarkieren(false); });
    add(edit, "Markierte Punkte löschen", [&c] { c.MarkiertePunkteLoeschen(); })->setShortcut(QKeySequence(Qt::Key_Delete));
    edit->addSeparator();
    add(edit, "Kopie erzeugen", [&c] { c.KopieErzeugen(false); });
    add(edit, "Inverse Kopie erzeugen", [&c] { c.KopieErzeugen(true); });
    add(edit, "Oberseite spiegeln, Unterseite weg", [&c] { c.SeiteSpiegeln(true); });
    add(edit, "Unterseite spiegeln, Oberseite weg", [&c] { c.SeiteSpiegeln(false); });
    edit->addSeparator();
    add(edit, "Profil in Zwischenspeicher merken", [&c] { c.ProfilInZwischenspeicher(); });
    m_insertClipboardLowerSide =
        add(edit, "Unterseite des Zwischenspeicher-Profiles einbauen", [&c] { c.UnterseiteEinbauen(); }, false);

    QMenu *funktionen = menuBar()->addMenu(QStringLiteral("&Funktionen"));
    add(funktionen, "Profil Ausrichten und Normieren", [&c] { c.ProfilAusrichtenUndNormieren(false); });
    add(funktionen, "Profil Ausrichten und Normieren mit Hinterkanten-Extrapolation X=1",
        [&c] { c.ProfilAusrichtenUndNormieren(true); });
    funktionen->addSeparator();
    add(funktionen, "Profil automatisch Glätten (COS-Verteilung)", [&c] { c.ProfilGlaetten(); });
    add(funktionen, "Zwischenpunkte bei t=0.5 einfügen Polynom 3'", [&c] { c.ZwischenpunkteEinfuegen(); });
    add(funktionen, "Punkte neu verteilen (Ober/Unterseite getrennt) Polynom 3'", [&c] { c.PunkteNeuVerteilen(); });
    funktionen->addSeparator();
    m_designView = std::make_unique<QtDesignView>(this);
    m_design = std::make_unique<DesignCommands>(c, *m_designView);
    DesignCommands &d = *m_design;
    add(funktionen, "Dicke und Wölbung ändern…", [&d] { d.DickeUndWoelbungAendern(); });
    add(funktionen, "Endleistendicke…", [&d] { d.Endleistendicke(); });
    add(funktionen, "Nasenradius…", [&d] { d.Nasenradius(); });
    add(funktionen, "Klappe…", [&d] { d.Klappe(); });
    add(funktionen, "Profile mischen…", [&d] { d.ProfileMischen(); });

    QMenu *einstellungen = menuBar()->addMenu(QStringLiteral("Ei&nstellungen"));
    add(einstellungen, "Mausrad DEC /10 (F2)", [this] { changeWheelStep(-1); });
    add(einstellungen, "Mausrad INC *10  (F3)", [this] { changeWheelStep(+1); });
    QMenu *grafik = einstellungen->addMenu(QStringLiteral("Grafik"));
    add(grafik, "Hintergrundfarbe", [&c] { c.Hintergrundfarbe(); });

    QMenu *hilfe = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    add(hilfe, "Hilfe öffnen (F1)", [this] { OpenHelpDocument(QStringLiteral("Editor Hilfe.pdf")); });
    add(hilfe, "Editor Beispiel", [this] { OpenHelpDocument(QStringLiteral("Editor Beispiel.pdf")); });
    add(hilfe, "Info", [this] {
        if (m_infoWindow) {
            m_infoWindow->setWindowModality(Qt::ApplicationModal);
            m_infoWindow->show();
        }
    });
    for (QAction *m : menuBar()->actions()) {
        if (m->menu())
            assignMnemonics(m->menu());
    }
}

void TForm1::updateUndoActions()
{
    const UndoHistory &h = m_controller->History();
    auto caption = [](const char *verb, const std::string &step) {
        // the Alt letters R and W stay with these two entries
        return step.empty() ? QString::fromUtf8(verb) : QString::fromUtf8(verb) + QStringLiteral(": ") + QString::fromStdString(step);
    };
    m_undoAction->setText(caption("&Rückgängig", h.UndoLabel()));
    m_undoAction->setEnabled(h.CanUndo());
    updateTitle();
    m_redoAction->setText(caption("&Wiederholen", h.RedoLabel()));
    m_redoAction->setEnabled(h.CanRedo());
}

QWidget *TForm1::buildPanel()
{
    MainController &c = *m_controller;
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(200);
    QFont f = panel->font();
    f.setBold(true);
    f.setPixelSize(11);
    panel->setFont(f);

    // design positions; captions in this platform's font may need more width
    auto place = [](QWidget *w, int left, int top, int width = -1, int height = -1) {
        const QSize hint = w->sizeHint();
        const bool button = qobject_cast<QPushButton *>(w) || qobject_cast<QToolButton *>(w);
        w->setGeometry(left, top, button && width > 0 ? width : std::max(width, hint.width()),
                       height < 0 ? hint.height() : height);
        return w;
    };
    auto label = [&](const char *text, int left, int top) {
        place(new QLabel(QString::fromUtf8(text), panel), left, top);
    };

    SpeedButton4 = new QToolButton(panel);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setText(QStringLiteral("Punkte demarkieren"));
    connect(SpeedButton4, &QToolButton::clicked, this, [&c] { c.PunkteDemarkieren(true); });
    place(SpeedButton4, 8, 6, std::max(129, SpeedButton4->sizeHint().width()), 22);
    const int shift = SpeedButton4->width() - 129;
    SpeedButton1 = pictureButton(panel, QStringLiteral("SpeedButton1"), QStringLiteral("+"), QStringLiteral("Vergrößern"));
    SpeedButton2 = pictureButton(panel, QStringLiteral("SpeedButton2"), QStringLiteral("\u25A1"), QStringLiteral("Gesamtansicht"));
    SpeedButton3 = pictureButton(panel, QStringLiteral("SpeedButton3"), QStringLiteral("\u2212"), QStringLiteral("Verkleinern"));
    place(SpeedButton1, 144 + shift, 6, 25, 25);
    place(SpeedButton2, 176 + shift, 6, 25, 25);
    place(SpeedButton3, 208 + shift, 6, 25, 25);
    connect(SpeedButton1, &QToolButton::clicked, this, [&c] { c.ZoomIn(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [&c] { c.ResetView(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [&c] { c.ZoomOut(); });

    auto check = [&](QCheckBox *&box, const char *name, const char *caption, int top, int width,
                     bool *option, int redraws) {
        box = new QCheckBox(QString::fromUtf8(caption), panel);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(*option);
        place(box, 8, top, width, 17);
        connect(box, &QCheckBox::toggled, this, [this, option, redraws](bool on) {
            *option = on;
            for (int i = 0; i < redraws; ++i)
                Chart1->repaint();
        });
    };
    // the column is free up to the active point's fields: room for every
    // caption beside its square, also at the smallest window size
    check(CheckBox1, "CheckBox1", "Fadenkreuz", 30, 190, &c.Display.Crosshair, 1);
    check(CheckBox2, "CheckBox2", "Gitter", 45, 190, &c.Display.Grid, 2);
    check(CheckBox3, "CheckBox3", "Neue Punkte", 60, 190, &c.Display.NewPoints, 2);
    check(CheckBox7, "CheckBox7", "Kreis um Prof-Punkte", 75, 190, &c.Display.Circles, 2);
    check(CheckBox8, "CheckBox8", "Mauskoordinaten", 90, 190, &c.Display.MouseCoords, 1);

    label("Profil - Dateiname", 8, 110);
    Edit4 = new QLineEdit(panel);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    place(Edit4, 8, 125, 201, 21);
    label("Profil - Überschrift (erste Zeile)", 8, 150);
    Edit5 = new QLineEdit(panel);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    place(Edit5, 8, 165, 201, 21);
    connect(Edit4, &QLineEdit::editingFinished, this, [this, &c] { c.NameFieldDone(Edit4->text().toStdString()); });
    connect(Edit5, &QLineEdit::editingFinished, this, [this, &c] { c.TitleFieldDone(Edit5->text().toStdString()); });

    label("Aktiver Punkt", 312, 4);
    label("X", 280, 24);
    label("Y", 280, 44);
    Edit1 = new EditField(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    place(Edit1, 296, 20, 121, 21);
    Edit2 = new EditField(panel);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    place(Edit2, 296, 40, 121, 21);
    for (EditField *e : {Edit1, Edit2}) {
        const bool xField = e == Edit1;
        connect(e, &EditField::exited, this, [this, e, xField] {
            runGuarded([this, e, xField] { m_controller->ActivePointFieldDone(xField, e->text().toStdString()); });
            e->setModified(false);
            m_keyPreview = true;
        });
        // Enter ends the typing: the list takes the focus, the field is left
        connect(e, &QLineEdit::returnPressed, this, [this] { CheckListBox1->setFocus(Qt::OtherFocusReason); });
    }

    label("Nachkommastelle", 432, 4);
    PaintBox1 = new WheelStepSample(c.Project().WheelStep, panel);
    place(PaintBox1, 424, 20, 105, 19);
    Button6 = new QPushButton(QStringLiteral("<"), panel);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button7 = new QPushButton(QStringLiteral(">"), panel);
    Button7->setObjectName(QStringLiteral("Button7"));
    QFont big = f;
    big.setPixelSize(13);
    Button6->setFont(big);
    Button7->setFont(big);
    place(Button6, 434, 40, 40, 21);
    place(Button7, 478, 40, 40, 21);
    connect(Button6, &QPushButton::clicked, this, [this] { changeWheelStep(-1); });
    connect(Button7, &QPushButton::clicked, this, [this] { changeWheelStep(+1); });

    RadioButton1 = new QRadioButton(QStringLiteral("Verschiebung horizontal ( X-Richtung )"), panel);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    place(RadioButton1, 280, 68, 268, 17);
    RadioButton2 = new QRadioButton(QStringLiteral("Verschiebung vertikal ( Y-Richtung )"), panel);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    place(RadioButton2, 280, 88, 268, 17);
    RadioButton2->setChecked(true);
    connect(RadioButton1, &QRadioButton::toggled, this, [&c](bool on) { c.MoveHorizontal = on; });

    buildAnalysisBoxes(panel);
    return panel;
}

void TForm1::buildAnalysisBoxes(QWidget *panel)
{
    MainController &c = *m_controller;
    AnalysisInputs &in = c.Analysis;
    auto at = [](QWidget *w, int left, int top, int width = -1, int height = 21) {
        w->setGeometry(left, top, width < 0 ? w->sizeHint().width() : width, height);
    };
    auto label = [&](QWidget *parent, const char *text, int left, int top) {
        auto *l = new QLabel(QString::fromUtf8(text), parent);
        at(l, left, top, -1, 17);
    };
    auto field = [&](QWidget *parent, const char *name, const std::string &text, int left, int top, int width) {
        auto *e = new EditField(QString::fromStdString(text), parent);
        e->setObjectName(QString::fromLatin1(name));
        at(e, left, top, width);
        return e;
    };
    auto spin = [&](QWidget *parent, const char *name, int value, int left, int top) {
        auto *sp = new QSpinBox(parent);
        sp->setObjectName(QString::fromLatin1(name));
        sp->setRange(-1000000, 1000000);
        sp->setValue(value);
        at(sp, left, top, 70);
        return sp;
    };
    // the commands run when a field is left or Enter is pressed, never per keystroke
    auto guarded = [this](bool velocity, bool polar, bool swallow = false) {
        return [this, velocity, polar, swallow] { m_controller->AnalysisInputChanged(velocity, polar, swallow); };
    };

    auto *v = new QGroupBox(QStringLiteral("v-Verteilung"), panel);
    v->setGeometry(552, 2, 220, 196);
    CheckBox4 = new QCheckBox(QStringLiteral("v  rechnen"), v);
    CheckBox4->setObjectName(QStringLiteral("CheckBox4"));
    CheckBox4->setChecked(in.VRechnen);
    at(CheckBox4, 10, 20, 130, 17);
    label(v, "Alfa [°] ", 10, 46);
    Edit6 = field(v, "Edit6", in.AlfaText, 70, 44, 70);
    label(v, "Re", 10, 70);
    Edit7 = field(v, "Edit7", in.ReText, 70, 68, 70);
    label(v, "ca", 10, 96);
    label(v, "cm", 10, 120);
    label(v, "cw", 10, 144);
    for (QLineEdit **e : {&Edit8, &Edit9, &Edit10}) {
        *e = new QLineEdit(v);
        (*e)->setReadOnly(true);
        (*e)->setFocusPolicy(Qt::ClickFocus);
    }
    Edit8->setObjectName(QStringLiteral("Edit8"));
    Edit9->setObjectName(QStringLiteral("Edit9"));
    Edit10->setObjectName(QStringLiteral("Edit10"));
    // beside the spin boxes of the right column, not under them
    at(Edit8, 70, 94, 70);
    at(Edit9, 70, 118, 70);
    at(Edit10, 70, 142, 70);
    label(v, "v-Scale", 146, 20);
    SpinEdit1 = spin(v, "SpinEdit1", in.VScale, 146, 36);
    label(v, "v-Offset", 146, 62);
    SpinEdit2 = spin(v, "SpinEdit2", in.VOffset, 146, 78);

    connect(CheckBox4, &QCheckBox::toggled, this, [&in, f = guarded(true, true)](bool on) {
        in.VRechnen = on;
        f();
    });
    connect(Edit6, &QLineEdit::textChanged, this, [&in](const QString &t) { in.AlfaText = t.toStdString(); });
    connect(Edit7, &QLineEdit::textChanged, this, [&in](const QString &t) { in.ReText = t.toStdString(); });
    connect(Edit6, &EditField::exited, this, guarded(true, true));
    connect(Edit6, &QLineEdit::returnPressed, this, guarded(true, false));
    connect(Edit7, &EditField::exited, this, guarded(true, true));
    connect(Edit7, &QLineEdit::returnPressed, this, guarded(true, true));
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [&in, f = guarded(true, false)](int value) {
        in.VScale = value;
        f();
    });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [&in, f = guarded(true, false, true)](int value) {
        in.VOffset = value;
        f();
    });

    auto *u = new QGroupBox(QStringLiteral("Umschlag"), panel);
    u->setGeometry(778, 2, 226, 140);
    CheckBox5 = new QCheckBox(QStringLiteral("Umschlag rechnen"), u);
    CheckBox5->setObjectName(QStringLiteral("CheckBox5"));
    CheckBox5->setChecked(in.UmRechnen);
    at(CheckBox5, 10, 20, 206, 17);
    label(u, "Alfa Start [°]", 10, 46);
    Edit11 = field(u, "Edit11", in.StartText, 100, 44, 50);
    label(u, "Alfa Ende [°]", 10, 70);
    Edit12 = field(u, "Edit12", in.EndText, 100, 68, 50);
    label(u, "Alfa Step [°]", 10, 94);
    Edit13 = field(u, "Edit13", in.StepText, 100, 92, 50);
    label(u, "Um-Scale", 160, 42);
    SpinEdit3 = spin(u, "SpinEdit3", in.UmScale, 160, 58);
    label(u, "Um-Offset", 160, 84);
    SpinEdit4 = spin(u, "SpinEdit4", in.UmOffset, 160, 100);
    // a fixed width would keep them from shrinking with their group
    SpinEdit3->resize(62, SpinEdit3->height());
    SpinEdit4->resize(62, SpinEdit4->height());
    CheckBox6 = new QCheckBox(QStringLiteral("Punkte an"), u);
    CheckBox6->setObjectName(QStringLiteral("CheckBox6"));
    CheckBox6->setChecked(c.Display.PointsOn);
    at(CheckBox6, 10, 118, 140, 17);

    connect(CheckBox5, &QCheckBox::toggled, this, [&in, f = guarded(false, true)](bool on) {
        in.UmRechnen = on;
        f();
    });
    connect(CheckBox6, &QCheckBox::toggled, this, [&c, f = guarded(false, true)](bool on) {
        c.Display.PointsOn = on;
        f();
    });
    for (auto [edit, text] : {std::pair{Edit11, &in.StartText}, std::pair{Edit12, &in.EndText},
                              std::pair{Edit13, &in.StepText}}) {
        connect(edit, &QLineEdit::textChanged, this, [text](const QString &t) { *text = t.toStdString(); });
        connect(edit, &EditField::exited, this, guarded(false, true));
        connect(edit, &QLineEdit::returnPressed, this, guarded(false, true));
    }
    connect(SpinEdit3, &QSpinBox::valueChanged, this, [&in, f = guarded(false, true)](int value) {
        in.UmScale = value;
        f();
    });
    connect(SpinEdit4, &QSpinBox::valueChanged, this, [&in, f = guarded(false, true)](int value) {
        in.UmOffset = value;
        f();
    });

    auto *sides = new QGroupBox(QStringLiteral("v\\Um Sichtbar"), panel);
    sides->setGeometry(778, 146, 226, 50);
    RadioButton5 = new QRadioButton(QStringLiteral("oben/unten"), sides);
    RadioButton6 = new QRadioButton(QStringLiteral("oben"), sides);
    RadioButton7 = new QRadioButton(QStringLiteral("unten"), sides);
    RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
    RadioButton6->setObjectName(QStringLiteral("RadioButton6"));
    RadioButton7->setObjectName(QStringLiteral("RadioButton7"));
    at(RadioButton5, 5, 22, 94, 17);
    at(RadioButton6, 100, 22, 60, 17);
    at(RadioButton7, 161, 22, 63, 17);
    RadioButton5->setChecked(true);
    connect(RadioButton5, &QRadioButton::clicked, this, [&c] { c.SideClicked(ShownSide::Both); });
    connect(RadioButton6, &QRadioButton::clicked, this, [&c] { c.SideClicked(ShownSide::Upper); });
    connect(RadioButton7, &QRadioButton::clicked, this, [&c] { c.SideClicked(ShownSide::Lower); });
}

void TForm1::changeWheelStep(int delta)
{
    if (delta < 0)
        m_controller->WheelStepDec();
    else
        m_controller->WheelStepInc();
    PaintBox1->update();
}

void TForm1::OpenHelpDocument(const QString &document)
{
    // a missing document is not reported: the program simply goes on
    const QString path = DataFolder + QStringLiteral("/Velmora_Hilfe/") + document;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TForm1::previewKey(QObject *target, const QKeyEvent *key)
{
    // the window sees every key first, until the user types into a field
    bool handled = false;
    if (m_keyPreview) {
        switch (key->key()) {
        case Qt::Key_F1:
            OpenHelpDocument(QStringLiteral("Editor Hilfe.pdf"));
            handled = true;
            break;
        case Qt::Key_F2:
            changeWheelStep(-1);
            handled = true;
            break;
        case Qt::Key_F3:
            changeWheelStep(+1);
            handled = true;
            break;
        default:
            break;
        }
        PaintBox1->update();
    }
    for (QWidget *field : {static_cast<QWidget *>(Edit1), static_cast<QWidget *>(Edit2),
                           static_cast<QWidget *>(Edit6), static_cast<QWidget *>(Edit7),
                           static_cast<QWidget *>(Edit11), static_cast<QWidget *>(Edit12),
                           static_cast<QWidget *>(Edit13)}) {
        if (target == field)
            m_keyPreview = false;
    }
    return handled;
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    const auto *widget = qobject_cast<QWidget *>(watched);
    const bool inside = widget && (widget == this || isAncestorOf(widget));
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F4 && !key->isAutoRepeat()) {
            m_f4Held = event->type() == QEvent::KeyPress;
            Chart1->update();
        }
        // a key is seen once, where it is first delivered: the focused widget
        if (event->type() == QEvent::KeyPress && inside && watched == QApplication::focusWidget()
            && previewKey(watched, key))
            return true;
        break;
    }
    case QEvent::MouseMove:
        if (watched == Chart1)
            m_keyPreview = true;
        break;
    case QEvent::Wheel:
        if (inside) {
            // the wheel moves points wherever it turns in this window
            const auto *wheel = static_cast<QWheelEvent *>(event);
            const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
            if (delta != 0)
                runGuarded([this, delta] { m_controller->FormMouseWheel(delta); });
            return true;
        }
        break;
    case QEvent::WindowDeactivate:
        if (widget == this)
            m_f4Held = false;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_controller->CloseQuery()) {
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

// --- MainView ------------------------------------------------------------

void TForm1::ShowInfo(const std::string &text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), messageText(text),
                    QMessageBox::Ok, this);
    box.exec();
}

bool TForm1::AskYesNo(const std::string &text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), messageText(text),
                    QMessageBox::NoButton, this);
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void TForm1::ShowError(const std::string &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Velmora"), messageText(text), QMessageBox::Ok, this);
    box.exec();
}

std::vector<std::string> TForm1::ChooseOpenFiles(const FileDialogSetup &setup, const std::string &folder)
{
    QFileDialog dialog(this, fromUtf8(setup.Title), fromUtf8(folder), nameFilter(setup));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(setup.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(fromUtf8(setup.DefaultSuffix));
    if (Installed)
        dialog.setSidebarUrls(dialog.sidebarUrls() << QUrl::fromLocalFile(DataFolder));
    std::vector<std::string> files;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString &f : dialog.selectedFiles())
            files.push_back(f.toStdString());
    }
    return files;
}

std::optional<std::string> TForm1::ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                                  const std::string &proposedName)
{
    QFileDialog dialog(this, fromUtf8(setup.Title), fromUtf8(folder), nameFilter(setup));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(fromUtf8(setup.DefaultSuffix));
    if (!proposedName.empty())
        dialog.selectFile(fromUtf8(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<TColor> TForm1::ChooseColour(TColor initial)
{
    const QColor c = QColorDialog::getColor(toQColor(initial), this);
    if (!c.isValid())
        return std::nullopt;
    return fromQColor(c);
}

std::optional<std::string> TForm1::AskText(const std::string &caption, const std::string &prompt,
                                           const std::string &preset)
{
    QInputDialog box(this);
    box.setWindowTitle(fromUtf8(caption));
    box.setLabelText(fromUtf8(prompt));
    box.setTextValue(fromUtf8(preset));
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue().toStdString();
}

void TForm1::ShowRedistributionDialog(
    const std::function<bool(const std::string &, StationDistribution)> &accept)
{
    if (!m_redistributionDialog)
        return;
    // OK with a count that does not work keeps the dialog open
    while (m_redistributionDialog->exec() == QDialog::Accepted) {
        if (accept(m_redistributionDialog->Edit1->text().toStdString(), m_redistributionDialog->distribution()))
            break;
    }
}

void TForm1::RepaintList()
{
    CheckListBox1->refresh();
    updateTitle();
}

void TForm1::RedrawPlot()
{
    Chart1->update();
}

void TForm1::SetNameTitleFields(const std::string &name, const std::string &title)
{
    Edit4->setText(fromUtf8(name));
    Edit5->setText(fromUtf8(title));
}

void TForm1::SetStatusText(int panel, const std::string &text)
{
    QLabel *label = panel == 0 ? StatusPanel0 : StatusPanel1;
    const QString t = fromUtf8(text);
    if (label->text() != t) {
        label->setText(t);
        // a long reason may not fit beside the other panel
        label->setToolTip(t);
    }
}

void TForm1::SetMenuEnabled(MenuEntry entry, bool enabled)
{
    if (entry == MenuEntry::InsertClipboardLowerSide && m_insertClipboardLowerSide)
        m_insertClipboardLowerSide->setEnabled(enabled);
}

void TForm1::CloseMainWindow()
{
    close();
}

void TForm1::SetActivePointFields(const std::string &x, const std::string &y)
{
    // a coordinate being typed is not overwritten by the redraws around it
    for (auto [field, text] : {std::pair{Edit1, &x}, std::pair{Edit2, &y}}) {
        if (field->hasFocus() && field->isModified())
            continue;
        const QString t = fromUtf8(*text);
        if (field->text() != t)
            field->setText(t);
    }
}

void TForm1::ActivePointChanged()
{
    // what was typed belonged to the previous point: the fields show the new one
    for (EditField *field : {Edit1, Edit2})
        field->setModified(false);
}

void TForm1::SetListEnabled(bool enabled)
{
    // Disabling hands the focus to the next control ("Fadenkreuz" would take
    // the Space key): the list takes it back once it is enabled again.
    if (!enabled && CheckListBox1->isEnabled())
        m_listHadFocus = focusWidget() == CheckListBox1;
    CheckListBox1->setEnabled(enabled);
    if (enabled && m_listHadFocus) {
        m_listHadFocus = false;
        CheckListBox1->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::SetResultFields(const std::string &ca, const std::string &cm, const std::string &cw)
{
    Edit8->setText(fromUtf8(ca));
    Edit9->setText(fromUtf8(cm));
    Edit10->setText(fromUtf8(cw));
}

EditField *TForm1::polarField(PolarField field) const
{
    switch (field) {
    case PolarField::Start:
        return Edit11;
    case PolarField::End:
        return Edit12;
    case PolarField::Step:
        break;
    }
    return Edit13;
}

void TForm1::SetPolarFieldAlarm(PolarField field, bool alarm)
{
    polarField(field)->setAlarm(alarm);
}

void TForm1::FocusPolarField(PolarField field)
{
    polarField(field)->setFocus(Qt::OtherFocusReason);
}

} // namespace velmora

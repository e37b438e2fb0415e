// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/polarform.h"

#include "ui/diagramcanvas.h"
#include "ui/qtconvert.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

PolarForm::PolarForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_controller(std::make_unique<PolarWindowController>(*this))
{
    setObjectName(QStringLiteral("FormPolaren"));
    setWindowTitle(QStringLiteral("Polaren"));
    PolarWindowController &c = *m_controller;

    ReEdit = new QLineEdit(fromUtf8(c.ReText));
    ReEdit->setObjectName(QStringLiteral("EditRe"));
    ReEdit->setToolTip(QStringLiteral("Bis zu 5 Reynoldszahlen, getrennt durch Komma oder Leerzeichen"));
    AllCheckBox = new QCheckBox(QStringLiteral("Alle angehakten Profile"));
    AllCheckBox->setObjectName(QStringLiteral("CheckBoxAlle"));
    auto *save = new QPushButton(QStringLiteral("Polare speichern unter"));
    auto *image = new QPushButton(QStringLiteral("Diagramme speichern unter"));
    auto *unzoom = new QPushButton(QStringLiteral("Zoom zurück"));
    StatusLabel = new QLabel;
    StatusLabel->setObjectName(QStringLiteral("StatusPolaren"));
    Canvas = new DiagramCanvas;

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Re-Zahlen")));
    top->addWidget(ReEdit, 1);
    top->addWidget(AllCheckBox);
    top->addSpacing(12);
    top->addWidget(unzoom);
    top->addWidget(save);
    top->addWidget(image);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->addLayout(top);
    layout->addWidget(Canvas, 1);
    layout->addWidget(StatusLabel);

    auto request = [this] {
        if (RefreshRequested)
            RefreshRequested();
    };
    connect(ReEdit, &QLineEdit::editingFinished, this, [this, request] {
        const std::string text = ReEdit->text().toStdString();
        if (text != m_controller->ReText) {
            m_controller->ReText = text;
            request();
        }
    });
    connect(AllCheckBox, &QCheckBox::toggled, this, [this, request](bool on) {
        m_controller->AllChecked = on;
        request();
    });
    connect(save, &QPushButton::clicked, this, [this] { m_controller->PolareSpeichernUnter(); });
    connect(image, &QPushButton::clicked, this, [this] { m_controller->DiagrammeSpeichernUnter(); });
    connect(unzoom, &QPushButton::clicked, this, [this] { m_controller->ResetZoom(-1); });

    Canvas->Scene = [this] { return m_controller->Scene(); };
    Canvas->Resized = [this](int w, int h) { m_controller->Layout(w, h); };
    Canvas->MouseMoved = [this](int x, int y) { m_controller->MouseMove(x, y); };
    Canvas->MouseLeft = [this] { m_controller->MouseLeave(); };
    Canvas->Dragged = [this](int x0, int y0, int x1, int y1) { m_controller->Drag(x0, y0, x1, y1); };
    Canvas->Panned = [this](int x, int y, int dx, int dy) { m_controller->Pan(x, y, dx, dy); };
    Canvas->Wheeled = [this](int x, int y, int notches) {
        m_controller->ZoomPercent(x, y, notches > 0 ? 105 : 95);
    };
    resize(980, 720);
}

PolarForm::~PolarForm() = default;

void PolarForm::ShowInfo(const std::string &text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), messageText(text), QMessageBox::Ok,
                    this);
    box.exec();
}

std::optional<std::string> PolarForm::ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                                     const std::string &proposedName)
{
    QString patterns = fromUtf8(setup.FilterPattern);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    QFileDialog dialog(this, fromUtf8(setup.Title), fromUtf8(folder),
                       fromUtf8(setup.FilterDescription) + QStringLiteral(" (") + patterns + QStringLiteral(")"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(fromUtf8(setup.DefaultSuffix));
    if (!proposedName.empty())
        dialog.selectFile(fromUtf8(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    m_controller->ExportFolder = QFileInfo(chosen).absolutePath().toStdString();
    return chosen.toStdString();
}

bool PolarForm::WritePng(const DiagramScene &scene, const std::string &path)
{
    return SaveScenePng(scene, QString::fromStdString(path));
}

void PolarForm::Repaint()
{
    StatusLabel->setText(fromUtf8(m_controller->StatusText()));
    Canvas->update();
}

void PolarForm::ApplySettings(const PolarWindowSettings &s)
{
    m_controller->ReText = s.ReText;
    m_controller->AllChecked = s.AllChecked;
    ReEdit->setText(fromUtf8(s.ReText));
    AllCheckBox->blockSignals(true);
    AllCheckBox->setChecked(s.AllChecked);
    AllCheckBox->blockSignals(false);
    move(s.Left, s.Top);
    resize(std::max(400, s.Width), std::max(300, s.Height));
}

PolarWindowSettings PolarForm::CurrentSettings() const
{
    PolarWindowSettings s;
    s.Left = pos().x();
    s.Top = pos().y();
    s.Width = width();
    s.Height = height();
    s.Visible = isVisible();
    s.ReText = m_controller->ReText;
    s.AllChecked = m_controller->AllChecked;
    return s;
}

void PolarForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_controller->Visible = true;
    m_controller->Layout(Canvas->width(), Canvas->height());
    if (RefreshRequested)
        RefreshRequested();
}

void PolarForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_controller->Visible = false;
}

} // namespace velmora

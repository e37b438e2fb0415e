// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/polarform.h"

#include "ui/diagramcanvas.h"
#include "ui/qtconvert.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

PolarForm::PolarForm(QWidget *parent)
    : DiagramWindow(parent)
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
    connect(unzoom, &QPushButton::clicked, this, [this] { m_controller->Panel().ResetZoom(-1); });

    wireCanvas(c);
    resize(980, 720);
}

PolarForm::~PolarForm() = default;

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
    applyPlace({s.Top, s.Left, s.Width, s.Height, false, false});
}

PolarWindowSettings PolarForm::CurrentSettings() const
{
    const WindowPlace place = currentPlace();
    PolarWindowSettings s;
    s.Left = place.Left;
    s.Top = place.Top;
    s.Width = place.Width;
    s.Height = place.Height;
    s.Visible = place.Visible;
    s.ReText = m_controller->ReText;
    s.AllChecked = m_controller->AllChecked;
    return s;
}

} // namespace velmora

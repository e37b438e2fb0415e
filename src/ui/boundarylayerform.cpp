// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/boundarylayerform.h"

#include "ui/qtconvert.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

BoundaryLayerForm::BoundaryLayerForm(QWidget *parent)
    : DiagramWindow(parent)
    , m_controller(std::make_unique<BoundaryLayerWindowController>(*this))
{
    setObjectName(QStringLiteral("FormGrenzschicht"));
    setWindowTitle(QStringLiteral("Grenzschicht"));
    BoundaryLayerWindowController &c = *m_controller;

    AllCheckBox = new QCheckBox(QStringLiteral("Alle angehakten Profile"));
    AllCheckBox->setObjectName(QStringLiteral("CheckBoxAlle"));
    auto *unzoom = new QPushButton(QStringLiteral("Zoom zurück"));
    auto *save = new QPushButton(QStringLiteral("Grenzschicht speichern unter"));
    auto *image = new QPushButton(QStringLiteral("Diagramme speichern unter"));
    StatusLabel = new QLabel;
    StatusLabel->setObjectName(QStringLiteral("StatusGrenzschicht"));
    StatusLabel->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(AllCheckBox);
    top->addStretch(1);
    top->addWidget(unzoom);
    top->addWidget(save);
    top->addWidget(image);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->addLayout(top);
    layout->addWidget(Canvas, 1);
    layout->addWidget(StatusLabel);

    connect(AllCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        m_controller->AllChecked = on;
        if (RefreshRequested)
            RefreshRequested();
    });
    connect(save, &QPushButton::clicked, this, [this] { m_controller->GrenzschichtSpeichernUnter(); });
    connect(image, &QPushButton::clicked, this, [this] { m_controller->DiagrammeSpeichernUnter(); });
    connect(unzoom, &QPushButton::clicked, this, [this] { m_controller->Panel().ResetZoom(-1); });
    wireCanvas(c);
    applyPlace(kBoundaryLayerDefaultPlace);
}

BoundaryLayerForm::~BoundaryLayerForm() = default;

void BoundaryLayerForm::ApplySettings(const WindowPlace &place)
{
    m_controller->AllChecked = place.AllChecked;
    AllCheckBox->blockSignals(true);
    AllCheckBox->setChecked(place.AllChecked);
    AllCheckBox->blockSignals(false);
    applyPlace(place);
}

WindowPlace BoundaryLayerForm::CurrentSettings() const
{
    WindowPlace place = currentPlace();
    place.AllChecked = m_controller->AllChecked;
    return place;
}

void BoundaryLayerForm::Repaint()
{
    StatusLabel->setText(fromUtf8(m_controller->StatusText()));
    Canvas->update();
}

} // namespace velmora

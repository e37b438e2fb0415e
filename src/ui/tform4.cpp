// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tform4.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QScreen>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {

TForm4::TForm4(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Punkte neu verteilen Poly 3'"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Anzahl Koordinaten")));
    Edit1 = new QLineEdit(QStringLiteral("60"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    layout->addWidget(Edit1);
    auto *group = new QGroupBox(QStringLiteral("Verteilung X"));
    auto *g = new QVBoxLayout(group);
    RadioButton6 = new QRadioButton(QStringLiteral("Linear"));
    RadioButton3 = new QRadioButton(QStringLiteral("Sin vorne"));
    RadioButton4 = new QRadioButton(QStringLiteral("Sin hinten"));
    RadioButton5 = new QRadioButton(QStringLiteral("Cos"));
    for (QRadioButton *r : {RadioButton6, RadioButton3, RadioButton4, RadioButton5})
        g->addWidget(r);
    RadioButton3->setChecked(true);
    layout->addWidget(group);
    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Button1"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Abbruch"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // a window manager cuts a caption wider than the dialog: room for it
    // beside the title bar's buttons
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const int captionWidth = std::max(title.horizontalAdvance(windowTitle()),
                                      QFontMetrics(font()).horizontalAdvance(windowTitle()));
    setFixedSize(std::max(sizeHint().width(), captionWidth + 120), sizeHint().height());
}

void TForm4::setVisible(bool visible)
{
    if (visible) {
        QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            // the frame's extents are known once the dialog was shown
            const QMargins frame(geometry().left() - frameGeometry().left(),
                                 geometry().top() - frameGeometry().top(),
                                 frameGeometry().right() - geometry().right(),
                                 frameGeometry().bottom() - geometry().bottom());
            const QSize outer = size().grownBy(frame);
            const QRect area = screen->availableGeometry();
            // move() places the frame's corner
            move(area.left() + (area.width() - outer.width()) / 2,
                 area.top() + (area.height() - outer.height()) / 2);
        }
    }
    QDialog::setVisible(visible);
}

StationDistribution TForm4::distribution() const
{
    if (RadioButton6->isChecked())
        return StationDistribution::Linear;
    if (RadioButton4->isChecked())
        return StationDistribution::SinRear;
    if (RadioButton5->isChecked())
        return StationDistribution::Cos;
    return StationDistribution::SinFront;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/wheelstepsample.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace velmora {

int FitFontSize(const QString &text, int boxWidth, int boxHeight, int startSize, const QFont &base)
{
    // measured in the style it is drawn in: a bold text fitted as plain would be cut
    auto fits = [&](int size) {
        QFont f(base);
        f.setPointSize(std::max(1, size));
        const QFontMetrics fm(f);
        return fm.horizontalAdvance(text) <= boxWidth && fm.height() <= boxHeight;
    };
    if (!fits(startSize))
        return -1;
    int size = startSize;
    while (fits(size + 1) && size < 400)
        ++size;
    return size - 1;
}

WheelStepSample::WheelStepSample(const int &wheelStep, QWidget *parent)
    : QWidget(parent)
    , m_wheelStep(wheelStep)
{
    setObjectName(QStringLiteral("PaintBox1"));
}

void WheelStepSample::paintEvent(QPaintEvent *)
{
    const QString text = QStringLiteral("0,123456");
    QPixmap picture(size());
    picture.fill(palette().window().color());
    QPainter p(&picture);
    QFont f = font();
    const int fitted = FitFontSize(text, width(), height(), 1, f);
    f.setPointSize(std::max(1, fitted));
    p.setFont(f);
    const QFontMetrics fm(f);
    const int left = (width() - fm.horizontalAdvance(text)) / 2;
    const int top = (height() - fm.height()) / 2;
    const QColor normal = palette().windowText().color();
    // The decimal one notch changes in the switched colour. Each character
    // stands where it stands in the whole text, and the changed one is drawn
    // only once: no sliver of a black digit behind the red one.
    const QColor marked = normal == QColor(Qt::red) ? QColor(Qt::black) : QColor(Qt::red);
    for (int i = 0; i < text.size(); ++i) {
        p.setPen(i + 1 == m_wheelStep + 2 ? marked : normal);
        p.drawText(left + fm.horizontalAdvance(text.left(i)), top + fm.ascent(), QString(text.at(i)));
    }
    p.end();
    QPainter(this).drawPixmap(0, 0, picture);
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace velmora {

// Size (points) of the largest font like `base` (face and style) in which
// `text` fits the box, less one, or -1 when it does not fit even at `startSize`.
int FitFontSize(const QString &text, int boxWidth, int boxHeight, int startSize, const QFont &base);

// PaintBox1: "0,123456" with the decimal that one wheel notch changes in red.
class WheelStepSample : public QWidget
{
    Q_OBJECT
public:
    explicit WheelStepSample(const int &wheelStep, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const int &m_wheelStep;
};

} // namespace velmora

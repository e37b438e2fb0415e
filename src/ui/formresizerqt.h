// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/formresizer.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace velmora {

// Applies TFormResizer to widgets: records them when created and scales their
// geometry (and font pixel sizes, when enabled) whenever the owner window is
// resized. A widget in `fixedHeight` is sized by its layout except for its
// height, which the resizer scales.
class QtFormResizer : public QObject
{
    Q_OBJECT
public:
    // Throws EResizerException without an owner or when the owner is no window or panel.
    QtFormResizer(QWidget *owner, bool resizeFonts, int minFontSize, int maxFontSize,
                  const QList<QWidget *> &controls, QWidget *fixedHeight = nullptr);

    void ScaleControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_owner;
    QList<QPointer<QWidget>> m_controls;
    QPointer<QWidget> m_fixedHeight;
    TFormResizer m_resizer;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/formresizer.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace velmora {

// Applies TFormResizer to widgets: records them when created and scales their
// geometry (and fonts, when enabled) whenever the owner window is resized.
// Font sizes are handled in points; the limits are points. A widget in
// `fixedHeight` is sized by its layout except for its height, which the
// resizer scales; widgets in `fontOnly` are placed by their layout and only
// their fonts scale. A font set on a control from outside (the font settings
// file) becomes the font the control scales from. A caption that would not
// fit its box at the scaled font gets a smaller one.
class QtFormResizer : public QObject
{
    Q_OBJECT
public:
    // Throws EResizerException without an owner or when the owner is no window or panel.
    QtFormResizer(QWidget *owner, bool resizeFonts, int minFontSize, int maxFontSize,
                  const QList<QWidget *> &controls, QWidget *fixedHeight = nullptr,
                  const QList<QWidget *> &fontOnly = {}, bool fontsFollowSmallerRatio = false);

    void ScaleControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitCaption(QWidget *w);

    QWidget *m_owner;
    QList<QPointer<QWidget>> m_controls;
    QList<QFont> m_recordedFonts;
    QList<QFont> m_appliedFonts; // what each control was last given here
    QPointer<QWidget> m_fixedHeight;
    TFormResizer m_resizer;
    bool m_applying = false;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formresizerqt.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace velmora {

QtFormResizer::QtFormResizer(QWidget *owner, bool resizeFonts, int minFontSize, int maxFontSize,
                             const QList<QWidget *> &controls, QWidget *fixedHeight)
    : QObject(owner)
    , m_owner(owner)
    , m_fixedHeight(fixedHeight)
{
    if (!owner)
        throw EResizerException("TFormResizer created without an owner");
    if (!owner->isWindow() && !controls.isEmpty() && !owner->isAncestorOf(controls.front()))
        throw EResizerException("TFormResizer owner must be a panel or form");
    m_resizer.ResizeFonts = resizeFonts;
    m_resizer.MinFontSize = minFontSize;
    m_resizer.MaxFontSize = maxFontSize;
    std::vector<TControlInfo> infos;
    for (QWidget *w : controls) {
        if (!w)
            throw EResizerException("TSingleResizer created without a component link");
        TControlInfo info;
        const QRect g = w->geometry();
        info.Bounds = {g.x(), g.y(), g.width(), g.height()};
        if (w == fixedHeight) // its layout may not have placed it yet
            info.Bounds.Height = w->minimumHeight();
        if (w->font().pixelSize() > 0)
            info.FontSize = w->font().pixelSize();
        info.IsLabel = qobject_cast<QLabel *>(w) != nullptr;
        infos.push_back(info);
        m_controls.append(w);
        const int index = int(infos.size()) - 1;
        connect(w, &QObject::destroyed, this, [this, index] { m_resizer.ControlRemoved(index); });
    }
    m_resizer.CaptureLayout(owner->width(), owner->height(), infos);
    owner->installEventFilter(this);
}

void QtFormResizer::ScaleControls()
{
    std::vector<TBounds> current;
    for (const QPointer<QWidget> &w : m_controls) {
        const QRect g = w ? w->geometry() : QRect();
        current.push_back({g.x(), g.y(), g.width(), g.height()});
    }
    int width = m_owner->width();
    int height = m_owner->height();
    const auto results = m_resizer.ScaleControls(width, height, current);
    for (int i = 0; i < m_controls.size() && i < int(results.size()); ++i) {
        QWidget *w = m_controls[i];
        const auto &r = results[size_t(i)];
        if (!w || r.Skip)
            continue;
        if (r.FontSize) {
            QFont f = w->font();
            f.setPixelSize(*r.FontSize);
            w->setFont(f);
        }
        if (w == m_fixedHeight) {
            w->setFixedHeight(r.Bounds.Height);
            continue;
        }
        int boundsWidth = r.Bounds.Width;
        if (qobject_cast<QLabel *>(w))
            boundsWidth = w->sizeHint().width(); // labels measure themselves again
        w->setGeometry(r.Bounds.Left, r.Bounds.Top, boundsWidth, r.Bounds.Height);
    }
}

bool QtFormResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::Resize)
        ScaleControls();
    return QObject::eventFilter(watched, event);
}

} // namespace velmora

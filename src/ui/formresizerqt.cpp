// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/formresizerqt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QEvent>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <cmath>

namespace velmora {

namespace {

// Font sizes travel through the resizer in tenths of a point: the designed
// fonts are given in pixels, and whole points would be too coarse for them.
constexpr int kTenths = 10;

// The size asked for, or for a font given in pixels the size it comes to.
double pointsOf(const QFont &f)
{
    return f.pointSizeF() > 0 ? f.pointSizeF() : QFontInfo(f).pointSizeF();
}

int tenthsOf(const QFont &f)
{
    return int(std::lround(pointsOf(f) * kTenths));
}

} // namespace

QtFormResizer::QtFormResizer(QWidget *owner, bool resizeFonts, int minFontSize, int maxFontSize,
                             const QList<QWidget *> &controls, QWidget *fixedHeight,
                             const QList<QWidget *> &fontOnly, bool fontsFollowSmallerRatio)
    : QObject(owner)
    , m_owner(owner)
    , m_fixedHeight(fixedHeight)
{
    if (!owner)
        throw EResizerException("TFormResizer created without an owner");
    if (!owner->isWindow() && !controls.isEmpty() && !owner->isAncestorOf(controls.front()))
        throw EResizerException("TFormResizer owner must be a panel or form");
    m_resizer.ResizeFonts = resizeFonts;
    m_resizer.MinFontSize = minFontSize * kTenths;
    m_resizer.MaxFontSize = maxFontSize * kTenths;
    m_resizer.FontsFollowSmallerRatio = fontsFollowSmallerRatio;
    std::vector<TControlInfo> infos;
    for (QWidget *w : controls + fontOnly) {
        if (!w)
            throw EResizerException("TSingleResizer created without a component link");
        TControlInfo info;
        const QRect g = w->geometry();
        info.Bounds = {g.x(), g.y(), g.width(), g.height()};
        if (w == fixedHeight) // its layout may not have placed it yet
            info.Bounds.Height = w->minimumHeight();
        info.FontSize = tenthsOf(w->font());
        info.IsLabel = qobject_cast<QLabel *>(w) != nullptr;
        info.FontOnly = fontOnly.contains(w);
        infos.push_back(info);
        m_controls.append(w);
        m_recordedFonts.append(w->font());
        m_appliedFonts.append(w->font());
        const int index = int(infos.size()) - 1;
        connect(w, &QObject::destroyed, this, [this, index] { m_resizer.ControlRemoved(index); });
        w->installEventFilter(this);
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
    const auto &entries = m_resizer.Entries();
    m_applying = true;
    for (int i = 0; i < m_controls.size() && i < int(results.size()); ++i) {
        QWidget *w = m_controls[i];
        const auto &r = results[size_t(i)];
        if (!w || r.Skip)
            continue;
        if (r.FontSize) {
            // at the recorded size the recorded font itself, pixel-exact
            QFont f = m_recordedFonts[i];
            if (*r.FontSize != entries[size_t(i)].Recorded.FontSize)
                f.setPointSizeF(double(*r.FontSize) / kTenths);
            w->setFont(f);
            m_appliedFonts[i] = w->font();
        }
        if (entries[size_t(i)].Recorded.FontOnly)
            continue;
        if (w == m_fixedHeight) {
            w->setFixedHeight(r.Bounds.Height);
            continue;
        }
        int boundsWidth = r.Bounds.Width;
        int boundsHeight = r.Bounds.Height;
        if (qobject_cast<QLabel *>(w)) {
            // labels measure themselves again: no letter and no umlaut cut off
            boundsWidth = w->sizeHint().width();
            boundsHeight = std::max(boundsHeight, w->sizeHint().height());
        }
        w->setGeometry(r.Bounds.Left, r.Bounds.Top, boundsWidth, boundsHeight);
        if (r.FontSize)
            fitCaption(w);
        m_appliedFonts[i] = w->font();
    }
    m_applying = false;
}

void QtFormResizer::fitCaption(QWidget *w)
{
    // a caption the scaled font makes wider than its scaled box gets a
    // smaller font: check boxes and radio buttons with their indicator, push
    // buttons (whose hint asks for more than their caption) by the text alone
    auto *button = qobject_cast<QAbstractButton *>(w);
    if (!button || button->text().isEmpty())
        return;
    const bool indicator = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w);
    auto tooWide = [&] {
        return indicator ? w->sizeHint().width() > w->width()
                         : w->fontMetrics().horizontalAdvance(button->text()) + 6 > w->width();
    };
    QFont f = w->font();
    const double least = double(m_resizer.MinFontSize) / kTenths;
    double size = pointsOf(f);
    while (tooWide() && size - 0.25 >= least) {
        size -= 0.25;
        f.setPointSizeF(size);
        w->setFont(f);
    }
}

bool QtFormResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::Resize) {
        ScaleControls();
    } else if (event->type() == QEvent::FontChange && !m_applying) {
        // set from outside (the font settings file), not the echo of a font
        // this resizer gave, which arrives again when the style polishes it
        const int i = m_controls.indexOf(qobject_cast<QWidget *>(watched));
        if (i >= 0 && static_cast<QWidget *>(watched)->font() != m_appliedFonts[i]) {
            auto *w = static_cast<QWidget *>(watched);
            m_appliedFonts[i] = w->font();
            m_recordedFonts[i] = w->font();
            m_resizer.FontChanged(i, tenthsOf(w->font()), m_owner->width(), m_owner->height());
            // the recorded font is the one at the recorded size
            const auto &e = m_resizer.Entries()[size_t(i)];
            if (e.Recorded.FontSize)
                m_recordedFonts[i].setPointSizeF(double(*e.Recorded.FontSize) / kTenths);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora

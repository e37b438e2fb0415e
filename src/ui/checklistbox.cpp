// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/checklistbox.h"

#include "app/maincontroller.h"
#include "ui/qtconvert.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace velmora {

namespace {
constexpr int kSwatchWidth = 13;
constexpr int kTextOffset = 15;
} // namespace

CheckListBox::CheckListBox(MainController &controller, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("CheckListBox1"));
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(11);
    setFont(f);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

int CheckListBox::rowHeight() const
{
    return std::max(15, fontMetrics().height());
}

void CheckListBox::refresh()
{
    updateScrollBar();
    viewport()->update();
}

void CheckListBox::updateScrollBar()
{
    const int visibleRows = std::max(1, viewport()->height() / rowHeight());
    verticalScrollBar()->setRange(0, std::max(0, m_controller.RowCount() - visibleRows));
    verticalScrollBar()->setPageStep(visibleRows);
}

void CheckListBox::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

QRect CheckListBox::checkBoxRect(int row) const
{
    const int h = rowHeight();
    const int top = (row - verticalScrollBar()->value()) * h;
    const int box = std::min(h - 2, 13);
    return QRect(2, top + (h - box) / 2, box, box);
}

int CheckListBox::rowAt(int y) const
{
    const int row = y / rowHeight() + verticalScrollBar()->value();
    return row < m_controller.RowCount() ? row : -1;
}

void CheckListBox::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    const int h = rowHeight();
    const int first = verticalScrollBar()->value();
    const int count = m_controller.RowCount();
    for (int row = first; row < count && (row - first) * h < viewport()->height(); ++row) {
        if (!m_controller.RowExists(row))
            continue;
        const int top = (row - first) * h;
        const QRect box = checkBoxRect(row);
        const QRect area(box.right() + 4, top, viewport()->width() - box.right() - 4, h);
        const bool selected = row == m_controller.SelectedRow();

        QStyleOptionButton opt;
        opt.initFrom(this);
        opt.rect = box;
        opt.state |= m_controller.RowChecked(row) ? QStyle::State_On : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p, this);

        if (selected)
            p.fillRect(area, palette().highlight());
        p.setPen(selected ? palette().highlightedText().color() : palette().text().color());
        p.drawText(area.adjusted(kTextOffset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   fromCp1252(m_controller.RowText(row)));
        // a border keeps a white or background-coloured swatch visible
        const QRect swatch(area.left(), top, kSwatchWidth, h);
        p.fillRect(swatch, toQColor(m_controller.RowColour(row)));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
}

void CheckListBox::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int clicked = rowAt(pos.y());
    const bool right = event->button() == Qt::RightButton;
    // a click below the last row keeps the selection where it is
    m_controller.CheckListBox1MouseDown(clicked >= 0 ? clicked : m_controller.SelectedRow(), right);
    if (!right && clicked >= 0 && checkBoxRect(clicked).adjusted(-2, -2, 2, 2).contains(pos))
        m_controller.CheckListBox1ClickCheck(clicked, !m_controller.RowChecked(clicked));
    refresh();
}

void CheckListBox::ensureVisible(int row)
{
    QScrollBar *bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + bar->pageStep())
        bar->setValue(row - bar->pageStep() + 1);
}

void CheckListBox::keyPressEvent(QKeyEvent *event)
{
    const int count = m_controller.RowCount();
    const int current = m_controller.SelectedRow();
    int target = current;
    switch (event->key()) {
    case Qt::Key_Up:
        target = current <= 0 ? 0 : current - 1;
        break;
    case Qt::Key_Down:
        target = std::min(count - 1, current + 1);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    case Qt::Key_PageUp:
        target = std::max(0, current - verticalScrollBar()->pageStep());
        break;
    case Qt::Key_PageDown:
        target = std::min(count - 1, current + verticalScrollBar()->pageStep());
        break;
    case Qt::Key_Space:
        if (m_controller.RowExists(current))
            m_controller.CheckListBox1ClickCheck(current, !m_controller.RowChecked(current));
        refresh();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (count == 0 || target == current)
        return;
    m_controller.CheckListBox1KeySelect(target);
    ensureVisible(target);
    refresh();
}

} // namespace velmora

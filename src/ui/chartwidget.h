// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

namespace velmora {

class MainController;

// Chart1: paints the controller's chart model and turns mouse drags into
// rectangle zoom (left button) and panning (right button).
class ChartWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ChartWidget(MainController &controller, QWidget *parent = nullptr);

    // Whether F4 is held: the insertion preview is drawn and a click inserts.
    std::function<bool()> F4Held;
    // Runs a controller call that may fail with a message for the user.
    std::function<void(const std::function<void()> &)> Guarded;
    // Called when a paint has finished (frame timing).
    std::function<void()> Painted;

    QSize sizeHint() const override { return {800, 470}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void updatePlotRect();

    MainController &m_controller;
    bool m_zoomDrag = false;
    bool m_panDrag = false;
    bool m_pressed = false;
    QPoint m_dragStart;
    QPoint m_dragNow;
    QRect m_rectBefore; // the plotting area before its last change at this size
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/diagram.h"

#include <QPoint>
#include <QWidget>

#include <functional>

class QPainter;

namespace velmora {

// Paints the primitives of a diagram scene; the same scene becomes an SVG
// file without Qt, so screen, PNG and SVG show the same picture.
void PaintScene(QPainter &p, const DiagramScene &scene);
// The scene as a PNG file of its size on white; false when not written.
bool SaveScenePng(const DiagramScene &scene, const QString &path);

// Shows the diagrams of a Qt-free controller: the scene comes from Scene,
// mouse actions go to the callbacks (pixel positions in this widget). A left
// drag shows its rectangle until released.
class DiagramCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit DiagramCanvas(QWidget *parent = nullptr);

    std::function<DiagramScene()> Scene;
    std::function<void(int width, int height)> Resized;
    std::function<void(int x, int y)> MouseMoved;
    std::function<void()> MouseLeft;
    std::function<void(int x0, int y0, int x1, int y1)> Dragged;
    std::function<void(int x, int y, int dx, int dy)> Panned;
    std::function<void(int x, int y, int notches)> Wheeled;
    // Called when a paint has finished (frame timing).
    std::function<void()> Painted;

    QSize sizeHint() const override { return {900, 640}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_zoomDrag = false;
    bool m_panDrag = false;
    QPoint m_start;
    QPoint m_now;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/diagramcanvas.h"

#include "ui/qtconvert.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace velmora {

namespace {

Qt::PenStyle qtPen(PenStyle pen)
{
    switch (pen) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    }
    return Qt::SolidLine;
}

QPen pen(TColor c, double width, PenStyle style)
{
    QPen p(toQColor(c), width, qtPen(style));
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

} // namespace

void PaintScene(QPainter &p, const DiagramScene &scene)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QFont base(QStringLiteral("DejaVu Sans"));
    for (const SceneItem &item : scene.Items) {
        if (const auto *l = std::get_if<SceneLine>(&item)) {
            p.setPen(pen(l->Color, l->Width, l->Pen));
            p.drawLine(QPointF(l->x0, l->y0), QPointF(l->x1, l->y1));
        } else if (const auto *pl = std::get_if<ScenePolyline>(&item)) {
            QPolygonF line;
            line.reserve(qsizetype(pl->Points.size()));
            for (const auto &[x, y] : pl->Points)
                line << QPointF(x, y);
            p.setPen(pen(pl->Color, pl->Width, pl->Pen));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(line);
        } else if (const auto *r = std::get_if<SceneRect>(&item)) {
            const QRectF box(r->x, r->y, r->w, r->h);
            if (r->Fill)
                p.fillRect(box, toQColor(*r->Fill));
            if (r->Stroke) {
                p.setPen(QPen(toQColor(*r->Stroke), 1));
                p.setBrush(Qt::NoBrush);
                p.drawRect(box);
            }
        } else if (const auto *t = std::get_if<SceneText>(&item)) {
            QFont f = base;
            f.setPixelSize(t->PixelSize);
            f.setBold(t->Bold);
            p.setFont(f);
            p.setPen(toQColor(t->Color));
            const QString text = QString::fromStdString(t->Text);
            const double w = QFontMetricsF(f).horizontalAdvance(text);
            const double dx = t->Anchor == TextAnchor::Left ? 0.0 : t->Anchor == TextAnchor::Centre ? -w / 2 : -w;
            p.save();
            p.translate(t->x, t->y);
            if (t->Upwards)
                p.rotate(-90);
            p.drawText(QPointF(dx, 0), text);
            p.restore();
        } else if (const auto *d = std::get_if<SceneDot>(&item)) {
            p.setPen(Qt::NoPen);
            p.setBrush(toQColor(d->Color));
            p.drawEllipse(QPointF(d->x, d->y), d->r, d->r);
        } else if (const auto *c = std::get_if<SceneClip>(&item)) {
            if (c->Rect)
                p.setClipRect(QRectF(c->Rect->x, c->Rect->y, c->Rect->w, c->Rect->h));
            else
                p.setClipping(false);
        }
    }
    p.setClipping(false);
}

bool SaveScenePng(const DiagramScene &scene, const QString &path)
{
    QImage image(std::max(1, scene.Width), std::max(1, scene.Height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        PaintScene(p, scene);
    }
    return image.save(path, "PNG");
}

DiagramCanvas::DiagramCanvas(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 220);
}

void DiagramCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (Scene)
        PaintScene(p, Scene());
    if (m_zoomDrag && (m_now - m_start).manhattanLength() > 0) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(m_start, m_now).normalized());
    }
    p.end();
    if (Painted)
        Painted();
}

void DiagramCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (Resized)
        Resized(width(), height());
}

void DiagramCanvas::mousePressEvent(QMouseEvent *event)
{
    m_start = m_now = event->position().toPoint();
    m_zoomDrag = event->button() == Qt::LeftButton;
    m_panDrag = event->button() == Qt::RightButton;
}

void DiagramCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_panDrag && Panned)
        Panned(m_start.x(), m_start.y(), pos.x() - m_now.x(), pos.y() - m_now.y());
    m_now = pos;
    if (MouseMoved)
        MouseMoved(pos.x(), pos.y());
    if (m_zoomDrag)
        update();
}

void DiagramCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint end = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_zoomDrag) {
        m_zoomDrag = false;
        if (Dragged)
            Dragged(m_start.x(), m_start.y(), end.x(), end.y());
        update();
    } else if (event->button() == Qt::RightButton) {
        m_panDrag = false;
    }
}

void DiagramCanvas::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (MouseLeft)
        MouseLeft();
}

void DiagramCanvas::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0 && Wheeled) {
        const QPoint pos = event->position().toPoint();
        Wheeled(pos.x(), pos.y(), notches);
    }
    event->accept();
}

} // namespace velmora

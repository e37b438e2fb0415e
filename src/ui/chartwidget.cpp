// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chartwidget.h"

#include "app/maincontroller.h"
#include "app/overlaycanvas.h"
#include "plot/axislabels.h"
#include "ui/qtconvert.h"

#include <QGuiApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int kTickLength = 5;
constexpr int kLabelGap = 20; // least pixel distance between neighbouring labels

// The axis labels are written in the plot's own font, so the font settings
// file reaches them like every other control.
QFont labelFont(const QWidget *w)
{
    return w->font();
}

char asciiOr(const QString &s, char fallback)
{
    return (s.size() == 1 && s.at(0).unicode() < 128) ? char(s.at(0).unicode()) : fallback;
}

// Labels follow the user's locale, as the rest of the displayed numbers.
std::string label(double v)
{
    const QLocale locale;
    return FormatAxisLabel(v, asciiOr(locale.decimalPoint(), '.'), asciiOr(locale.groupSeparator(), ' '));
}

void drawMarker(QPainter &p, const ChartSeries &s, QPointF c)
{
    const double hx = s.Marker.HorizSize;
    const double hy = s.Marker.VertSize;
    p.setPen(s.Marker.OutlineVisible ? QPen(toQColor(s.Marker.OutlineColor), 1) : QPen(Qt::NoPen));
    p.setBrush(toQColor(s.Color));
    switch (s.Marker.Style) {
    case MarkerStyle::Circle:
        p.drawEllipse(c, hx, hy);
        break;
    case MarkerStyle::Star:
        p.drawLine(QPointF(c.x() - hx, c.y()), QPointF(c.x() + hx, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - hy), QPointF(c.x(), c.y() + hy));
        p.drawLine(QPointF(c.x() - hx, c.y() - hy), QPointF(c.x() + hx, c.y() + hy));
        p.drawLine(QPointF(c.x() - hx, c.y() + hy), QPointF(c.x() + hx, c.y() - hy));
        break;
    case MarkerStyle::Triangle:
    case MarkerStyle::DownTriangle: {
        const double dir = s.Marker.Style == MarkerStyle::Triangle ? -1.0 : 1.0;
        const QPointF pts[3] = {QPointF(c.x(), c.y() + dir * hy), QPointF(c.x() - hx, c.y() - dir * hy),
                                QPointF(c.x() + hx, c.y() - dir * hy)};
        p.drawPolygon(pts, 3);
        break;
    }
    }
}

// The overlay pass draws through this onto the finished plot.
class PainterCanvas : public OverlayCanvas
{
public:
    PainterCanvas(QPainter &painter, const QFont &font) : m_painter(painter), m_font(font) {}

    void Line(int x0, int y0, int x1, int y1, TColor colour, int width) override
    {
        m_painter.setPen(QPen(toQColor(colour), width));
        m_painter.drawLine(x0, y0, x1, y1);
    }

    void Text(int x, int y, const std::string &utf8, TColor colour, TColor background) override
    {
        m_painter.setFont(m_font);
        const QFontMetrics fm(m_font);
        const QString t = QString::fromStdString(utf8);
        const QRect box(x, y, fm.horizontalAdvance(t) + 2, fm.height());
        m_painter.fillRect(box, toQColor(background));
        m_painter.setPen(toQColor(colour));
        m_painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, t);
    }

private:
    QPainter &m_painter;
    QFont m_font;
};

} // namespace

ChartWidget::ChartWidget(MainController &controller, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("Chart1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 80);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(11);
    setFont(f);
}

void ChartWidget::updatePlotRect()
{
    // room for the left labels follows the widest label of the current range
    const QFontMetrics fm(labelFont(this));
    const ChartModel &chart = m_controller.Chart();
    const AxisRange l = chart.LeftAxis();
    int labelWidth = fm.horizontalAdvance(QStringLiteral("-0,000"));
    for (double v : {l.Min, l.Max, (l.Min + l.Max) / 2})
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(QString::fromStdString(label(v))));
    // and the rightmost bottom label, centred on its tick, must not reach the edge
    const AxisRange b = chart.BottomAxis();
    int bottomLabelWidth = fm.horizontalAdvance(QStringLiteral("-0,0000"));
    for (double v : {b.Min, b.Max})
        bottomLabelWidth = std::max(bottomLabelWidth, fm.horizontalAdvance(QString::fromStdString(label(v))));
    PlotRect r;
    r.Left = std::min(width() / 3, labelWidth + kTickLength + 6);
    r.Top = 4;
    r.Right = std::max(r.Left + 1, width() - std::max(10, bottomLabelWidth / 2 + 3));
    r.Bottom = std::max(r.Top + 1, height() - fm.height() - 8);
    const PlotRect old = chart.Rect();
    if (old.Left != r.Left || old.Top != r.Top || old.Right != r.Right || old.Bottom != r.Bottom) {
        // At the same size, the y scale that follows the new shape can have
        // labels that want the area as it was: of the two, keep the wider
        // label column rather than alternate between them with every paint.
        const QRect asked(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
        if (asked == m_rectBefore && r.Left < old.Left)
            return;
        m_rectBefore = QRect(QPoint(old.Left, old.Top), QPoint(old.Right, old.Bottom));
        m_controller.Chart().SetPlotRect(r);
        // the y scale must follow the new shape of the plotting area
        if (m_controller.Scale == ScaleRequest::None)
            m_controller.Scale = ScaleRequest::KeepCentre;
    }
}

void ChartWidget::paintEvent(QPaintEvent *)
{
    m_controller.BeforeDrawSeries();
    updatePlotRect();
    ChartModel &chart = m_controller.Chart();
    const PlotRect r = chart.Rect();
    const QRect plotArea(r.Left, r.Top, r.Width() + 1, r.Height() + 1);

    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.fillRect(plotArea, toQColor(chart.BackColor));

    const QFont font = labelFont(this);
    const QColor labelColour = palette().color(QPalette::WindowText);
    p.setFont(font);
    const QFontMetrics fm(font);
    const AxisRange b = chart.BottomAxis();
    const AxisRange l = chart.LeftAxis();
    const int axisTop = chart.LeftAxisTop();
    const int axisBottom = chart.LeftAxisBottom();

    // grid and labels
    const std::vector<double> xTicks = AxisTicks(b.Min, b.Max, r.Width(), fm.horizontalAdvance(QStringLiteral("-0,0000")) + kLabelGap);
    const std::vector<double> yTicks = AxisTicks(l.Min, l.Max, axisBottom - axisTop, fm.height() + kLabelGap);
    const QColor grid = toQColor(chart.GridColor);
    for (double x : xTicks) {
        const int px = chart.XToPixel(x);
        if (chart.GridVisible) {
            p.setPen(QPen(grid, 1, Qt::DotLine));
            p.drawLine(px, r.Top, px, r.Bottom);
        }
        p.setPen(labelColour);
        const QString t = QString::fromStdString(label(x));
        p.drawText(px - fm.horizontalAdvance(t) / 2, r.Bottom + 4 + fm.ascent(), t);
    }
    for (double y : yTicks) {
        const int py = chart.YToPixel(y);
        if (chart.GridVisible) {
            p.setPen(QPen(grid, 1, Qt::DotLine));
            p.drawLine(r.Left, py, r.Right, py);
        }
        p.setPen(labelColour);
        p.drawLine(r.Left - kTickLength, py, r.Left, py);
        const QString t = QString::fromStdString(label(y));
        p.drawText(r.Left - kTickLength - 3 - fm.horizontalAdvance(t), py + fm.ascent() / 2 - 1, t);
    }

    // series, clipped to the plotting area
    p.save();
    p.setClipRect(plotArea);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const ChartSeries &s : chart.Series()) {
        if (!s.Shown || s.Count() == 0)
            continue;
        QPolygonF line;
        line.reserve(s.Count());
        for (int i = 0; i < s.Count(); ++i)
            line << QPointF(chart.XToPixelF(s.XValues[size_t(i)]), chart.YToPixelF(s.YValues[size_t(i)]));
        QPen pen(toQColor(s.Color), s.LineWidth, s.Pen == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        if (s.Marker.Visible) {
            for (const QPointF &pt : line)
                drawMarker(p, s, pt);
        }
    }
    p.restore();

    // frame: the four axis lines
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.Left, r.Top, r.Width(), r.Height()));

    if (m_zoomDrag) {
        p.setPen(QPen(toQColor(ContrastColour(chart.BackColor)), 1, Qt::DashLine));
        p.drawRect(QRect(m_dragStart, m_dragNow).normalized());
    }

    const bool again = m_controller.AfterDraw();
    // marks of points outside the zoomed view stay off the axis labels
    p.setClipRect(plotArea);
    PainterCanvas canvas(p, window()->font());
    m_controller.DrawOverlays(canvas, F4Held && F4Held());
    if (again)
        QTimer::singleShot(0, this, qOverload<>(&QWidget::update));
    if (Painted)
        Painted();
}

void ChartWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_rectBefore = QRect(); // a new size may want any area
    updatePlotRect();
    m_controller.ChartResized();
}

void ChartWidget::mousePressEvent(QMouseEvent *event)
{
    m_dragStart = m_dragNow = event->position().toPoint();
    m_pressed = true;
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    const bool ctrl = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    m_controller.Chart1MouseDown(m_dragStart.x(), m_dragStart.y(), left, right, ctrl);
    // the end-point question may have forbidden the zoom for this press
    if (left)
        m_zoomDrag = m_controller.Chart().AllowZoom && !(F4Held && F4Held());
    else if (right)
        m_panDrag = true;
}

void ChartWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_panDrag)
        m_controller.Chart().PanPixels(pos.x() - m_dragNow.x(), pos.y() - m_dragNow.y());
    m_dragNow = pos;
    const bool ctrl = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    m_controller.Chart1MouseMove(pos.x(), pos.y(), ctrl);
    if (ctrl && !m_controller.Chart().AllowZoom)
        m_zoomDrag = false;
}

void ChartWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint end = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_pressed && rect().contains(end)) {
        // a click: with F4 held it inserts the previewed point
        const bool f4 = F4Held && F4Held();
        if (Guarded)
            Guarded([this, f4] { m_controller.Chart1Click(f4); });
    }
    m_pressed = false;
    if (event->button() == Qt::LeftButton && m_zoomDrag) {
        m_zoomDrag = false;
        ChartModel &chart = m_controller.Chart();
        switch (chart.ClassifyDrag(m_dragStart.x(), m_dragStart.y(), end.x(), end.y())) {
        case DragAction::ZoomToRect:
            chart.ZoomToPixels(m_dragStart.x(), m_dragStart.y(), end.x(), end.y());
            break;
        case DragAction::UndoZoom:
            m_controller.ResetView();
            break;
        case DragAction::None:
            break;
        }
        update();
    } else if (event->button() == Qt::RightButton) {
        m_panDrag = false;
    }
}

} // namespace velmora

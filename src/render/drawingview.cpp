#include "drawingview.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace {

constexpr double HalfWindow = 400;
constexpr double ArrowInset = 14;

} // namespace

void DrawingView::reset()
{
    m_zoom = 1.0;
    m_pan = QPointF();
}

void DrawingView::zoomAt(const QPointF& anchor, double factor)
{
    const double zoom = std::clamp(m_zoom * factor, MinZoom, MaxZoom);
    const double applied = zoom / m_zoom;
    m_pan = anchor - applied * (anchor - m_pan);
    m_zoom = zoom;
}

void DrawingView::panBy(const QPointF& delta)
{
    m_pan += delta;
}

void DrawingView::fit(const QRectF& logical, const QSize& size)
{
    if (size.isEmpty()) {
        return;
    }
    const QRectF device = fixedTransform(size).mapRect(logical);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    if (device.width() > 0 || device.height() > 0) {
        // A tenth of margin, so that wide pens and the marker stay inside.
        const double zx = device.width() > 0 ? size.width() / device.width() : MaxZoom;
        const double zy = device.height() > 0 ? size.height() / device.height() : MaxZoom;
        m_zoom = std::clamp(0.9 * std::min(zx, zy), MinZoom, MaxZoom);
    }
    m_pan = centre - m_zoom * device.center();
}

QTransform DrawingView::fixedTransform(const QSize& size)
{
    // The same mapping as a painter's window (-400, -400, 800, 800) on the
    // centred square viewport.
    const int side = std::min(size.width(), size.height());
    const double scale = side / (2 * HalfWindow);
    const double left = (size.width() - side) / 2;
    const double top = (size.height() - side) / 2;
    return QTransform(scale, 0, 0, scale, left + HalfWindow * scale, top + HalfWindow * scale);
}

QTransform DrawingView::worldTransform(const QSize& size) const
{
    if (isReset()) {
        return QTransform();
    }
    // device = z * F(p) + pan with F(p) = a p + c, written as F(W(p)):
    // W(p) = z p + ((z - 1) c + pan) / a.
    const QTransform fixed = fixedTransform(size);
    const double a = fixed.m11() > 0 ? fixed.m11() : 1.0;
    const QPointF c(fixed.dx(), fixed.dy());
    const QPointF t = ((m_zoom - 1) * c + m_pan) / a;
    return QTransform(m_zoom, 0, 0, m_zoom, t.x(), t.y());
}

QTransform DrawingView::transform(const QSize& size) const
{
    return fixedTransform(size) * QTransform(m_zoom, 0, 0, m_zoom, m_pan.x(), m_pan.y());
}

bool DrawingView::edgeArrow(const QPointF& logical, const QSize& size, QPointF* at, double* angle) const
{
    const QPointF device = transform(size).map(logical);
    const QRectF inside = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(ArrowInset, ArrowInset, -ArrowInset, -ArrowInset);
    if (inside.isEmpty() || QRectF(QPointF(0, 0), QSizeF(size)).contains(device)) {
        return false;
    }
    // From the centre towards the point, stopped at the inset border.
    const QPointF centre = inside.center();
    const QPointF towards = device - centre;
    double t = 1.0;
    if (towards.x() != 0) {
        t = std::min(t, (inside.width() / 2) / std::abs(towards.x()));
    }
    if (towards.y() != 0) {
        t = std::min(t, (inside.height() / 2) / std::abs(towards.y()));
    }
    *at = centre + t * towards;
    *angle = std::atan2(towards.y(), towards.x());
    return true;
}

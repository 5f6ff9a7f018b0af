#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QTransform>

// Zoom and pan of the output area over the fixed mapping of the drawing (the
// largest centred square shows turtle coordinates -400..400). A zoom z and a
// pan p, in device pixels, move a device point d of the fixed mapping to
// z * d + p. Logical coordinates are the painter's: turtle (x, -y).
class DrawingView
{
public:
    static constexpr double MinZoom = 1.0 / 64;
    static constexpr double MaxZoom = 4096;

    double zoom() const { return m_zoom; }
    QPointF pan() const { return m_pan; }
    bool isReset() const { return m_zoom == 1.0 && m_pan.isNull(); }
    bool operator==(const DrawingView& other) const { return m_zoom == other.m_zoom && m_pan == other.m_pan; }
    bool operator!=(const DrawingView& other) const { return !(*this == other); }

    void reset();
    // Keeps the device point `anchor` over the same logical point.
    void zoomAt(const QPointF& anchor, double factor);
    void panBy(const QPointF& delta);
    // Frames a logical rectangle (with a margin) on a device of the given size;
    // an empty rectangle is centred at the current zoom.
    void fit(const QRectF& logical, const QSize& size);

    // The painter's world transform that, under the fixed window and viewport
    // of a device of this size, applies the view.
    QTransform worldTransform(const QSize& size) const;
    // Logical to device, the fixed mapping and the view together.
    QTransform transform(const QSize& size) const;
    static QTransform fixedTransform(const QSize& size);

    // Where to draw an arrow pointing at a logical point that lies outside the
    // device: a point just inside the edge and the direction (radians, device
    // axes) towards the point. False when the point shows.
    bool edgeArrow(const QPointF& logical, const QSize& size, QPointF* at, double* angle) const;

private:
    double m_zoom = 1.0;
    QPointF m_pan;
};

#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>

// Measures what was drawn on a uniform background: the ink of a pixel is how
// far it went from the background towards black, 0 to 1, so antialiased edges
// count in proportion and a centroid lands between pixels.
class InkProbe
{
public:
    explicit InkProbe(const QImage& image, QColor background = Qt::white)
        : m_image(image.convertToFormat(QImage::Format_RGB32))
        , m_background(qGray(background.rgb()))
    {
    }

    double ink(int x, int y) const
    {
        const int gray = qGray(m_image.pixel(x, y));
        return m_background > gray ? double(m_background - gray) / m_background : 0.0;
    }

    double total(const QRect& area) const
    {
        double sum = 0;
        const QRect r = area & m_image.rect();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                sum += ink(x, y);
            }
        }
        return sum;
    }

    double total() const { return total(m_image.rect()); }

    // In pixel coordinates where pixel (x, y) spans x..x+1 and y..y+1.
    QPointF centroid() const
    {
        double sum = 0, sx = 0, sy = 0;
        for (int y = 0; y < m_image.height(); ++y) {
            for (int x = 0; x < m_image.width(); ++x) {
                const double i = ink(x, y);
                sum += i;
                sx += i * (x + 0.5);
                sy += i * (y + 0.5);
            }
        }
        return sum > 0 ? QPointF(sx / sum, sy / sum) : QPointF(-1, -1);
    }

    // The smallest rectangle holding every pixel with more than a trace of ink.
    QRect inkedBounds(double threshold = 0.05) const
    {
        QRect bounds;
        for (int y = 0; y < m_image.height(); ++y) {
            for (int x = 0; x < m_image.width(); ++x) {
                if (ink(x, y) > threshold) {
                    bounds |= QRect(x, y, 1, 1);
                }
            }
        }
        return bounds;
    }

    // The marker's translucent teal over the background, as opposed to black ink.
    bool isMarker(int x, int y) const
    {
        const QRgb p = m_image.pixel(x, y);
        return qGreen(p) - qRed(p) > 60 && qBlue(p) - qRed(p) > 60;
    }

private:
    QImage m_image;
    int m_background;
};

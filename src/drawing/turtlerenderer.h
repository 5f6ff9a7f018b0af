#pragma once

#include <QColor>
#include <QPen>

class QPaintDevice;
class QPainter;
class WalkingTurtle;

// Paints a walking turtle's trace and marker onto any paint device: the largest
// centred square shows turtle coordinates -400..400 with y up. The output area
// and the image export both paint through this class, so a screen and an
// exported image of the same size hold the same pixels. Needs no QWidget and no
// application object.
class TurtleRenderer
{
public:
    // Black, solid, one device pixel wide whatever the scale, square cap, bevel join.
    static QPen defaultPen();
    static QColor markerColor();

    // The turtle may be null: then no trace, and the marker at the origin.
    TurtleRenderer(const WalkingTurtle* turtle, const QPen& pen);

    void render(QPaintDevice* device, bool showTurtle) const;

    // Maps turtle coordinates onto a device of the given size, antialiased.
    static void setUpView(QPainter* painter, int width, int height);

    // Both expect a painter set up by setUpView().
    void drawTrace(QPainter* painter) const;
    void drawTurtle(QPainter* painter) const;

    // Changes whenever the drawn trace changes (positions and pen flags).
    static quint64 traceFingerprint(const WalkingTurtle* turtle);

private:
    const WalkingTurtle* m_turtle;
    QPen m_pen;
};

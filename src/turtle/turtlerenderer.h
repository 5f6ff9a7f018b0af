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

    // Both expect the painter to be set up by render().
    void drawTrace(QPainter* painter) const;
    void drawTurtle(QPainter* painter) const;

private:
    const WalkingTurtle* m_turtle;
    QPen m_pen;
};

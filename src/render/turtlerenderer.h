#pragma once

#include <QColor>
#include <QPen>
#include <QPointF>
#include <QTransform>

#include <atomic>
#include <cstddef>

class QImage;
class QPaintDevice;
class QPainter;
class TraceSnapshot;
class WalkingTurtle;

// Paints a walking turtle's trace and marker onto any paint device: the largest
// centred square shows turtle coordinates -400..400 with y up. The output area
// and the image export both paint through this class, so a screen and an
// exported image of the same size hold the same pixels. Needs no QWidget and no
// application object.
//
// A wide or dashed pen makes the toolkit stroke a whole run into one outline,
// whose overlapping edges are slow to fill (seconds for a million snapshots).
// Such runs are drawn as short polylines instead, the dash pattern carried from
// one to the next, and an image is painted in two bands at once. The reference
// way, one polyline per run, stays available to check the fast one against.
class TurtleRenderer
{
public:
    // Black, solid, one device pixel wide whatever the scale, square cap, bevel join.
    static QPen defaultPen();
    static QColor markerColor();

    // The turtle may be null: then no trace, and the marker at the origin.
    TurtleRenderer(const WalkingTurtle* turtle, const QPen& pen);

    // One polyline per run, however slow.
    void setReference(bool reference) { m_reference = reference; }

    void render(QPaintDevice* device, bool showTurtle) const;

    // Maps turtle coordinates onto a device of the given size, antialiased.
    static void setUpView(QPainter* painter, int width, int height);

    // Both expect a painter set up by setUpView().
    void drawTrace(QPainter* painter) const;
    void drawTurtle(QPainter* painter) const;

    // Changes whenever the drawn trace changes (positions and pen flags).
    static quint64 traceFingerprint(const WalkingTurtle* turtle);

    // Paints the first `count` points of a snapshot onto an image of logical
    // size `size` filled beforehand, under the world transform `world` (a view
    // of the drawing), in two bands at once. Returns false when `cancel` was
    // set meanwhile. `runLength` receives the length of the last run.
    static bool renderSnapshot(QImage* image, const QSize& size, const QTransform& world,
        const TraceSnapshot& points, std::size_t count, const QPen& pen, double* runLength,
        const std::atomic<bool>* cancel);

    // Draws points [begin, end) onto a painter set up for the drawing: when
    // point `begin` continues a run, from point begin - 1 on, the dash pattern
    // carried on from `*runLength`, the logical length of that run up to
    // begin - 1; receives the length up to end - 1.
    static void drawSnapshotRange(QPainter* painter, const TraceSnapshot& points, std::size_t begin,
        std::size_t end, const QPen& pen, double* runLength);
    // Draws the segment from point index - 1 towards point `index`, `fraction`
    // of its length, the dash pattern going on from `runLength` as above.
    static void drawPartialSegment(QPainter* painter, const TraceSnapshot& points, std::size_t index,
        double fraction, const QPen& pen, double runLength);

    // The marker at a position of the painter (turtle x, -y) and a heading.
    static void drawMarker(QPainter* painter, const QPointF& at, double angle);

private:
    const WalkingTurtle* m_turtle;
    QPen m_pen;
    bool m_reference = false;
};

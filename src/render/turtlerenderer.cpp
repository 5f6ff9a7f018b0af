#include "turtlerenderer.h"

#include "tracemirror.h"
#include "turtle/walkingturtle.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <new>
#include <thread>

namespace {

// Half the side of the square window, in turtle units.
constexpr int HalfWindow = 400;

// When a run is split, short enough that an outline has few overlapping edges,
// long enough that a dense trace is not one fill per segment:
// a polyline is cut after this many points or device pixels, whichever comes
// first: long chords are then drawn one by one.
constexpr int SplitPoints = 8;
constexpr qreal SplitPixels = 64;

// Below this a second band costs more than it saves.
constexpr std::size_t BandPoints = 4096;

constexpr std::size_t CancelCheckPoints = 2048;

// Positions reach the painter as the truncated integers of the trace, but in
// floating point: a position clamped to INT_MIN could not be negated as an int,
// and the painter's own integer mapping would overflow far outside the view.
template <class Snapshot> QPointF screenPoint(const Snapshot& snapshot)
{
    return QPointF(snapshot.x(), -static_cast<qreal>(snapshot.y()));
}

// How a pen is stroked on a device: the toolkit draws a pen at most one
// device pixel wide with its fast line stroker, which needs no splitting.
struct Stroke
{
    Stroke(const QPen& pen, const QTransform& device, bool reference)
    {
        const qreal scale = std::sqrt(std::abs(device.determinant()));
        const bool cosmetic = pen.isCosmetic() || pen.widthF() == 0;
        const bool thin = cosmetic ? pen.widthF() <= 1 : pen.widthF() * scale <= 1;
        split = !reference && !thin && pen.style() != Qt::NoPen;
        dashed = pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen;
        if (dashed) {
            for (qreal dash : pen.dashPattern()) {
                pattern += std::max<qreal>(dash, 0);
            }
            dashed = pattern > 0;
            // The fast stroker counts the pattern in device pixels, the other
            // one in pen widths of the drawing.
            unit = thin ? 1 / std::max<qreal>(scale, 1e-12) : (cosmetic ? std::max<qreal>(pen.widthF(), 1) / std::max<qreal>(scale, 1e-12) : pen.widthF());
        }
        // How far ink reaches beyond the points, for culling.
        qreal reach = pen.widthF() / 2;
        if (pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin) {
            reach *= std::max<qreal>(pen.miterLimit(), 1);
        } else {
            reach *= 1.5;
        }
        margin = cosmetic ? 2 / std::max<qreal>(scale, 1e-12) : reach + 2 / std::max<qreal>(scale, 1e-12);
        splitLength = SplitPixels / std::max<qreal>(scale, 1e-12);
    }

    qreal offsetAt(qreal length, qreal penOffset) const
    {
        return std::fmod(penOffset + length / unit, pattern);
    }

    bool split = false;
    bool dashed = false;
    qreal unit = 1;
    qreal pattern = 0;
    qreal margin = 0;
    // SplitPixels in logical units.
    qreal splitLength = 0;
};

// Draws points [begin, end) of a trace; see TurtleRenderer::drawSnapshotRange.
// `cull`, in device coordinates, skips split polylines that cannot reach it.
template <class Points>
bool drawRange(QPainter* painter, const Points& points, std::size_t begin, std::size_t end, const QPen& pen,
    const Stroke& stroke, double* runLength, const QRectF& cull, const std::atomic<bool>* cancel)
{
    const QTransform device = painter->combinedTransform();
    QPen current = pen;
    painter->setPen(current);
    QPolygonF run;
    double length = 0;
    double startLength = 0;

    const auto flush = [&] {
        if (run.size() > 1) {
            if (stroke.split && !cull.isEmpty()
                && !device.mapRect(run.boundingRect().adjusted(-stroke.margin, -stroke.margin, stroke.margin, stroke.margin))
                        .intersects(cull)) {
                return;
            }
            if (stroke.dashed && startLength > 0) {
                current.setDashOffset(stroke.offsetAt(startLength, pen.dashOffset()));
                painter->setPen(current);
            } else if (stroke.dashed && current.dashOffset() != pen.dashOffset()) {
                current = pen;
                painter->setPen(current);
            }
            painter->drawPolyline(run);
        }
    };

    std::size_t i = begin;
    if (begin > 0 && begin < end && points[begin].isWriting()) {
        run.append(screenPoint(points[begin - 1]));
        length = startLength = runLength ? *runLength : 0;
    }
    for (; i < end; ++i) {
        const auto& snapshot = points[i];
        const QPointF point = screenPoint(snapshot);
        if (!snapshot.isWriting()) {
            flush();
            run.clear();
            length = startLength = 0;
        } else if (!run.isEmpty() && run.back() == point && stroke.split) {
            // A turn adds a point where the run already is: nothing to draw.
            continue;
        } else if (!run.isEmpty() && (stroke.dashed || stroke.split)) {
            length += QLineF(run.back(), point).length();
        }
        run.append(point);
        if (stroke.split && (run.size() >= SplitPoints || length - startLength >= stroke.splitLength)) {
            flush();
            run.clear();
            run.append(point);
            startLength = length;
        }
        if (cancel && i % CancelCheckPoints == 0 && cancel->load(std::memory_order_relaxed)) {
            return false;
        }
    }
    flush();
    if (runLength) {
        *runLength = length;
    }
    return true;
}

// The fixed mapping, the viewport shifted up by `top` device rows.
void setUpBand(QPainter* painter, const QSize& size, int top)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const int side = std::min(size.width(), size.height());
    painter->setViewport((size.width() - side) / 2, (size.height() - side) / 2 - top, side, side);
    painter->setWindow(-HalfWindow, -HalfWindow, 2 * HalfWindow, 2 * HalfWindow);
}

// Paints points [0, count) onto an image in horizontal bands, one thread each.
template <class Points>
bool paintBands(QImage* image, const QSize& size, const QTransform& world, const Points& points, std::size_t count,
    const QPen& pen, bool reference, double* runLength, const std::atomic<bool>* cancel)
{
    const int rows = image->height();
    // The fast stroker draws thin pens quickly enough on one core.
    const qreal side = std::min(size.width(), size.height());
    const QTransform device = world * QTransform::fromScale(side / (2 * HalfWindow), side / (2 * HalfWindow));
    const bool twoBands = Stroke(pen, device, reference).split && count >= BandPoints && rows >= 64
        && image->devicePixelRatio() == 1.0 && std::thread::hardware_concurrency() > 1;
    const int bands = twoBands ? 2 : 1;
    uchar* bits = image->bits();
    const qsizetype bytesPerLine = image->bytesPerLine();

    const auto paintBand = [&](int band, double* length) {
        const int top = rows * band / bands;
        const int bottom = rows * (band + 1) / bands;
        QImage part(bits + top * bytesPerLine, image->width(), bottom - top, bytesPerLine, image->format());
        part.setDevicePixelRatio(image->devicePixelRatio());
        QPainter painter(&part);
        setUpBand(&painter, size, top);
        painter.setWorldTransform(world);
        const Stroke stroke(pen, painter.combinedTransform(), reference);
        return drawRange(&painter, points, 0, count, pen, stroke, length, QRectF(part.rect()), cancel);
    };

    if (bands == 1) {
        return paintBand(0, runLength);
    }
    bool otherDone = false;
    bool otherFailed = false;
    std::thread other([&] {
        try {
            double unused = 0;
            otherDone = paintBand(1, &unused);
        } catch (const std::bad_alloc&) {
            otherFailed = true;
        }
    });
    bool done = false;
    try {
        done = paintBand(0, runLength);
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (otherFailed) {
        throw std::bad_alloc();
    }
    return done && otherDone;
}

// A segment cut short: its start and a point along it.
struct PartialSegment
{
    struct Point
    {
        double px;
        double py;
        double x() const { return px; }
        double y() const { return py; }
        bool isWriting() const { return true; }
    };
    Point points[2];
    const Point& operator[](std::size_t i) const { return points[i]; }
};

// The trace read in place, by index.
struct TraceIndex
{
    const WalkingTurtle::Trace& trace;
    const Turtle& operator[](std::size_t i) const { return trace[i]; }
};

} // namespace

QPen TurtleRenderer::defaultPen()
{
    return QPen(QBrush(Qt::black), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QColor TurtleRenderer::markerColor()
{
    return QColor(0, 160, 160, 192);
}

TurtleRenderer::TurtleRenderer(const WalkingTurtle* turtle, const QPen& pen)
    : m_turtle(turtle)
    , m_pen(pen)
{
}

void TurtleRenderer::render(QPaintDevice* device, bool showTurtle) const
{
    if (device->devType() == QInternal::Image && m_turtle && m_turtle->trace().size() >= BandPoints) {
        QImage* image = static_cast<QImage*>(device);
        const QSize size(device->width(), device->height());
        const TraceIndex points { m_turtle->trace() };
        paintBands(image, size, QTransform(), points, m_turtle->trace().size(), m_pen, m_reference, nullptr, nullptr);
        if (showTurtle) {
            QPainter painter(device);
            setUpView(&painter, size.width(), size.height());
            drawTurtle(&painter);
        }
        return;
    }
    QPainter painter(device);
    setUpView(&painter, device->width(), device->height());
    drawTrace(&painter);
    if (showTurtle) {
        drawTurtle(&painter);
    }
}

void TurtleRenderer::setUpView(QPainter* painter, int width, int height)
{
    setUpBand(painter, QSize(width, height), 0);
}

quint64 TurtleRenderer::traceFingerprint(const WalkingTurtle* turtle)
{
    if (!turtle) {
        return 0;
    }
    // FNV-1a over what the trace shows.
    quint64 hash = 14695981039346656037ull;
    const auto mix = [&hash](quint32 value) {
        for (int i = 0; i < 4; ++i) {
            hash = (hash ^ ((value >> (8 * i)) & 0xff)) * 1099511628211ull;
        }
    };
    mix(quint32(turtle->trace().size()));
    for (const Turtle& snapshot : turtle->trace()) {
        mix(quint32(snapshot.x()));
        mix(quint32(snapshot.y()));
        mix(snapshot.isWriting() ? 1 : 0);
    }
    return hash;
}

void TurtleRenderer::drawTrace(QPainter* painter) const
{
    if (!m_turtle || m_turtle->trace().size() < 2) {
        return;
    }
    painter->save();
    // A pen-up snapshot starts a new run; runs are never joined to each other.
    const Stroke stroke(m_pen, painter->combinedTransform(), m_reference);
    const TraceIndex points { m_turtle->trace() };
    drawRange(painter, points, 0, m_turtle->trace().size(), m_pen, stroke, nullptr, QRectF(), nullptr);
    painter->restore();
}

bool TurtleRenderer::renderSnapshot(QImage* image, const QSize& size, const QTransform& world,
    const TraceSnapshot& points, std::size_t count, const QPen& pen, double* runLength,
    const std::atomic<bool>* cancel)
{
    return paintBands(image, size, world, points, std::min(count, points.size()), pen, false, runLength, cancel);
}

void TurtleRenderer::drawSnapshotRange(QPainter* painter, const TraceSnapshot& points, std::size_t begin,
    std::size_t end, const QPen& pen, double* runLength)
{
    painter->save();
    const Stroke stroke(pen, painter->combinedTransform(), false);
    drawRange(painter, points, begin, std::min(end, points.size()), pen, stroke, runLength, QRectF(), nullptr);
    painter->restore();
}

void TurtleRenderer::drawPartialSegment(QPainter* painter, const TraceSnapshot& points, std::size_t index,
    double fraction, const QPen& pen, double runLength)
{
    if (index == 0 || index >= points.size() || !points[index].isWriting()) {
        return;
    }
    const TracePoint& a = points[index - 1];
    const TracePoint& b = points[index];
    const PartialSegment segment { { { double(a.x()), double(a.y()) },
        { a.x() + fraction * (b.x() - a.x()), a.y() + fraction * (b.y() - a.y()) } } };
    painter->save();
    const Stroke stroke(pen, painter->combinedTransform(), false);
    drawRange(painter, segment, 1, 2, pen, stroke, &runLength, QRectF(), nullptr);
    painter->restore();
}

void TurtleRenderer::drawTurtle(QPainter* painter) const
{
    if (m_turtle) {
        drawMarker(painter, QPointF(m_turtle->x(), -qreal(m_turtle->y())), m_turtle->angle());
    } else {
        drawMarker(painter, QPointF(), Turtle::Pi);
    }
}

void TurtleRenderer::drawMarker(QPainter* painter, const QPointF& at, double angle)
{
    painter->save();

    // Body, neck and head, facing -x (heading pi) in its own frame.
    QPainterPath path;
    path.addRect(-35, -4, 8, 8);
    path.addEllipse(-30, -22.5, 60, 45);
    path.moveTo(-35, 0);
    path.arcTo(-55, -15, 40, 30, 90, 180);
    path.translate(at);
    // Turn about the marker's own centre; the last call applies first.
    QTransform transform;
    transform.translate(at.x(), at.y());
    transform.rotateRadians(Turtle::Pi - angle);
    transform.translate(-at.x(), -at.y());
    painter->setWorldTransform(transform, true);

    const QColor colour = markerColor();
    painter->setPen(QPen(QBrush(colour), 0, Qt::SolidLine));
    painter->setBrush(QBrush(colour, Qt::SolidPattern));
    painter->drawPath(path);

    painter->restore();
}

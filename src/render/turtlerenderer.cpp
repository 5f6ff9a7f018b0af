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
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Half the side of the square window, in turtle units.
constexpr int HalfWindow = 400;

// When a run is split, short enough that an outline has few overlapping edges,
// long enough that a dense trace is not one fill per segment:
// a polyline is cut after this many points or device pixels, whichever comes
// first: long chords are then drawn one by one.
constexpr int SplitPoints = 8;
constexpr qreal SplitPixels = 64;
// Clipping cuts long segments in pieces this long at least: short enough that
// pieces over ink already filled are often left out, long enough that their
// overlapping caps cost little.
constexpr qreal PiecePixels = 128;

// A run is drawn as polylines of at most this many points, so that the points
// held at once do not grow with the drawing: a runaway loop draws one run of
// millions of points.
constexpr int LongestPolyline = 1 << 16;

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
        // How far ink reaches beyond the points, for clipping: a square cap's
        // corner lies half a width times the square root of two away.
        qreal reach = pen.widthF() / 2;
        if (pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin) {
            reach *= std::max<qreal>(pen.miterLimit(), 1.5);
        } else {
            reach *= 1.5;
        }
        margin = cosmetic ? 2 / std::max<qreal>(scale, 1e-12) : reach + 2 / std::max<qreal>(scale, 1e-12);
        splitLength = SplitPixels / std::max<qreal>(scale, 1e-12);
        // Caps where a segment is cut overlap its pieces: a wide pen's are longer.
        const qreal penPixels = cosmetic ? pen.widthF() : pen.widthF() * scale;
        pieceLength = std::max<qreal>(PiecePixels, 2 * penPixels) / std::max<qreal>(scale, 1e-12);
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
    // The longest piece of a segment cut by clipping, in logical units.
    qreal pieceLength = 0;
};

// The part [*t0, *t1] of the segment a..b that lies in a rectangle; false
// when none does.
bool clipSegment(const QPointF& a, const QPointF& b, const QRectF& rect, double* t0, double* t1)
{
    double low = 0;
    double high = 1;
    // Keeps the part where p * t <= q.
    const auto edge = [&low, &high](double p, double q) {
        if (p == 0) {
            return q >= 0;
        }
        const double t = q / p;
        if (p < 0) {
            low = std::max(low, t);
        } else {
            high = std::min(high, t);
        }
        return low <= high;
    };
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    if (!(edge(-dx, a.x() - rect.left()) && edge(dx, rect.right() - a.x()) && edge(-dy, a.y() - rect.top())
            && edge(dy, rect.bottom() - a.y()))) {
        return false;
    }
    *t0 = low;
    *t1 = high;
    return true;
}

// The tiles of an image known to hold nothing but a pen's opaque colour. Ink
// of that colour blended over it at any coverage leaves it as it is, so a
// piece whose ink can only fall on such tiles need not be drawn: where the
// view is zoomed into a dense drawing the same pixels would be filled over
// and over with a wide pen.
class CoveredTiles
{
public:
    static constexpr int Shift = 4;
    static constexpr int Side = 1 << Shift;
    // Tiles inked since they were last looked at are looked at again after
    // this many pieces.
    static constexpr int CheckPieces = 32;

    CoveredTiles(QImage* image, const QPen& pen)
        : m_image(image)
        , m_colour(pen.color().rgba())
        , m_columns((image->width() + Side - 1) >> Shift)
        , m_rows((image->height() + Side - 1) >> Shift)
    {
        const QImage::Format format = image->format();
        m_usable = pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255
            && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied);
        if (m_usable) {
            m_state.assign(std::size_t(m_columns) * m_rows, Unknown);
        }
    }

    bool isUsable() const { return m_usable; }

    // Whether ink within `area` (device pixels) could change nothing.
    bool covers(const QRectF& area) const
    {
        int left, top, right, bottom;
        if (!tiles(area, &left, &top, &right, &bottom)) {
            return true;
        }
        for (int row = top; row <= bottom; ++row) {
            const unsigned char* state = &m_state[std::size_t(row) * m_columns];
            for (int column = left; column <= right; ++column) {
                if (state[column] != Covered) {
                    return false;
                }
            }
        }
        return true;
    }

    void inked(const QRectF& area)
    {
        int left, top, right, bottom;
        if (tiles(area, &left, &top, &right, &bottom)) {
            for (int row = top; row <= bottom; ++row) {
                unsigned char* state = &m_state[std::size_t(row) * m_columns];
                for (int column = left; column <= right; ++column) {
                    if (state[column] == Unknown) {
                        state[column] = Inked;
                        m_inked.push_back(row * m_columns + column);
                    }
                }
            }
        }
        if (++m_pieces >= CheckPieces) {
            check();
        }
    }

private:
    enum : unsigned char { Unknown, Inked, Covered };

    bool tiles(const QRectF& area, int* left, int* top, int* right, int* bottom) const
    {
        const QRectF clipped = area & QRectF(0, 0, m_image->width(), m_image->height());
        if (clipped.isEmpty()) {
            return false;
        }
        *left = int(clipped.left()) >> Shift;
        *top = int(clipped.top()) >> Shift;
        *right = std::min(m_columns - 1, int(clipped.right()) >> Shift);
        *bottom = std::min(m_rows - 1, int(clipped.bottom()) >> Shift);
        return true;
    }

    void check()
    {
        m_pieces = 0;
        const uchar* bits = m_image->constBits();
        const qsizetype bytesPerLine = m_image->bytesPerLine();
        for (int tile : m_inked) {
            const int x0 = (tile % m_columns) << Shift;
            const int y0 = (tile / m_columns) << Shift;
            const int x1 = std::min(m_image->width(), x0 + Side);
            const int y1 = std::min(m_image->height(), y0 + Side);
            bool covered = true;
            for (int y = y0; y < y1 && covered; ++y) {
                const QRgb* line = reinterpret_cast<const QRgb*>(bits + y * bytesPerLine);
                for (int x = x0; x < x1; ++x) {
                    covered &= line[x] == m_colour;
                }
            }
            m_state[tile] = covered ? Covered : Unknown;
        }
        m_inked.clear();
    }

    QImage* m_image;
    QRgb m_colour;
    int m_columns;
    int m_rows;
    bool m_usable = false;
    int m_pieces = 0;
    std::vector<unsigned char> m_state;
    std::vector<int> m_inked;
};

// Draws points [begin, end) of a trace; see TurtleRenderer::drawSnapshotRange.
// A split pen is clipped to what can reach `cull` (device coordinates, empty
// for no clipping): each segment is cut to that rectangle widened by the
// pen's reach before it is stroked, so that neither the stroker nor the
// rasteriser works on ink off the device however far the view is zoomed in;
// the cuts, their caps and the joins left out all lie beyond the margin.
// `covered`, when given, is the painter's image, and pieces that would change
// none of its pixels are left out.
template <class Points>
bool drawRange(QPainter* painter, const Points& points, std::size_t begin, std::size_t end, const QPen& pen,
    const Stroke& stroke, double* runLength, const QRectF& cull, const std::atomic<bool>* cancel,
    CoveredTiles* covered = nullptr)
{
    const QTransform device = painter->combinedTransform();
    QPen current = pen;
    painter->setPen(current);
    QPolygonF run;
    double length = 0;
    double startLength = 0;

    bool clipping = stroke.split && !cull.isEmpty();
    QRectF window;
    if (clipping) {
        bool invertible = false;
        const QTransform logical = device.inverted(&invertible);
        window = logical.mapRect(cull).adjusted(-stroke.margin, -stroke.margin, stroke.margin, stroke.margin);
        clipping = invertible;
    }

    if (covered && !(clipping && covered->isUsable())) {
        covered = nullptr;
    }
    const auto flush = [&] {
        if (run.size() > 1) {
            QRectF inkArea;
            if (covered) {
                inkArea = device.mapRect(
                    run.boundingRect().adjusted(-stroke.margin, -stroke.margin, stroke.margin, stroke.margin));
                if (covered->covers(inkArea)) {
                    return;
                }
            }
            if (stroke.dashed && startLength > 0) {
                current.setDashOffset(stroke.offsetAt(startLength, pen.dashOffset()));
                painter->setPen(current);
            } else if (stroke.dashed && current.dashOffset() != pen.dashOffset()) {
                current = pen;
                painter->setPen(current);
            }
            painter->drawPolyline(run);
            if (covered) {
                covered->inked(inkArea);
            }
        }
    };

    // A point that ends a run's polyline when the run is split; `at` is the
    // run's length up to it.
    const auto splitDue = [&](double at) {
        return (stroke.split && (run.size() >= SplitPoints || at - startLength >= stroke.splitLength))
            || run.size() >= LongestPolyline;
    };
    const auto splitAt = [&](const QPointF& point, double at) {
        flush();
        run.clear();
        run.append(point);
        startLength = at;
    };
    const auto extend = [&](const QPointF& point, double at) {
        run.append(point);
        if (splitDue(at)) {
            splitAt(point, at);
        }
    };

    std::size_t i = begin;
    if (clipping) {
        QPointF previous;
        bool started = false;
        // Whether the run was due to be split at its last point, a vertex.
        bool splitDueAtVertex = false;
        if (begin > 0 && begin < end && points[begin].isWriting()) {
            previous = screenPoint(points[begin - 1]);
            started = true;
            length = runLength ? *runLength : 0;
        }
        for (; i < end; ++i) {
            if (cancel && i % CancelCheckPoints == 0 && cancel->load(std::memory_order_relaxed)) {
                return false;
            }
            const auto& snapshot = points[i];
            const QPointF point = screenPoint(snapshot);
            if (!started || !snapshot.isWriting()) {
                flush();
                run.clear();
                length = 0;
                previous = point;
                started = true;
                continue;
            }
            if (point == previous) {
                continue;
            }
            const double segment = QLineF(previous, point).length();
            const double base = length;
            length += segment;
            double t0 = 0;
            double t1 = 1;
            if (!clipSegment(previous, point, window, &t0, &t1)) {
                flush();
                run.clear();
                previous = point;
                continue;
            }
            const QPointF step = point - previous;
            // A long segment in pieces: one outline covering the whole
            // device is slow to fill.
            const int pieces = std::max(1, int(std::ceil((t1 - t0) * segment / stroke.pieceLength)));
            if (t0 > 0 || run.isEmpty()) {
                splitAt(previous + t0 * step, base + t0 * segment);
            } else if (splitDueAtVertex && pieces == 1) {
                splitAt(previous, base);
            }
            // Otherwise the run is split at the first cut of this segment, so
            // that the join at the vertex is drawn.
            splitDueAtVertex = false;
            for (int k = 1; k < pieces; ++k) {
                const double t = t0 + (t1 - t0) * k / pieces;
                extend(previous + t * step, base + t * segment);
            }
            if (t1 < 1) {
                run.append(previous + t1 * step);
                flush();
                run.clear();
            } else {
                run.append(point);
                splitDueAtVertex = splitDue(length);
            }
            previous = point;
        }
        flush();
        if (runLength) {
            *runLength = length;
        }
        return true;
    }

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
        extend(point, length);
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
        CoveredTiles covered(&part, pen);
        return drawRange(&painter, points, 0, count, pen, stroke, length, QRectF(part.rect()), cancel, &covered);
    };

    if (bands == 1) {
        return paintBand(0, runLength);
    }
    bool otherDone = false;
    bool otherFailed = false;
    std::thread other;
    try {
        other = std::thread([&] {
            try {
                double unused = 0;
                otherDone = paintBand(1, &unused);
            } catch (const std::bad_alloc&) {
                otherFailed = true;
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had, when the address space runs short: one band after the other.
        double unused = 0;
        return paintBand(0, runLength) && paintBand(1, &unused);
    }
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
    // Every image is painted as the output area paints its picture, clipped
    // piece by piece, so that the two hold the same pixels.
    if (device->devType() == QInternal::Image && m_turtle) {
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
    // An image's painter maps onto its pixels, which are all there is to draw.
    const QPaintDevice* device = painter->device();
    const QRectF cull = device && device->devType() == QInternal::Image
        ? QRectF(static_cast<const QImage*>(device)->rect())
        : QRectF();
    drawRange(painter, points, begin, std::min(end, points.size()), pen, stroke, runLength, cull, nullptr);
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

#include "turtlerenderer.h"

#include "turtle/walkingturtle.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

// Half the side of the square window, in turtle units.
constexpr int HalfWindow = 400;

// Positions reach the painter as the truncated integers of the trace, but in
// floating point: a position clamped to INT_MIN could not be negated as an int,
// and the painter's own integer mapping would overflow far outside the view.
QPointF screenPoint(const Turtle& turtle)
{
    return QPointF(turtle.x(), -static_cast<qreal>(turtle.y()));
}

void drawRun(QPainter* painter, const QPolygonF& run)
{
    if (run.size() > 1) {
        painter->drawPolyline(run);
    }
}

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
    QPainter painter(device);
    setUpView(&painter, device->width(), device->height());
    drawTrace(&painter);
    if (showTurtle) {
        drawTurtle(&painter);
    }
}

void TurtleRenderer::setUpView(QPainter* painter, int width, int height)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width, height);
    painter->setViewport((width - side) / 2, (height - side) / 2, side, side);
    painter->setWindow(-HalfWindow, -HalfWindow, 2 * HalfWindow, 2 * HalfWindow);
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
    painter->setPen(m_pen);

    // A pen-up snapshot starts a new run; runs are never joined to each other.
    // Each run is measured first, so that a long one is copied into a buffer of
    // its exact size instead of one that doubles its way there.
    const WalkingTurtle::Trace& trace = m_turtle->trace();
    QPolygonF run;
    for (auto start = trace.cbegin(); start != trace.cend();) {
        auto end = std::next(start);
        while (end != trace.cend() && end->isWriting()) {
            ++end;
        }
        run.clear();
        run.reserve(int(std::min<std::ptrdiff_t>(std::distance(start, end), INT_MAX)));
        for (auto snapshot = start; snapshot != end; ++snapshot) {
            run.append(screenPoint(*snapshot));
        }
        drawRun(painter, run);
        start = end;
    }

    painter->restore();
}

void TurtleRenderer::drawTurtle(QPainter* painter) const
{
    painter->save();

    // Body, neck and head, facing -x (heading pi) in its own frame.
    QPainterPath path;
    path.addRect(-35, -4, 8, 8);
    path.addEllipse(-30, -22.5, 60, 45);
    path.moveTo(-35, 0);
    path.arcTo(-55, -15, 40, 30, 90, 180);

    if (m_turtle) {
        const qreal cx = m_turtle->x();
        const qreal cy = m_turtle->y();
        path.translate(cx, -cy);
        // Turn about the marker's own centre; the last call applies first.
        QTransform transform;
        transform.translate(cx, -cy);
        transform.rotateRadians(Turtle::Pi - m_turtle->angle());
        transform.translate(-cx, cy);
        painter->setWorldTransform(transform);
    }

    const QColor colour = markerColor();
    painter->setPen(QPen(QBrush(colour), 0, Qt::SolidLine));
    painter->setBrush(QBrush(colour, Qt::SolidPattern));
    painter->drawPath(path);

    painter->restore();
}

#include "qturtleoutputarea.h"

#include "render/asynctracerenderer.h"
#include "render/turtlerenderer.h"
#include "turtle/walkingturtle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineF>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace {

// Traces this short are painted at once, whatever the pen.
constexpr std::size_t ImmediatePoints = 1500;
// New segments drawn onto the picture at once; beyond, a background render.
constexpr std::size_t ThinIncrementPoints = 20000;
constexpr std::size_t WideIncrementPoints = 1000;
// Points copied from the trace at one paint (about 10 ms).
constexpr std::size_t SyncSlicePoints = std::size_t(1) << 18;
// No growth for this long and the whole picture is rendered again.
constexpr int SettleMs = 300;
// How near a segment a point must be to hit it, in pixels.
constexpr double HitPixels = 4;
constexpr double ZoomStep = 1.25;

bool isThin(const QPen& pen)
{
    return pen.style() == Qt::SolidLine && pen.widthF() <= 1;
}

} // namespace

QTurtleOutputArea::QTurtleOutputArea(QWidget* parent)
    : QWidget(parent)
    , m_walkingTurtle(nullptr)
    , m_pen(TurtleRenderer::defaultPen())
    , m_renderer(new AsyncTraceRenderer(this))
{
    setFocusPolicy(Qt::StrongFocus);
    // The widget fills its own background, so that the picture can hold it.
    setAutoFillBackground(true);
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(SettleMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &QTurtleOutputArea::settle);
    connect(&m_glide, &MarkerGlide::moved, this, QOverload<>::of(&QWidget::update));
    connect(&m_glide, &MarkerGlide::finished, this, [this] {
        m_glideDraws = false;
        m_settleTimer.start();
    });
    connect(m_renderer, &AsyncTraceRenderer::finished, this, &QTurtleOutputArea::takeRender);
    connect(m_renderer, &AsyncTraceRenderer::failed, this, [this](const QString& reason) {
        // Not tried again until something changes.
        m_failed = m_pending;
        emit renderFailed(reason);
    });
}

QTurtleOutputArea::~QTurtleOutputArea() = default;

void QTurtleOutputArea::setWalkingTurtle(WalkingTurtle* turtle)
{
    m_walkingTurtle = turtle;
    m_mirror.clear();
    ++m_epoch;
}

void QTurtleOutputArea::render(QPaintDevice* device, bool showTurtle)
{
    TurtleRenderer(m_walkingTurtle, m_pen).render(device, showTurtle);
}

QSize QTurtleOutputArea::minimumSizeHint() const
{
    return QSize(1000, 300);
}

void QTurtleOutputArea::setPen(const QPen& p)
{
    m_pen = p;
    update();
}

void QTurtleOutputArea::setGlideDuration(int ms)
{
    if (ms != m_glide.duration()) {
        m_glide.finish();
        m_glide.setDuration(ms);
    }
}

void QTurtleOutputArea::setSnapshotToolTip(std::function<QString(int)> toolTip)
{
    m_toolTip = std::move(toolTip);
}

bool QTurtleOutputArea::isSettled() const
{
    return pictureMatches(m_picture) && m_picture.exact && m_picture.count == m_mirror.size()
        && (!m_walkingTurtle || m_walkingTurtle->trace().size() == m_mirror.size());
}

QColor QTurtleOutputArea::backgroundColor() const
{
    return palette().brush(backgroundRole()).color();
}

void QTurtleOutputArea::syncTrace(bool verifyAll)
{
    if (m_mirror.sync(m_walkingTurtle, verifyAll, SyncSlicePoints) == TraceMirror::Change::Replaced) {
        ++m_epoch;
    }
    // A long trace is copied over several paints, so that none holds the event loop.
    if (m_walkingTurtle && m_mirror.size() < m_walkingTurtle->trace().size()) {
        QTimer::singleShot(0, this, QOverload<>::of(&QWidget::update));
    }
}

void QTurtleOutputArea::followTurtle()
{
    MarkerGlide::Pose pose;
    pose.angle = Turtle::Pi;
    if (m_walkingTurtle) {
        pose.position = QPointF(m_walkingTurtle->x(), -double(m_walkingTurtle->y()));
        pose.angle = m_walkingTurtle->angle();
    }
    const std::size_t count = m_mirror.size();
    if (pose == m_glide.target() && m_glideEpoch == m_epoch && m_glideCount == count) {
        return;
    }
    // One step glides from where the last one ended; anything else jumps.
    const bool oneStep = m_glideEpoch == m_epoch && count >= m_glideCount && count <= m_glideCount + 1;
    const bool grew = count == m_glideCount + 1;
    const MarkerGlide::Pose from = m_glide.target();
    m_glide.finish();
    m_glideEpoch = m_epoch;
    m_glideCount = count;
    if (!oneStep) {
        m_glide.start(pose, pose);
        return;
    }
    m_glideDraws = m_glide.duration() > 0 && grew && count >= 2 && m_mirror.snapshot()[count - 1].isWriting()
        && from.position != pose.position;
    m_glide.start(from, pose);
}

std::size_t QTurtleOutputArea::drawnCount() const
{
    return m_glideDraws && m_glide.isActive() ? m_glideCount - 1 : m_mirror.size();
}

bool QTurtleOutputArea::pictureMatches(const Picture& picture) const
{
    return !picture.image.isNull() && picture.size == size() && picture.view == m_view && picture.pen == m_pen
        && picture.background == backgroundColor() && picture.epoch == m_epoch
        && picture.image.devicePixelRatio() == devicePixelRatioF();
}

void QTurtleOutputArea::requestRender()
{
    Picture next;
    next.size = size();
    next.view = m_view;
    next.pen = m_pen;
    next.background = backgroundColor();
    next.epoch = m_epoch;
    next.count = drawnCount();
    next.image = QImage(1, 1, QImage::Format_RGB32); // only to make it match
    next.image.setDevicePixelRatio(devicePixelRatioF());
    // A running render of the same picture is let finish even if the trace
    // has grown since: what it misses is drawn on top, and a render restarted
    // at every step of an animation would never end.
    const bool failedBefore = pictureMatches(m_failed) && m_failed.count == next.count;
    if ((m_renderer->isBusy() && pictureMatches(m_pending)) || failedBefore) {
        return;
    }
    m_pending = next;
    TraceRenderRequest request;
    request.size = next.size;
    request.devicePixelRatio = devicePixelRatioF();
    request.view = m_view;
    request.pen = m_pen;
    request.background = next.background;
    request.points = m_mirror.snapshot(next.count);
    m_renderer->request(request);
}

void QTurtleOutputArea::takeRender(const TraceRenderResult& result)
{
    Picture picture = m_pending;
    picture.image = result.image;
    picture.count = result.count;
    picture.runLength = result.runLength;
    picture.exact = true;
    m_picture = picture;
    update();
    emit pictureRendered();
}

void QTurtleOutputArea::settle()
{
    m_settleTimer.stop();
    syncTrace(true);
    followTurtle();
    // The glide's end settles the picture.
    if (m_glide.isActive()) {
        return;
    }
    if (!pictureMatches(m_picture) || !m_picture.exact || m_picture.count != m_mirror.size()) {
        if (m_mirror.size() <= ImmediatePoints) {
            update();
        } else {
            requestRender();
        }
    }
}

void QTurtleOutputArea::updatePicture()
{
    if (size().isEmpty()) {
        return;
    }
    const std::size_t drawn = drawnCount();
    if (m_mirror.size() <= ImmediatePoints) {
        if (pictureMatches(m_picture) && m_picture.exact && m_picture.count == drawn) {
            return;
        }
        m_renderer->cancel();
        TraceRenderRequest request;
        request.size = size();
        request.devicePixelRatio = devicePixelRatioF();
        request.view = m_view;
        request.pen = m_pen;
        request.background = backgroundColor();
        request.points = m_mirror.snapshot(drawn);
        const TraceRenderResult result = AsyncTraceRenderer::render(request, nullptr);
        if (result.outOfMemory) {
            emit renderFailed(tr("There is not enough memory to draw the picture (%1 x %2 pixels).")
                                  .arg(width())
                                  .arg(height()));
            return;
        }
        m_pending.size = request.size;
        m_pending.view = m_view;
        m_pending.pen = m_pen;
        m_pending.background = request.background;
        m_pending.epoch = m_epoch;
        m_picture = m_pending;
        m_picture.image = result.image;
        m_picture.count = result.count;
        m_picture.runLength = result.runLength;
        m_picture.exact = true;
        return;
    }
    if (!pictureMatches(m_picture)) {
        requestRender();
        return;
    }
    if (m_picture.count >= drawn) {
        return;
    }
    const std::size_t limit = isThin(m_pen) ? ThinIncrementPoints : WideIncrementPoints;
    if (drawn - m_picture.count > limit) {
        requestRender();
        return;
    }
    // The new segments, onto the picture at once; the dash pattern goes on
    // where the picture's last run stopped.
    QPainter painter(&m_picture.image);
    TurtleRenderer::setUpView(&painter, width(), height());
    painter.setWorldTransform(m_view.worldTransform(size()));
    TurtleRenderer::drawSnapshotRange(&painter, m_mirror.snapshot(drawn), m_picture.count, drawn, m_pen,
        &m_picture.runLength);
    m_picture.count = drawn;
    m_picture.exact = false;
    m_settleTimer.start();
}

void QTurtleOutputArea::paintEvent(QPaintEvent*)
{
    syncTrace(false);
    followTurtle();
    updatePicture();

    QPainter painter(this);
    if (!m_picture.image.isNull()) {
        if (m_picture.size == size() && m_picture.view == m_view) {
            painter.drawImage(0, 0, m_picture.image);
        } else {
            // Until the new picture comes, the old one moved where it belongs.
            const QTransform from = m_picture.view.transform(m_picture.size);
            const QTransform to = m_view.transform(size());
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.setTransform(from.inverted() * to);
            painter.drawImage(0, 0, m_picture.image);
            painter.restore();
        }
    }
    TurtleRenderer::setUpView(&painter, width(), height());
    painter.setWorldTransform(m_view.worldTransform(size()));
    if (m_glideDraws && m_glide.isActive() && m_picture.count + 1 == m_glideCount) {
        TurtleRenderer::drawPartialSegment(&painter, m_mirror.snapshot(m_glideCount), m_glideCount - 1,
            m_glide.progress(), m_pen, m_picture.runLength);
    }
    const MarkerGlide::Pose marker = m_glide.pose();
    TurtleRenderer::drawMarker(&painter, marker.position, marker.angle);
    drawEdgeArrow(&painter);
}

void QTurtleOutputArea::drawEdgeArrow(QPainter* painter)
{
    if (!m_walkingTurtle) {
        return;
    }
    QPointF at;
    double angle = 0;
    if (!m_view.edgeArrow(m_glide.pose().position, size(), &at, &angle)) {
        return;
    }
    painter->save();
    painter->resetTransform();
    painter->setViewport(rect());
    painter->setWindow(rect());
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(at);
    painter->rotate(angle * 180 / M_PI);
    const QPointF arrow[] = { QPointF(10, 0), QPointF(-6, -7), QPointF(-2, 0), QPointF(-6, 7) };
    QColor colour = TurtleRenderer::markerColor();
    colour.setAlpha(255);
    painter->setPen(QPen(colour.darker(150), 1));
    painter->setBrush(colour);
    painter->drawPolygon(arrow, 4);
    painter->restore();
}

int QTurtleOutputArea::snapshotAt(const QPoint& widgetPos) const
{
    if (!m_walkingTurtle || size().isEmpty()) {
        return -1;
    }
    const QTransform toDevice = m_view.transform(size());
    bool invertible = false;
    const QTransform toLogical = toDevice.inverted(&invertible);
    if (!invertible) {
        return -1;
    }
    const QPointF target = toLogical.map(QPointF(widgetPos));
    const double scale = std::sqrt(std::abs(toDevice.determinant()));
    const double penPixels = m_pen.widthF() == 0 || m_pen.isCosmetic() ? 1 : m_pen.widthF() * scale;
    const double reach = (HitPixels + penPixels / 2) / scale;
    const double reach2 = reach * reach;

    const WalkingTurtle::Trace& trace = m_walkingTurtle->trace();
    int found = -1;
    QPointF previous;
    int index = 0;
    for (auto it = trace.cbegin(); it != trace.cend(); ++it, ++index) {
        const QPointF point(it->x(), -double(it->y()));
        if (index > 0 && it->isWriting() && point != previous) {
            // Distance from the target to the segment previous..point.
            const QPointF d = point - previous;
            const double t = std::clamp(
                QPointF::dotProduct(target - previous, d) / QPointF::dotProduct(d, d), 0.0, 1.0);
            const QPointF nearest = previous + t * d;
            const QPointF off = target - nearest;
            if (QPointF::dotProduct(off, off) <= reach2) {
                found = index;
            }
        }
        previous = point;
    }
    return found;
}

bool QTurtleOutputArea::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = m_toolTip ? snapshotAt(help->pos()) : -1;
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), m_toolTip(index), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The zoom keys belong to this area while it has the focus.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::ControlModifier) {
            switch (key->key()) {
            case Qt::Key_Plus:
            case Qt::Key_Equal:
            case Qt::Key_Minus:
            case Qt::Key_0:
                event->accept();
                return true;
            default:
                break;
            }
        }
    }
    return QWidget::event(event);
}

void QTurtleOutputArea::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomIn();
            return;
        case Qt::Key_Minus:
            zoomOut();
            return;
        case Qt::Key_0:
            resetView();
            return;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_spaceHeld = true;
    }
    if (m_walkingTurtle) {
        const int key = event->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            m_walkingTurtle->move(key == Qt::Key_Up ? 10 : -10);
            update();
        } else if (key == Qt::Key_Left || key == Qt::Key_Right) {
            m_walkingTurtle->turn(key == Qt::Key_Left ? 10.0 : -10.0);
            update();
        }
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_Left
            || event->key() == Qt::Key_Right) {
            emit turtleSteered();
        }
    }
    QWidget::keyPressEvent(event);
}

void QTurtleOutputArea::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_spaceHeld = false;
    }
    QWidget::keyReleaseEvent(event);
}

void QTurtleOutputArea::zoomAround(const QPointF& anchor, double factor)
{
    m_view.zoomAt(anchor, factor);
    update();
}

void QTurtleOutputArea::zoomIn()
{
    zoomAround(QPointF(width() / 2.0, height() / 2.0), ZoomStep);
}

void QTurtleOutputArea::zoomOut()
{
    zoomAround(QPointF(width() / 2.0, height() / 2.0), 1 / ZoomStep);
}

void QTurtleOutputArea::resetView()
{
    m_view.reset();
    update();
}

void QTurtleOutputArea::fitDrawing()
{
    if (!m_walkingTurtle || m_walkingTurtle->trace().empty()) {
        resetView();
        return;
    }
    double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
    for (const Turtle& snapshot : m_walkingTurtle->trace()) {
        left = std::min(left, double(snapshot.x()));
        right = std::max(right, double(snapshot.x()));
        top = std::min(top, -double(snapshot.y()));
        bottom = std::max(bottom, -double(snapshot.y()));
    }
    m_view.fit(QRectF(QPointF(left, top), QPointF(right, bottom)), size());
    update();
}

void QTurtleOutputArea::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
#if QT_VERSION >= QT_VERSION_CHECK(5, 14, 0)
    const QPointF at = event->position();
#else
    const QPointF at = event->posF();
#endif
    zoomAround(at, std::pow(ZoomStep, event->angleDelta().y() / 120.0));
    event->accept();
}

void QTurtleOutputArea::mousePressEvent(QMouseEvent* event)
{
    m_pressPos = m_lastPos = event->pos();
    m_dragged = false;
    m_panning = event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld);
    if (m_panning) {
        setCursor(Qt::ClosedHandCursor);
    }
    QWidget::mousePressEvent(event);
}

void QTurtleOutputArea::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->pos() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragged = true;
    }
    if (m_panning) {
        m_view.panBy(event->pos() - m_lastPos);
        m_lastPos = event->pos();
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void QTurtleOutputArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panning) {
        m_panning = false;
        unsetCursor();
    } else if (event->button() == Qt::LeftButton && !m_dragged) {
        const int index = snapshotAt(event->pos());
        if (index >= 0) {
            emit snapshotClicked(index);
        }
    }
    QWidget::mouseReleaseEvent(event);
}

#include "qturtleoutputarea.h"

#include "turtlerenderer.h"
#include "turtle/walkingturtle.h"

#include <QKeyEvent>
#include <QPainter>

QTurtleOutputArea::QTurtleOutputArea(QWidget* parent)
    : QWidget(parent)
    , m_walkingTurtle(nullptr)
    , m_pen(TurtleRenderer::defaultPen())
    , m_traceImageFingerprint(0)
    , m_traceImageBackground(0)
{
    setFocusPolicy(Qt::StrongFocus);
    // The widget fills its own background, so that the trace image can hold it.
    setAutoFillBackground(true);
}

void QTurtleOutputArea::setWalkingTurtle(WalkingTurtle* turtle)
{
    m_walkingTurtle = turtle;
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
    m_traceImage = QImage();
    update();
}

void QTurtleOutputArea::keyPressEvent(QKeyEvent* event)
{
    if (m_walkingTurtle) {
        switch (event->key()) {
        case Qt::Key_Up:
            m_walkingTurtle->move(10);
            update();
            break;
        case Qt::Key_Down:
            m_walkingTurtle->move(-10);
            update();
            break;
        case Qt::Key_Left:
            m_walkingTurtle->turn(10.0);
            update();
            break;
        case Qt::Key_Right:
            m_walkingTurtle->turn(-10.0);
            update();
            break;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

void QTurtleOutputArea::paintEvent(QPaintEvent*)
{
    if (!updateTraceImage()) {
        render(this, true);
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_traceImage);
    TurtleRenderer::setUpView(&painter, width(), height());
    TurtleRenderer(m_walkingTurtle, m_pen).drawTurtle(&painter);
}

bool QTurtleOutputArea::updateTraceImage()
{
    // Only a plain background on a plain screen can be copied pixel for pixel.
    const QBrush background = palette().brush(backgroundRole());
    if (background.style() != Qt::SolidPattern || background.color().alpha() != 255
        || devicePixelRatioF() != 1.0 || size().isEmpty()) {
        m_traceImage = QImage();
        return false;
    }
    const quint64 fingerprint = TurtleRenderer::traceFingerprint(m_walkingTurtle);
    const QRgb backgroundColor = background.color().rgb();
    if (m_traceImage.size() == size() && m_traceImageFingerprint == fingerprint
        && m_traceImageBackground == backgroundColor) {
        return true;
    }
    m_traceImage = QImage(size(), QImage::Format_RGB32);
    m_traceImage.fill(background.color());
    TurtleRenderer(m_walkingTurtle, m_pen).render(&m_traceImage, false);
    m_traceImageFingerprint = fingerprint;
    m_traceImageBackground = backgroundColor;
    return true;
}

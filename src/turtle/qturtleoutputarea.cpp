#include "qturtleoutputarea.h"

#include "turtlerenderer.h"
#include "walkingturtle.h"

#include <QKeyEvent>

QTurtleOutputArea::QTurtleOutputArea(QWidget* parent)
    : QWidget(parent)
    , m_walkingTurtle(nullptr)
    , m_pen(TurtleRenderer::defaultPen())
{
    setFocusPolicy(Qt::StrongFocus);
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
    render(this, true);
}

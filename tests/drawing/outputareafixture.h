#pragma once

#include "render/turtlerenderer.h"
#include "widgets/qturtleoutputarea.h"
#include "turtle/walkingturtle.h"

#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QtTest>

// How long a test waits at most for a render in the background, and for a
// repaint that was asked for: only what never comes takes that long. (A
// failing QTRY waits thrice as long, within CTest's timeout.)
constexpr int Patience = 60000;
constexpr int RepaintPatience = 10000;

// An output area on a white background, as the export paints, showing a turtle.
class WhiteArea : public QTurtleOutputArea
{
public:
    WhiteArea(WalkingTurtle* turtle, const QSize& size, const QPen& pen = TurtleRenderer::defaultPen())
    {
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        resize(size);
        setWalkingTurtle(turtle);
        setPen(pen);
    }

    bool showAndWait()
    {
        show();
        return QTest::qWaitForWindowExposed(this);
    }

    // What the area shows, painted now.
    QImage shot() { return grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// grab() paints whatever happened: a missing update() shows only in the paints
// a widget received.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget)
    {
        widget->installEventFilter(this);
    }

    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

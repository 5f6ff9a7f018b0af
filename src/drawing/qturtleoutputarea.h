#pragma once

#include <QImage>
#include <QPen>
#include <QWidget>

class WalkingTurtle;

// Shows the walking turtle's trace under the turtle marker, in the largest
// centred square (turtle coordinates -400..400, y up). The arrow keys walk the
// turtle.
//
// A wide pen makes a long trace slow to paint (seconds for a million
// snapshots), so the painted trace is kept in an image and repainted from it
// until the trace, the pen, the size or the background changes. The image holds
// the very pixels a fresh paint would give.
class QTurtleOutputArea : public QWidget
{
    Q_OBJECT

public:
    explicit QTurtleOutputArea(QWidget* parent = nullptr);

    // Not owned; attaching does not repaint.
    void setWalkingTurtle(WalkingTurtle* turtle);
    const QPen& pen() const { return m_pen; }

    // Paints the drawing onto any device, as this widget shows it at that size.
    void render(QPaintDevice* device, bool showTurtle);

    QSize minimumSizeHint() const override;

public slots:
    void setPen(const QPen& p);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool updateTraceImage();

    WalkingTurtle* m_walkingTurtle;
    QPen m_pen;
    // The background and the trace as last painted, and the trace they show.
    QImage m_traceImage;
    quint64 m_traceImageFingerprint;
    QRgb m_traceImageBackground;
};

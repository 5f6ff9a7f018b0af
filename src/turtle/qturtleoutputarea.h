#pragma once

#include <QPen>
#include <QWidget>

class WalkingTurtle;

// Shows the walking turtle's trace under the turtle marker, in the largest
// centred square (turtle coordinates -400..400, y up). The arrow keys walk the
// turtle. The whole trace is painted again on every repaint.
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
    WalkingTurtle* m_walkingTurtle;
    QPen m_pen;
};

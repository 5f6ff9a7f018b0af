#pragma once

#include "render/drawingview.h"
#include "markerglide.h"
#include "render/tracemirror.h"

#include <QImage>
#include <QPen>
#include <QTimer>
#include <QWidget>

#include <functional>

class AsyncTraceRenderer;
struct TraceRenderResult;
class WalkingTurtle;

// Shows the walking turtle's trace under the turtle marker, in the largest
// centred square (turtle coordinates -400..400, y up), zoomed and panned by the
// user. The arrow keys walk the turtle.
//
// The picture of the trace is kept in an image and never painted on the GUI
// thread when that could take long: a long trace is rendered in the
// background while the previous picture stays on screen; segments added since
// (keys, an animated run) are drawn onto the picture at once, and once the
// trace stops growing the whole picture is rendered again, so that a settled
// picture holds the pixels of the export.
class QTurtleOutputArea : public QWidget
{
    Q_OBJECT

public:
    explicit QTurtleOutputArea(QWidget* parent = nullptr);
    ~QTurtleOutputArea() override;

    // Not owned; attaching does not repaint.
    void setWalkingTurtle(WalkingTurtle* turtle);
    const QPen& pen() const { return m_pen; }

    // Paints the drawing onto any device, as this widget shows it at that size
    // with the view reset.
    void render(QPaintDevice* device, bool showTurtle);

    QSize minimumSizeHint() const override;

    const DrawingView& view() const { return m_view; }

    // The index (> 0) of the trace snapshot that ends the segment drawn last
    // under a widget point, within a few pixels; -1 when there is none.
    int snapshotAt(const QPoint& widgetPos) const;
    // The text of the tooltip over a segment, given its snapshot index.
    void setSnapshotToolTip(std::function<QString(int index)> toolTip);

    // True once the picture on screen is that of the whole trace, drawn exactly.
    bool isSettled() const;

public slots:
    void setPen(const QPen& p);
    void fitDrawing();
    void resetView();
    void zoomIn();
    void zoomOut();
    // Renders the whole picture again now, as when the trace stops growing.
    void settle();
    // How long the marker glides to its next pose, drawing the segment as it
    // goes (0: it jumps there); a change ends the glide going on.
    void setGlideDuration(int ms);

signals:
    // A left click (no drag, no pan) on a segment.
    void snapshotClicked(int index);
    // A background render failed (out of memory); the previous picture stays.
    void renderFailed(const QString& reason);
    // A background render reached the screen.
    void pictureRendered();
    // The arrow keys moved or turned the turtle.
    void turtleSteered();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Picture
    {
        QImage image;
        QSize size;
        DrawingView view;
        QPen pen;
        QColor background;
        quint64 epoch = 0;
        std::size_t count = 0;
        double runLength = 0;
        bool exact = false;
    };

    void syncTrace(bool verifyAll);
    void followTurtle();
    // The points the picture holds once complete: not the segment being glided along.
    std::size_t drawnCount() const;
    void updatePicture();
    bool pictureMatches(const Picture& picture) const;
    void requestRender();
    void takeRender(const TraceRenderResult& result);
    void zoomAround(const QPointF& anchor, double factor);
    void drawEdgeArrow(QPainter* painter);
    QColor backgroundColor() const;

    WalkingTurtle* m_walkingTurtle;
    QPen m_pen;
    DrawingView m_view;

    TraceMirror m_mirror;
    // Changes whenever the trace changes other than by growing.
    quint64 m_epoch = 1;
    Picture m_picture;
    // What the running background render will give.
    Picture m_pending;
    // The last picture that could not be had (out of memory).
    Picture m_failed;
    AsyncTraceRenderer* m_renderer;
    QTimer m_settleTimer;

    MarkerGlide m_glide;
    // The trace's length and epoch when the glide's target was taken.
    std::size_t m_glideCount = 0;
    quint64 m_glideEpoch = 0;
    // The glide draws the trace's last segment, which the picture leaves out meanwhile.
    bool m_glideDraws = false;

    std::function<QString(int)> m_toolTip;
    bool m_spaceHeld = false;
    bool m_panning = false;
    bool m_dragged = false;
    QPoint m_pressPos;
    QPoint m_lastPos;
};

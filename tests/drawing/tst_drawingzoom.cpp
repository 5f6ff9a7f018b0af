#include "inkprobe.h"
#include "render/drawingview.h"
#include "render/turtlerenderer.h"
#include "tracegenerators.h"
#include "turtle/walkingturtle.h"
#include "widgets/qturtleoutputarea.h"

#include <QPainter>
#include <QtTest>

// The drawing zoomed in and out: what shows is the reference rendering of that
// region, the turtle marker keeps its size, and a picture on its way says so.
class TestDrawingZoom : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheReferenceOfTheRegionInView_data();
    void showsTheReferenceOfTheRegionInView();
    void drawsInkReachingInFromBeyondTheEdge_data();
    void drawsInkReachingInFromBeyondTheEdge();
    void keepsTheMarkerSizeAtAnyZoom_data();
    void keepsTheMarkerSizeAtAnyZoom();
    void saysDrawingWhileAPictureIsOnItsWay_data();
    void saysDrawingWhileAPictureIsOnItsWay();

private:
    QImage grab() const { return m_area->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void applyView(int zoomSteps, const QPoint& pan, bool fit);
    void waitUntilSettled();

    WalkingTurtle m_turtle;
    QTurtleOutputArea* m_area = nullptr;
};

namespace {

using TraceGenerators::chords;
using TraceGenerators::rings;

// Counts the paints of the area once its picture is settled: grab() paints
// whatever happened, a paint that shows the settled picture on screen must
// have been asked for.
class SettledPaints : public QObject
{
public:
    explicit SettledPaints(QTurtleOutputArea* area)
        : m_area(area)
    {
        area->installEventFilter(this);
    }
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint && m_area->isSettled();
        return false;
    }

private:
    QTurtleOutputArea* m_area;
};

// Share of pixels (0..1) that differ by more than 32 levels in a channel.
double differing(const QImage& a, const QImage& b)
{
    qint64 count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            count += qAbs(qRed(p) - qRed(q)) > 32 || qAbs(qGreen(p) - qGreen(q)) > 32
                || qAbs(qBlue(p) - qBlue(q)) > 32;
        }
    }
    return double(count) / (qint64(a.width()) * a.height());
}

// One polyline per run under the area's view, the slow and plain way.
QImage reference(const QSize& size, const DrawingView& view, const WalkingTurtle& turtle, const QPen& pen)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TurtleRenderer::setUpView(&painter, size.width(), size.height());
    painter.setWorldTransform(view.worldTransform(size));
    TurtleRenderer renderer(&turtle, pen);
    renderer.setReference(true);
    renderer.drawTrace(&painter);
    return image;
}

// Where the marker (or the arrow pointing at it) shows, whitened.
void hideMarker(QImage* image, const DrawingView& view, const WalkingTurtle& turtle)
{
    const QPointF position(turtle.x(), -double(turtle.y()));
    QPointF at;
    double angle = 0;
    const double scale = DrawingView::fixedTransform(image->size()).m11();
    double radius = 60 * scale + 4;
    if (view.edgeArrow(position, image->size(), &at, &angle)) {
        radius = 16;
    } else {
        at = view.transform(image->size()).map(position);
    }
    QPainter painter(image);
    painter.fillRect(QRectF(at - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), Qt::white);
}

// The corner where the sign shows.
const QRect SignCorner(0, 0, 70, 36);

} // namespace

void TestDrawingZoom::init()
{
    m_turtle = WalkingTurtle();
    m_area = new QTurtleOutputArea;
    QPalette palette = m_area->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_area->setPalette(palette);
    m_area->resize(600, 500);
    m_area->setWalkingTurtle(&m_turtle);
    m_area->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_area));
}

void TestDrawingZoom::cleanup()
{
    delete m_area;
    m_area = nullptr;
}

void TestDrawingZoom::applyView(int zoomSteps, const QPoint& pan, bool fit)
{
    if (fit) {
        m_area->fitDrawing();
    }
    for (int i = 0; i < std::abs(zoomSteps); ++i) {
        zoomSteps > 0 ? m_area->zoomIn() : m_area->zoomOut();
    }
    // A drag with the middle button.
    if (!pan.isNull()) {
        const QPoint from(300, 250);
        QTest::mousePress(m_area, Qt::MiddleButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + pan), QPointF(m_area->mapToGlobal(from + pan)),
            Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(m_area, &move);
        QTest::mouseRelease(m_area, Qt::MiddleButton, Qt::NoModifier, from + pan);
    }
}

void TestDrawingZoom::waitUntilSettled()
{
    grab();
    QTRY_VERIFY_WITH_TIMEOUT(m_area->isSettled(), 120000);
}

void TestDrawingZoom::showsTheReferenceOfTheRegionInView_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("snapshots");
    QTest::addColumn<QPen>("pen");
    QTest::addColumn<int>("zoomSteps");
    QTest::addColumn<QPoint>("pan");
    QTest::addColumn<bool>("fit");

    const QPen round(QBrush(Qt::darkBlue), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen dashDot(QBrush(Qt::darkRed), 3, Qt::DashDotLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen dashed(QBrush(Qt::black), 7, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
    const QPen square(QBrush(QColor(30, 90, 200)), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QTest::newRow("chords at three zoom-ins, width 10, round")
        << "chords" << 1200 << round << 3 << QPoint() << false;
    QTest::newRow("chords framed by Fit drawing, width 7, dashed, flat and miter")
        << "chords" << 800 << dashed << 0 << QPoint() << true;
    QTest::newRow("chords at twelve zoom-ins, panned, width 4, square and miter")
        << "chords" << 150 << square << 12 << QPoint(-150, 90) << false;
    QTest::newRow("rings at six zoom-ins, panned, width 3, dash-dot")
        << "rings" << 3000 << dashDot << 6 << QPoint(120, -80) << false;
    QTest::newRow("rings at two zoom-outs, width 10, round") << "rings" << 8000 << round << -2 << QPoint() << false;
    QTest::newRow("rings at five zoom-ins, the default pen")
        << "rings" << 8000 << TurtleRenderer::defaultPen() << 5 << QPoint() << false;
    QTest::newRow("chords panned out of view, width 10, round")
        << "chords" << 400 << round << 4 << QPoint(-2000, 0) << false;
}

void TestDrawingZoom::showsTheReferenceOfTheRegionInView()
{
    QFETCH(QString, shape);
    QFETCH(int, snapshots);
    QFETCH(QPen, pen);
    QFETCH(int, zoomSteps);
    QFETCH(QPoint, pan);
    QFETCH(bool, fit);

    m_turtle = shape == "rings" ? rings(snapshots) : chords(snapshots);
    m_area->setPen(pen);
    applyView(zoomSteps, pan, fit);
    waitUntilSettled();
    QImage shown = grab();
    QImage expected = reference(m_area->size(), m_area->view(), m_turtle, pen);
    hideMarker(&shown, m_area->view(), m_turtle);
    hideMarker(&expected, m_area->view(), m_turtle);
    QVERIFY2(differing(shown, expected) < 0.005, qPrintable(QString::number(differing(shown, expected))));
    // Not a blank picture held to a blank reference, but where one is due.
    QCOMPARE(InkProbe(shown).total() == 0, InkProbe(expected).total() == 0);
}

void TestDrawingZoom::drawsInkReachingInFromBeyondTheEdge_data()
{
    QTest::addColumn<QPen>("pen");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QRect>("strip");

    // Four zoom-ins on 600 x 500: 1.526 pixels a unit, the left edge at x -196.6, the top at y 163.8.
    // A pen 20 units wide is 30.5 pixels wide.
    const QPen round(QBrush(Qt::black), 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen miter(QBrush(Qt::black), 20, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    miter.setMiterLimit(4);
    QTest::newRow("a wide line 14 pixels above the top edge, its ink a pixel deep")
        << round << QList<QPoint> { { -150, 173 }, { 150, 173 } } << QRect(0, 0, 600, 8);
    QTest::newRow("the long miter of a vertex 40 pixels beyond the left edge, pointing in")
        << miter << QList<QPoint> { { -319, 28 }, { -223, 0 }, { -319, -28 } } << QRect(0, 200, 24, 100);
}

void TestDrawingZoom::drawsInkReachingInFromBeyondTheEdge()
{
    QFETCH(QPen, pen);
    QFETCH(QList<QPoint>, points);
    QFETCH(QRect, strip);

    m_turtle.put(points.first().x(), points.first().y());
    m_turtle.setWrite(true);
    for (const QPoint& point : points) {
        m_turtle.put(point.x(), point.y());
    }
    m_turtle.setWrite(false);
    m_turtle.put(0, 0);
    m_area->setPen(pen);
    applyView(4, QPoint(), false);
    waitUntilSettled();
    const double expected = InkProbe(reference(m_area->size(), m_area->view(), m_turtle, pen)).total(strip);
    const double shown = InkProbe(grab()).total(strip);
    QVERIFY2(expected > 20, qPrintable(QString::number(expected)));
    QVERIFY2(qAbs(shown - expected) <= 0.02 * expected,
        qPrintable(QStringLiteral("ink %1, %2 expected").arg(shown).arg(expected)));
}

void TestDrawingZoom::keepsTheMarkerSizeAtAnyZoom_data()
{
    QTest::addColumn<int>("zoomSteps");
    QTest::addColumn<QPoint>("pan");
    QTest::addColumn<bool>("fit");

    QTest::newRow("three zoom-ins") << 3 << QPoint() << false;
    QTest::newRow("twelve zoom-ins, panned") << 12 << QPoint(-90, 40) << false;
    QTest::newRow("three zoom-outs") << -3 << QPoint() << false;
    QTest::newRow("Fit drawing of a short trace") << 0 << QPoint() << true;
}

void TestDrawingZoom::keepsTheMarkerSizeAtAnyZoom()
{
    QFETCH(int, zoomSteps);
    QFETCH(QPoint, pan);
    QFETCH(bool, fit);

    // A square of 40 units, the turtle at its start, turned a little.
    m_turtle.setWrite(true);
    for (int side = 0; side < 4; ++side) {
        m_turtle.move(40);
        m_turtle.turn(90);
    }
    m_turtle.turn(30);
    const auto markerPixels = [](const QImage& image) {
        const InkProbe probe(image);
        int count = 0;
        QPointF sum;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (probe.isMarker(x, y)) {
                    ++count;
                    sum += QPointF(x + 0.5, y + 0.5);
                }
            }
        }
        return std::make_pair(count, count ? sum / count : QPointF());
    };
    const auto atDefault = markerPixels(grab());
    QVERIFY(atDefault.first > 100);

    applyView(zoomSteps, pan, fit);
    QVERIFY(m_area->view().zoom() > 1.9 || m_area->view().zoom() < 0.6);
    const auto zoomed = markerPixels(grab());
    QVERIFY2(qAbs(zoomed.first - atDefault.first) <= atDefault.first / 20,
        qPrintable(QStringLiteral("%1 marker pixels, %2 unzoomed").arg(zoomed.first).arg(atDefault.first)));
    // Where the view puts the turtle: the marker's own offset from its position stays as unzoomed.
    const QPointF position(m_turtle.x(), -double(m_turtle.y()));
    const QPointF offset = atDefault.second - DrawingView().transform(m_area->size()).map(position);
    const QPointF expected = m_area->view().transform(m_area->size()).map(position) + offset;
    QVERIFY2(QLineF(zoomed.second, expected).length() < 1.0,
        qPrintable(QStringLiteral("marker at %1, %2").arg(zoomed.second.x()).arg(zoomed.second.y())));
}

void TestDrawingZoom::saysDrawingWhileAPictureIsOnItsWay_data()
{
    QTest::addColumn<QString>("change");

    QTest::newRow("a zoom") << "zoom";
    QTest::newRow("a new run at a zoom left by Fit drawing") << "run";
    QTest::newRow("a resize") << "resize";
    QTest::newRow("another pen") << "pen";
}

void TestDrawingZoom::saysDrawingWhileAPictureIsOnItsWay()
{
    QFETCH(QString, change);

    // Long enough to be drawn in the background; about the origin, the corner left white.
    m_turtle = rings(20000);
    m_area->setPen(QPen(QBrush(Qt::darkBlue), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    waitUntilSettled();
    QVERIFY(!m_area->isDrawing());
    QCOMPARE(InkProbe(grab()).total(SignCorner), 0.0);

    if (change == "zoom") {
        m_area->zoomIn();
    } else if (change == "run") {
        // A short line away from the rings, framed.
        m_turtle = WalkingTurtle();
        m_turtle.put(300, 300);
        m_turtle.setWrite(true);
        m_turtle.move(30);
        m_area->fitDrawing();
        waitUntilSettled();
        m_turtle = rings(20000);
    } else if (change == "resize") {
        m_area->resize(560, 460);
    } else {
        m_area->setPen(QPen(QBrush(Qt::darkGreen), 6, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    }
    // The paint that asks for the picture shows the sign: no event is
    // handled in between, so the picture cannot have come yet.
    const QImage waiting = grab();
    QVERIFY(m_area->isDrawing());
    QVERIFY(!m_area->isSettled());
    QVERIFY(InkProbe(waiting).total(SignCorner) > 50);

    // The picture comes and is shown at once, without the sign.
    SettledPaints counter(m_area);
    QTRY_VERIFY_WITH_TIMEOUT(m_area->isSettled(), 120000);
    QVERIFY(!m_area->isDrawing());
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(InkProbe(grab()).total(SignCorner), 0.0);
}

QTEST_MAIN(TestDrawingZoom)
#include "tst_drawingzoom.moc"

#include "inkprobe.h"
#include "render/imageexport.h"
#include "render/turtlerenderer.h"
#include "turtle/walkingturtle.h"

#include <QFile>
#include <QtTest>

namespace {

WalkingTurtle segment(QPoint from, QPoint to)
{
    WalkingTurtle turtle;
    turtle.put(from.x(), from.y());
    turtle.setWrite(true);
    turtle.put(to.x(), to.y());
    return turtle;
}

QImage traceOnly(
    const QSize& size, const WalkingTurtle& turtle, const QPen& pen = TurtleRenderer::defaultPen())
{
    return renderImage(size, &turtle, pen, false);
}

QPen flatPen(qreal width)
{
    return QPen(QBrush(Qt::black), width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
}

// The trace an example script draws, as checked in beside the runner's tests.
WalkingTurtle exampleTrace(const QString& name)
{
    QFile file(QStringLiteral("tests/engine/examples/%1.res").arg(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return WalkingTurtle();
    }
    return WalkingTurtle::turtleFromString(file.readAll().toStdString());
}

} // namespace

// Pixels of the trace and the marker, drawn as the screen and the export draw them.
class TestTurtleRenderer : public QObject
{
    Q_OBJECT

private slots:
    void mapsTurtlePointsIntoTheCentredSquare_data();
    void mapsTurtlePointsIntoTheCentredSquare();
    void scalesPenWidthsWithTheSquare_data();
    void scalesPenWidthsWithTheSquare();
    void drawsPositionsTruncatedTowardZero();
    void neverJoinsSeparateRuns();
    void drawsNoRunOfASinglePoint();
    void inksAWideLineWhollyInALongDrawing_data();
    void inksAWideLineWhollyInALongDrawing();
    void pointsTheMarkerHeadAlongTheHeading_data();
    void pointsTheMarkerHeadAlongTheHeading();
    void leavesTheMarkerOutWhenAsked();
    void rendersPointsFarBeyondTheIntRange_data();
    void rendersPointsFarBeyondTheIntRange();
    void dashesRunOnAsInTheReference_data();
    void dashesRunOnAsInTheReference();
};

void TestTurtleRenderer::mapsTurtlePointsIntoTheCentredSquare_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPointF>("deviceFrom");
    QTest::addColumn<QPointF>("deviceTo");

    QTest::newRow("a 1000x300 device shows turtle x 0 on column 500")
        << QSize(1000, 300) << QPoint(0, -400) << QPoint(0, 400) << QPointF(500, 300) << QPointF(500, 0);
    QTest::newRow("a 1000x300 device shows turtle y 0 on row 150")
        << QSize(1000, 300) << QPoint(-400, 0) << QPoint(400, 0) << QPointF(350, 150) << QPointF(650, 150);
    QTest::newRow("a 1000x300 device shows (400, 400) at (650, 0)")
        << QSize(1000, 300) << QPoint(0, 0) << QPoint(400, 400) << QPointF(500, 150) << QPointF(650, 0);
    QTest::newRow("an 800x600 image shows (0, 0) at (400, 300)")
        << QSize(800, 600) << QPoint(0, 0) << QPoint(0, 200) << QPointF(400, 300) << QPointF(400, 150);
    QTest::newRow("an 800x600 image shows (-400, 400) at (100, 0)")
        << QSize(800, 600) << QPoint(-400, 400) << QPoint(-400, 0) << QPointF(100, 0) << QPointF(100, 300);
    QTest::newRow("a 300x1000 image puts the square 350 pixels down")
        << QSize(300, 1000) << QPoint(-400, 400) << QPoint(400, 400) << QPointF(0, 350) << QPointF(300, 350);
    QTest::newRow("a 300x1000 image ends the square at row 650")
        << QSize(300, 1000) << QPoint(-400, -400) << QPoint(400, -400) << QPointF(0, 650)
        << QPointF(300, 650);
    QTest::newRow("an 801x600 image halves the spare column down to 100")
        << QSize(801, 600) << QPoint(0, -400) << QPoint(0, 400) << QPointF(400, 600) << QPointF(400, 0);
    QTest::newRow("points beyond 400 still show where the device is wider") << QSize(1000,
        300) << QPoint(-1000, 0) << QPoint(-500, 0) << QPointF(125, 150) << QPointF(312.5, 150);
}

void TestTurtleRenderer::mapsTurtlePointsIntoTheCentredSquare()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QPointF, deviceFrom);
    QFETCH(QPointF, deviceTo);

    const InkProbe probe(traceOnly(size, segment(from, to), flatPen(0)));
    const QPointF centre = probe.centroid();
    const QPointF expected = (deviceFrom + deviceTo) / 2;
    QVERIFY2(qAbs(centre.x() - expected.x()) < 0.05 && qAbs(centre.y() - expected.y()) < 0.05,
        qPrintable(QString("ink centred at (%1, %2)").arg(centre.x()).arg(centre.y())));

    // The line's ends, to the pixel: a one-pixel line straddles the pixels beside it.
    const QRect bounds = probe.inkedBounds();
    QVERIFY2(qAbs(bounds.left() - std::min(deviceFrom.x(), deviceTo.x())) <= 1
            && qAbs(bounds.right() + 1 - std::max(deviceFrom.x(), deviceTo.x())) <= 1
            && qAbs(bounds.top() - std::min(deviceFrom.y(), deviceTo.y())) <= 1
            && qAbs(bounds.bottom() + 1 - std::max(deviceFrom.y(), deviceTo.y())) <= 1,
        qPrintable(QString("ink spans %1,%2 to %3,%4")
                       .arg(bounds.left())
                       .arg(bounds.top())
                       .arg(bounds.right())
                       .arg(bounds.bottom())));
}

void TestTurtleRenderer::scalesPenWidthsWithTheSquare_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("penWidth");
    QTest::addColumn<double>("pixels");

    QTest::newRow("width 10 on 800x800 is 10 pixels") << QSize(800, 800) << qreal(10) << 10.0;
    QTest::newRow("width 10 on 400x400 is 5 pixels") << QSize(400, 400) << qreal(10) << 5.0;
    QTest::newRow("width 4 on the default 800x600 export is 3 pixels") << QSize(800, 600) << qreal(4) << 3.0;
    QTest::newRow("width 30 on 1000x300 is 11.25 pixels") << QSize(1000, 300) << qreal(30) << 11.25;
    QTest::newRow("width 0 stays one pixel on 400x400") << QSize(400, 400) << qreal(0) << 1.0;
    QTest::newRow("width 0 stays one pixel on 1600x1600") << QSize(1600, 1600) << qreal(0) << 1.0;
}

void TestTurtleRenderer::scalesPenWidthsWithTheSquare()
{
    QFETCH(QSize, size);
    QFETCH(qreal, penWidth);
    QFETCH(double, pixels);

    const QImage image = traceOnly(size, segment(QPoint(-200, 0), QPoint(200, 0)), flatPen(penWidth));
    // The ink of one column across the line is its width.
    const int column = size.width() / 2 + 7;
    const double width = InkProbe(image).total(QRect(column, 0, 1, size.height()));
    QVERIFY2(qAbs(width - pixels) < 0.05, qPrintable(QString("line is %1 pixels wide").arg(width)));
}

void TestTurtleRenderer::drawsPositionsTruncatedTowardZero()
{
    // Heading 60 degrees, one step: (0.5, 0.866), which truncates to (0, 0);
    // then level, 100 steps: (100.5, 0.866), drawn at (100, 0).
    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.turn(-120);
    turtle.move(1);
    turtle.turn(-60);
    turtle.move(100);

    const InkProbe probe(traceOnly(QSize(800, 800), turtle, flatPen(0)));
    QCOMPARE(turtle.trace().back().x(), 100);
    QVERIFY(qAbs(probe.centroid().y() - 400.0) < 0.05);
    QVERIFY(qAbs(probe.total() - 100.0) < 0.5);
}

void TestTurtleRenderer::neverJoinsSeparateRuns()
{
    // N 0 0, Y 100 0, N 0 50, Y 0 100: two segments and nothing between them.
    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.put(100, 0);
    turtle.setWrite(false);
    turtle.put(0, 50);
    turtle.setWrite(true);
    turtle.put(0, 100);
    QCOMPARE(turtle.trace().size(), std::size_t(4));

    const InkProbe probe(traceOnly(QSize(800, 800), turtle, flatPen(3)));
    QVERIFY(probe.total(QRect(420, 395, 60, 10)) > 100); // first run, along y = 0
    QVERIFY(probe.total(QRect(395, 310, 10, 30)) > 50); // second run, from y 50 to 100
    QCOMPARE(probe.total(QRect(430, 360, 40, 30)), 0.0); // where a join would pass
    QVERIFY(qAbs(probe.total() - (3.0 * 100 + 3.0 * 50)) < 2);
}

void TestTurtleRenderer::drawsNoRunOfASinglePoint()
{
    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.setWrite(false);
    turtle.put(100, 100);
    turtle.setWrite(true);
    turtle.setWrite(false);
    QCOMPARE(turtle.trace().size(), std::size_t(2));

    const QPen wide(QBrush(Qt::black), 20, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QCOMPARE(InkProbe(traceOnly(QSize(800, 800), turtle, wide)).total(), 0.0);
    QCOMPARE(InkProbe(traceOnly(QSize(800, 800), WalkingTurtle(), wide)).total(), 0.0);
}

void TestTurtleRenderer::inksAWideLineWhollyInALongDrawing_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("inked");

    // On 800x800 a turtle unit is a pixel; the line is 40 wide.
    QTest::newRow("a line 10 beyond the top edge reaches 10 rows into the view")
        << QPoint(-300, 410) << QPoint(300, 410) << QRect(100, 0, 600, 10);
    QTest::newRow("a line just below the middle reaches above it")
        << QPoint(-300, -15) << QPoint(300, -15) << QRect(100, 395, 600, 40);
}

// A long drawing is painted in bands, each skipping what cannot reach it: the
// ink of a wide pen reaches beyond its line.
void TestTurtleRenderer::inksAWideLineWhollyInALongDrawing()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, inked);

    // A zigzag far out of view makes it long.
    WalkingTurtle turtle;
    turtle.put(2000, 0);
    turtle.setWrite(true);
    for (int i = 0; i < 5000; ++i) {
        turtle.put(2000 + i % 2 * 10, i);
    }
    QVERIFY(turtle.trace().size() > 5000);
    turtle.setWrite(false);
    turtle.put(from.x(), from.y());
    turtle.setWrite(true);
    turtle.put(to.x(), to.y());
    const InkProbe probe(traceOnly(QSize(800, 800), turtle, flatPen(40)));
    QVERIFY2(qAbs(probe.total(inked) - inked.width() * inked.height()) < 20,
             qPrintable(QString::number(probe.total(inked))));
    QVERIFY(qAbs(probe.total() - probe.total(inked)) < 20);
}

void TestTurtleRenderer::pointsTheMarkerHeadAlongTheHeading_data()
{
    QTest::addColumn<double>("turn");
    QTest::addColumn<QPoint>("head");
    QTest::addColumn<QPoint>("tail");

    // 800x800: the turtle origin is pixel (400, 400); the head's middle is 45 units ahead.
    QTest::newRow("the default heading points the head left") << 0.0 << QPoint(355, 400) << QPoint(445, 400);
    QTest::newRow("a left turn of 90 points it down") << 90.0 << QPoint(400, 445) << QPoint(400, 355);
    QTest::newRow("a right turn of 90 points it up") << -90.0 << QPoint(400, 355) << QPoint(400, 445);
    QTest::newRow("a half turn points it right") << 180.0 << QPoint(445, 400) << QPoint(355, 400);
}

void TestTurtleRenderer::pointsTheMarkerHeadAlongTheHeading()
{
    QFETCH(double, turn);
    QFETCH(QPoint, head);
    QFETCH(QPoint, tail);

    WalkingTurtle turtle;
    turtle.turn(turn);
    const InkProbe probe(renderImage(QSize(800, 800), &turtle, TurtleRenderer::defaultPen(), true));
    QVERIFY(probe.isMarker(head.x(), head.y()));
    QVERIFY(!probe.isMarker(tail.x(), tail.y()));
    QVERIFY(probe.isMarker(400, 400));
}

void TestTurtleRenderer::leavesTheMarkerOutWhenAsked()
{
    WalkingTurtle turtle = segment(QPoint(0, 0), QPoint(100, 0));
    const QImage image = renderImage(QSize(800, 800), &turtle, TurtleRenderer::defaultPen(), false);
    const InkProbe probe(image);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QVERIFY(!probe.isMarker(x, y));
        }
    }
    QVERIFY(qAbs(probe.total() - 100.0) < 2);
}

void TestTurtleRenderer::rendersPointsFarBeyondTheIntRange_data()
{
    QTest::addColumn<double>("turn");
    QTest::addColumn<QPen>("pen");
    QTest::addColumn<QRect>("inked");

    const QPen thin = TurtleRenderer::defaultPen();
    const QPen wide(QBrush(Qt::black), 10, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    const QPen dashed(QBrush(Qt::black), 3, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
    // From the centre of 800x800 to the edge the heading points at.
    QTest::newRow("left, thin pen") << 0.0 << thin << QRect(0, 398, 402, 4);
    QTest::newRow("left, wide pen") << 0.0 << wide << QRect(0, 394, 406, 12);
    QTest::newRow("left, dashed pen") << 0.0 << dashed << QRect(0, 397, 403, 6);
    QTest::newRow("down, thin pen") << 90.0 << thin << QRect(398, 398, 4, 402);
    QTest::newRow("down, wide pen") << 90.0 << wide << QRect(394, 394, 12, 406);
    QTest::newRow("down, dashed pen") << 90.0 << dashed << QRect(397, 397, 6, 403);
}

void TestTurtleRenderer::rendersPointsFarBeyondTheIntRange()
{
    QFETCH(double, turn);
    QFETCH(QPen, pen);
    QFETCH(QRect, inked);

    // Twice 2,000,000,000 units: the position leaves the int range.
    WalkingTurtle turtle;
    turtle.turn(turn);
    turtle.setWrite(true);
    turtle.move(2000000000);
    turtle.move(2000000000);

    const QImage image = traceOnly(QSize(800, 800), turtle, pen);
    const InkProbe probe(image);
    const QRect bounds = probe.inkedBounds();
    QVERIFY2(inked.contains(bounds),
        qPrintable(QString("ink spans %1,%2 %3x%4")
                       .arg(bounds.x())
                       .arg(bounds.y())
                       .arg(bounds.width())
                       .arg(bounds.height())));
    // It reaches the edge of the image.
    QVERIFY(turn == 0.0 ? bounds.left() == 0 : bounds.bottom() == 799);
    QVERIFY(probe.total() > (pen.style() == Qt::SolidLine ? 399.0 : 150.0));
}

void TestTurtleRenderer::dashesRunOnAsInTheReference_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPen>("pen");

    const QPen dashDot(QBrush(Qt::darkRed), 3, Qt::DashDotLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen dashed(QBrush(Qt::black), 6, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
    const QPen dots(QBrush(Qt::darkGreen), 4, Qt::DotLine, Qt::RoundCap, Qt::RoundJoin);
    QTest::newRow("the square, dash-dot") << "square" << QSize(800, 600) << dashDot;
    QTest::newRow("the star, dash-dot") << "star" << QSize(800, 600) << dashDot;
    QTest::newRow("the star, dashed, large") << "star" << QSize(1600, 1600) << dashed;
    QTest::newRow("the spiral, dotted") << "spiral" << QSize(800, 600) << dots;
    QTest::newRow("the tree, dash-dot") << "tree" << QSize(800, 800) << dashDot;
}

// A wide dashed pen is drawn in short pieces: the pattern must go on from one
// piece to the next as along the whole run, which a sparse drawing shows.
void TestTurtleRenderer::dashesRunOnAsInTheReference()
{
    QFETCH(QString, example);
    QFETCH(QSize, size);
    QFETCH(QPen, pen);

    const WalkingTurtle turtle = exampleTrace(example);
    QVERIFY(turtle.trace().size() > 5);
    QImage reference(size, QImage::Format_RGB32);
    reference.fill(Qt::white);
    TurtleRenderer whole(&turtle, pen);
    whole.setReference(true);
    whole.render(&reference, false);
    const QImage pieces = renderImage(size, &turtle, pen, false);

    qint64 ink = 0;
    qint64 differing = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb a = reference.pixel(x, y);
            const QRgb b = pieces.pixel(x, y);
            ink += qGray(a) < 192 || qGray(b) < 192;
            differing += qAbs(qGray(a) - qGray(b)) > 96;
        }
    }
    QVERIFY(ink > 500);
    QVERIFY2(differing * 25 < ink, qPrintable(QStringLiteral("%1 of %2 inked pixels differ").arg(differing).arg(ink)));
}

QTEST_APPLESS_MAIN(TestTurtleRenderer)
#include "tst_turtlerenderer.moc"

#include "render/asynctracerenderer.h"
#include "render/drawingview.h"
#include "render/imageexport.h"
#include "render/penoptions.h"
#include "render/vectorexport.h"
#include "inkprobe.h"
#include "outputareafixture.h"
#include "tracegenerators.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// The drawing off the GUI thread, its fast pens held to the reference
// rendering, zoom, picking and the vector export.
class TestDrawingResponsive : public QObject
{
    Q_OBJECT

private slots:
    void drawsWidePensLikeTheReference_data();
    void drawsWidePensLikeTheReference();
    void dropsAStaleRender();
    void showsTheExportOnceALongTraceSettles();
    void copiesALongTraceOverSeveralPaints();
    void glidesTheMarkerAlongItsSegment();
    void picksTheSnapshotUnderThePointer();
    void zoomsAroundTheAnchorAndFrames();
    void writesTheTraceAsSvg();
    void readsPenOptions_data();
    void readsPenOptions();
};

namespace {

using TraceGenerators::rings;
using TraceGenerators::star;

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

} // namespace

void TestDrawingResponsive::drawsWidePensLikeTheReference_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("snapshots");
    QTest::addColumn<QPen>("pen");

    QTest::newRow("rings, width 10, round")
        << "rings" << 30000 << QPen(QBrush(Qt::darkBlue), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QTest::newRow("rings, width 3, dash-dot")
        << "rings" << 30000 << QPen(QBrush(Qt::darkRed), 3, Qt::DashDotLine, Qt::SquareCap, Qt::BevelJoin);
    QTest::newRow("rings, width 7, dashed, flat and miter")
        << "rings" << 8000 << QPen(QBrush(Qt::black), 7, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
    QTest::newRow("star, width 10, round")
        << "star" << 2000 << QPen(QBrush(Qt::darkBlue), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QTest::newRow("star, width 5, dash-dot-dot, square and bevel")
        << "star" << 2000 << QPen(QBrush(Qt::darkGreen), 5, Qt::DashDotDotLine, Qt::SquareCap, Qt::BevelJoin);
}

void TestDrawingResponsive::drawsWidePensLikeTheReference()
{
    QFETCH(QString, shape);
    QFETCH(int, snapshots);
    QFETCH(QPen, pen);

    const WalkingTurtle turtle = shape == "rings" ? rings(snapshots) : star(snapshots);
    QImage reference(800, 700, QImage::Format_RGB32);
    reference.fill(Qt::white);
    TurtleRenderer slow(&turtle, pen);
    slow.setReference(true);
    slow.render(&reference, true);

    const QImage fast = renderImage(QSize(800, 700), &turtle, pen, true);
    QVERIFY(fast != reference || snapshots < 100);
    QVERIFY2(differing(fast, reference) < 0.005, qPrintable(QString::number(differing(fast, reference))));
}

void TestDrawingResponsive::dropsAStaleRender()
{
    const WalkingTurtle big = rings(200000);
    const WalkingTurtle small = rings(50);
    TraceMirror bigMirror;
    bigMirror.sync(&big, false);
    TraceMirror smallMirror;
    smallMirror.sync(&small, false);

    TraceRenderRequest request;
    request.size = QSize(400, 400);
    request.pen = QPen(QBrush(Qt::black), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    request.background = Qt::white;
    request.points = bigMirror.snapshot();

    AsyncTraceRenderer renderer;
    QSignalSpy finished(&renderer, &AsyncTraceRenderer::finished);
    renderer.request(request);
    request.points = smallMirror.snapshot();
    const quint64 newest = renderer.request(request);
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, Patience);
    // Nor does the stale one come later.
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    const auto result = finished.at(0).at(0).value<TraceRenderResult>();
    QCOMPARE(result.generation, newest);
    QCOMPARE(result.count, small.trace().size());

    // A render told to stop gives no picture.
    const std::atomic<bool> stop(true);
    request.points = bigMirror.snapshot();
    const TraceRenderResult stopped = AsyncTraceRenderer::render(request, &stop);
    QVERIFY(stopped.cancelled);
    QVERIFY(stopped.image.isNull());
}

void TestDrawingResponsive::showsTheExportOnceALongTraceSettles()
{
    WalkingTurtle turtle = rings(20000);
    const QPen pen(QBrush(QColor(30, 90, 200)), 6, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    WhiteArea area(&turtle, QSize(600, 400), pen);
    QSignalSpy rendered(&area, &QTurtleOutputArea::pictureRendered);
    const PaintCounter counter(&area);
    int paintsWhenRendered = -1;
    connect(&area, &QTurtleOutputArea::pictureRendered, [&] { paintsWhenRendered = counter.paints; });
    QVERIFY(area.showAndWait());
    QTRY_VERIFY_WITH_TIMEOUT(rendered.count() > 0, Patience);
    // Rendered in the background, the picture reaches the screen by itself.
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > paintsWhenRendered, RepaintPatience);
    QVERIFY(area.isSettled());
    const auto grab = [&area] { return area.shot(); };
    QCOMPARE(grab(), renderImage(area.size(), &turtle, pen, true));

    // A step is drawn onto the picture at once, then the whole picture again.
    turtle.setWrite(true);
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(&area, Qt::Key_Up);
    }
    const QImage stepped = grab();
    QVERIFY(!area.isSettled());
    QVERIFY(differing(stepped, renderImage(area.size(), &turtle, pen, true)) < 0.002);
    rendered.clear();
    QTRY_VERIFY_WITH_TIMEOUT(rendered.count() > 0, Patience);
    QVERIFY(area.isSettled());
    QCOMPARE(grab(), renderImage(area.size(), &turtle, pen, true));

    // Cleared: drawn anew, nothing left of the old trace.
    turtle = WalkingTurtle();
    area.update();
    grab();
    QTRY_COMPARE_WITH_TIMEOUT(grab(), renderImage(area.size(), &turtle, pen, true), Patience);
}

void TestDrawingResponsive::copiesALongTraceOverSeveralPaints()
{
    // Longer than one paint copies: the area must come back for the rest by itself.
    WalkingTurtle turtle = rings(600000);
    WhiteArea area(&turtle, QSize(300, 300));
    QVERIFY(area.showAndWait());
    QTRY_VERIFY_WITH_TIMEOUT(area.isSettled(), Patience);
    QCOMPARE(area.shot(), renderImage(area.size(), &turtle, area.pen(), true));
}

void TestDrawingResponsive::glidesTheMarkerAlongItsSegment()
{
    // 800 x 800: one unit a pixel, the origin at (400, 400).
    WalkingTurtle turtle;
    turtle.setWrite(true);
    const QPen pen(QBrush(Qt::black), 4, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
    WhiteArea area(&turtle, QSize(800, 800), pen);
    QVERIFY(area.showAndWait());
    const auto grab = [&area] { return area.shot(); };
    const auto inkAround = [](const QImage& image, QPoint at) {
        return InkProbe(image).total(QRect(at - QPoint(6, 6), QSize(13, 13))) > 0.5;
    };
    grab();

    // Long enough that the glide has barely begun when the pixels are read.
    area.setGlideDuration(60000);
    turtle.put(300, 0);
    QImage shot = grab();
    QVERIFY(!inkAround(shot, QPoint(640, 400)));
    // Its frames are painted without anything else asking.
    const PaintCounter counter(&area);
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 1, RepaintPatience);
    // The next step ends the first glide at its target, its segment drawn whole.
    turtle.put(300, 200);
    shot = grab();
    QVERIFY(inkAround(shot, QPoint(640, 400)));
    QVERIFY(!inkAround(shot, QPoint(700, 220)));
    QVERIFY(!area.isSettled());

    // Ended (a stop, a pause or another speed): the exact final picture at once.
    area.setGlideDuration(0);
    shot = grab();
    QVERIFY(inkAround(shot, QPoint(700, 220)));
    QCOMPARE(shot, renderImage(area.size(), &turtle, pen, true));
}

void TestDrawingResponsive::picksTheSnapshotUnderThePointer()
{
    // 800 x 800: one unit a pixel, the origin at (400, 400).
    WalkingTurtle turtle;
    turtle.setWrite(true);           // 0: (0, 0), the start
    turtle.put(200, 0);              // 1: to (200, 0)
    turtle.turn(90);                 // 2: a turn, nothing drawn
    turtle.put(200, 100);            // 3: up to (200, 100)
    turtle.put(0, 0);                // 4: back across, over segment 1 near the origin
    turtle.setWrite(false);
    turtle.put(-300, -300);
    turtle.setWrite(true);           // 5: a new run
    turtle.put(-300, -200);          // 6
    QTurtleOutputArea area;
    area.resize(800, 800);
    area.setWalkingTurtle(&turtle);

    QCOMPARE(area.snapshotAt(QPoint(500, 402)), 1);
    QCOMPARE(area.snapshotAt(QPoint(600, 350)), 3);
    QCOMPARE(area.snapshotAt(QPoint(401, 400)), 4);  // the segment drawn last wins
    QCOMPARE(area.snapshotAt(QPoint(100, 650)), 6);
    QCOMPARE(area.snapshotAt(QPoint(250, 450)), -1); // between runs: no join was drawn
    QCOMPARE(area.snapshotAt(QPoint(500, 420)), -1);

    // Zoomed twice around the origin: (200, 0) is now at (800, 400).
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QSignalSpy clicked(&area, &QTurtleOutputArea::snapshotClicked);
    QTest::keyClick(&area, Qt::Key_0, Qt::ControlModifier);
    QWheelEvent wheel(QPointF(400, 400), QPointF(area.mapToGlobal(QPoint(400, 400))), QPoint(), QPoint(0, 120 * 3),
        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&area, &wheel);
    QVERIFY(qAbs(area.view().zoom() - std::pow(1.25, 3)) < 1e-9);
    QCOMPARE(area.snapshotAt(QPoint(400 + int(200 * area.view().zoom()) - 10, 401)), 1);
    // (100, 50) lies on the way back only.
    const double zoom = area.view().zoom();
    QTest::mouseClick(&area, Qt::LeftButton, Qt::NoModifier, QPoint(400 + int(100 * zoom), 400 - int(50 * zoom)));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 4);
    // A pan is no click.
    QTest::mousePress(&area, Qt::MiddleButton, Qt::NoModifier, QPoint(420, 400));
    // Sent directly: Qt 5's QTest::mouseMove moves the cursor, which the
    // offscreen platform does not turn into an event.
    QMouseEvent move(QEvent::MouseMove, QPointF(470, 420), QPointF(area.mapToGlobal(QPoint(470, 420))), Qt::NoButton,
        Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&area, &move);
    QTest::mouseRelease(&area, Qt::MiddleButton, Qt::NoModifier, QPoint(470, 420));
    QCOMPARE(area.view().pan(), QPointF(400 - 400 * area.view().zoom() + 50, 400 - 400 * area.view().zoom() + 20));
    QCOMPARE(clicked.count(), 1);
    QTest::keyClick(&area, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(area.view().isReset());
}

void TestDrawingResponsive::zoomsAroundTheAnchorAndFrames()
{
    const QSize size(1000, 600);
    DrawingView view;
    const QPointF anchor(730, 120);
    const QPointF under = view.transform(size).inverted().map(anchor);
    view.zoomAt(anchor, 3.5);
    view.zoomAt(anchor, 0.8);
    const QPointF mapped = view.transform(size).map(under);
    QVERIFY(QLineF(mapped, anchor).length() < 1e-9);

    // The world transform under the fixed window gives the same mapping.
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    TurtleRenderer::setUpView(&painter, size.width(), size.height());
    painter.setWorldTransform(view.worldTransform(size));
    const QPointF logical(123, -45);
    QVERIFY(QLineF(painter.combinedTransform().map(logical), view.transform(size).map(logical)).length() < 1e-9);

    // Framed, a far drawing fills most of the area, centred.
    view.fit(QRectF(QPointF(5000, 5000), QPointF(5400, 5100)), size);
    const QRectF framed = view.transform(size).mapRect(QRectF(QPointF(5000, 5000), QPointF(5400, 5100)));
    QVERIFY(QRectF(QPointF(0, 0), QSizeF(size)).contains(framed));
    QVERIFY(framed.width() > 0.85 * size.width());
    QVERIFY(QLineF(framed.center(), QPointF(500, 300)).length() < 1e-6);

    // The turtle off to the right: an arrow at the right edge, pointing right.
    QPointF at;
    double angle = 1;
    QVERIFY(!view.edgeArrow(QPointF(5200, 5050), size, &at, &angle));
    view.reset();
    QVERIFY(view.edgeArrow(QPointF(5000, 0), size, &at, &angle));
    QVERIFY(at.x() > 950 && at.x() < 1000);
    QVERIFY(qAbs(at.y() - 300) < 1);
    QVERIFY(qAbs(angle) < 1e-9);
}

void TestDrawingResponsive::writesTheTraceAsSvg()
{
    QTemporaryDir dir;
    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.put(100, 0);
    turtle.put(100, 100);
    turtle.setWrite(false);
    turtle.put(-100, 0);
    turtle.setWrite(true);
    turtle.put(-200, -50);

    struct Case
    {
        QPen pen;
        const char* width;
        const char* cap;
        const char* join;
        bool dashed;
        bool hairline;
    };
    const Case cases[] = {
        { QPen(QBrush(QColor(200, 10, 20)), 6, Qt::DashDotLine, Qt::RoundCap, Qt::MiterJoin), "6", "round", "miter",
            true, false },
        { TurtleRenderer::defaultPen(), nullptr, "square", "bevel", false, true },
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("drawing.svg");
        const ImageExportResult result = exportSvg(path, QSize(800, 600), &turtle, c.pen, false);
        QVERIFY2(result.written, qPrintable(result.reason));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int polylines = 0;
        QXmlStreamAttributes group;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == QLatin1String("g")) {
                group = xml.attributes();
            } else if (xml.name() == QLatin1String("polyline")) {
                ++polylines;
                QCOMPARE(group.value("stroke").toString(), c.pen.color().name());
                if (c.width) {
                    QCOMPARE(group.value("stroke-width").toString(), QString(c.width));
                }
                QCOMPARE(group.value("stroke-linecap").toString(), QString(c.cap));
                QCOMPARE(group.value("stroke-linejoin").toString(), QString(c.join));
                QCOMPARE(!group.value("stroke-dasharray").isEmpty() && group.value("stroke-dasharray") != QLatin1String("none"), c.dashed);
                QCOMPARE(xml.attributes().value("vector-effect") == QLatin1String("non-scaling-stroke"), c.hairline);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(polylines, 2);
    }
}

void TestDrawingResponsive::readsPenOptions_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QPen>("pen");

    QTest::newRow("nothing given: the output area's pen") << QStringList { "", "", "", "", "" } << true
                                                          << TurtleRenderer::defaultPen();
    QTest::newRow("every field") << QStringList { "12", "#ff8000", "ROUND", "miter", "dashdotdot" } << true
                                 << QPen(QBrush(QColor(255, 128, 0)), 12, Qt::DashDotDotLine, Qt::RoundCap,
                                        Qt::MiterJoin);
    QTest::newRow("width over 30") << QStringList { "31", "", "", "", "" } << false << QPen();
    QTest::newRow("a colour name") << QStringList { "", "red", "", "", "" } << false << QPen();
    QTest::newRow("an unknown cap") << QStringList { "", "", "butt", "", "" } << false << QPen();
    QTest::newRow("an unknown dash") << QStringList { "", "", "", "", "custom" } << false << QPen();
}

void TestDrawingResponsive::readsPenOptions()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, ok);
    QFETCH(QPen, pen);

    const PenOptions options { fields[0], fields[1], fields[2], fields[3], fields[4] };
    QPen read;
    QString error;
    QCOMPARE(options.toPen(&read, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    if (ok) {
        QCOMPARE(read, pen);
    }
}

QTEST_MAIN(TestDrawingResponsive)
#include "tst_drawingresponsive.moc"

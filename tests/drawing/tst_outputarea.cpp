#include "inkprobe.h"
#include "outputareafixture.h"
#include "tracegenerators.h"
#include "render/imageexport.h"

#include <QtTest>

#include <cmath>
#include <functional>

// The output area as the user meets it: painted on screen, walked with the keys.
class TestOutputArea : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void walksTheTurtleWithTheArrowKeys_data();
    void walksTheTurtleWithTheArrowKeys();
    void ignoresTheKeysWithoutATurtle();
    void showsTheSegmentAnUpKeyDrew();
    void paintsLikeTheExport();
    void repaintsWithANewPen();
    void repaintsWhatChangedSinceTheLastPaint_data();
    void repaintsWhatChangedSinceTheLastPaint();
    void asksForARepaintAtEachChange_data();
    void asksForARepaintAtEachChange();
    void zoomsByTheWheelsTurnWhateverItsSteps_data();
    void zoomsByTheWheelsTurnWhateverItsSteps();
    void stepsDrawnOneByOneDashAsTheWholeRun();
    void framesTheWholeDrawing();
    void pansWhileSpaceIsHeld();

private:
    QImage grab() const;
    QImage freshPaint() const;

    WhiteArea* m_area = nullptr;
    WalkingTurtle m_turtle;
};

void TestOutputArea::init()
{
    m_turtle = WalkingTurtle();
    m_area = new WhiteArea(&m_turtle, QSize(1000, 300));
    QVERIFY(m_area->showAndWait());
}

void TestOutputArea::cleanup()
{
    delete m_area;
    m_area = nullptr;
}

QImage TestOutputArea::grab() const
{
    return m_area->shot();
}

// What a paint of the whole trace gives on the area's background.
QImage TestOutputArea::freshPaint() const
{
    QImage image(m_area->size(), QImage::Format_RGB32);
    image.fill(m_area->palette().color(QPalette::Window));
    m_area->render(&image, true);
    return image;
}

void TestOutputArea::walksTheTurtleWithTheArrowKeys_data()
{
    QTest::addColumn<bool>("penDown");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("snapshots");

    const double pi = Turtle::Pi;
    QTest::newRow("Up with the pen down steps 10 ahead and records it")
        << true << int(Qt::Key_Up) << -10 << 0 << pi << 2;
    QTest::newRow("Down with the pen down steps 10 back and records it")
        << true << int(Qt::Key_Down) << 10 << 0 << pi << 2;
    QTest::newRow("Left with the pen down turns 10 degrees left and records it")
        << true << int(Qt::Key_Left) << 0 << 0 << pi + 10.0 / 180.0 * pi << 2;
    QTest::newRow("Right with the pen down turns 10 degrees right and records it")
        << true << int(Qt::Key_Right) << 0 << 0 << pi + -10.0 / 180.0 * pi << 2;
    QTest::newRow("Up with the pen up moves without a trace")
        << false << int(Qt::Key_Up) << -10 << 0 << pi << 0;
    QTest::newRow("Left with the pen up turns without a trace")
        << false << int(Qt::Key_Left) << 0 << 0 << pi + 10.0 / 180.0 * pi << 0;
    QTest::newRow("another key leaves the turtle alone") << true << int(Qt::Key_Space) << 0 << 0 << pi << 1;
}

void TestOutputArea::walksTheTurtleWithTheArrowKeys()
{
    QFETCH(bool, penDown);
    QFETCH(int, key);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(double, angle);
    QFETCH(int, snapshots);

    m_turtle.setWrite(penDown);
    QTest::keyClick(m_area, Qt::Key(key));
    QCOMPARE(m_turtle.x(), x);
    QCOMPARE(m_turtle.y(), y);
    QCOMPARE(m_turtle.angle(), angle);
    QCOMPARE(int(m_turtle.trace().size()), snapshots);
}

void TestOutputArea::ignoresTheKeysWithoutATurtle()
{
    QTurtleOutputArea area;
    area.resize(200, 200);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    for (Qt::Key key : { Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right }) {
        QTest::keyClick(&area, key);
    }
    QCOMPARE(m_turtle.x(), 0);
    QVERIFY(m_turtle.trace().empty());
}

void TestOutputArea::showsTheSegmentAnUpKeyDrew()
{
    // 1000x300: one turtle unit is 0.375 pixel, the origin pixel (500, 150).
    m_turtle.turn(-90);
    m_turtle.setWrite(true);
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(m_area, Qt::Key_Up);
    }
    QCOMPARE(m_turtle.y(), 200);
    m_turtle.setWrite(false);
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(m_area, Qt::Key_Right);
    }
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(m_area, Qt::Key_Up);
    }
    QVERIFY(qAbs(m_turtle.x() - 200) <= 1);
    QVERIFY(qAbs(m_turtle.y() - 200) <= 1);

    // A line up from the origin 200 units long (75 pixels), nothing along the pen-up walk
    // to (200, 200), where the marker stands.
    const InkProbe probe(grab());
    QVERIFY(probe.total(QRect(498, 80, 4, 60)) > 55);
    QCOMPARE(probe.total(QRect(505, 65, 50, 20)), 0.0);
}

void TestOutputArea::paintsLikeTheExport()
{
    m_turtle.put(-300, -100);
    m_turtle.setWrite(true);
    for (int i = 0; i < 36; ++i) {
        m_turtle.move(50);
        m_turtle.turn(100);
    }
    const QPen pen(QBrush(QColor(30, 90, 200)), 6, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    m_area->setPen(pen);
    QCOMPARE(grab(), renderImage(QSize(1000, 300), &m_turtle, pen, true));

    QImage rendered(1000, 300, QImage::Format_RGB32);
    rendered.fill(Qt::white);
    m_area->render(&rendered, false);
    QCOMPARE(rendered, renderImage(QSize(1000, 300), &m_turtle, pen, false));
}

void TestOutputArea::repaintsWithANewPen()
{
    m_turtle.put(-200, -300);
    m_turtle.setWrite(true);
    m_turtle.put(200, -300);
    const QRect across(520, 255, 1, 30);
    QVERIFY(qAbs(InkProbe(grab()).total(across) - 1.0) < 0.05);

    // Width 16 at 0.375 pixel a unit: 6 pixels.
    m_area->setPen(QPen(QBrush(Qt::black), 16, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    QVERIFY(qAbs(InkProbe(grab()).total(across) - 6.0) < 0.05);
}

void TestOutputArea::repaintsWhatChangedSinceTheLastPaint_data()
{
    QTest::addColumn<QString>("change");

    QTest::newRow("a trace replaced by another of the same length and end") << "trace";
    QTest::newRow("a pen-up walk that moves only the marker") << "walk";
    QTest::newRow("a step with the pen down") << "step";
    QTest::newRow("a resize") << "resize";
    QTest::newRow("a new background colour") << "background";
}

void TestOutputArea::repaintsWhatChangedSinceTheLastPaint()
{
    QFETCH(QString, change);

    const auto star = [](int turn) {
        WalkingTurtle turtle;
        turtle.put(-300, 0);
        turtle.setWrite(true);
        for (int i = 0; i < 40; ++i) {
            turtle.move(600);
            turtle.turn(turn);
        }
        turtle.setWrite(false);
        turtle.put(0, 0);
        return turtle;
    };
    m_area->setPen(QPen(QBrush(QColor(120, 20, 90)), 9, Qt::DashDotLine, Qt::RoundCap, Qt::MiterJoin));
    m_turtle = star(170);
    const QImage before = grab();
    QCOMPARE(before, freshPaint());

    if (change == "trace") {
        m_turtle = star(150);
    } else if (change == "walk") {
        m_turtle.turn(30);
        m_turtle.move(120);
    } else if (change == "step") {
        m_turtle.setWrite(true);
        QTest::keyClick(m_area, Qt::Key_Up);
    } else if (change == "resize") {
        m_area->resize(700, 500);
    } else {
        QPalette palette = m_area->palette();
        palette.setColor(QPalette::Window, QColor(250, 240, 200));
        m_area->setPalette(palette);
    }
    const QImage shown = grab();
    QCOMPARE(shown, freshPaint());
    QVERIFY(shown != before);
}

void TestOutputArea::asksForARepaintAtEachChange_data()
{
    QTest::addColumn<QString>("change");

    QTest::newRow("a new pen") << "pen";
    QTest::newRow("zoom in") << "zoom in";
    QTest::newRow("zoom out") << "zoom out";
    QTest::newRow("the view reset after a zoom") << "reset";
    QTest::newRow("the drawing framed") << "fit";
    QTest::newRow("a turn of the wheel with Ctrl") << "wheel";
    QTest::newRow("a pan with the middle button") << "pan";
    QTest::newRow("an arrow key that moves the turtle") << "up";
    QTest::newRow("an arrow key that turns it") << "left";
}

// The user's action alone must bring the new picture: nothing else paints.
void TestOutputArea::asksForARepaintAtEachChange()
{
    QFETCH(QString, change);

    m_turtle.setWrite(true);
    m_turtle.move(100);
    m_area->zoomIn();
    m_area->repaint();
    const PaintCounter counter(m_area);
    const QPoint centre(500, 150);
    if (change == "pen") {
        m_area->setPen(QPen(Qt::red, 5));
    } else if (change == "zoom in") {
        QTest::keyClick(m_area, Qt::Key_Plus, Qt::ControlModifier);
    } else if (change == "zoom out") {
        QTest::keyClick(m_area, Qt::Key_Minus, Qt::ControlModifier);
    } else if (change == "reset") {
        QTest::keyClick(m_area, Qt::Key_0, Qt::ControlModifier);
    } else if (change == "fit") {
        m_area->fitDrawing();
    } else if (change == "wheel") {
        QWheelEvent wheel(centre, m_area->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_area, &wheel);
    } else if (change == "pan") {
        QTest::mousePress(m_area, Qt::MiddleButton, Qt::NoModifier, centre);
        QMouseEvent move(QEvent::MouseMove, QPointF(centre + QPoint(30, 10)),
                         QPointF(m_area->mapToGlobal(centre + QPoint(30, 10))), Qt::NoButton, Qt::MiddleButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_area, &move);
        QTest::mouseRelease(m_area, Qt::MiddleButton, Qt::NoModifier, centre + QPoint(30, 10));
    } else {
        QTest::keyClick(m_area, change == "up" ? Qt::Key_Up : Qt::Key_Left);
    }
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, RepaintPatience);
}

void TestOutputArea::zoomsByTheWheelsTurnWhateverItsSteps_data()
{
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<double>("notches");

    QTest::newRow("one notch of a mouse wheel") << QList<int> { 120 } << 1.0;
    QTest::newRow("a notch back") << QList<int> { -120 } << -1.0;
    QTest::newRow("a touchpad's eight small steps make a notch") << QList<int> { 15, 15, 15, 15, 15, 15, 15, 15 } << 1.0;
    QTest::newRow("a high-resolution wheel's half notches") << QList<int> { 60, 60, 60 } << 1.5;
    QTest::newRow("steps both ways cancel out") << QList<int> { 40, -40, 30, -30 } << 0.0;
    QTest::newRow("a fast flick of several notches at once") << QList<int> { 360 } << 3.0;
}

void TestOutputArea::zoomsByTheWheelsTurnWhateverItsSteps()
{
    QFETCH(QList<int>, deltas);
    QFETCH(double, notches);

    // Zoomed around the pointer: the point under it stays where it is.
    const QPoint at(700, 100);
    const QPointF under = m_area->view().transform(m_area->size()).inverted().map(QPointF(at));
    for (int delta : deltas) {
        QWheelEvent wheel(at, m_area->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_area, &wheel);
    }
    // What Ctrl++ does.
    const double oneNotch = [] {
        QTurtleOutputArea area;
        area.resize(100, 100);
        area.zoomIn();
        return area.view().zoom();
    }();
    QVERIFY(oneNotch > 1.05);
    QVERIFY2(qAbs(m_area->view().zoom() - std::pow(oneNotch, notches)) < 1e-9,
             qPrintable(QString::number(m_area->view().zoom())));
    QVERIFY(QLineF(m_area->view().transform(m_area->size()).map(under), QPointF(at)).length() < 1e-6);
    // Without Ctrl the wheel does not zoom.
    const double zoom = m_area->view().zoom();
    QWheelEvent plain(at, m_area->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_area, &plain);
    QCOMPARE(m_area->view().zoom(), zoom);
}

// Steps taken while a long drawing is shown are drawn onto its picture one by
// one: the dash pattern must go on from one step to the next, not start again.
void TestOutputArea::stepsDrawnOneByOneDashAsTheWholeRun()
{
    m_turtle = TraceGenerators::rings(4000);
    const QPen pen(QBrush(Qt::black), 6, Qt::DashDotLine, Qt::FlatCap, Qt::BevelJoin);
    m_area->setPen(pen);
    QTRY_VERIFY_WITH_TIMEOUT((grab(), m_area->isSettled()), Patience);

    // Away from the rings, to the right, one short step at a time.
    m_turtle.setWrite(false);
    m_turtle.put(500, 100);
    m_turtle.turn(180 - m_turtle.angle() * 180 / Turtle::Pi);
    m_turtle.setWrite(true);
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(m_area, Qt::Key_Down);
        grab();
    }
    const QImage stepped = grab();
    QVERIFY(!m_area->isSettled());
    const QImage whole = renderImage(m_area->size(), &m_turtle, pen, true);
    // 1000 x 300: 0.375 pixel a unit, the steps from (500, 100) to (800, 100).
    const QRect steps(685, 100, 125, 20);
    qint64 ink = 0;
    qint64 differing = 0;
    for (int y = steps.top(); y <= steps.bottom(); ++y) {
        for (int x = steps.left(); x <= steps.right(); ++x) {
            ink += qGray(whole.pixel(x, y)) < 192;
            differing += qAbs(qGray(whole.pixel(x, y)) - qGray(stepped.pixel(x, y))) > 96;
        }
    }
    QVERIFY2(ink > 100, qPrintable(QString::number(ink)));
    QVERIFY2(differing * 20 < ink, qPrintable(QStringLiteral("%1 of %2 inked pixels differ").arg(differing).arg(ink)));
}

void TestOutputArea::framesTheWholeDrawing()
{
    // Far off to the upper right, wider than tall.
    m_turtle.put(3000, 2000);
    m_turtle.setWrite(true);
    m_turtle.put(3400, 2000);
    m_turtle.put(3400, 2100);
    m_area->fitDrawing();
    const QTransform toArea = m_area->view().transform(m_area->size());
    const QRectF drawing = toArea.mapRect(QRectF(QPointF(3000, -2100), QPointF(3400, -2000)));
    QVERIFY2(QRectF(m_area->rect()).contains(drawing),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(drawing.x()).arg(drawing.y()).arg(drawing.width()).arg(drawing.height())));
    QVERIFY(drawing.height() > 0.8 * m_area->height() || drawing.width() > 0.8 * m_area->width());
    QVERIFY(QLineF(drawing.center(), QRectF(m_area->rect()).center()).length() < 2);

    // Nothing drawn: back to the plain view.
    m_turtle = WalkingTurtle();
    m_area->fitDrawing();
    QVERIFY(m_area->view().isReset());
}

void TestOutputArea::pansWhileSpaceIsHeld()
{
    m_turtle.setWrite(true);
    m_turtle.move(200);
    QSignalSpy clicked(m_area, &QTurtleOutputArea::snapshotClicked);
    const auto leftDrag = [this](QPoint from, QPoint to) {
        QTest::mousePress(m_area, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(m_area->mapToGlobal(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_area, &move);
        QTest::mouseRelease(m_area, Qt::LeftButton, Qt::NoModifier, to);
    };
    // On the segment, from (500, 150) to about (462, 150).
    const QPoint onTheLine(480, 150);
    QTest::keyPress(m_area, Qt::Key_Space);
    leftDrag(onTheLine, onTheLine + QPoint(40, -25));
    QTest::keyRelease(m_area, Qt::Key_Space);
    QCOMPARE(m_area->view().pan(), QPointF(40, -25));
    QCOMPARE(clicked.count(), 0);

    // Without Space, a drag neither pans nor clicks; a click picks the segment.
    leftDrag(onTheLine + QPoint(40, -25), onTheLine + QPoint(80, -25));
    QCOMPARE(m_area->view().pan(), QPointF(40, -25));
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(m_area, Qt::LeftButton, Qt::NoModifier, onTheLine + QPoint(40, -25));
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestOutputArea)
#include "tst_outputarea.moc"

#include "inkprobe.h"
#include "render/imageexport.h"
#include "widgets/qturtleoutputarea.h"
#include "turtle/walkingturtle.h"

#include <QtTest>

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

private:
    QImage grab() const;
    QImage freshPaint() const;

    QTurtleOutputArea* m_area = nullptr;
    WalkingTurtle m_turtle;
};

void TestOutputArea::init()
{
    m_turtle = WalkingTurtle();
    m_area = new QTurtleOutputArea;
    // A white background, so that pixels compare with the exported image.
    QPalette palette = m_area->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_area->setPalette(palette);
    m_area->setAutoFillBackground(true);
    m_area->resize(1000, 300);
    m_area->setWalkingTurtle(&m_turtle);
    m_area->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_area));
}

void TestOutputArea::cleanup()
{
    delete m_area;
    m_area = nullptr;
}

QImage TestOutputArea::grab() const
{
    return m_area->grab().toImage().convertToFormat(QImage::Format_RGB32);
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

QTEST_MAIN(TestOutputArea)
#include "tst_outputarea.moc"

#include "turtle/walkingturtle.h"

#include <QtTest>

#include <climits>

// Exact doubles: the geometry must give the same bits on every machine.
class TestTurtle : public QObject
{
    Q_OBJECT

private slots:
    void defaultTurtle();
    void moveFromDefault();
    void turnThenMove();
    void truncationTowardZero();
    void headingNeverWraps();
    void turnDividesBeforeMultiplying();
    void clampsBeyondTheIntRange();

    void recording_data();
    void recording();
    void walkingSequence();
    void assignmentCopiesTheTrace();
    void clearDrawingKeepsPlaceAndPen_data();
    void clearDrawingKeepsPlaceAndPen();
};

void TestTurtle::defaultTurtle()
{
    const Turtle turtle;
    QCOMPARE(turtle.x(), 0);
    QCOMPARE(turtle.y(), 0);
    QCOMPARE(turtle.angle(), 3.141592653589793);
    QVERIFY(!turtle.isWriting());
}

void TestTurtle::moveFromDefault()
{
    Turtle turtle;
    turtle.move(100);
    QCOMPARE(turtle.exactX(), -100.0);
    QCOMPARE(turtle.exactY(), 1.2246467991473532e-14);
    QCOMPARE(turtle.x(), -100);
    QCOMPARE(turtle.y(), 0);

    turtle.move(-10);
    QCOMPARE(turtle.x(), -90);
}

void TestTurtle::turnThenMove()
{
    Turtle down;
    down.turn(90);
    QCOMPARE(down.angle(), 4.71238898038469);
    down.move(100);
    QCOMPARE(down.exactX(), -1.8369701987210297e-14);
    QCOMPARE(down.exactY(), -100.0);
    QCOMPARE(down.x(), 0);
    QCOMPARE(down.y(), -100);

    Turtle sixty;
    sixty.turn(60);
    sixty.move(100);
    QVERIFY(sixty.exactX() < -50.0);
    QCOMPARE(sixty.x(), -50);
    QCOMPARE(sixty.y(), -86);
}

void TestTurtle::truncationTowardZero()
{
    QCOMPARE(Turtle::truncated(12.9), 12);
    QCOMPARE(Turtle::truncated(-0.7), 0);
    QCOMPARE(Turtle::truncated(-86.6), -86);
}

void TestTurtle::headingNeverWraps()
{
    Turtle turtle;
    for (int i = 0; i < 36; ++i) {
        turtle.turn(10);
    }
    QVERIFY(qAbs(turtle.angle() - 3 * Turtle::Pi) < 1e-9);

    Turtle kept(3, 7, 1.5, true);
    kept.setPosition(3, -4);
    QCOMPARE(kept.angle(), 1.5);
    QVERIFY(kept.isWriting());
    QCOMPARE(kept.y(), -4);
}

// deg * pi / 180 differs from deg / 180 * pi in the last bit for 170 degrees,
// and a long star drawn with such turns ends on other integer points.
void TestTurtle::turnDividesBeforeMultiplying()
{
    Turtle turtle;
    turtle.turn(-170);
    QVERIFY(turtle.angle() == 0.1745329251994332);

    WalkingTurtle star;
    star.setWrite(true);
    for (int point = 0; point < 36; ++point) {
        star.move(200);
        star.turn(-170);
    }
    QFile expected(QStringLiteral("tests/engine/traces/star-170.res"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(QByteArray::fromStdString(star.toString()), expected.readAll());
}

void TestTurtle::clampsBeyondTheIntRange()
{
    Turtle turtle(INT_MIN, INT_MAX, false);
    turtle.move(INT_MAX);
    QCOMPARE(turtle.x(), INT_MIN);
    QCOMPARE(turtle.y(), INT_MAX);
    QCOMPARE(Turtle::truncated(1e300), INT_MAX);
    QCOMPARE(Turtle::truncated(-1e300), INT_MIN);
}

// Each row starts from a fresh turtle, pen up or down, and checks how many
// snapshots one call appends.
void TestTurtle::recording_data()
{
    QTest::addColumn<bool>("penDown");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("appended");

    QTest::newRow("put with the pen up") << false << "put" << 0;
    QTest::newRow("move with the pen up") << false << "move" << 0;
    QTest::newRow("turn with the pen up") << false << "turn" << 0;
    QTest::newRow("rotate with the pen up") << false << "rotate" << 0;
    QTest::newRow("pen down from up") << false << "down" << 1;
    QTest::newRow("pen up from up") << false << "up" << 0;
    QTest::newRow("put with the pen down") << true << "put" << 1;
    QTest::newRow("move with the pen down") << true << "move" << 1;
    QTest::newRow("turn with the pen down") << true << "turn" << 1;
    QTest::newRow("rotate with the pen down") << true << "rotate" << 1;
    QTest::newRow("pen down twice") << true << "down" << 0;
    QTest::newRow("pen up from down") << true << "up" << 0;
}

void TestTurtle::recording()
{
    QFETCH(bool, penDown);
    QFETCH(QString, call);
    QFETCH(int, appended);

    WalkingTurtle turtle;
    turtle.setWrite(penDown);
    const std::size_t before = turtle.trace().size();
    if (call == "put") {
        turtle.put(10, 20);
        QCOMPARE(turtle.x(), 10);
    } else if (call == "move") {
        turtle.move(10);
        QCOMPARE(turtle.x(), -10);
    } else if (call == "turn") {
        turtle.turn(45);
    } else if (call == "rotate") {
        turtle.rotate(1.0);
    } else {
        turtle.setWrite(call == "down");
    }
    QCOMPARE(turtle.trace().size() - before, std::size_t(appended));
    if (appended == 1) {
        const Turtle& last = turtle.trace().back();
        QCOMPARE(last.x(), turtle.x());
        QCOMPARE(last.angle(), turtle.angle());
        // Putting the pen down records the starting point with the pen still up.
        QCOMPARE(last.isWriting(), call != "down");
    }
}

void TestTurtle::walkingSequence()
{
    WalkingTurtle turtle;
    QVERIFY(turtle.trace().empty());
    turtle.setWrite(true);
    turtle.move(100);
    QCOMPARE(turtle.exactY(), 1.2246467991473532e-14);
    turtle.turn(90);
    QCOMPARE(turtle.angle(), 4.71238898038469);
    turtle.move(50);
    QCOMPARE(turtle.exactX(), -100.00000000000001);
    QCOMPARE(turtle.exactY(), -49.999999999999986);
    turtle.setWrite(false);
    turtle.move(10);
    QCOMPARE(turtle.exactY(), -59.999999999999986);
    turtle.setWrite(true);

    QStringList snapshots;
    for (const Turtle& snapshot : turtle.trace()) {
        snapshots << QStringLiteral("%1 %2 %3").arg(snapshot.isWriting() ? "Y" : "N").arg(snapshot.x()).arg(snapshot.y());
    }
    QCOMPARE(snapshots, (QStringList { "N 0 0", "Y -100 0", "Y -100 0", "Y -100 -49", "N -100 -59" }));
}

void TestTurtle::assignmentCopiesTheTrace()
{
    WalkingTurtle first;
    first.setWrite(true);
    first.move(5);
    WalkingTurtle second;
    second = first;
    second.move(5);
    first.turn(10);
    QCOMPARE(first.trace().size(), std::size_t(3));
    QCOMPARE(second.trace().size(), std::size_t(3));
    QCOMPARE(second.x(), -10);
    QCOMPARE(first.x(), -5);
}

void TestTurtle::clearDrawingKeepsPlaceAndPen_data()
{
    QTest::addColumn<bool>("penDown");
    // The snapshots once the turtle has moved on after the clearing.
    QTest::addColumn<QStringList>("after");

    QTest::newRow("a pen down draws on from where the turtle stands")
        << true << QStringList { "N -30 0", "Y -10 0" };
    QTest::newRow("a pen up draws nothing") << false << QStringList();
}

void TestTurtle::clearDrawingKeepsPlaceAndPen()
{
    QFETCH(bool, penDown);
    QFETCH(QStringList, after);

    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.move(30);
    turtle.turn(180);
    turtle.setWrite(penDown);
    turtle.clearDrawing();
    QCOMPARE(turtle.isWriting(), penDown);
    QCOMPARE(turtle.x(), -30);
    turtle.move(20);
    QStringList snapshots;
    for (const Turtle& snapshot : turtle.trace()) {
        snapshots << QStringLiteral("%1 %2 %3").arg(snapshot.isWriting() ? "Y" : "N").arg(snapshot.x()).arg(snapshot.y());
    }
    QCOMPARE(snapshots, after);
}

QTEST_APPLESS_MAIN(TestTurtle)
#include "tst_turtle.moc"

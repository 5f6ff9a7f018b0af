#include "turtle/walkingturtle.h"

#include <QtTest>

#include <climits>
#include <stdexcept>

namespace {

const char RejectedText[] = "Error: invalid argument src at call of WalkingTurtle::turtleFromString function.";

WalkingTurtle workedSequence()
{
    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.move(100);
    turtle.turn(90);
    turtle.move(50);
    turtle.setWrite(false);
    turtle.move(10);
    turtle.setWrite(true);
    return turtle;
}

} // namespace

class TestTraceFile : public QObject
{
    Q_OBJECT

private slots:
    void writeEmptyTrace();
    void writeWorkedSequence();
    void writeClampsBeyondTheIntRange();
    void readBackWhatWasWritten();

    void readSnapshotLine_data();
    void readSnapshotLine();

    void readRejects_data();
    void readRejects();

    void readEmptyTrace_data();
    void readEmptyTrace();
    void emptyLineEndsTheTrace();
    void lastLineWithoutLineBreak();
};

void TestTraceFile::writeEmptyTrace()
{
    QCOMPARE(WalkingTurtle().toString(), std::string("Tur=Res\n"));
}

void TestTraceFile::writeWorkedSequence()
{
    QCOMPARE(workedSequence().toString(), std::string("Tur=Res\nN 0 0\nY -100 0\nY -100 0\nY -100 -49\nN -100 -59\n"));
}

void TestTraceFile::writeClampsBeyondTheIntRange()
{
    WalkingTurtle turtle;
    turtle.put(INT_MAX, INT_MIN);
    turtle.setWrite(true);
    turtle.turn(180); // heading 2 pi: towards +x
    turtle.move(INT_MAX);
    QCOMPARE(turtle.toString(), std::string("Tur=Res\nN 2147483647 -2147483648\nY 2147483647 -2147483648\nY 2147483647 -2147483648\n"));
}

void TestTraceFile::readBackWhatWasWritten()
{
    WalkingTurtle original = workedSequence();
    original.setWrite(false);
    original.move(7); // unrecorded: the file keeps only the trace
    const WalkingTurtle loaded = WalkingTurtle::turtleFromString(original.toString());

    QCOMPARE(loaded.toString(), original.toString());
    QCOMPARE(loaded.trace().size(), std::size_t(5));
    for (const Turtle& snapshot : loaded.trace()) {
        QCOMPARE(snapshot.angle(), Turtle::Pi);
    }
    // The current state is the last snapshot, at integer coordinates, heading pi.
    QCOMPARE(loaded.exactX(), -100.0);
    QCOMPARE(loaded.exactY(), -59.0);
    QCOMPARE(loaded.angle(), Turtle::Pi);
    QVERIFY(!loaded.isWriting());
}

void TestTraceFile::readSnapshotLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("writing");

    QTest::newRow("a pen-down point") << "Y 5 7" << 5 << 7 << true;
    QTest::newRow("a pen-up point") << "N 5 7" << 5 << 7 << false;
    QTest::newRow("a lower-case token means pen up") << "y 5 7" << 5 << 7 << false;
    QTest::newRow("any other token means pen up") << "Z -1 -2" << -1 << -2 << false;
    QTest::newRow("a third number is ignored") << "Y 1 2 3" << 1 << 2 << true;
    QTest::newRow("letters after the y number are ignored") << "Y -3 4abc" << -3 << 4 << true;
    QTest::newRow("blanks before the y number are skipped") << "Y 1   2" << 1 << 2 << true;
    QTest::newRow("a plus sign is read") << "Y +3 +4" << 3 << 4 << true;
    QTest::newRow("one space: x after it, y the whole line") << "10 20" << 20 << 10 << false;
    QTest::newRow("no space: the whole line for both") << "12" << 12 << 12 << false;
    QTest::newRow("the int range limits") << "Y -2147483648 2147483647" << INT_MIN << INT_MAX << true;
}

void TestTraceFile::readSnapshotLine()
{
    QFETCH(QString, line);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, writing);

    const WalkingTurtle turtle = WalkingTurtle::turtleFromString("Tur=Res\n" + line.toStdString() + "\n");
    QCOMPARE(turtle.trace().size(), std::size_t(1));
    const Turtle& snapshot = turtle.trace().front();
    QCOMPARE(snapshot.x(), x);
    QCOMPARE(snapshot.y(), y);
    QCOMPARE(snapshot.isWriting(), writing);
    QCOMPARE(snapshot.angle(), Turtle::Pi);
    QCOMPARE(turtle.x(), x);
    QCOMPARE(turtle.y(), y);
    QCOMPARE(turtle.isWriting(), writing);
}

void TestTraceFile::readRejects_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("an empty text") << QByteArray("");
    QTest::newRow("a script header") << QByteArray("Tur=Asm\nY 1 2\n");
    QTest::newRow("a header with a trailing blank") << QByteArray("Tur=Res \nY 1 2\n");
    QTest::newRow("a lower-case header") << QByteArray("tur=res\n");
    QTest::newRow("a header with a carriage return") << QByteArray("Tur=Res\r\n");
    QTest::newRow("two spaces make an empty x") << QByteArray("Tur=Res\nY  5 6\n");
    QTest::newRow("one space after a token") << QByteArray("Tur=Res\nY 10\n");
    QTest::newRow("a word for x") << QByteArray("Tur=Res\nY a 1\n");
    QTest::newRow("a sign without digits") << QByteArray("Tur=Res\nY - 1\n");
    QTest::newRow("x beyond the int range") << QByteArray("Tur=Res\nY 2147483648 0\n");
    QTest::newRow("y below the int range") << QByteArray("Tur=Res\nY 0 -2147483649\n");
    QTest::newRow("a huge number") << QByteArray("Tur=Res\nY 99999999999999999999999 0\n");
    QTest::newRow("a bad line after good ones") << QByteArray("Tur=Res\nN 0 0\nY 1 1\nY 1\n");
    QTest::newRow("an empty y field at the end of the text") << QByteArray("Tur=Res\nY 1 ");
}

void TestTraceFile::readRejects()
{
    QFETCH(QByteArray, text);
    try {
        WalkingTurtle::turtleFromString(text.toStdString());
        QFAIL("the text was accepted");
    } catch (const std::invalid_argument& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QString::fromUtf8(RejectedText));
    }
}

void TestTraceFile::readEmptyTrace_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("the header line") << QByteArray("Tur=Res\n");
    QTest::newRow("the header without line break") << QByteArray("Tur=Res");
    QTest::newRow("the header and an empty line") << QByteArray("Tur=Res\n\nY 1 2\n");
}

void TestTraceFile::readEmptyTrace()
{
    QFETCH(QByteArray, text);
    const WalkingTurtle turtle = WalkingTurtle::turtleFromString(text.toStdString());
    QVERIFY(turtle.trace().empty());
    QCOMPARE(turtle.exactX(), 0.0);
    QCOMPARE(turtle.exactY(), 0.0);
    QCOMPARE(turtle.angle(), Turtle::Pi);
    QVERIFY(!turtle.isWriting());
}

void TestTraceFile::emptyLineEndsTheTrace()
{
    const WalkingTurtle turtle = WalkingTurtle::turtleFromString("Tur=Res\nN 1 2\nY 3 4\n\nY 5 6\ngarbage\n");
    QCOMPARE(turtle.trace().size(), std::size_t(2));
    QCOMPARE(turtle.x(), 3);
    QVERIFY(turtle.isWriting());
}

void TestTraceFile::lastLineWithoutLineBreak()
{
    const WalkingTurtle turtle = WalkingTurtle::turtleFromString("Tur=Res\nN 1 2\nY 5 7");
    QCOMPARE(turtle.trace().size(), std::size_t(2));
    QCOMPARE(turtle.x(), 5);
    QCOMPARE(turtle.y(), 7);
    QVERIFY(turtle.isWriting());
}

QTEST_APPLESS_MAIN(TestTraceFile)
#include "tst_tracefile.moc"

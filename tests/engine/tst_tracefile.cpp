#include "turtle/walkingturtle.h"

#include <QBuffer>
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

// The trace a file of these bytes gives through the streaming reader.
WalkingTurtle streamed(const QByteArray& bytes, qint64* unreadLines = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return WalkingTurtle::readTrace(buffer, unreadLines);
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

    void streamedFile_data();
    void streamedFile();
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
    QCOMPARE(streamed("Tur=Res\n" + line.toLatin1() + "\n").toString(), turtle.toString());
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
    QTest::addColumn<int>("reason");
    QTest::addColumn<qint64>("line");

    const int header = TraceFormatError::NoHeader;
    const int point = TraceFormatError::NoPoint;
    QTest::newRow("an empty text") << QByteArray("") << header << 1LL;
    QTest::newRow("a script header") << QByteArray("Tur=Asm\nY 1 2\n") << header << 1LL;
    QTest::newRow("a header with a trailing blank") << QByteArray("Tur=Res \nY 1 2\n") << header << 1LL;
    QTest::newRow("a lower-case header") << QByteArray("tur=res\n") << header << 1LL;
    QTest::newRow("a header with a carriage return") << QByteArray("Tur=Res\r\n") << header << 1LL;
    QTest::newRow("a line of a carriage return alone") << QByteArray("Tur=Res\nY 1 2\n\r\nY 3 4\n") << point << 3LL;
    QTest::newRow("two spaces make an empty x") << QByteArray("Tur=Res\nY  5 6\n") << point << 2LL;
    QTest::newRow("one space after a token") << QByteArray("Tur=Res\nY 10\n") << point << 2LL;
    QTest::newRow("a word for x") << QByteArray("Tur=Res\nY a 1\n") << point << 2LL;
    QTest::newRow("a sign without digits") << QByteArray("Tur=Res\nY - 1\n") << point << 2LL;
    QTest::newRow("x beyond the int range") << QByteArray("Tur=Res\nY 2147483648 0\n") << point << 2LL;
    QTest::newRow("y below the int range") << QByteArray("Tur=Res\nY 0 -2147483649\n") << point << 2LL;
    QTest::newRow("a huge number") << QByteArray("Tur=Res\nY 99999999999999999999999 0\n") << point << 2LL;
    QTest::newRow("a bad line after good ones") << QByteArray("Tur=Res\nN 0 0\nY 1 1\nY 1\n") << point << 4LL;
    QTest::newRow("an empty y field at the end of the text") << QByteArray("Tur=Res\nY 1 ") << point << 2LL;
}

void TestTraceFile::readRejects()
{
    QFETCH(QByteArray, text);
    QFETCH(int, reason);
    QFETCH(qint64, line);
    try {
        WalkingTurtle::turtleFromString(text.toStdString());
        QFAIL("the text was accepted");
    } catch (const TraceFormatError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QString::fromUtf8(RejectedText));
        QCOMPARE(int(error.reason()), reason);
        QCOMPARE(error.line(), line);
    }
    // Files are read with their carriage returns dropped; what is left is
    // rejected at the same line.
    if (!text.contains('\r')) {
        try {
            streamed(text);
            QFAIL("the file was accepted");
        } catch (const TraceFormatError& error) {
            QCOMPARE(int(error.reason()), reason);
            QCOMPARE(error.line(), line);
        }
    }
    // Lines spread over pieces of the file are counted alike.
    if (!text.contains('\r') && reason == TraceFormatError::NoPoint) {
        const int points = text.indexOf('\n') + 1;
        const QByteArray longLines
            = text.left(points) + text.mid(points).replace("\n", QByteArray(70000, ' ') + "\n");
        try {
            streamed(longLines);
            QFAIL("the long-lined file was accepted");
        } catch (const TraceFormatError& error) {
            QCOMPARE(error.line(), line);
        }
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
    QVERIFY(streamed(text).trace().empty());
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

void TestTraceFile::streamedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<qint64>("unreadLines");

    // Longer than the pieces the reader takes, so that fields span them.
    const QByteArray tabs(100000, '\t');
    const QByteArray letters(200000, 'x');
    QTest::newRow("blanks before y and text after it, longer than a piece")
        << "Tur=Res\nY 1 " + tabs + "-7" + letters + "\nN 2 3\n" << QByteArray("Tur=Res\nY 1 -7\nN 2 3\n") << 0LL;
    QTest::newRow("a long x field") << "Tur=Res\nY " + tabs + "5" + letters + " 6\n"
                                    << QByteArray("Tur=Res\nY 5 6\n") << 0LL;
    QTest::newRow("a long token means pen up") << "Tur=Res\n" + QByteArray(70000, 'Y') + " 1 2"
                                               << QByteArray("Tur=Res\nN 1 2\n") << 0LL;
    QTest::newRow("one space and a long line: y from its start")
        << "Tur=Res\n" + tabs + "12 34" + letters << QByteArray("Tur=Res\nN 34 12\n") << 0LL;
    QTest::newRow("carriage returns are dropped") << QByteArray("Tur=Res\r\nY 1\r 2\r\n")
                                                  << QByteArray("Tur=Res\nY 1 2\n") << 0LL;
    QTest::newRow("a byte order mark is skipped") << QByteArray("\xEF\xBB\xBFTur=Res\nY 1 2\n")
                                                  << QByteArray("Tur=Res\nY 1 2\n") << 0LL;
    QTest::newRow("UTF-16 with its mark") << QByteArray("\xFF\xFET\0u\0r\0=\0R\0e\0s\0\n\0Y\0 \0001\0 \0002\0", 28)
                                          << QByteArray("Tur=Res\nY 1 2\n") << 0LL;
    QTest::newRow("non-empty lines after the empty one are counted")
        << QByteArray("Tur=Res\nY 1 2\n\nY 3 4\n\n\ngarbage") << QByteArray("Tur=Res\nY 1 2\n") << 2LL;
    QTest::newRow("empty lines at the end leave nothing unread") << QByteArray("Tur=Res\nY 1 2\n\n\n")
                                                                 << QByteArray("Tur=Res\nY 1 2\n") << 0LL;
}

void TestTraceFile::streamedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QFETCH(qint64, unreadLines);

    qint64 unread = -1;
    QCOMPARE(QByteArray::fromStdString(streamed(bytes, &unread).toString()), expected);
    QCOMPARE(unread, unreadLines);
}

QTEST_APPLESS_MAIN(TestTraceFile)
#include "tst_tracefile.moc"

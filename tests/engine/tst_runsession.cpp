#include "frontend/interpreter.h"
#include "session/runsession.h"
#include "turtle/walkingturtle.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace {

// A procedure called three times; line 7 holds no instruction, nor do 3 and 8.
const char* const Calls = "Tur=Asm\n"
                          "CX:3;\n"
                          "define:again;\n"
                          "call:side;\n"
                          "loop:again;\n"
                          "end;\n"
                          "# the procedure\n"
                          "proc:side;\n"
                          "AX:AX+1;\n"
                          "ret;\n";

const char* const Drawing = "Tur=Asm\nwrite:Y;\nCX:8;\ndefine:again;\nmove:10;\nleft:45;\nloop:again;\n";

} // namespace

class TestRunSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stops_data();
    void stops();
    void animatedRunDrawsAsTheInstantOne();
    void pauseThenStepAndStop();

private:
    static void runCommand(RunSession& session, const QString& command);
};

void TestRunSession::initTestCase()
{
    // The speed is kept in the settings: not in the user's.
    QStandardPaths::setTestModeEnabled(true);
}

void TestRunSession::runCommand(RunSession& session, const QString& command)
{
    if (command == QLatin1String("run") || command == QLatin1String("debug")) {
        session.run(QString::fromLatin1(Calls), command == QLatin1String("debug"));
    } else if (command == QLatin1String("continue")) {
        session.continueRun();
    } else if (command == QLatin1String("step")) {
        session.step();
    } else if (command == QLatin1String("over")) {
        session.stepOver();
    } else if (command == QLatin1String("out")) {
        session.stepOut();
    } else if (command == QLatin1String("back")) {
        session.stepBack();
    } else if (command == QLatin1String("stop")) {
        session.stop();
    }
}

void TestRunSession::stops_data()
{
    QTest::addColumn<QList<int>>("breakpoints");
    QTest::addColumn<QString>("commands");
    // The line shown after each command; -1 once the program has ended (or
    // before it starts, after "debug").
    QTest::addColumn<QList<int>>("lines");

    QTest::newRow("a breakpoint on the first instruction stops before it")
        << QList<int> { 2 } << "run,continue" << QList<int> { 2, -1 };
    QTest::newRow("continue from a breakpoint executes its line first")
        << QList<int> { 4 } << "run,continue,continue,continue" << QList<int> { 4, 4, 4, -1 };
    QTest::newRow("a breakpoint on a line without instruction stops at the next one")
        << QList<int> { 3, 7 } << "run,continue,continue" << QList<int> { 4, 9, 4 };
    QTest::newRow("a breakpoint after the last instruction never stops")
        << QList<int> { 11 } << "run" << QList<int> { -1 };
    QTest::newRow("continue from the start stops at the first instruction's breakpoint")
        << QList<int> { 2 } << "debug,continue,step" << QList<int> { -1, 2, 4 };
    QTest::newRow("step over a call runs the procedure as one step")
        << QList<int>() << "debug,step,over,over,over" << QList<int> { -1, 4, 5, 4, 5 };
    QTest::newRow("step over another instruction is a step") << QList<int>() << "debug,over" << QList<int> { -1, 4 };
    QTest::newRow("step over stops at a breakpoint in the procedure, step out leaves it")
        << QList<int> { 9 } << "debug,step,over,out" << QList<int> { -1, 4, 9, 5 };
    QTest::newRow("step out at the top level runs on") << QList<int>() << "debug,step,out" << QList<int> { -1, 4, -1 };
    QTest::newRow("step out stops at a breakpoint on the way")
        << QList<int> { 10 } << "debug,step,step,out,out" << QList<int> { -1, 4, 9, 10, 5 };
    QTest::newRow("step back undoes a step, step and continue go on from there")
        << QList<int> { 5 } << "debug,step,step,back,step,continue" << QList<int> { -1, 4, 9, 4, 9, 5 };
    QTest::newRow("step back after a breakpoint stop, and on into the procedure")
        << QList<int> { 9 } << "run,continue,back,back,back,back,back" << QList<int> { 9, 9, 4, 5, 10, 9, 4 };
    QTest::newRow("step back from the end of a debugging session pauses before the last instruction")
        << QList<int>() << "debug,continue,back,continue" << QList<int> { -1, -1, 6, -1 };
    QTest::newRow("a run that was not debugged, or a stopped one, cannot be stepped back")
        << QList<int>() << "run,back,debug,step,stop,back" << QList<int> { -1, -1, -1, 4, -1, -1 };
}

void TestRunSession::stops()
{
    QFETCH(QList<int>, breakpoints);
    QFETCH(QString, commands);
    QFETCH(QList<int>, lines);

    for (const bool plain : { false, true }) {
        Interpreter interpreter;
        WalkingTurtle turtle;
        interpreter.setWalkingTurtle(&turtle);
        interpreter.setPlainExecution(plain);
        RunSession session(&interpreter);
        session.setRecordedTurtle(&turtle);
        session.setSpeed(RunSession::Instant);
        session.setBreakpoints(breakpoints);

        const QStringList list = commands.split(QLatin1Char(','));
        for (int i = 0; i < list.size(); ++i) {
            runCommand(session, list.at(i));
            const QString where = QStringLiteral("%1 after %2 (%3)")
                                      .arg(plain ? "plain" : "decoded", list.at(i))
                                      .arg(i);
            QVERIFY2(interpreter.currentLine() == lines.at(i),
                     qPrintable(where + QStringLiteral(": line %1").arg(interpreter.currentLine())));
            const bool paused = lines.at(i) != -1 || list.at(i) == QLatin1String("debug");
            QVERIFY2(session.state() == (paused ? RunSession::Paused : RunSession::Idle), qPrintable(where));
        }
        QVERIFY(interpreter.messages().empty());
    }
}

void TestRunSession::animatedRunDrawsAsTheInstantOne()
{
    Interpreter interpreter;
    WalkingTurtle instant;
    interpreter.setWalkingTurtle(&instant);
    interpreter.compile(QString::fromLatin1(Drawing));
    interpreter.runToEnd();

    WalkingTurtle animated;
    interpreter.setWalkingTurtle(&animated);
    RunSession session(&interpreter);
    session.setSpeed(RunSession::Fast);
    QSignalSpy advanced(&session, &RunSession::advanced);
    QSignalSpy finished(&session, &RunSession::finished);
    session.run(QString::fromLatin1(Drawing), false);
    QCOMPARE(session.state(), RunSession::Animating);
    QVERIFY(finished.wait(5000));
    QCOMPARE(session.state(), RunSession::Idle);
    // About one instruction a tick: the drawing grew in many steps.
    QVERIFY2(advanced.count() > 5, qPrintable(QString::number(advanced.count())));
    QCOMPARE(QString::fromStdString(animated.toString()), QString::fromStdString(instant.toString()));

    // Switched to Instant half-way, the run ends at once, with the same drawing.
    animated = WalkingTurtle();
    session.setSpeed(RunSession::Normal);
    session.run(QString::fromLatin1(Drawing), false);
    QVERIFY(advanced.wait(2000));
    session.setSpeed(RunSession::Instant);
    QCOMPARE(session.state(), RunSession::Idle);
    QCOMPARE(QString::fromStdString(animated.toString()), QString::fromStdString(instant.toString()));
}

void TestRunSession::pauseThenStepAndStop()
{
    Interpreter interpreter;
    WalkingTurtle turtle;
    interpreter.setWalkingTurtle(&turtle);
    RunSession session(&interpreter);
    session.setSpeed(RunSession::Normal);
    QSignalSpy advanced(&session, &RunSession::advanced);
    session.run(QString::fromLatin1(Drawing), false);
    QVERIFY(advanced.wait(2000));
    session.pause();
    QCOMPARE(session.state(), RunSession::Paused);
    QVERIFY(session.isDebugging());
    const int line = interpreter.currentLine();
    const qint64 steps = interpreter.executedSteps();
    QTest::qWait(200);
    QCOMPARE(interpreter.executedSteps(), steps);
    session.step();
    QVERIFY(interpreter.currentLine() != line);
    QCOMPARE(interpreter.executedSteps(), steps + 1);

    // Continue animates again; Stop ends it with code 240 at the line reached.
    session.continueRun();
    QCOMPARE(session.state(), RunSession::Animating);
    QVERIFY(advanced.wait(2000));
    const int reached = interpreter.currentLine();
    session.stop();
    QCOMPARE(session.state(), RunSession::Idle);
    QCOMPARE(int(interpreter.messages().size()), 1);
    QCOMPARE(interpreter.messages().front().code(), int(Interpreter::Interrupted));
    QCOMPARE(interpreter.messages().front().line(), reached);
    QVERIFY(turtle.toString().size() > std::string("Tur=Res\n").size());
}

QTEST_GUILESS_MAIN(TestRunSession)
#include "tst_runsession.moc"

#include "engine.h"
#include "session/executionhistory.h"
#include "session/runsession.h"
#include "system/memoryguard.h"

#include <QProcess>

#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <cstdio>

namespace {

const char* const RunawayChild = "KORVANE_RUNAWAY_CHILD";

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

// How long a test waits for the animation at most: only a hung run takes that long.
const int Patience = 60000;

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
    void eachSpeedIsSlowerThanTheOneBefore();
    void aStoppedRunawayGivesItsMemoryBack_data();
    void aStoppedRunawayGivesItsMemoryBack();

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
    } else if (command == QLatin1String("last")) {
        session.seek(session.history()->lastStep());
    } else if (command == QLatin1String("stop")) {
        session.stop();
    }
}

void TestRunSession::stops_data()
{
    QTest::addColumn<QList<int>>("breakpoints");
    QTest::addColumn<QString>("commands");
    // The line shown after each command: -1 once the program has ended, 0
    // while it waits before its first instruction.
    QTest::addColumn<QList<int>>("lines");
    // Whether Step Back is offered after each command.
    QTest::addColumn<QString>("back");

    QTest::newRow("a breakpoint on the first instruction stops before it")
        << QList<int> { 2 } << "run,continue" << QList<int> { 2, -1 } << "-+";
    QTest::newRow("continue from a breakpoint executes its line first")
        << QList<int> { 4 } << "run,continue,continue,continue" << QList<int> { 4, 4, 4, -1 } << "++++";
    QTest::newRow("a breakpoint on a line without instruction stops at the next one")
        << QList<int> { 3, 7 } << "run,continue,continue" << QList<int> { 4, 9, 4 } << "+++";
    QTest::newRow("a breakpoint after the last instruction never stops")
        << QList<int> { 11 } << "run" << QList<int> { -1 } << "-";
    QTest::newRow("continue from the start stops at the first instruction's breakpoint")
        << QList<int> { 2 } << "debug,continue,step" << QList<int> { 0, 2, 4 } << "--+";
    QTest::newRow("step over a call runs the procedure as one step")
        << QList<int>() << "debug,step,over,over,over" << QList<int> { 0, 4, 5, 4, 5 } << "-++++";
    QTest::newRow("step over another instruction is a step")
        << QList<int>() << "debug,over" << QList<int> { 0, 4 } << "-+";
    QTest::newRow("step over stops at a breakpoint in the procedure, step out leaves it")
        << QList<int> { 9 } << "debug,step,over,out" << QList<int> { 0, 4, 9, 5 } << "-+++";
    QTest::newRow("step out at the top level runs on")
        << QList<int>() << "debug,step,out" << QList<int> { 0, 4, -1 } << "-++";
    QTest::newRow("step out stops at a breakpoint on the way")
        << QList<int> { 10 } << "debug,step,step,out,out" << QList<int> { 0, 4, 9, 10, 5 } << "-++++";
    QTest::newRow("step back undoes a step, step and continue go on from there")
        << QList<int> { 5 } << "debug,step,step,back,step,continue" << QList<int> { 0, 4, 9, 4, 9, 5 } << "-+++++";
    QTest::newRow("step back after a breakpoint stop, and on into the procedure")
        << QList<int> { 9 } << "run,continue,back,back,back,back,back" << QList<int> { 9, 9, 4, 5, 10, 9, 4 }
        << "+++++++";
    QTest::newRow("step back reaches the start, and goes no further")
        << QList<int>() << "debug,step,step,back,back,back,step" << QList<int> { 0, 4, 9, 4, 0, 0, 4 } << "-+++--+";
    QTest::newRow("step back from the end of a debugging session pauses before the last instruction")
        << QList<int>() << "debug,continue,back,continue" << QList<int> { 0, -1, 6, -1 } << "-+++";
    QTest::newRow("the timeline at the last step of an ended run shows it ended")
        << QList<int>() << "debug,continue,back,back,last,back" << QList<int> { 0, -1, 6, 5, -1, 6 } << "-+++++";
    QTest::newRow("a run that was not debugged, or a stopped one, cannot be stepped back")
        << QList<int>() << "run,back,debug,step,stop,back" << QList<int> { -1, -1, 0, 4, -1, -1 } << "---+--";
}

void TestRunSession::stops()
{
    QFETCH(QList<int>, breakpoints);
    QFETCH(QString, commands);
    QFETCH(QList<int>, lines);
    QFETCH(QString, back);

    for (const bool plain : { false, true }) {
        Engine engine;
        Interpreter& interpreter = engine.interpreter;
        interpreter.setPlainExecution(plain);
        RunSession session(&interpreter);
        session.setRecordedTurtle(&engine.turtle);
        session.setSpeed(RunSession::Instant);
        session.setBreakpoints(breakpoints);

        const QStringList list = commands.split(QLatin1Char(','));
        for (int i = 0; i < list.size(); ++i) {
            runCommand(session, list.at(i));
            const QString where = QStringLiteral("%1 after %2 (%3)")
                                      .arg(plain ? "plain" : "decoded", list.at(i))
                                      .arg(i);
            const int line = lines.at(i) == 0 ? -1 : lines.at(i);
            QVERIFY2(interpreter.currentLine() == line,
                     qPrintable(where + QStringLiteral(": line %1").arg(interpreter.currentLine())));
            const bool paused = lines.at(i) != -1;
            QVERIFY2(session.state() == (paused ? RunSession::Paused : RunSession::Idle), qPrintable(where));
            QVERIFY2(session.canStepBack() == (back.at(i) == QLatin1Char('+')), qPrintable(where));
        }
        QVERIFY(interpreter.messages().empty());
    }
}

void TestRunSession::animatedRunDrawsAsTheInstantOne()
{
    Engine instant(QString::fromLatin1(Drawing));
    instant.interpreter.runToEnd();

    Engine engine;
    RunSession session(&engine.interpreter);
    session.setSpeed(RunSession::Fast);
    QSignalSpy advanced(&session, &RunSession::advanced);
    QSignalSpy finished(&session, &RunSession::finished);
    session.run(QString::fromLatin1(Drawing), false);
    QCOMPARE(session.state(), RunSession::Animating);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, Patience);
    QCOMPARE(session.state(), RunSession::Idle);
    // However late the ticks come, a tick catches up by a tenth of a second
    // at most: the drawing grew in more than one step.
    QVERIFY2(advanced.count() > 1, qPrintable(QString::number(advanced.count())));
    QCOMPARE(engine.turtle.toString(), instant.turtle.toString());

    // Switched to Instant after the first tick, the run ends at once, with the same drawing.
    engine.turtle = WalkingTurtle();
    session.setSpeed(RunSession::Normal);
    advanced.clear();
    session.run(QString::fromLatin1(Drawing), false);
    QVERIFY(advanced.count() > 0);
    QCOMPARE(session.state(), RunSession::Animating);
    session.setSpeed(RunSession::Instant);
    QCOMPARE(session.state(), RunSession::Idle);
    QCOMPARE(engine.turtle.toString(), instant.turtle.toString());
}

void TestRunSession::pauseThenStepAndStop()
{
    Engine engine;
    Interpreter& interpreter = engine.interpreter;
    RunSession session(&interpreter);
    session.setSpeed(RunSession::Normal);
    // The first tick executes at once.
    session.run(QString::fromLatin1(Drawing), false);
    QVERIFY(interpreter.executedSteps() > 0);
    session.pause();
    QCOMPARE(session.state(), RunSession::Paused);
    QVERIFY(session.isDebugging());
    const int line = interpreter.currentLine();
    const qint64 steps = interpreter.executedSteps();
    // Paused, nothing runs on, however long the wait.
    QTest::qWait(200);
    QCOMPARE(interpreter.executedSteps(), steps);
    session.step();
    QVERIFY(interpreter.currentLine() != line);
    QCOMPARE(interpreter.executedSteps(), steps + 1);

    // Continue animates again; Stop ends it with code 240 at the line reached.
    session.continueRun();
    QCOMPARE(session.state(), RunSession::Animating);
    QVERIFY(interpreter.executedSteps() > steps + 1);
    const int reached = interpreter.currentLine();
    session.stop();
    QCOMPARE(session.state(), RunSession::Idle);
    QCOMPARE(int(interpreter.messages().size()), 1);
    QCOMPARE(interpreter.messages().front().code(), int(Interpreter::Interrupted));
    QCOMPARE(interpreter.messages().front().line(), reached);
    QVERIFY(engine.turtle.toString().size() > std::string("Tur=Res\n").size());
}

void TestRunSession::eachSpeedIsSlowerThanTheOneBefore()
{
    QCOMPARE(RunSession::instructionsPerSecond(RunSession::Instant), 0);
    int previous = INT_MAX;
    for (const RunSession::Speed speed : { RunSession::Fast, RunSession::Normal, RunSession::Slow,
                                           RunSession::Slowest }) {
        const int rate = RunSession::instructionsPerSecond(speed);
        QVERIFY(rate > 0 && rate < previous);
        previous = rate;
        // The marker glides, then rests a moment before the next step.
        QVERIFY(RunSession::glideDuration(speed) >= 0 && RunSession::glideDuration(speed) < 1000 / rate);
    }
    QVERIFY(RunSession::glideDuration(RunSession::Slowest) > 0);
}

namespace {

// An endless push loop, recorded as the window records it, stopped by the
// memory guard or by the user (as the progress dialog's Stop does) once it
// holds 150 MB more than before. Prints the resident bytes before the run,
// at the stop and once stopped.
int runawayChild(const QByteArray& how)
{
    qputenv("KORVANE_RUN_MEMORY_LIMIT_MB", how == "guard" ? "150" : "600");
    Engine engine;
    RunSession session(&engine.interpreter);
    session.setRecordedTurtle(&engine.turtle);
    const qint64 before = MemoryGuard::residentBytes();
    qint64 peak = 0;
    QObject::connect(&session, &RunSession::memoryExceeded, [&peak](qint64 bytes) { peak = bytes; });
    QObject::connect(&session, &RunSession::busy, [&] {
        const qint64 now = MemoryGuard::residentBytes();
        if (how == "user" && now - before > 150 * 1024 * 1024) {
            peak = now;
            session.stop();
        }
    });
    session.run(QStringLiteral("Tur=Asm\ndefine: again;\npush: 1;\njmpe: 0, 0, again;\n"), false);
    std::printf("%lld %lld %lld\n", static_cast<long long>(before), static_cast<long long>(peak),
                static_cast<long long>(MemoryGuard::residentBytes()));
    return 0;
}

} // namespace

void TestRunSession::aStoppedRunawayGivesItsMemoryBack_data()
{
    QTest::addColumn<QByteArray>("how");
    QTest::newRow("stopped by the memory guard") << QByteArray("guard");
    QTest::newRow("stopped by the user") << QByteArray("user");
}

// Measured in a process of its own, whose memory nothing else touches.
void TestRunSession::aStoppedRunawayGivesItsMemoryBack()
{
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers' allocator gives memory back in its own time");
#endif
    QFETCH(QByteArray, how);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(RunawayChild), QString::fromLatin1(how));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(-1));
    const QByteArray output = child.readAllStandardOutput();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             (output + child.readAllStandardError()).constData());
    const QList<QByteArray> sizes = output.trimmed().split(' ');
    QCOMPARE(sizes.size(), 3);
    const qint64 before = sizes.at(0).toLongLong();
    const qint64 peak = sizes.at(1).toLongLong();
    const qint64 after = sizes.at(2).toLongLong();
    const QByteArray figures = "before " + QByteArray::number(before >> 20) + " MB, at the stop "
        + QByteArray::number(peak >> 20) + " MB, after " + QByteArray::number(after >> 20) + " MB";
    QVERIFY2(peak - before > 100 * 1024 * 1024, figures.constData());
    QVERIFY2(after - before < (peak - before) / 5, figures.constData());
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray child = qgetenv(RunawayChild);
    if (!child.isEmpty()) {
        return runawayChild(child);
    }
    TestRunSession test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_runsession.moc"

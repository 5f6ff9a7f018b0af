#include "engine.h"
#include "session/executionhistory.h"
#include "session/runsession.h"
#include "session/scriptlines.h"
#include "turtle/walkingturtle.h"
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

// 1,000 values pushed, then 50 calls deep; line 14 holds the ret of the deepest.
const char* const DeepStacks = "Tur=Asm\n"
                               "CX: 1000;\n"
                               "define: fill;\n"
                               "push: CX;\n"
                               "loop: fill;\n"
                               "AX: 50;\n"
                               "call: deep;\n"
                               "end;\n"
                               "proc: deep;\n"
                               "AX: AX-1;\n"
                               "jmpe: AX, 0, bottom;\n"
                               "call: deep;\n"
                               "define: bottom;\n"
                               "ret;\n";

QString readExample(const char* name)
{
    QFile file(QStringLiteral("TurtleCodes/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// "Paused 9 2": the kind, the line and the step of a status.
QString summary(const RunSession::Status& status)
{
    static const char* const kinds[] = { "Editing", "Running", "Paused", "Finished", "Stopped", "Failed" };
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(kinds[status.kind])).arg(status.line).arg(status.step);
}

QStringList callTexts(const StackView& view)
{
    QStringList texts;
    for (const StackView::Call& call : view.calls) {
        texts << QStringLiteral("%1@%2").arg(call.procedure).arg(call.line);
    }
    return texts;
}

// A session drawing on its own turtle, recorded, at Instant speed.
struct Bench {
    Interpreter interpreter;
    WalkingTurtle turtle;
    RunSession session { &interpreter };

    Bench()
    {
        interpreter.setWalkingTurtle(&turtle);
        session.setRecordedTurtle(&turtle);
        session.setSpeed(RunSession::Instant);
    }
    ~Bench() { session.setRecordedTurtle(nullptr); }

    // Commands separated by commas: run, debug, stepping, step, back, continue,
    // over, stop, forget, restart, restart-debug, "to:N" (run to line N).
    void play(const QString& text, const QString& commands)
    {
        for (const QString& command : commands.split(QLatin1Char(','))) {
            if (command == QLatin1String("run") || command == QLatin1String("debug")) {
                session.run(text, command == QLatin1String("debug"));
            } else if (command == QLatin1String("stepping")) {
                session.startStepping(text);
            } else if (command == QLatin1String("step")) {
                session.step();
            } else if (command == QLatin1String("back")) {
                session.stepBack();
            } else if (command == QLatin1String("continue")) {
                session.continueRun();
            } else if (command == QLatin1String("over")) {
                session.stepOver();
            } else if (command == QLatin1String("stop")) {
                session.stop();
            } else if (command == QLatin1String("forget")) {
                session.forgetRun();
            } else if (command.startsWith(QLatin1String("restart"))) {
                session.restart(text, command == QLatin1String("restart-debug"));
            } else if (command.startsWith(QLatin1String("to:"))) {
                session.runToLine(text, command.mid(3).toInt());
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown command ") + command));
            }
        }
    }
};

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
    void status_data();
    void status();
    void runToLine_data();
    void runToLine();
    void restartStartsAsTheRunWasStarted();
    void cleanStart_data();
    void cleanStart();
    void stacksOfARecursion();
    void stackChanges_data();
    void stackChanges();
    void deepStacksAreCut();
    void instructionLines_data();
    void instructionLines();
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
        << QList<int> { 11 } << "run" << QList<int> { -1 } << "+";
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
        << QList<int>() << "debug,step,step,back,back,back,step" << QList<int> { 0, 4, 9, 4, 2, 2, 4 } << "-+++--+";
    QTest::newRow("step back from the end of a debugging session pauses before the last instruction")
        << QList<int>() << "debug,continue,back,continue" << QList<int> { 0, -1, 6, -1 } << "-+++";
    QTest::newRow("the timeline at the last step of an ended run shows it ended")
        << QList<int>() << "debug,continue,back,back,last,back" << QList<int> { 0, -1, 6, 5, -1, 6 } << "-+++++";
    QTest::newRow("a run that was not debugged, or a stopped one, is stepped back from where it ended")
        << QList<int>() << "run,back,debug,step,stop,back" << QList<int> { -1, 6, 0, 4, -1, 2 } << "++-++-";
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
        QVERIFY(session.diagnostics().empty());
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

void TestRunSession::status_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<int>>("breakpoints");
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("listed");

    const QString calls = QString::fromLatin1(Calls);
    // CX, three times call, AX, ret and loop, then end.
    QTest::newRow("a run to the end finishes after every step") << calls << QList<int>() << "run" << "Finished -1 14" << false;
    QTest::newRow("a breakpoint pauses at its line and step") << calls << QList<int> { 9 } << "run" << "Paused 9 2" << false;
    QTest::newRow("debug mode waits before the first instruction") << calls << QList<int>() << "debug" << "Paused -1 0" << false;
    QTest::newRow("stepping shows the first instruction") << calls << QList<int>() << "stepping" << "Paused 2 0" << false;
    QTest::newRow("a stop says where, and lists no error")
        << calls << QList<int> { 9 } << "run,stop" << "Stopped 9 0" << false;
    QTest::newRow("stepping back to the end of a finished run finishes it again")
        << calls << QList<int>() << "run,back,back,step,step" << "Finished -1 14" << false;
    QTest::newRow("a run-time error names its line")
        << "Tur=Asm\npush:1;\npop:AX;\npop:AX;\n" << QList<int>() << "run" << "Failed 4 3" << true;
    QTest::newRow("a failed analysis runs nothing, even in debug mode")
        << "Tur=Asm\nmove: 5;\nbogus: 1;\n" << QList<int>() << "debug" << "Failed 3 0" << true;
    QTest::newRow("a changed text forgets how the run ended") << calls << QList<int>() << "run,forget" << "Editing -1 0" << false;
    QTest::newRow("a changed text ends the debugging") << calls << QList<int>() << "stepping,step,forget" << "Editing -1 0" << false;
}

void TestRunSession::status()
{
    QFETCH(QString, script);
    QFETCH(QList<int>, breakpoints);
    QFETCH(QString, commands);
    QFETCH(QString, status);
    QFETCH(bool, listed);

    Bench bench;
    bench.session.setBreakpoints(breakpoints);
    QSignalSpy changes(&bench.session, &RunSession::statusChanged);
    bench.play(script, commands);
    QCOMPARE(summary(bench.session.status()), status);
    QVERIFY(!changes.isEmpty());
    QCOMPARE(bench.session.diagnostics().empty(), !listed);
}

void TestRunSession::runToLine_data()
{
    QTest::addColumn<QList<int>>("breakpoints");
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("status");

    QTest::newRow("from the start to the line") << QList<int>() << "to:9" << "Paused 9 2";
    QTest::newRow("a line without instruction stops at the next one") << QList<int>() << "to:7" << "Paused 9 2";
    QTest::newRow("the line is forgotten once reached") << QList<int>() << "to:9,continue" << "Finished -1 14";
    QTest::newRow("from a paused program, on to the line") << QList<int>() << "stepping,step,to:10" << "Paused 10 3";
    QTest::newRow("from the line itself, to its next execution") << QList<int>() << "to:9,to:9" << "Paused 9 6";
    QTest::newRow("a breakpoint on the way stops first") << QList<int> { 5 } << "to:10" << "Paused 10 3";
    QTest::newRow("a breakpoint before the line stops first") << QList<int> { 4 } << "to:10" << "Paused 4 1";
    QTest::newRow("a line after the last instruction runs to the end") << QList<int>() << "to:11" << "Finished -1 14";
}

void TestRunSession::runToLine()
{
    QFETCH(QList<int>, breakpoints);
    QFETCH(QString, commands);
    QFETCH(QString, status);

    Bench bench;
    bench.session.setBreakpoints(breakpoints);
    bench.play(QString::fromLatin1(Calls), commands);
    QCOMPARE(summary(bench.session.status()), status);
    QCOMPARE(bench.session.breakpoints(), breakpoints);
}

void TestRunSession::restartStartsAsTheRunWasStarted()
{
    Bench bench;
    const QString calls = QString::fromLatin1(Calls);
    // Stepping starts again as stepping, whatever the debug mode says.
    bench.play(calls, "stepping,step,step,restart");
    QCOMPARE(summary(bench.session.status()), QStringLiteral("Paused 2 0"));
    bench.play(calls, "step,restart-debug");
    QCOMPARE(summary(bench.session.status()), QStringLiteral("Paused 2 0"));
    bench.play(calls, "stop,debug,step,restart-debug");
    QCOMPARE(summary(bench.session.status()), QStringLiteral("Paused -1 0"));
    // A debugging session started in debug mode runs to the end once the mode is off.
    bench.play(calls, "step,restart");
    QCOMPARE(summary(bench.session.status()), QStringLiteral("Finished -1 14"));
}

void TestRunSession::cleanStart_data()
{
    QTest::addColumn<bool>("clean");
    QTest::addColumn<QString>("commands");

    // Each ends paused before the tree's first register instruction (line 10).
    QTest::newRow("a run starts from what the last one left") << false << "run";
    QTest::newRow("a restart starts from what the run left") << false << "stepping,continue,restart";
    QTest::newRow("a clean run starts afresh") << true << "run";
    QTest::newRow("a clean restart starts afresh") << true << "stepping,continue,restart";
}

void TestRunSession::cleanStart()
{
    QFETCH(bool, clean);
    QFETCH(QString, commands);

    Bench bench;
    const QString tree = readExample("tree.tur");
    QVERIFY(!tree.isEmpty());
    bench.play(tree, "run");
    const std::size_t drawn = bench.turtle.trace().size();
    QCOMPARE(bench.interpreter.debugValues().at(1), (std::pair<QString, int>(QStringLiteral("AX"), 6)));

    bench.session.setCleanStart(clean);
    bench.session.setBreakpoints({ 10 });
    bench.play(tree, commands);
    QCOMPARE(bench.session.state(), RunSession::Paused);
    QCOMPARE(bench.interpreter.debugValues().at(1).second, clean ? 0 : 6);
    QCOMPARE(bench.interpreter.debugValues().at(2).second, clean ? 0 : 120);
    QCOMPARE(bench.turtle.trace().size() < drawn, clean);
}

void TestRunSession::stacksOfARecursion()
{
    Bench bench;
    bench.session.setBreakpoints({ 17 });
    bench.play(readExample("tree.tur"), "run");
    StackView view = bench.session.stacks(10);
    QCOMPARE(callTexts(view), QStringList { "branch@12" });
    QCOMPARE(view.depth, std::size_t(0));

    // Inside the left subtree: AX and BX of the caller on the data stack, top first.
    bench.play(QString(), "continue");
    view = bench.session.stacks(10);
    QCOMPARE(callTexts(view), (QStringList { "branch@24", "branch@12" }));
    QCOMPARE(view.values, (std::vector<int> { 120, 6 }));
    QCOMPARE(view.callDepth, std::size_t(2));

    // Down to the leaves, then back up the right-hand side.
    bench.play(QString(), "continue,continue,continue,continue,continue,continue");
    QCOMPARE(callTexts(bench.session.stacks(3)), (QStringList { "branch@26", "branch@24", "branch@24" }));
    QCOMPARE(bench.session.stacks(3).callDepth, std::size_t(5));
    QCOMPARE(bench.session.stacks(0).calls.size(), std::size_t(0));
}

void TestRunSession::stackChanges_data()
{
    QTest::addColumn<QList<int>>("breakpoints");
    QTest::addColumn<QString>("commands");
    // "Pushed", "Popped 7", "Called", "Returned branch@24" or "None".
    QTest::addColumn<QString>("change");

    QTest::newRow("a step over a push") << QList<int> { 19 } << "run,step" << "Pushed";
    QTest::newRow("a step over a call") << QList<int> { 24 } << "run,step" << "Called";
    QTest::newRow("a step over another instruction") << QList<int> { 17 } << "run,step" << "None";
    QTest::newRow("a breakpoint reached right after a push") << QList<int> { 21 } << "run" << "Pushed";
    QTest::newRow("a breakpoint reached right after a call") << QList<int> { 16 } << "run,continue" << "Called";
    QTest::newRow("stepping over a call ends with its ret") << QList<int> { 26 } << "run,over" << "Returned branch@26";
    QTest::newRow("a pop gives the value it took") << QList<int> { 28 } << "run,step" << "Popped 1";
    QTest::newRow("a step back shows what the step shown did") << QList<int> { 21 } << "run,step,back" << "Pushed";
    QTest::newRow("two steps back") << QList<int> { 21 } << "run,back" << "Pushed";
}

void TestRunSession::stackChanges()
{
    QFETCH(QList<int>, breakpoints);
    QFETCH(QString, commands);
    QFETCH(QString, change);

    Bench bench;
    bench.session.setBreakpoints(breakpoints);
    bench.play(readExample("tree.tur"), commands);
    QCOMPARE(bench.session.state(), RunSession::Paused);
    const StackView view = bench.session.stacks(5);
    QString shown;
    switch (view.change) {
    case StackView::NoChange:
        shown = QStringLiteral("None");
        break;
    case StackView::Pushed:
        shown = QStringLiteral("Pushed");
        break;
    case StackView::Popped:
        shown = QStringLiteral("Popped %1").arg(view.popped);
        break;
    case StackView::Called:
        shown = QStringLiteral("Called");
        break;
    case StackView::Returned:
        shown = QStringLiteral("Returned %1@%2").arg(view.returned.procedure).arg(view.returned.line);
        break;
    }
    QCOMPARE(shown, change);
}

void TestRunSession::deepStacksAreCut()
{
    Bench bench;
    bench.session.setBreakpoints({ 14 });
    bench.play(QString::fromLatin1(DeepStacks), "run");
    const StackView view = bench.session.stacks(300);
    QCOMPARE(view.depth, std::size_t(1000));
    QCOMPARE(view.values.size(), std::size_t(300));
    // CX counted down as it was pushed: the last pushed, 1, on top.
    QCOMPARE(view.values.front(), 1);
    QCOMPARE(view.values.back(), 300);
    QCOMPARE(view.callDepth, std::size_t(50));
    QCOMPARE(view.calls.size(), std::size_t(50));
    QCOMPARE(view.calls.front().line, 12);
    QCOMPARE(view.calls.back().line, 7);
    QCOMPARE(view.calls.back().procedure, QStringLiteral("deep"));
}

void TestRunSession::instructionLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("holds");
    QTest::addColumn<QString>("called");

    QTest::newRow("the header") << "Tur=Asm" << 1 << false << "";
    QTest::newRow("a command") << "    move: 10;   # forward" << 2 << true << "";
    QTest::newRow("a command being typed, no semicolon yet") << "move: 10" << 2 << true << "";
    QTest::newRow("a command without argument") << "ret;" << 9 << true << "";
    QTest::newRow("a register in either case") << "ax: AX+1;" << 3 << true << "";
    QTest::newRow("a call names its procedure") << "call:  petal ;  # the next one" << 8 << true << "petal";
    QTest::newRow("a blank line") << "   " << 4 << false << "";
    QTest::newRow("a comment") << "# call: petal;" << 4 << false << "";
    QTest::newRow("a label") << "define: again;" << 5 << false << "";
    QTest::newRow("a procedure head") << "proc: petal;" << 6 << false << "";
    QTest::newRow("a command in the wrong case") << "MOVE: 10;" << 7 << false << "";
    QTest::newRow("an unknown word") << "jump: 3;" << 7 << false << "";
}

void TestRunSession::instructionLines()
{
    QFETCH(QString, line);
    QFETCH(int, number);
    QFETCH(bool, holds);
    QFETCH(QString, called);

    QCOMPARE(ScriptLines::holdsInstruction(line, number), holds);
    QCOMPARE(ScriptLines::calledProcedure(line), called);
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

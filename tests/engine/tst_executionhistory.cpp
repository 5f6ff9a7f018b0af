// Going back in a run: every state the history shows must be the state a run
// of the same script reaches after as many steps.

#include "engine.h"
#include "session/executionhistory.h"
#include "generatedscripts.h"

#include <QtTest>

namespace {

// What a run that goes only forward shows after each step: the state, the
// executions of each line and the origin of each snapshot.
struct Reference {
    std::vector<State> states;
    std::vector<QString> machines;
    std::vector<std::vector<qint64>> counts;
    // Snapshot index -> (step, line).
    std::vector<std::pair<qint64, int>> origins;
};

Reference referenceRun(const QString& text, qint64 budget)
{
    Reference reference;
    Engine engine(text);
    auto& [turtle, interpreter] = engine;
    const Interpreter::Program& program = interpreter.program();
    std::vector<qint64> counts(program.empty() ? 0 : static_cast<std::size_t>(program.lineAt(program.size() - 1)), 0);
    for (qint64 step = 0;; ++step) {
        reference.states.push_back(stateOf(interpreter, turtle, false));
        reference.machines.push_back(stacksOf(interpreter));
        reference.counts.push_back(counts);
        const std::size_t next = interpreter.nextPosition();
        if (step == budget || next == program.size() || (step > 0 && interpreter.currentLine() == -1)) {
            break;
        }
        const int line = program.lineAt(next);
        const std::size_t length = turtle.trace().size();
        interpreter.step();
        ++counts[static_cast<std::size_t>(line - 1)];
        if (turtle.trace().size() != length) {
            reference.origins.emplace_back(step + 1, line);
        }
    }
    return reference;
}

} // namespace

class TestExecutionHistory : public QObject
{
    Q_OBJECT

private slots:
    void backAndForthGiveTheStatesOfARunForward_data();
    void backAndForthGiveTheStatesOfARunForward();
    void inputsThatCannotBeReplayedCutTheHistory();
    void checkpointsStayWithinTheirBudget();
};

void TestExecutionHistory::backAndForthGiveTheStatesOfARunForward_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("budget");
    QTest::newRow("a checkpoint at every step") << 1 << int(ExecutionHistory::MinimumBudget);
    QTest::newRow("checkpoints every 7 steps") << 7 << int(ExecutionHistory::MinimumBudget);
    QTest::newRow("checkpoints thinned to fit a tiny budget") << 2 << 20000;
    QTest::newRow("the default spacing") << int(ExecutionHistory::InitialInterval)
                                         << int(ExecutionHistory::MinimumBudget);
}

void TestExecutionHistory::backAndForthGiveTheStatesOfARunForward()
{
    QFETCH(int, interval);
    QFETCH(int, budget);

    ScriptGenerator generator(4711 + interval);
    QRandomGenerator random(99 + interval);
    qint64 stepsBack = 0;
    for (int n = 0; n < 300; ++n) {
        const QString text = generator.script();
        const qint64 limit = random.bounded(1500);
        const Reference reference = referenceRun(text, limit);
        const qint64 last = qint64(reference.states.size()) - 1;

        Engine engine;
        Interpreter& interpreter = engine.interpreter;
        WalkingTurtle& turtle = engine.turtle;
        ExecutionHistory history(interpreter, turtle, interval, std::size_t(budget));
        interpreter.compile(text);
        history.start();

        auto check = [&](const QString& when) {
            const qint64 step = history.step();
            const State shown = stateOf(interpreter, turtle, false);
            if (!(shown == reference.states[std::size_t(step)])
                || stacksOf(interpreter) != reference.machines[std::size_t(step)]
                || history.lineCounts() != reference.counts[std::size_t(step)]) {
                QFAIL(qPrintable(QStringLiteral("%1, step %2 of script %3:\n%4\nshown:    %5 %6\nexpected: %7 %8")
                                     .arg(when)
                                     .arg(step)
                                     .arg(n)
                                     .arg(text, shown.toString(), stacksOf(interpreter),
                                          reference.states[std::size_t(step)].toString(),
                                          reference.machines[std::size_t(step)])));
            }
        };

        // Forward in slices of random length, as Continue and Step do.
        while (history.step() < last) {
            history.advance(qMin<qint64>(last - history.step(), random.bounded(1, 50)));
            check(QStringLiteral("forward"));
            if (QTest::currentTestFailed()) {
                return;
            }
        }
        QCOMPARE(history.lastStep(), last);

        for (int jump = 0; jump < 12; ++jump) {
            // Back k steps, then forward one step at a time.
            const qint64 k = random.bounded(1, int(qMax<qint64>(2, history.step() + 1)));
            history.seek(history.step() - k);
            check(QStringLiteral("back %1").arg(k));
            stepsBack += k;
            for (qint64 i = 0; i < k && history.step() < last; ++i) {
                history.advance(1);
                check(QStringLiteral("forward again"));
            }
            if (QTest::currentTestFailed()) {
                return;
            }
            history.seek(random.bounded(int(last + 1)));
            check(QStringLiteral("jump"));
            if (QTest::currentTestFailed()) {
                return;
            }
        }

        // The state shown at a step is the one of a fresh run of that many
        // steps, the whole drawing included, and each snapshot knows its step.
        const qint64 step = random.bounded(int(last + 1));
        history.seek(step);
        Engine fresh(text);
        if (step > 0) {
            fresh.interpreter.advance(step);
        }
        QCOMPARE(stateOf(interpreter, turtle, true).toString(),
                 stateOf(fresh.interpreter, fresh.turtle, true).toString());
        for (std::size_t snapshot = 0; snapshot < turtle.trace().size(); ++snapshot) {
            TraceOrigins::Origin origin;
            QVERIFY(history.origin(snapshot, origin));
            QCOMPARE(std::make_pair(origin.step, origin.line), reference.origins.at(snapshot));
        }
        TraceOrigins::Origin none;
        QVERIFY(!history.origin(turtle.trace().size(), none));
    }
    QVERIFY(stepsBack > 10000);
}

void TestExecutionHistory::inputsThatCannotBeReplayedCutTheHistory()
{
    Engine engine;
    auto& [turtle, interpreter] = engine;
    ExecutionHistory history(interpreter, turtle, 2);
    interpreter.compile("Tur=Asm\nwrite: Y;\nCX: 6;\ndefine: top;\nmove: 10;\nloop: top;\nend;");
    history.start();
    history.advance(7);
    const std::size_t drawn = turtle.trace().size();

    // An arrow key while paused: it stays, and Step Back stops there.
    turtle.move(10);
    history.cut(ExecutionHistory::TraceExtended);
    history.advance(2);
    TraceOrigins::Origin origin;
    QVERIFY(history.origin(drawn + 1, origin));
    QCOMPARE(origin.step, qint64(9));
    QVERIFY(!history.origin(drawn, origin));
    QVERIFY(history.origin(drawn - 1, origin));
    history.seek(0);
    QCOMPARE(history.step(), qint64(7));
    QCOMPARE(turtle.trace().size(), drawn + 1);

    // Clear, then the pen put down by hand: nothing left was drawn by this run.
    turtle = WalkingTurtle();
    history.cut(ExecutionHistory::TraceReplaced);
    turtle.setWrite(true);
    history.cut(ExecutionHistory::TraceExtended);
    QVERIFY(!history.advance(100));
    QVERIFY(history.hasEnded());
    QVERIFY(!history.origin(0, origin));
    QVERIFY(history.origin(1, origin));
    QCOMPARE(origin.line, 5);
    const qint64 end = history.lastStep();
    QCOMPARE(end, qint64(15));
    history.seek(end - 3);
    QVERIFY(history.advance(1));
    // Once ended, the run does not start again from the top.
    history.seek(end);
    QVERIFY(!history.advance(1));
    QCOMPARE(history.step(), end);
}

void TestExecutionHistory::checkpointsStayWithinTheirBudget()
{
    // Deep stacks make every checkpoint large: they are thinned, not kept.
    Engine engine;
    auto& [turtle, interpreter] = engine;
    ExecutionHistory history(interpreter, turtle, 16, 1 << 20);
    interpreter.compile("Tur=Asm\ndefine: top;\npush: AX;\nAX: AX+1;\njmpl: AX, 400000, top;\nend;");
    history.start();
    while (history.advance(10000)) {
        QVERIFY(history.memoryUsage() < std::size_t(3) << 20);
    }
    QVERIFY(history.interval() > 16);
    history.seek(600001);
    QCOMPARE(interpreter.debugValues().at(6).second, 200000);
    QCOMPARE(interpreter.virtualMachine()->stackSize(), std::size_t(200001));
}

QTEST_GUILESS_MAIN(TestExecutionHistory)
#include "tst_executionhistory.moc"

// The decoded execution against the plain one, on generated scripts: every
// observable result must be the same, step by step.

#include "generatedscripts.h"

#include <QtTest>

#include <memory>

namespace {

// One interpreter with its own turtle and, when recording, its own record.
struct Side {
    Interpreter interpreter;
    WalkingTurtle turtle;
    ExecutionRecord record;

    explicit Side(bool plain, bool recording = false)
    {
        interpreter.setPlainExecution(plain);
        interpreter.setWalkingTurtle(&turtle);
        if (recording) {
            interpreter.setRecord(&record);
        }
    }

    State state(bool fullTrace = true) const { return stateOf(interpreter, turtle, fullTrace); }

    // The counts by position and the step and line of each snapshot's origin.
    QString recorded() const
    {
        QStringList parts;
        for (qint64 count : record.counts) {
            parts << QString::number(count);
        }
        parts << QStringLiteral("|");
        for (std::size_t snapshot = 0; snapshot < turtle.trace().size(); ++snapshot) {
            TraceOrigins::Origin origin;
            parts << (record.origins.find(snapshot, origin)
                    ? QStringLiteral("%1@%2").arg(origin.step).arg(origin.line)
                    : QStringLiteral("-"));
        }
        return parts.join(' ');
    }
};

// One plain and one decoded interpreter, each with its own turtle.
struct Pair {
    Side plain;
    Side decoded;

    explicit Pair(bool recording = false)
        : plain(true, recording)
        , decoded(false, recording)
    {
    }

    State plainState(bool fullTrace = true) const { return plain.state(fullTrace); }
    State decodedState(bool fullTrace = true) const { return decoded.state(fullTrace); }
};

// Lines from 0 to a few past the end of most scripts: some hold instructions,
// some labels, blanks or nothing at all.
std::vector<int> someLines(QRandomGenerator& random)
{
    std::vector<int> lines;
    for (int i = 0, count = int(random.bounded(5)); i < count; ++i) {
        lines.push_back(int(random.bounded(45)));
    }
    return lines;
}

// Runs to the end or budget instructions in the given way; a run that goes
// on then is interrupted, as a run with a step limit is.
enum Way { WholeRun, SingleSteps, CheckedSlices };

void runAway(Side& side, Way way, qint64 budget, QRandomGenerator& random)
{
    Interpreter& interpreter = side.interpreter;
    switch (way) {
    case WholeRun:
        interpreter.runToEnd(budget);
        return;
    case SingleSteps:
        for (qint64 step = 0; step < budget; ++step) {
            if (!interpreter.step()) {
                return;
            }
        }
        break;
    case CheckedSlices:
        interpreter.setBreakpoints(someLines(random));
        // Each slice leaves the breakpoint it stopped at: its first
        // instruction always executes.
        while (interpreter.executedSteps() < budget) {
            if (!interpreter.advanceChecked(budget - interpreter.executedSteps(), int(random.bounded(3)))) {
                return;
            }
        }
        break;
    }
    interpreter.interrupt();
}

const int Scripts = 1500;

} // namespace

class TestDecodedExecution : public QObject
{
    Q_OBJECT

private slots:
    void sameResults_data();
    void sameResults();
    void plainExecutionCanBeChosen();
    void everyOpcodeAgreesOnAHandWrittenScript_data();
    void everyOpcodeAgreesOnAHandWrittenScript();
};

void TestDecodedExecution::sameResults_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("whole runs with a step budget, twice in a row") << 0;
    QTest::newRow("one step at a time") << 1;
    QTest::newRow("slices of random length, some interrupted") << 2;
    QTest::newRow("a new script compiled over a paused run") << 3;
    QTest::newRow("checked slices stop at the same breakpoints and call depths") << 4;
    QTest::newRow("recorded slices count the same executions and origins") << 5;
    QTest::newRow("a whole run, single steps and checked slices end alike") << 6;
}

void TestDecodedExecution::sameResults()
{
    QFETCH(int, mode);

    ScriptGenerator generator(20240 + mode);
    QRandomGenerator random(7 + mode);
    qint64 executed = 0;
    int failedRuns = 0;
    int interrupted = 0;

    for (int n = 0; n < Scripts; ++n) {
        const QString text = generator.script();
        const qint64 budget = random.bounded(3000);
        Pair pair(mode == 5);
        QCOMPARE(pair.decoded.interpreter.compile(text), pair.plain.interpreter.compile(text));

        auto compare = [&](const QString& when, bool fullTrace) {
            const State plain = pair.plainState(fullTrace);
            const State decoded = pair.decodedState(fullTrace);
            if (!(plain == decoded)) {
                QFAIL(qPrintable(QStringLiteral("%1 of script %2:\n%3\nplain:   %4\ndecoded: %5")
                                     .arg(when)
                                     .arg(n)
                                     .arg(text, plain.toString(), decoded.toString())));
            }
        };

        switch (mode) {
        case 0:
            for (int run = 0; run < 2; ++run) {
                QCOMPARE(pair.decoded.interpreter.runToEnd(budget), pair.plain.interpreter.runToEnd(budget));
                compare(QStringLiteral("after run %1").arg(run), true);
            }
            break;
        case 1:
            for (qint64 step = 0; step < budget; ++step) {
                const bool goesOn = pair.plain.interpreter.step();
                QCOMPARE(pair.decoded.interpreter.step(), goesOn);
                compare(QStringLiteral("after step %1").arg(step), false);
                if (QTest::currentTestFailed()) {
                    return;
                }
                if (!goesOn) {
                    break;
                }
            }
            compare(QStringLiteral("after the last step"), true);
            break;
        case 2:
            for (qint64 done = 0; done < budget;) {
                const qint64 slice = random.bounded(60);
                const bool goesOn = pair.plain.interpreter.advance(slice);
                QCOMPARE(pair.decoded.interpreter.advance(slice), goesOn);
                compare(QStringLiteral("after a slice of %1").arg(slice), true);
                if (QTest::currentTestFailed()) {
                    return;
                }
                done += qMax<qint64>(slice, 1);
                if (!goesOn) {
                    break;
                }
                if (random.bounded(20) == 0) {
                    QCOMPARE(pair.decoded.interpreter.interrupt(), pair.plain.interpreter.interrupt());
                    compare(QStringLiteral("after an interruption"), true);
                }
            }
            break;
        case 3: {
            const qint64 first = random.bounded(40);
            QCOMPARE(pair.decoded.interpreter.advance(first), pair.plain.interpreter.advance(first));
            const QString next = generator.script();
            QCOMPARE(pair.decoded.interpreter.compile(next), pair.plain.interpreter.compile(next));
            QCOMPARE(pair.decoded.interpreter.advance(budget), pair.plain.interpreter.advance(budget));
            compare(QStringLiteral("after the second script:\n%1\n").arg(next), true);
            break;
        }
        case 4: {
            const std::vector<int> breakpoints = someLines(random);
            pair.plain.interpreter.setBreakpoints(breakpoints);
            pair.decoded.interpreter.setBreakpoints(breakpoints);
            for (qint64 done = 0; done < budget;) {
                const qint64 slice = random.bounded(60);
                const int depth = int(random.bounded(4));
                const bool goesOn = pair.plain.interpreter.advanceChecked(slice, depth);
                QCOMPARE(pair.decoded.interpreter.advanceChecked(slice, depth), goesOn);
                compare(QStringLiteral("after a checked slice of %1 at depth %2").arg(slice).arg(depth), false);
                QCOMPARE(pair.decoded.interpreter.atBreakpoint(), pair.plain.interpreter.atBreakpoint());
                QCOMPARE(pair.decoded.interpreter.callDepth(), pair.plain.interpreter.callDepth());
                if (QTest::currentTestFailed()) {
                    return;
                }
                done += qMax<qint64>(slice, 1);
                if (!goesOn) {
                    break;
                }
                if (random.bounded(10) == 0) {
                    const std::vector<int> moved = someLines(random);
                    pair.plain.interpreter.setBreakpoints(moved);
                    pair.decoded.interpreter.setBreakpoints(moved);
                }
            }
            compare(QStringLiteral("after the checked slices"), true);
            break;
        }
        case 5: {
            const std::vector<int> breakpoints = someLines(random);
            pair.plain.interpreter.setBreakpoints(breakpoints);
            pair.decoded.interpreter.setBreakpoints(breakpoints);
            for (qint64 done = 0; done < budget;) {
                const qint64 slice = random.bounded(80);
                const bool checked = random.bounded(2) == 0;
                const bool goesOn = checked ? pair.plain.interpreter.advanceChecked(slice, 0) : pair.plain.interpreter.advance(slice);
                QCOMPARE(checked ? pair.decoded.interpreter.advanceChecked(slice, 0) : pair.decoded.interpreter.advance(slice), goesOn);
                compare(QStringLiteral("after a recorded slice of %1").arg(slice), true);
                QCOMPARE(pair.decoded.recorded(), pair.plain.recorded());
                if (QTest::currentTestFailed()) {
                    return;
                }
                done += qMax<qint64>(slice, 1);
                if (!goesOn) {
                    break;
                }
            }
            break;
        }
        case 6: {
            const qint64 steps = 1 + budget;
            std::vector<std::unique_ptr<Side>> ways;
            for (const Way way : { WholeRun, SingleSteps, CheckedSlices }) {
                for (const bool recording : { false, true }) {
                    ways.push_back(std::make_unique<Side>(false, recording));
                    Side& side = *ways.back();
                    QCOMPARE(side.interpreter.compile(text), pair.plain.interpreter.compile(text));
                    runAway(side, way, steps, random);
                }
            }
            QCOMPARE(pair.decoded.interpreter.runToEnd(steps), pair.plain.interpreter.runToEnd(steps));
            compare(QStringLiteral("after a whole run"), true);
            const State expected = pair.plainState();
            for (std::size_t i = 0; i < ways.size(); ++i) {
                const State reached = ways[i]->state();
                if (!(reached == expected)) {
                    QFAIL(qPrintable(QStringLiteral("way %1 of script %2:\n%3\nplain whole run: %4\nreached:         %5")
                                         .arg(i)
                                         .arg(n)
                                         .arg(text, expected.toString(), reached.toString())));
                }
            }
            break;
        }
        }
        if (QTest::currentTestFailed()) {
            return;
        }
        executed += pair.decoded.interpreter.executedSteps();
        for (const Message& message : pair.decoded.interpreter.messages()) {
            if (message.code() == Interpreter::Interrupted) {
                ++interrupted;
            } else if (message.code() >= 200 && message.code() != 210 && message.code() != 211) {
                ++failedRuns;
            }
        }
    }
    // The generator must keep producing scripts that run a while, some that
    // fail and, in whole runs, some that exhaust their budget.
    QVERIFY(executed > Scripts * 100);
    QVERIFY(failedRuns > Scripts / 4);
    QVERIFY(mode != 0 || interrupted > Scripts / 20);
}

void TestDecodedExecution::plainExecutionCanBeChosen()
{
    Interpreter interpreter;
    QVERIFY(!interpreter.plainExecution());
    interpreter.setPlainExecution(true);
    QVERIFY(interpreter.plainExecution());
    // Switching between two steps goes on at the same line.
    QVERIFY(interpreter.compile("Tur=Asm\nCX: 3;\ndefine: top;\nAX: AX+2;\nloop: top;\nend;"));
    QVERIFY(interpreter.step());
    interpreter.setPlainExecution(false);
    QVERIFY(interpreter.advance(3));
    QCOMPARE(interpreter.currentLine(), 5);
    interpreter.setPlainExecution(true);
    QVERIFY(!interpreter.advance(100));
    QCOMPARE(interpreter.debugValues().at(1).second, 6);
    QCOMPARE(interpreter.executedSteps(), qint64(8));
}

// Each decoded form once, the errors that remain possible after decoding,
// and the odd corners of the machine, run every way there is.
void TestDecodedExecution::everyOpcodeAgreesOnAHandWrittenScript_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("every turtle command") << "Tur=Asm\nwrite: y;\nput: 10, -20;\nmove: AX+30;\nleft;\nright;\nleft: 45;\n"
                                             "right: BX-1;\nwrite: N;\nmove: 7;\nend;";
    QTest::newRow("registers and the stack") << "Tur=Asm\nAX: 5;\nsetRegister: BX, AX*3;\npush: AX;\npush: BX%4;\n"
                                                "pop: CX;\npop: DX;\nend;";
    QTest::newRow("every jump") << "Tur=Asm\nAX: 1;\njmpax: 5;\nBX: 99;\njmpbx: 2;\njmpe: AX, 1, 8;\nCX: 1;\n"
                                   "jmpne: AX, 1, 2;\njmpl: -1, 0, 11;\nDX: 1;\njmple: 1, 1, 13;\nDX: 2;\n"
                                   "jmpg: 2, 1, 15;\nDX: 3;\njmpge: 1, 2, 2;\nend;";
    QTest::newRow("a loop around a call") << "Tur=Asm\nCX: 2;\ncall: p;\nloop: 3;\nend;\nproc: p;\nAX: AX+1;\nret;";
    QTest::newRow("a division by a register holding zero") << "Tur=Asm\nBX: 0;\nAX: 7/BX;";
    QTest::newRow("a remainder by a register holding zero") << "Tur=Asm\nBX: 0;\npush: 7%BX;";
    QTest::newRow("pop on an empty stack") << "Tur=Asm\npop: AX;";
    QTest::newRow("ret without a call") << "Tur=Asm\nret;";
    QTest::newRow("end with a value on the stack") << "Tur=Asm\npush: 1;\nend;";
    QTest::newRow("a loop whose target divides by zero") << "Tur=Asm\nCX: 0;\nloop: 1/CX;";
    QTest::newRow("a computed jump target") << "Tur=Asm\nAX: 3;\njmpe: 1, 1, AX+2;\nBX: 1;\nCX: 1;";
    QTest::newRow("a computed call target") << "Tur=Asm\nAX: 2;\ncall: AX+2;\nend;\nBX: 4;\nret;";
    QTest::newRow("a call into the next line, returned twice") << "Tur=Asm\ncall: 3;\nret;\nret;";
    QTest::newRow("the smallest int by minus one")
        << "Tur=Asm\nAX: -2147483648;\nBX: AX/-1;\nCX: AX%-1;\nDX: AX*-1;\nend;";
    QTest::newRow("the smallest int divided and remaindered by a register holding minus one")
        << "Tur=Asm\nAX: -2147483648;\nBX: -1;\npush: AX/BX;\npush: AX%BX;\npop: CX;\npop: DX;\nend;";
    QTest::newRow("deep recursion that unwinds")
        << "Tur=Asm\nAX: 20000;\ncall: down;\nend;\nproc: down;\nAX: AX-1;\npush: AX;\njmpe: AX, 0, back;\n"
           "call: down;\ndefine: back;\npop: BX;\nmove: BX%3;\nret;";
    QTest::newRow("recursion that never unwinds") << "Tur=Asm\nend;\nproc: forever;\npush: CX;\ncall: forever;";
    QTest::newRow("a call to a line that calls again")
        << "Tur=Asm\ncall: 3;\nend;\nproc: forever;\nCX: CX+1;\npush: CX;\ncall: 3;";
    QTest::newRow("a jump to its own line counts as no jump") << "Tur=Asm\njmpe: 0, 0, 2;\nAX: 5;\nloop: 4;\nBX: 1;";
    QTest::newRow("a call to its own line counts as no jump, the call stays")
        << "Tur=Asm\ncall: 2;\nret;\nAX: 1;\nret;";
    QTest::newRow("a computed jump to its own line counts as no jump")
        << "Tur=Asm\nAX: 1;\njmpe: 0, 0, AX+2;\nBX: 1;";
    QTest::newRow("a jump to a line without an instruction goes on after it")
        << "Tur=Asm\njmpe: 0, 0, 4;\nAX: 1;\n\n# nothing\nBX: 1;";
    QTest::newRow("a jump before the first instruction starts again")
        << "Tur=Asm\nCX: CX+1;\njmpl: CX, 5, -7;\nend;";
    QTest::newRow("a jump beyond the last line ends the program")
        << "Tur=Asm\npush: 3;\njmpe: 0, 0, 2147483647;\nend;";
    QTest::newRow("a ret that lands on its own line goes on after it")
        << "Tur=Asm\ncall: p;\nend;\nproc: p;\nAX: AX+1;\njmpl: AX, 3, again;\nret;\ndefine: again;\ncall: p;\n"
           "ret;\nBX: 9;";
    QTest::newRow("end inside a procedure empties both stacks")
        << "Tur=Asm\ncall: p;\nAX: 1;\nend;\nproc: p;\nend;";
    QTest::newRow("an operator after a plus is no value") << "Tur=Asm\npush: 1+2*3;";
    QTest::newRow("a times minus splits at the minus") << "Tur=Asm\nAX: 2;\nAX: AX*-2;";
    QTest::newRow("a minus before a divide splits at the minus") << "Tur=Asm\npush: -7/2;";
    QTest::newRow("turns by the extreme ints")
        << "Tur=Asm\nwrite: Y;\nright: -2147483648;\nmove: 10;\nleft: -2147483648;\nmove: 3;\n"
           "right: 2147483647;\nmove: 1;\nend;";
    QTest::newRow("default turns of ten degrees") << "Tur=Asm\nwrite: Y;\nleft;\nmove: 9;\nright;\nright;\nmove: 9;";
    QTest::newRow("register keywords in any case, values case-sensitive")
        << "Tur=Asm\nax: 5;\nDx: AX+1;\nbX: dx;";
    QTest::newRow("setRegister names its register exactly") << "Tur=Asm\nsetRegister: ax, 1;";
    QTest::newRow("a bad value before a bad register name") << "Tur=Asm\nBX: 0;\nsetRegister: ex, 1/BX;";
    QTest::newRow("pop names a register before it looks at the stack") << "Tur=Asm\npush: 1;\npop: ex;";
    QTest::newRow("loop decrements before its target fails") << "Tur=Asm\nCX: 5;\nloop: nowhere;";
    QTest::newRow("loop decrements before its count fails") << "Tur=Asm\nCX: 5;\nloop;";
    QTest::newRow("the first operand fails before a later bad one")
        << "Tur=Asm\nBX: 0;\njmpe: 1/BX, x, 2;";
    QTest::newRow("jmpax counts its operands with the two it adds")
        << "Tur=Asm\nAX: 1;\njmpax: 1, 2;";
    QTest::newRow("write takes any text") << "Tur=Asm\nwrite: yes;\nmove: 4;\nwrite:  y ;\nmove: 4;\nwrite;";
    QTest::newRow("the sum wraps around") << "Tur=Asm\nAX: 2147483647;\nAX: AX+1;\nBX: AX-1;\nCX: 65536*65536;";
}

void TestDecodedExecution::everyOpcodeAgreesOnAHandWrittenScript()
{
    QFETCH(QString, text);

    for (const Way way : { WholeRun, SingleSteps, CheckedSlices }) {
        for (const bool recording : { false, true }) {
            Pair pair(recording);
            QCOMPARE(pair.decoded.interpreter.compile(text), pair.plain.interpreter.compile(text));
            // The same breakpoints on both sides.
            QRandomGenerator plainRandom(3);
            QRandomGenerator decodedRandom(3);
            runAway(pair.plain, way, 200000, plainRandom);
            runAway(pair.decoded, way, 200000, decodedRandom);
            QCOMPARE(pair.decodedState().toString(), pair.plainState().toString());
            QCOMPARE(pair.decoded.recorded(), pair.plain.recorded());
        }
    }
}

QTEST_GUILESS_MAIN(TestDecodedExecution)
#include "tst_decodedexecution.moc"

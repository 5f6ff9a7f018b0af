// The decoded execution against the plain one, on generated scripts: every
// observable result must be the same, step by step.

#include "generatedscripts.h"

#include <QtTest>

namespace {

// One plain and one decoded interpreter, each with its own turtle.
struct Pair {
    Interpreter plain;
    Interpreter decoded;
    WalkingTurtle plainTurtle;
    WalkingTurtle decodedTurtle;

    Pair()
    {
        plain.setPlainExecution(true);
        plain.setWalkingTurtle(&plainTurtle);
        decoded.setWalkingTurtle(&decodedTurtle);
    }

    State plainState(bool fullTrace = true) const { return stateOf(plain, plainTurtle, fullTrace); }
    State decodedState(bool fullTrace = true) const { return stateOf(decoded, decodedTurtle, fullTrace); }
};

const int Scripts = 1500;

} // namespace

class TestDecodedExecution : public QObject
{
    Q_OBJECT

private slots:
    void sameResults_data();
    void sameResults();
    void plainExecutionCanBeChosen();
    void everyOpcodeAgreesOnAHandWrittenScript();
};

void TestDecodedExecution::sameResults_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("whole runs with a step budget, twice in a row") << 0;
    QTest::newRow("one step at a time") << 1;
    QTest::newRow("slices of random length, some interrupted") << 2;
    QTest::newRow("a new script compiled over a paused run") << 3;
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
        Pair pair;
        QCOMPARE(pair.decoded.compile(text), pair.plain.compile(text));

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
                QCOMPARE(pair.decoded.runToEnd(budget), pair.plain.runToEnd(budget));
                compare(QStringLiteral("after run %1").arg(run), true);
            }
            break;
        case 1:
            for (qint64 step = 0; step < budget; ++step) {
                const bool goesOn = pair.plain.step();
                QCOMPARE(pair.decoded.step(), goesOn);
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
                const bool goesOn = pair.plain.advance(slice);
                QCOMPARE(pair.decoded.advance(slice), goesOn);
                compare(QStringLiteral("after a slice of %1").arg(slice), true);
                if (QTest::currentTestFailed()) {
                    return;
                }
                done += qMax<qint64>(slice, 1);
                if (!goesOn) {
                    break;
                }
                if (random.bounded(20) == 0) {
                    QCOMPARE(pair.decoded.interrupt(), pair.plain.interrupt());
                    compare(QStringLiteral("after an interruption"), true);
                }
            }
            break;
        case 3: {
            const qint64 first = random.bounded(40);
            QCOMPARE(pair.decoded.advance(first), pair.plain.advance(first));
            const QString next = generator.script();
            QCOMPARE(pair.decoded.compile(next), pair.plain.compile(next));
            QCOMPARE(pair.decoded.advance(budget), pair.plain.advance(budget));
            compare(QStringLiteral("after the second script:\n%1\n").arg(next), true);
            break;
        }
        }
        if (QTest::currentTestFailed()) {
            return;
        }
        executed += pair.decoded.executedSteps();
        for (const Message& message : pair.decoded.messages()) {
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

// Each decoded form once, with the errors that remain possible after decoding.
void TestDecodedExecution::everyOpcodeAgreesOnAHandWrittenScript()
{
    const QStringList scripts {
        "Tur=Asm\nwrite: y;\nput: 10, -20;\nmove: AX+30;\nleft;\nright;\nleft: 45;\nright: BX-1;\nwrite: N;\n"
        "move: 7;\nend;",
        "Tur=Asm\nAX: 5;\nsetRegister: BX, AX*3;\npush: AX;\npush: BX%4;\npop: CX;\npop: DX;\nend;",
        "Tur=Asm\nAX: 1;\njmpax: 5;\nBX: 99;\njmpbx: 2;\njmpe: AX, 1, 8;\nCX: 1;\njmpne: AX, 1, 2;\n"
        "jmpl: -1, 0, 11;\nDX: 1;\njmple: 1, 1, 13;\nDX: 2;\njmpg: 2, 1, 15;\nDX: 3;\njmpge: 1, 2, 2;\nend;",
        "Tur=Asm\nCX: 2;\ncall: p;\nloop: 3;\nend;\nproc: p;\nAX: AX+1;\nret;",
        "Tur=Asm\nBX: 0;\nAX: 7/BX;",
        "Tur=Asm\nBX: 0;\npush: 7%BX;",
        "Tur=Asm\npop: AX;",
        "Tur=Asm\nret;",
        "Tur=Asm\npush: 1;\nend;",
        "Tur=Asm\nCX: 0;\nloop: 1/CX;",
        "Tur=Asm\nAX: 3;\njmpe: 1, 1, AX+2;\nBX: 1;\nCX: 1;",
        "Tur=Asm\nAX: 2;\ncall: AX+2;\nend;\nBX: 4;\nret;",
        "Tur=Asm\ncall: 3;\nret;\nret;",
        "Tur=Asm\nAX: -2147483648;\nBX: AX/-1;\nCX: AX%-1;\nDX: AX*-1;\nend;",
        // Deep recursion that unwinds, and one that never does.
        "Tur=Asm\nAX: 20000;\ncall: down;\nend;\nproc: down;\nAX: AX-1;\npush: AX;\njmpe: AX, 0, back;\n"
        "call: down;\ndefine: back;\npop: BX;\nmove: BX%3;\nret;",
        "Tur=Asm\nend;\nproc: forever;\npush: CX;\ncall: forever;",
        "Tur=Asm\ncall: 3;\nend;\nproc: forever;\nCX: CX+1;\npush: CX;\ncall: 3;",
    };
    for (const QString& text : scripts) {
        for (bool stepping : { false, true }) {
            Pair pair;
            QCOMPARE(pair.decoded.compile(text), pair.plain.compile(text));
            if (stepping) {
                for (int step = 0; step < 200000; ++step) {
                    const bool goesOn = pair.plain.step();
                    QCOMPARE(pair.decoded.step(), goesOn);
                    if (!goesOn) {
                        break;
                    }
                }
            } else {
                QCOMPARE(pair.decoded.runToEnd(200000), pair.plain.runToEnd(200000));
            }
            QCOMPARE(pair.decodedState().toString(), pair.plainState().toString());
        }
    }
}

QTEST_GUILESS_MAIN(TestDecodedExecution)
#include "tst_decodedexecution.moc"

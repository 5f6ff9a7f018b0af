// The decoded execution against the plain one, on generated scripts: every
// observable result must be the same, step by step.

#include "frontend/interpreter.h"
#include "turtle/walkingturtle.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

namespace {

// Everything a caller can see of an interpreter, its machine and its turtle.
struct State {
    QStringList messages;
    DebugValueList values;
    qint64 steps = 0;
    int line = 0;
    std::size_t traceLength = 0;
    quint64 traceHash = 0;
    double x = 0;
    double y = 0;
    double angle = 0;
    bool writing = false;

    bool operator==(const State& other) const
    {
        return messages == other.messages && values == other.values && steps == other.steps
            && line == other.line && traceLength == other.traceLength && traceHash == other.traceHash
            && sameBits(x, other.x) && sameBits(y, other.y) && sameBits(angle, other.angle)
            && writing == other.writing;
    }

    static bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    QString toString() const
    {
        QStringList values;
        for (const auto& row : this->values) {
            values << QStringLiteral("%1=%2").arg(row.first).arg(row.second);
        }
        return QStringLiteral("messages [%1] values [%2] steps %3 line %4 trace %5/%6 turtle %7 %8 %9 %10")
            .arg(messages.join(' '), values.join(' '))
            .arg(steps)
            .arg(line)
            .arg(traceLength)
            .arg(traceHash, 0, 16)
            .arg(x, 0, 'g', 17)
            .arg(y, 0, 'g', 17)
            .arg(angle, 0, 'g', 17)
            .arg(writing);
    }
};

void hashBytes(quint64& hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
}

// fullTrace hashes every snapshot; otherwise only the last, which is enough
// between two single steps.
State stateOf(const Interpreter& interpreter, const WalkingTurtle& turtle, bool fullTrace)
{
    State state;
    for (const Message& message : interpreter.messages()) {
        state.messages << QStringLiteral("%1@%2").arg(message.code()).arg(message.line());
    }
    state.values = interpreter.debugValues();
    state.steps = interpreter.executedSteps();
    state.line = interpreter.currentLine();
    state.traceLength = turtle.trace().size();
    state.traceHash = 14695981039346656037ull;
    auto hashSnapshot = [&state](const Turtle& snapshot) {
        const double fields[] = { snapshot.exactX(), snapshot.exactY(), snapshot.angle() };
        hashBytes(state.traceHash, fields, sizeof fields);
        const bool writing = snapshot.isWriting();
        hashBytes(state.traceHash, &writing, sizeof writing);
    };
    if (fullTrace) {
        for (const Turtle& snapshot : turtle.trace()) {
            hashSnapshot(snapshot);
        }
    } else if (!turtle.trace().empty()) {
        hashSnapshot(turtle.trace().back());
    }
    state.x = turtle.exactX();
    state.y = turtle.exactY();
    state.angle = turtle.angle();
    state.writing = turtle.isWriting();
    return state;
}

// Scripts that use every instruction with right and wrong operands, labels,
// procedures (recursive ones too), jumps to computed lines and bad counts.
class ScriptGenerator
{
public:
    explicit ScriptGenerator(quint32 seed)
        : m_random(seed)
    {
    }

    QString script()
    {
        m_labels.clear();
        m_procedures.clear();
        // Faults per thousand operands: none in some scripts, many in others.
        m_faults = pick({ 0, 0, 2, 5, 10, 20, 50, 100 });
        const int procedures = bounded(4);
        for (int i = 0; i < procedures; ++i) {
            m_procedures << QStringLiteral("proc") + QChar('A' + i);
        }
        for (int i = 0, count = 1 + bounded(5); i < count; ++i) {
            m_labels << QStringLiteral("label") + QChar('A' + i);
        }

        QStringList lines;
        if (!chance(3)) {
            lines << QStringLiteral("Tur=Asm");
        }
        const int mainLines = 3 + bounded(22);
        for (int i = 0; i < mainLines; ++i) {
            lines << statement(-1);
        }
        // Most labels are defined somewhere in the main part.
        for (const QString& label : qAsConst(m_labels)) {
            if (!fault()) {
                lines.insert(1 + bounded(lines.size()), QStringLiteral("define: %1;").arg(label));
            }
        }
        if (!chance(10)) {
            lines << (chance(10) ? QStringLiteral("end: 5;") : QStringLiteral("end;"));
        }
        for (int p = 0; p < procedures; ++p) {
            if (chance(5)) {
                continue;
            }
            lines << QStringLiteral("proc: %1;").arg(m_procedures.at(p));
            for (int i = 0, count = 1 + bounded(7); i < count; ++i) {
                lines << statement(p);
            }
            lines << (chance(8) ? QStringLiteral("end;") : QStringLiteral("ret;"));
        }
        return lines.join(QLatin1Char('\n'));
    }

private:
    int bounded(int limit) { return static_cast<int>(m_random.bounded(limit)); }
    bool chance(int percent) { return bounded(100) < percent; }
    template <typename T> T pick(std::initializer_list<T> items) { return items.begin()[bounded(int(items.size()))]; }

    bool fault() { return bounded(1000) < m_faults; }

    QString registerName()
    {
        if (fault()) {
            return pick({ "ax", "EX", "Bx", "", " CX ", "AX BX" });
        }
        return pick({ "AX", "BX", "CX", "DX" });
    }

    // A signed leaf on either side of an operator is most often split at its
    // '-', so inside operations they are rare.
    QString leaf(bool inOperation)
    {
        if (fault()) {
            return pick({ "ax", "99999999999", "", "x", "1 2", "0x10", "7.5", "label", "-AX", "\t3", "-1" });
        }
        const int kind = bounded(100);
        if (kind < 45) {
            return QString::number(bounded(25) - (inOperation ? 0 : 5));
        }
        if (kind < 92) {
            return pick({ "AX", "BX", "CX", "DX" });
        }
        if (inOperation) {
            return pick({ "2147483647", "+7", "0", "1000", "65536" });
        }
        return pick({ "2147483647", "-2147483648", "+7", "0", "-1", "1000", "65536" });
    }

    QString spaced(const QString& text)
    {
        return chance(15) ? QStringLiteral(" ") + text + QStringLiteral(" ") : text;
    }

    QString value()
    {
        if (fault()) {
            return pick({ "1+2*3", "3-1-1", "-7/2", "AX*-2", "AX+-5", "+", "AX%", "1++1", "BX--1", "5;x" });
        }
        if (chance(55)) {
            return spaced(leaf(false));
        }
        {
            // Divisions are rarer, as a register divisor is often 0.
            const QString op = pick({ "+", "+", "-", "-", "*", "*", "/", "%" });
            return spaced(leaf(true)) + (chance(20) ? QStringLiteral(" ") + op + QStringLiteral(" ") : op)
                + spaced(leaf(true));
        }
    }

    QString target()
    {
        const int kind = bounded(100);
        if (kind < 55 && !m_labels.isEmpty()) {
            return spaced(m_labels.at(bounded(m_labels.size())));
        }
        if (fault()) {
            return pick({ "nowhere", "label_1", "top2" });
        }
        if (kind < 80) {
            return QString::number(bounded(40) - 2);
        }
        return pick({ "AX", "CX", "AX+3", "BX%7", "DX*2", "CX/0", "AX-BX", "-1", "2147483647", "-2147483648" });
    }

    // The operands joined by ',' now and then with one too many or too few.
    QString arguments(QStringList operands)
    {
        if (fault()) {
            operands << value();
        } else if (fault() && !operands.isEmpty()) {
            operands.removeLast();
        }
        return operands.join(chance(10) ? QStringLiteral(" , ") : QStringLiteral(","));
    }

    QString withArguments(const QString& command, const QStringList& operands)
    {
        const QString text = arguments(operands);
        return text.isEmpty() && chance(50) ? command + QLatin1Char(';')
                                            : command + QStringLiteral(": ") + text + QLatin1Char(';');
    }

    QString statement(int procedure)
    {
        const int kind = bounded(1000);
        if (kind < 200) {
            QString name = pick({ "AX", "BX", "CX", "DX" });
            if (chance(15)) {
                name = name.toLower();
            }
            return withArguments(name, { value() });
        }
        if (kind < 230) {
            return withArguments(QStringLiteral("setRegister"), { registerName(), value() });
        }
        if (kind < 320) {
            return withArguments(QStringLiteral("push"), { value() });
        }
        if (kind < 370) {
            return withArguments(QStringLiteral("pop"), { registerName() });
        }
        if (kind < 430) {
            return withArguments(pick({ "jmpax", "jmpbx" }), { target() });
        }
        if (kind < 540) {
            return withArguments(pick({ "jmpe", "jmpne", "jmpl", "jmple", "jmpg", "jmpge" }),
                { value(), value(), target() });
        }
        if (kind < 600) {
            return withArguments(QStringLiteral("loop"), { target() });
        }
        if (kind < 680) {
            QString callee;
            if (procedure >= 0 && chance(40)) {
                callee = m_procedures.at(procedure); // recursion
            } else if (!m_procedures.isEmpty() && !fault()) {
                callee = m_procedures.at(bounded(m_procedures.size()));
            } else {
                callee = target();
            }
            return withArguments(QStringLiteral("call"), { callee });
        }
        if (kind < 710) {
            if (procedure < 0 && !fault()) {
                return QStringLiteral("move: 1;");
            }
            return chance(80) ? QStringLiteral("ret;") : QStringLiteral("ret: 1, x;");
        }
        if (kind < 720) {
            return QStringLiteral("end;");
        }
        if (kind < 750) {
            return withArguments(QStringLiteral("put"), { value(), value() });
        }
        if (kind < 800) {
            return withArguments(QStringLiteral("move"), { value() });
        }
        if (kind < 850) {
            const QString command = pick({ "left", "right" });
            return chance(30) ? command + QLatin1Char(';') : withArguments(command, { value() });
        }
        if (kind < 880) {
            return withArguments(QStringLiteral("write"), { pick({ "Y", "y", "N", " Y ", "yes", "1", "" }) });
        }
        if (kind < 960) {
            return QStringLiteral("define: %1;").arg(m_labels.at(bounded(m_labels.size())));
        }
        if (kind < 980 || !fault()) {
            return pick({ "", "# a comment", "   ", "jmpe: 1, 2, labelA; # jump" });
        }
        return pick({ "define: 2bad;", "move: 5; left;", "push: 1:2;", "AX:AX+1;;" });
    }

    QRandomGenerator m_random;
    QStringList m_labels;
    QStringList m_procedures;
    int m_faults = 0;
};

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

#pragma once

// Generated scripts and the state a caller can see of a run, shared by the
// tests that compare two ways of reaching the same state.

#include "frontend/interpreter.h"
#include "turtle/walkingturtle.h"

#include <QRandomGenerator>
#include <QStringList>

#include <cstring>

// Everything a caller can see of an interpreter, its machine and its turtle.
struct State {
    QStringList messages;
    DebugValueList values;
    // Both stacks in full, the data stack then the call stack.
    QString stacks;
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
        return messages == other.messages && values == other.values && stacks == other.stacks && steps == other.steps
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
        return QStringLiteral("messages [%1] values [%2] stacks [%3] steps %4 line %5 trace %6/%7 turtle %8 %9 %10 %11")
            .arg(messages.join(' '), values.join(' '), stacks)
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

inline void hashBytes(quint64& hash, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
}

// fullTrace hashes every snapshot; otherwise only the last, which is enough
// between two single steps.
// Both stacks of the machine, the data stack first.
inline QString stacksOf(const Interpreter& interpreter)
{
    const VirtualMachine::State machine = interpreter.virtualMachine()->state();
    QStringList stacks;
    for (int value : machine.stack) {
        stacks << QString::number(value);
    }
    stacks << QStringLiteral("|");
    for (int value : machine.callStack) {
        stacks << QString::number(value);
    }
    return stacks.join(' ');
}

inline State stateOf(const Interpreter& interpreter, const WalkingTurtle& turtle, bool fullTrace)
{
    State state;
    for (const Message& message : interpreter.messages()) {
        state.messages << QStringLiteral("%1@%2").arg(message.code()).arg(message.line());
    }
    state.values = interpreter.debugValues();
    state.stacks = stacksOf(interpreter);
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
        return placed(lines.join(QLatin1Char('\n')).split(QLatin1Char('\n')));
    }

private:
    // Targets that depend on where a statement lands: its own line, the next
    // one, or a line that holds no instruction.
    QString placed(QStringList lines)
    {
        QList<int> gaps;
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            if (line.isEmpty() || line.startsWith('#') || line.startsWith(QLatin1String("define"))
                || line.startsWith(QLatin1String("proc")) || line == QLatin1String("Tur=Asm")) {
                gaps << i + 1;
            }
        }
        for (int i = 0; i < lines.size(); ++i) {
            QString& line = lines[i];
            if (!line.contains('@')) {
                continue;
            }
            line.replace(QLatin1String("@SELF"), QString::number(i + 1));
            line.replace(QLatin1String("@NEXT"), QString::number(i + 2));
            line.replace(QLatin1String("@GAP"),
                QString::number(gaps.isEmpty() ? lines.size() + 3 : gaps.at(bounded(gaps.size()))));
        }
        return lines.join(QLatin1Char('\n'));
    }

    // The odd corners of the machine, more often than chance gives them.
    QString corner(int procedure)
    {
        const int kind = bounded(100);
        if (kind < 25) {
            return pick({ "jmpe: AX, AX, @SELF;", "jmpax: @SELF;", "loop: @SELF;", "call: @SELF;",
                "jmpne: 1, 2, @GAP;", "jmpge: 0, 0, @NEXT;", "jmpbx: @GAP;", "call: @GAP;", "loop: @GAP;",
                "jmpl: AX, BX, @SELF;" });
        }
        if (kind < 35 && !m_procedures.isEmpty()) {
            // The return of the call lands on the line of this ret: no jump.
            return QStringLiteral("call: %1;\nret;").arg(m_procedures.at(bounded(m_procedures.size())));
        }
        if (kind < 55) {
            return pick({ "AX: -2147483648;", "BX: -1;", "CX: 2147483647;", "DX: -2147483648;", "AX: 2147483647;",
                "CX: -2147483648;", "BX: 0;" });
        }
        if (kind < 80) {
            return pick({ "push: AX/BX;", "push: AX%BX;", "DX: AX*BX;", "AX: AX+CX;", "CX: CX-AX;", "push: DX/-1;",
                "push: -2147483648/-1;", "BX: AX*-2;", "push: 1+2*3;", "AX: AX%-1;", "DX: CX/BX;",
                "AX: ax+1;", "setRegister: ax, 1;", "Bx: 7;", "push: AX;", "pop: DX;" });
        }
        if (procedure >= 0 && kind < 85) {
            return pick({ "ret: 1;", "end;", "ret;" });
        }
        return pick({ "right: -2147483648;", "left: -2147483648;", "right: 2147483647;", "left: AX;", "right: CX;",
            "left;", "right;", "left: AX/BX;", "right: 1, 2;", "write: y;", "put: AX, DX;", "move: CX;",
            "put: 2147483647, -2147483648;", "move: -2147483648;" });
    }

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
        if (chance(6)) {
            return corner(procedure);
        }
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

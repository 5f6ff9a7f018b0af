#include "virtualmachine.h"

#include "system/memoryguard.h"
#include "turtle/walkingturtle.h"

#include <QtGlobal>

#include <algorithm>
#include <climits>

namespace {

// Every result wraps in 32-bit two's complement: compute wide, keep the low bits.
int wrapped(qint64 value)
{
    return static_cast<int>(static_cast<quint32>(value));
}

int combine(char op, int a, int b)
{
    switch (op) {
    case '+':
        return wrapped(static_cast<qint64>(a) + b);
    case '-':
        return wrapped(static_cast<qint64>(a) - b);
    case '*':
        return wrapped(static_cast<qint64>(a) * b);
    case '/':
        if (b == 0) {
            throw static_cast<int>(VirtualMachine::DivisionByZero);
        }
        // INT_MIN / -1 overflows in hardware; its wrapped value is INT_MIN.
        return b == -1 ? wrapped(-static_cast<qint64>(a)) : a / b;
    default:
        if (b == 0) {
            throw static_cast<int>(VirtualMachine::DivisionByZero);
        }
        return b == -1 ? 0 : a % b;
    }
}

const char Operators[] = { '+', '-', '*', '/', '%' };

} // namespace

VirtualMachine::VirtualMachine()
    : m_instructionRegister(-1)
    , m_ax(0)
    , m_bx(0)
    , m_cx(0)
    , m_dx(0)
    , m_turtle(nullptr)
{
    m_registers[QStringLiteral("AX")] = &VirtualMachine::m_ax;
    m_registers[QStringLiteral("BX")] = &VirtualMachine::m_bx;
    m_registers[QStringLiteral("CX")] = &VirtualMachine::m_cx;
    m_registers[QStringLiteral("DX")] = &VirtualMachine::m_dx;

    m_commands[QStringLiteral("setRegister")] = &VirtualMachine::setRegister;
    m_commands[QStringLiteral("put")] = &VirtualMachine::put;
    m_commands[QStringLiteral("move")] = &VirtualMachine::move;
    m_commands[QStringLiteral("left")] = &VirtualMachine::left;
    m_commands[QStringLiteral("right")] = &VirtualMachine::right;
    m_commands[QStringLiteral("write")] = &VirtualMachine::write;
    m_commands[QStringLiteral("end")] = &VirtualMachine::end;
    m_commands[QStringLiteral("jmpax")] = &VirtualMachine::jmpax;
    m_commands[QStringLiteral("jmpbx")] = &VirtualMachine::jmpbx;
    m_commands[QStringLiteral("jmpe")] = &VirtualMachine::jmpe;
    m_commands[QStringLiteral("jmpg")] = &VirtualMachine::jmpg;
    m_commands[QStringLiteral("jmpge")] = &VirtualMachine::jmpge;
    m_commands[QStringLiteral("jmpl")] = &VirtualMachine::jmpl;
    m_commands[QStringLiteral("jmple")] = &VirtualMachine::jmple;
    m_commands[QStringLiteral("jmpne")] = &VirtualMachine::jmpne;
    m_commands[QStringLiteral("loop")] = &VirtualMachine::loop;
    m_commands[QStringLiteral("pop")] = &VirtualMachine::pop;
    m_commands[QStringLiteral("push")] = &VirtualMachine::push;
    m_commands[QStringLiteral("call")] = &VirtualMachine::call;
    m_commands[QStringLiteral("ret")] = &VirtualMachine::ret;
}

VirtualMachine::CommandMap& VirtualMachine::commands()
{
    return m_commands;
}

VirtualMachine::RegisterMap& VirtualMachine::registers()
{
    return m_registers;
}

int& VirtualMachine::instructionRegister()
{
    return m_instructionRegister;
}

void VirtualMachine::setTurtle(WalkingTurtle* turtle)
{
    m_turtle = turtle;
}

void VirtualMachine::reset()
{
    m_instructionRegister = -1;
    const bool large = m_stack.size() + m_callStack.size() > (std::size_t(1) << 22);
    // A cleared deque keeps its map of blocks: after a runaway that is
    // gigabytes the window would hold until it ends.
    std::deque<int>().swap(m_stack);
    std::deque<int>().swap(m_callStack);
    // The freed blocks stay with the process until given back, however the
    // run ended (stopped by the user, by the step limit or by itself).
    if (large) {
        MemoryGuard::releaseFreedMemory();
    }
}

VirtualMachine::State VirtualMachine::state() const
{
    return State { m_instructionRegister, m_ax, m_bx, m_cx, m_dx, m_stack, m_callStack };
}

void VirtualMachine::restore(const State& state)
{
    m_instructionRegister = state.instructionRegister;
    m_ax = state.ax;
    m_bx = state.bx;
    m_cx = state.cx;
    m_dx = state.dx;
    m_stack = state.stack;
    m_callStack = state.callStack;
}

DebugValueList VirtualMachine::debugInfo() const
{
    const auto stackSize = static_cast<int>(std::min<std::size_t>(m_stack.size(), INT_MAX));
    DebugValueList values {
        { QStringLiteral("RI"), m_instructionRegister },
        { QStringLiteral("AX"), m_ax },
        { QStringLiteral("BX"), m_bx },
        { QStringLiteral("CX"), m_cx },
        { QStringLiteral("DX"), m_dx },
        { QStringLiteral("Stack size"), stackSize },
    };
    if (!m_stack.empty()) {
        values.emplace_back(QStringLiteral("Stack top"), m_stack.back());
    }
    return values;
}

bool VirtualMachine::checkArgumentCount(const QStringList& args, int count) const
{
    if (args.size() < count) {
        throw static_cast<int>(TooFewArguments);
    }
    if (args.size() > count) {
        throw static_cast<int>(TooManyArguments);
    }
    return true;
}

bool VirtualMachine::convertToInt(const QString& text, int& result, unsigned allowedConvs) const
{
    Q_ASSERT((m_allowedIntConvFlagMask & allowedConvs) == 0);

    // A text that starts with a letter is no number; toInt would only find that
    // out the slow way, and register operands are the common case.
    if ((allowedConvs & IntConvLiteral) && !(text.size() > 0 && text.at(0).isLetter())) {
        bool isNumber = false;
        const int value = text.toInt(&isNumber, 10);
        if (isNumber) {
            result = value;
            return true;
        }
    }

    if (allowedConvs & IntConvRegister) {
        const auto found = m_registers.find(text.trimmed());
        if (found != m_registers.end()) {
            result = this->*(found->second);
            return true;
        }
    }

    if (allowedConvs & IntConvExpression) {
        for (const char op : Operators) {
            // The first operator that occurs exactly once splits the text in two.
            const int at = text.indexOf(QLatin1Char(op));
            if (at < 0 || text.indexOf(QLatin1Char(op), at + 1) >= 0) {
                continue;
            }
            int first = 0;
            int second = 0;
            if (!convertToInt(text.left(at).trimmed(), first, IntConvLiteral | IntConvRegister)) {
                throw static_cast<int>(NotAValue);
            }
            if (!convertToInt(text.mid(at + 1).trimmed(), second, IntConvLiteral | IntConvRegister)) {
                throw static_cast<int>(NotAValue);
            }
            result = combine(op, first, second);
            return true;
        }
    }

    return false;
}

bool VirtualMachine::parseOneInt(const QStringList& args, int& value) const
{
    checkArgumentCount(args, 1);
    return convertArgument(args.at(0), value);
}

bool VirtualMachine::parseTwoInts(const QStringList& args, int& first, int& second) const
{
    checkArgumentCount(args, 2);
    return convertArgument(args.at(0), first) && convertArgument(args.at(1), second);
}

bool VirtualMachine::parseThreeInts(const QStringList& args, int& first, int& second, int& third) const
{
    checkArgumentCount(args, 3);
    return convertArgument(args.at(0), first) && convertArgument(args.at(1), second)
        && convertArgument(args.at(2), third);
}

bool VirtualMachine::parseOneString(const QStringList& args, QString& text) const
{
    checkArgumentCount(args, 1);
    text = args.at(0).trimmed();
    return true;
}

bool VirtualMachine::parseStringAndInt(const QStringList& args, QString& text, int& value) const
{
    checkArgumentCount(args, 2);
    text = args.at(0).trimmed();
    return convertArgument(args.at(1), value);
}

bool VirtualMachine::convertArgument(const QString& element, int& value) const
{
    if (!convertToInt(element.trimmed(), value, IntConvLiteral | IntConvRegister | IntConvExpression)) {
        throw static_cast<int>(NotAValue);
    }
    return true;
}

void VirtualMachine::setRegister(const QStringList& args)
{
    QString name;
    int value = 0;
    if (!parseStringAndInt(args, name, value)) {
        return;
    }
    const auto found = m_registers.find(name);
    if (found == m_registers.end()) {
        throw static_cast<int>(UnknownRegister);
    }
    this->*(found->second) = value;
}

void VirtualMachine::put(const QStringList& args)
{
    int x = 0;
    int y = 0;
    if (!parseTwoInts(args, x, y)) {
        return;
    }
    if (m_turtle) {
        m_turtle->put(x, y);
    }
}

void VirtualMachine::move(const QStringList& args)
{
    int distance = 0;
    if (!parseOneInt(args, distance)) {
        return;
    }
    if (m_turtle) {
        m_turtle->move(distance);
    }
}

void VirtualMachine::left(const QStringList& args)
{
    double degrees = 10.0;
    if (!args.isEmpty()) {
        int angle = 0;
        if (!parseOneInt(args, angle)) {
            return;
        }
        degrees = angle;
    }
    if (m_turtle) {
        m_turtle->turn(degrees);
    }
}

void VirtualMachine::right(const QStringList& args)
{
    double degrees = -10.0;
    if (!args.isEmpty()) {
        int angle = 0;
        if (!parseOneInt(args, angle)) {
            return;
        }
        // Negated as a double: -INT_MIN does not exist as an int.
        degrees = -static_cast<double>(angle);
    }
    if (m_turtle) {
        m_turtle->turn(degrees);
    }
}

void VirtualMachine::write(const QStringList& args)
{
    QString text;
    if (!parseOneString(args, text)) {
        return;
    }
    if (m_turtle) {
        m_turtle->setWrite(text.toUpper() == QLatin1String("Y"));
    }
}

void VirtualMachine::end(const QStringList&)
{
    const bool stackWasEmpty = m_stack.empty();
    reset();
    if (!stackWasEmpty) {
        throw static_cast<int>(StackNotEmptyAtEnd);
    }
}

void VirtualMachine::jmpax(const QStringList& args)
{
    jumpIfPositive(m_ax, args);
}

void VirtualMachine::jmpbx(const QStringList& args)
{
    jumpIfPositive(m_bx, args);
}

void VirtualMachine::jmpe(const QStringList& args)
{
    conditionalJump(args, Equal);
}

void VirtualMachine::jmpg(const QStringList& args)
{
    conditionalJump(args, Greater);
}

void VirtualMachine::jmpge(const QStringList& args)
{
    conditionalJump(args, GreaterOrEqual);
}

void VirtualMachine::jmpl(const QStringList& args)
{
    conditionalJump(args, Less);
}

void VirtualMachine::jmple(const QStringList& args)
{
    conditionalJump(args, LessOrEqual);
}

void VirtualMachine::jmpne(const QStringList& args)
{
    conditionalJump(args, NotEqual);
}

void VirtualMachine::loop(const QStringList& args)
{
    // Decremented first, so CX is lower even when the operand then fails.
    m_cx = wrapped(static_cast<qint64>(m_cx) - 1);
    jumpIfPositive(m_cx, args);
}

void VirtualMachine::pop(const QStringList& args)
{
    QString name;
    if (!parseOneString(args, name)) {
        return;
    }
    const auto found = m_registers.find(name);
    if (found == m_registers.end()) {
        throw static_cast<int>(PopIntoNonRegister);
    }
    if (m_stack.empty()) {
        throw static_cast<int>(PopFromEmptyStack);
    }
    this->*(found->second) = m_stack.back();
    m_stack.pop_back();
}

void VirtualMachine::push(const QStringList& args)
{
    int value = 0;
    if (!parseOneInt(args, value)) {
        return;
    }
    m_stack.push_back(value);
}

void VirtualMachine::call(const QStringList& args)
{
    int target = 0;
    if (!parseOneInt(args, target)) {
        return;
    }
    m_callStack.push_back(m_instructionRegister);
    m_instructionRegister = target;
}

void VirtualMachine::ret(const QStringList&)
{
    if (m_callStack.empty()) {
        throw static_cast<int>(ReturnWithoutCall);
    }
    m_instructionRegister = wrapped(static_cast<qint64>(m_callStack.back()) + 1);
    m_callStack.pop_back();
}

void VirtualMachine::conditionalJump(const QStringList& args, JumpCondition condition)
{
    int a = 0;
    int b = 0;
    int target = 0;
    if (!parseThreeInts(args, a, b, target)) {
        return;
    }
    if (holds(condition, a, b)) {
        m_instructionRegister = target;
    }
}

void VirtualMachine::jumpIfPositive(int value, const QStringList& args)
{
    // "jmpax: L;" is "jmpg: AX, 0, L;" with the register's value as text.
    QStringList compared;
    compared.reserve(args.size() + 2);
    compared << QString::number(value) << QStringLiteral("0");
    compared += args;
    conditionalJump(compared, Greater);
}

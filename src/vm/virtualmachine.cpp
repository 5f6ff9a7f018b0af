#include "virtualmachine.h"

#include "execution.h"

#include "system/memoryguard.h"

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

// The command words, their handlers and what they decode as, in one table.
struct CommandEntry {
    const char* word;
    VirtualMachine::CommandHandler handler;
    Command command;
};

const CommandEntry Commands[] = {
    { "setRegister", &VirtualMachine::setRegister, Command::SetRegister },
    { "put", &VirtualMachine::put, Command::Put },
    { "move", &VirtualMachine::move, Command::Move },
    { "left", &VirtualMachine::left, Command::Left },
    { "right", &VirtualMachine::right, Command::Right },
    { "write", &VirtualMachine::write, Command::Write },
    { "end", &VirtualMachine::end, Command::End },
    { "jmpax", &VirtualMachine::jmpax, Command::Jmpax },
    { "jmpbx", &VirtualMachine::jmpbx, Command::Jmpbx },
    { "jmpe", &VirtualMachine::jmpe, Command::Jmpe },
    { "jmpg", &VirtualMachine::jmpg, Command::Jmpg },
    { "jmpge", &VirtualMachine::jmpge, Command::Jmpge },
    { "jmpl", &VirtualMachine::jmpl, Command::Jmpl },
    { "jmple", &VirtualMachine::jmple, Command::Jmple },
    { "jmpne", &VirtualMachine::jmpne, Command::Jmpne },
    { "loop", &VirtualMachine::loop, Command::Loop },
    { "pop", &VirtualMachine::pop, Command::Pop },
    { "push", &VirtualMachine::push, Command::Push },
    { "call", &VirtualMachine::call, Command::Call },
    { "ret", &VirtualMachine::ret, Command::Ret },
};

// The words as shared strings, by command.
const std::vector<QString>& commandWords()
{
    static const std::vector<QString> words = [] {
        std::vector<QString> list(std::size(Commands));
        for (const CommandEntry& entry : Commands) {
            list[std::size_t(entry.command)] = QString::fromLatin1(entry.word);
        }
        return list;
    }();
    return words;
}

// The operators of a value, in the order in which they are tried.
const struct {
    char character;
    Operation operation;
} Operators[] = {
    { '+', Operation::Add },
    { '-', Operation::Subtract },
    { '*', Operation::Multiply },
    { '/', Operation::Divide },
    { '%', Operation::Remainder },
};

// Handlers execute at once: the flow writes the instruction register.
struct RegisterFlow {
    int& instructionRegister;
    void next() {}
    void jump(const Instruction&, int line) { instructionRegister = line; }
    void end() {}
};

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

    for (const CommandEntry& entry : Commands) {
        m_commands[commandWord(entry.command)] = entry.handler;
    }
}

bool VirtualMachine::commandOf(const QString& word, Command& command)
{
    const std::vector<QString>& words = commandWords();
    const auto found = std::find(words.begin(), words.end(), word);
    if (found == words.end()) {
        return false;
    }
    command = Command(found - words.begin());
    return true;
}

const QString& VirtualMachine::commandWord(Command command)
{
    return commandWords()[std::size_t(command)];
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

RunError VirtualMachine::checkArgumentCount(const QStringList& args, int count) const
{
    if (args.size() < count) {
        return RunError::TooFewArguments;
    }
    if (args.size() > count) {
        return RunError::TooManyArguments;
    }
    return RunError::None;
}

bool VirtualMachine::convertToInt(
    const QString& text, Value& result, unsigned allowedConvs, std::deque<int>& constants) const
{
    Q_ASSERT((m_allowedIntConvFlagMask & allowedConvs) == 0);

    // A text that starts with a letter is no number; toInt would only find that
    // out the slow way, and register operands are the common case.
    if ((allowedConvs & IntConvLiteral) && !(text.size() > 0 && text.at(0).isLetter())) {
        bool isNumber = false;
        const int value = text.toInt(&isNumber, 10);
        if (isNumber) {
            // A deque never moves what it holds, so operands may point into it.
            constants.push_back(value);
            result = Value { Operation::Leaf, { &constants.back(), nullptr }, true };
            return true;
        }
    }

    if (allowedConvs & IntConvRegister) {
        const auto found = m_registers.find(text.trimmed());
        if (found != m_registers.end()) {
            result = Value { Operation::Leaf, { &(this->*(found->second)), nullptr }, false };
            return true;
        }
    }

    if (allowedConvs & IntConvExpression) {
        for (const auto& op : Operators) {
            // The first operator that occurs exactly once splits the text in two.
            const int at = text.indexOf(QLatin1Char(op.character));
            if (at < 0 || text.indexOf(QLatin1Char(op.character), at + 1) >= 0) {
                continue;
            }
            Value first;
            Value second;
            if (!convertToInt(text.left(at).trimmed(), first, IntConvLiteral | IntConvRegister, constants)
                || !convertToInt(text.mid(at + 1).trimmed(), second, IntConvLiteral | IntConvRegister, constants)) {
                return false;
            }
            result = Value { op.operation, { first.operand.left, second.operand.left }, false };
            return true;
        }
    }

    return false;
}

RunError VirtualMachine::convertArgument(
    const QString& element, Instruction& instruction, int index, std::deque<int>& constants) const
{
    Value value;
    if (!convertToInt(element.trimmed(), value, IntConvLiteral | IntConvRegister | IntConvExpression, constants)) {
        return RunError::NotAValue;
    }
    instruction.operations[index] = value.operation;
    instruction.operand(index) = value.operand;
    if (value.literal) {
        instruction.literals |= 1 << index;
    }
    return RunError::None;
}

void VirtualMachine::setConstant(Instruction& instruction, int index, int value, std::deque<int>& constants)
{
    // A deque never moves what it holds, so operands may point into it.
    constants.push_back(value);
    instruction.operations[index] = Operation::Leaf;
    instruction.operand(index) = Operand { &constants.back(), nullptr };
    instruction.literals |= 1 << index;
}

RunError VirtualMachine::parseInts(const QStringList& args, int count, Instruction& instruction, int first,
                                   std::deque<int>& constants, const int* resolvedLast) const
{
    RunError error = checkArgumentCount(args, count);
    for (int at = 0; at < count && error == RunError::None; ++at) {
        if (resolvedLast && at == count - 1) {
            setConstant(instruction, first + at, *resolvedLast, constants);
        } else {
            error = convertArgument(args.at(at), instruction, first + at, constants);
        }
    }
    return error;
}

RunError VirtualMachine::parseOneInt(const QStringList& args, Instruction& instruction, int index,
                                     std::deque<int>& constants, const int* resolved) const
{
    return parseInts(args, 1, instruction, index, constants, resolved);
}

RunError VirtualMachine::parseTwoInts(const QStringList& args, Instruction& instruction, std::deque<int>& constants) const
{
    return parseInts(args, 2, instruction, 0, constants, nullptr);
}

RunError VirtualMachine::parseThreeInts(
    const QStringList& args, Instruction& instruction, std::deque<int>& constants, const int* resolvedTarget) const
{
    return parseInts(args, 3, instruction, 0, constants, resolvedTarget);
}

RunError VirtualMachine::parseOneString(const QStringList& args, QString& text) const
{
    const RunError error = checkArgumentCount(args, 1);
    if (error == RunError::None) {
        text = args.at(0).trimmed();
    }
    return error;
}

RunError VirtualMachine::parseStringAndInt(
    const QStringList& args, QString& text, Instruction& instruction, std::deque<int>& constants) const
{
    RunError error = checkArgumentCount(args, 2);
    if (error == RunError::None) {
        text = args.at(0).trimmed();
        error = convertArgument(args.at(1), instruction, 0, constants);
    }
    return error;
}

int* VirtualMachine::registerNamed(const QString& name)
{
    const auto found = m_registers.find(name);
    return found == m_registers.end() ? nullptr : &(this->*(found->second));
}

void VirtualMachine::decode(Command command, const QStringList& args, Instruction& instruction,
                            std::deque<int>& constants, const int* resolvedTarget)
{
    instruction = Instruction {};
    QString name;
    RunError error = RunError::None;
    Opcode opcode = Opcode::Fail;
    switch (command) {
    case Command::SetRegister:
        opcode = Opcode::SetRegister;
        error = parseStringAndInt(args, name, instruction, constants);
        if (error == RunError::None) {
            instruction.destination = registerNamed(name);
            if (!instruction.destination) {
                error = RunError::UnknownRegister;
            }
        }
        break;
    case Command::Put:
        opcode = Opcode::Put;
        error = parseTwoInts(args, instruction, constants);
        break;
    case Command::Move:
        opcode = Opcode::Move;
        error = parseOneInt(args, instruction, 0, constants);
        break;
    case Command::Left:
    case Command::Right:
        opcode = command == Command::Left ? Opcode::TurnLeft : Opcode::TurnRight;
        if (args.isEmpty()) {
            // Ten degrees by default.
            setConstant(instruction, 0, 10, constants);
        } else {
            error = parseOneInt(args, instruction, 0, constants);
        }
        break;
    case Command::Write:
        opcode = Opcode::Write;
        error = parseOneString(args, name);
        instruction.writing = name.toUpper() == QLatin1String("Y");
        break;
    case Command::End:
        opcode = Opcode::End;
        break;
    case Command::Jmpax:
    case Command::Jmpbx:
        // "jmpax: L;" is "jmpg: AX, 0, L;": one argument of its own.
        opcode = Opcode::JumpGreater;
        instruction.operations[0] = Operation::Leaf;
        instruction.operands[0].left = command == Command::Jmpax ? &m_ax : &m_bx;
        setConstant(instruction, 1, 0, constants);
        error = parseOneInt(args, instruction, 2, constants, resolvedTarget);
        break;
    case Command::Jmpe:
    case Command::Jmpg:
    case Command::Jmpge:
    case Command::Jmpl:
    case Command::Jmple:
    case Command::Jmpne: {
        static const Opcode jumps[] = { Opcode::JumpEqual, Opcode::JumpGreater, Opcode::JumpGreaterOrEqual,
                                        Opcode::JumpLess, Opcode::JumpLessOrEqual, Opcode::JumpNotEqual };
        opcode = jumps[int(command) - int(Command::Jmpe)];
        error = parseThreeInts(args, instruction, constants, resolvedTarget);
        break;
    }
    case Command::Loop:
        opcode = Opcode::Loop;
        error = parseOneInt(args, instruction, 0, constants, resolvedTarget);
        break;
    case Command::Pop:
        opcode = Opcode::Pop;
        error = parseOneString(args, name);
        if (error == RunError::None) {
            instruction.destination = registerNamed(name);
            if (!instruction.destination) {
                error = RunError::PopIntoNonRegister;
            }
        }
        break;
    case Command::Push:
        opcode = Opcode::Push;
        error = parseOneInt(args, instruction, 0, constants);
        break;
    case Command::Call:
        opcode = Opcode::Call;
        error = parseOneInt(args, instruction, 0, constants, resolvedTarget);
        break;
    case Command::Ret:
        opcode = Opcode::Return;
        break;
    }

    if (error == RunError::None) {
        instruction.opcode = opcode;
        return;
    }
    // What converted before the fault is evaluated first, as a handler reads
    // its arguments in order.
    int evaluated = 0;
    while (evaluated < 2 && instruction.operations[evaluated] != Operation::Invalid) {
        ++evaluated;
    }
    instruction.opcode = Opcode::Fail;
    instruction.fault = error;
    instruction.evaluated = static_cast<unsigned char>(evaluated);
    instruction.countsDown = command == Command::Loop;
}

RunError VirtualMachine::perform(Command command, const QStringList& args)
{
    m_handlerConstants.clear();
    Instruction instruction;
    decode(command, args, instruction, m_handlerConstants);
    instruction.line = m_instructionRegister;
    RegisterFlow flow { m_instructionRegister };
    return execute(instruction, flow);
}

RunError VirtualMachine::setRegister(const QStringList& args)
{
    return perform(Command::SetRegister, args);
}

RunError VirtualMachine::put(const QStringList& args)
{
    return perform(Command::Put, args);
}

RunError VirtualMachine::move(const QStringList& args)
{
    return perform(Command::Move, args);
}

RunError VirtualMachine::left(const QStringList& args)
{
    return perform(Command::Left, args);
}

RunError VirtualMachine::right(const QStringList& args)
{
    return perform(Command::Right, args);
}

RunError VirtualMachine::write(const QStringList& args)
{
    return perform(Command::Write, args);
}

RunError VirtualMachine::end(const QStringList& args)
{
    return perform(Command::End, args);
}

RunError VirtualMachine::jmpax(const QStringList& args)
{
    return perform(Command::Jmpax, args);
}

RunError VirtualMachine::jmpbx(const QStringList& args)
{
    return perform(Command::Jmpbx, args);
}

RunError VirtualMachine::jmpe(const QStringList& args)
{
    return perform(Command::Jmpe, args);
}

RunError VirtualMachine::jmpg(const QStringList& args)
{
    return perform(Command::Jmpg, args);
}

RunError VirtualMachine::jmpge(const QStringList& args)
{
    return perform(Command::Jmpge, args);
}

RunError VirtualMachine::jmpl(const QStringList& args)
{
    return perform(Command::Jmpl, args);
}

RunError VirtualMachine::jmple(const QStringList& args)
{
    return perform(Command::Jmple, args);
}

RunError VirtualMachine::jmpne(const QStringList& args)
{
    return perform(Command::Jmpne, args);
}

RunError VirtualMachine::loop(const QStringList& args)
{
    return perform(Command::Loop, args);
}

RunError VirtualMachine::pop(const QStringList& args)
{
    return perform(Command::Pop, args);
}

RunError VirtualMachine::push(const QStringList& args)
{
    return perform(Command::Push, args);
}

RunError VirtualMachine::call(const QStringList& args)
{
    return perform(Command::Call, args);
}

RunError VirtualMachine::ret(const QStringList& args)
{
    return perform(Command::Ret, args);
}

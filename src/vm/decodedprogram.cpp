#include "decodedprogram.h"

#include "turtle/walkingturtle.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace {

// 32-bit two's complement, as the machine computes.
int wrappedAdd(int a, int b)
{
    return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
}

int wrappedSubtract(int a, int b)
{
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
}

int wrappedMultiply(int a, int b)
{
    return static_cast<int>(static_cast<unsigned>(a) * static_cast<unsigned>(b));
}

} // namespace

DecodedProgram::DecodedProgram(VirtualMachine& machine)
    : m_machine(&machine)
{
}

void DecodedProgram::clear()
{
    m_instructions.clear();
    m_positions.clear();
    m_constants.clear();
    m_stops.clear();
    m_firstLine = 0;
}

void DecodedProgram::setStops(const std::vector<std::size_t>& positions)
{
    m_stops.assign(m_instructions.size(), 0);
    for (const std::size_t position : positions) {
        if (position < m_stops.size()) {
            m_stops[position] = 1;
        }
    }
}

void DecodedProgram::build(const Program& program)
{
    clear();
    const VirtualMachine& machine = *m_machine;
    m_instructions.resize(program.size());

    std::size_t position = 0;
    for (const auto& entry : program) {
        Instruction& instruction = m_instructions[position++];
        instruction.line = entry.first;
        const QString& arguments = entry.second.second;
        // The list the execution cycle hands to the handler.
        const QStringList args
            = arguments.isEmpty() ? QStringList() : arguments.split(QLatin1Char(','), Qt::KeepEmptyParts);
        const auto found = machine.m_commands.find(entry.second.first);
        Q_ASSERT(found != machine.m_commands.end());
        instruction.handler = found == machine.m_commands.end() ? nullptr : found->second;
        decode(instruction, args);
    }

    if (!m_instructions.empty()) {
        m_firstLine = m_instructions.front().line;
        const int lastLine = m_instructions.back().line;
        m_positions.resize(static_cast<std::size_t>(lastLine - m_firstLine) + 1);
        std::size_t next = 0;
        for (int line = m_firstLine; line <= lastLine; ++line) {
            if (m_instructions[next].line < line) {
                ++next;
            }
            m_positions[static_cast<std::size_t>(line - m_firstLine)] = static_cast<int>(next);
        }
    }

    // Literal targets are known now: a jump to its own line counts as no jump.
    for (std::size_t at = 0; at < m_instructions.size(); ++at) {
        Instruction& instruction = m_instructions[at];
        const Operand* target = nullptr;
        switch (instruction.opcode) {
        case JumpEqual:
        case JumpNotEqual:
        case JumpLess:
        case JumpLessOrEqual:
        case JumpGreater:
        case JumpGreaterOrEqual:
            target = &instruction.operands[2];
            break;
        case Loop:
        case Call:
            target = &instruction.operands[0];
            break;
        default:
            break;
        }
        if (target && target->kind == Leaf && target->literal) {
            instruction.jumpPosition = static_cast<int>(
                *target->left == instruction.line ? at + 1 : positionOf(*target->left));
        }
    }
}

std::size_t DecodedProgram::positionOf(int line) const
{
    if (m_instructions.empty() || line <= m_firstLine) {
        return 0;
    }
    const auto offset = static_cast<std::size_t>(static_cast<qint64>(line) - m_firstLine);
    if (offset >= m_positions.size()) {
        return m_instructions.size();
    }
    return static_cast<std::size_t>(m_positions[offset]);
}

const int* DecodedProgram::constant(int value)
{
    // A deque never moves what it holds, so operands may point into it.
    m_constants.push_back(value);
    return &m_constants.back();
}

// A literal or a register name, by the machine's own rules; null otherwise.
const int* DecodedProgram::decodeLeaf(const QString& text, bool& literal)
{
    int value = 0;
    if (m_machine->convertToInt(text, value, VirtualMachine::IntConvLiteral)) {
        literal = true;
        return constant(value);
    }
    const auto found = m_machine->m_registers.find(text.trimmed());
    if (found != m_machine->m_registers.end()) {
        literal = false;
        return &(m_machine->*(found->second));
    }
    return nullptr;
}

// One argument element as the machine converts it with every conversion
// allowed: a leaf, or one operation on two leaves split at the first operator
// that occurs exactly once.
DecodedProgram::Operand DecodedProgram::decodeOperand(const QString& element)
{
    const QString text = element.trimmed();
    Operand operand;
    if (const int* leaf = decodeLeaf(text, operand.literal)) {
        operand.kind = Leaf;
        operand.left = leaf;
        return operand;
    }
    static const struct {
        char character;
        OperandKind kind;
    } Operators[] = { { '+', Add }, { '-', Subtract }, { '*', Multiply }, { '/', Divide }, { '%', Remainder } };
    for (const auto& op : Operators) {
        const int at = text.indexOf(QLatin1Char(op.character));
        if (at < 0 || text.indexOf(QLatin1Char(op.character), at + 1) >= 0) {
            continue;
        }
        bool literal = false;
        operand.left = decodeLeaf(text.left(at).trimmed(), literal);
        operand.right = decodeLeaf(text.mid(at + 1).trimmed(), literal);
        operand.kind = operand.left && operand.right ? op.kind : Invalid;
        return operand;
    }
    return operand;
}

bool DecodedProgram::decodeValues(Instruction& instruction, const QStringList& args, int first, int count)
{
    if (args.size() != count) {
        return false;
    }
    for (int index = 0; index < count; ++index) {
        Operand& operand = instruction.operands[first + index];
        operand = decodeOperand(args.at(index));
        if (operand.kind == Invalid) {
            return false;
        }
    }
    return true;
}

int* DecodedProgram::registerNamed(const QString& name) const
{
    const auto found = m_machine->m_registers.find(name);
    return found == m_machine->m_registers.end() ? nullptr : &(m_machine->*(found->second));
}

// Picks the fast form for the handlers whose arguments decode without error;
// everything else keeps its handler, which raises the errors itself.
void DecodedProgram::decode(Instruction& instruction, const QStringList& args)
{
    VirtualMachine& vm = *m_machine;
    const VirtualMachine::CommandHandler handler = instruction.handler;
    instruction.opcode = Handler;
    instruction.arguments = args;

    Opcode opcode = Handler;
    bool decoded = false;
    // In the order of the jump opcodes and of the machine's conditions.
    static const VirtualMachine::CommandHandler jumps[] = { &VirtualMachine::jmpe, &VirtualMachine::jmpne,
                                                            &VirtualMachine::jmpl, &VirtualMachine::jmple,
                                                            &VirtualMachine::jmpg, &VirtualMachine::jmpge };
    const auto jump = std::find(std::begin(jumps), std::end(jumps), handler);
    static_assert(JumpGreaterOrEqual - JumpEqual == VirtualMachine::GreaterOrEqual
                      && JumpLess - JumpEqual == VirtualMachine::Less,
                  "the jump opcodes follow the machine's conditions");

    if (handler == &VirtualMachine::setRegister) {
        if (args.size() == 2) {
            instruction.destination = registerNamed(args.at(0).trimmed());
            instruction.operands[0] = decodeOperand(args.at(1));
            decoded = instruction.destination && instruction.operands[0].kind != Invalid;
        }
        opcode = SetRegister;
    } else if (handler == &VirtualMachine::put) {
        decoded = decodeValues(instruction, args, 0, 2);
        opcode = Put;
    } else if (handler == &VirtualMachine::move) {
        decoded = decodeValues(instruction, args, 0, 1);
        opcode = Move;
    } else if (handler == &VirtualMachine::left || handler == &VirtualMachine::right) {
        if (args.isEmpty()) {
            instruction.operands[0].kind = Leaf;
            instruction.operands[0].literal = true;
            instruction.operands[0].left = constant(10);
            decoded = true;
        } else {
            decoded = decodeValues(instruction, args, 0, 1);
        }
        opcode = handler == &VirtualMachine::left ? TurnLeft : TurnRight;
    } else if (handler == &VirtualMachine::write) {
        decoded = args.size() == 1;
        instruction.writing = decoded && args.at(0).trimmed().toUpper() == QLatin1String("Y");
        opcode = Write;
    } else if (handler == &VirtualMachine::end) {
        decoded = true;
        opcode = End;
    } else if (handler == &VirtualMachine::jmpax || handler == &VirtualMachine::jmpbx) {
        // "jmpax: L;" compares AX with 0, as "jmpg: AX, 0, L;" does.
        Operand& value = instruction.operands[0];
        value.kind = Leaf;
        value.left = handler == &VirtualMachine::jmpax ? &vm.m_ax : &vm.m_bx;
        Operand& zero = instruction.operands[1];
        zero.kind = Leaf;
        zero.literal = true;
        zero.left = constant(0);
        decoded = decodeValues(instruction, args, 2, 1);
        opcode = JumpGreater;
    } else if (jump != std::end(jumps)) {
        decoded = decodeValues(instruction, args, 0, 3);
        opcode = Opcode(JumpEqual + (jump - std::begin(jumps)));
    } else if (handler == &VirtualMachine::loop) {
        instruction.destination = &vm.m_cx;
        decoded = decodeValues(instruction, args, 0, 1);
        opcode = Loop;
    } else if (handler == &VirtualMachine::pop) {
        if (args.size() == 1) {
            instruction.destination = registerNamed(args.at(0).trimmed());
            decoded = instruction.destination != nullptr;
        }
        opcode = Pop;
    } else if (handler == &VirtualMachine::push) {
        decoded = decodeValues(instruction, args, 0, 1);
        opcode = Push;
    } else if (handler == &VirtualMachine::call) {
        decoded = decodeValues(instruction, args, 0, 1);
        opcode = Call;
    } else if (handler == &VirtualMachine::ret) {
        decoded = true;
        opcode = Return;
    }

    if (decoded) {
        instruction.opcode = opcode;
    }
}

// Throws the machine's code for a zero divisor, as its conversion does.
inline int DecodedProgram::evaluate(const Operand& operand)
{
    switch (operand.kind) {
    case Leaf:
        break;
    case Add:
        return wrappedAdd(*operand.left, *operand.right);
    case Subtract:
        return wrappedSubtract(*operand.left, *operand.right);
    case Multiply:
        return wrappedMultiply(*operand.left, *operand.right);
    case Divide: {
        const int divisor = *operand.right;
        if (divisor == 0) {
            throw static_cast<int>(VirtualMachine::DivisionByZero);
        }
        // INT_MIN / -1 overflows in hardware; its wrapped value is INT_MIN.
        return divisor == -1 ? wrappedSubtract(0, *operand.left) : *operand.left / divisor;
    }
    case Remainder: {
        const int divisor = *operand.right;
        if (divisor == 0) {
            throw static_cast<int>(VirtualMachine::DivisionByZero);
        }
        return divisor == -1 ? 0 : *operand.left % divisor;
    }
    case Invalid:
        Q_ASSERT(false);
        break;
    }
    return *operand.left;
}

inline std::size_t DecodedProgram::jumpTarget(const Instruction& instruction, std::size_t position, int target) const
{
    if (instruction.jumpPosition >= 0) {
        return static_cast<std::size_t>(instruction.jumpPosition);
    }
    return target == instruction.line ? position + 1 : positionOf(target);
}

int DecodedProgram::execute(std::size_t& position, qint64 maxSteps, qint64& executedSteps, ExecutionRecord* record)
{
    return record ? run<false, true>(position, maxSteps, executedSteps, 0, record)
                  : run<false, false>(position, maxSteps, executedSteps, 0, nullptr);
}

int DecodedProgram::executeChecked(
    std::size_t& position, qint64 maxSteps, qint64& executedSteps, std::size_t depth, ExecutionRecord* record)
{
    if (m_stops.size() != m_instructions.size()) {
        m_stops.assign(m_instructions.size(), 0);
    }
    return record ? run<true, true>(position, maxSteps, executedSteps, depth, record)
                  : run<true, false>(position, maxSteps, executedSteps, depth, nullptr);
}

// Four loops from one body, so that a run without stops or a record pays
// nothing for them.
template <bool Checked, bool Recording>
int DecodedProgram::run(
    std::size_t& position, qint64 maxSteps, qint64& executedSteps, std::size_t depth, ExecutionRecord* record)
{
    VirtualMachine& vm = *m_machine;
    const Instruction* const instructions = m_instructions.data();
    const std::size_t end = m_instructions.size();
    std::size_t at = position;
    qint64 remaining = maxSteps;
    int code = 0;

    // Counts what has executed, the instruction that throws included, whichever
    // way the loop is left.
    auto finish = [&]() {
        position = at;
        executedSteps += maxSteps - remaining;
    };

    try {
        qint64* const counts = Recording ? record->counts.data() : nullptr;
        std::size_t traceLength = Recording && vm.m_turtle ? vm.m_turtle->trace().size() : 0;
        // After an instruction that may draw, which appends one snapshot at
        // most: put, move and turns append one exactly when the pen is down
        // afterwards, "write" when it puts the pen down.
        auto noteSnapshot = [&](const Instruction& instruction, bool appended) {
            if (Recording && appended) {
                record->origins.append(traceLength++, executedSteps + (maxSteps - remaining), instruction.line);
            }
        };
        while (at != end && remaining > 0) {
            if (Checked && remaining != maxSteps && (m_stops[at] || vm.m_callStack.size() < depth)) {
                break;
            }
            const Instruction& instruction = instructions[at];
            --remaining;
            if (Recording) {
                ++counts[at];
            }
            switch (instruction.opcode) {
            case SetRegister:
                *instruction.destination = evaluate(instruction.operands[0]);
                ++at;
                break;
            case Put: {
                const int x = evaluate(instruction.operands[0]);
                const int y = evaluate(instruction.operands[1]);
                if (vm.m_turtle) {
                    vm.m_turtle->put(x, y);
                    noteSnapshot(instruction, vm.m_turtle->isWriting());
                }
                ++at;
                break;
            }
            case Move: {
                const int distance = evaluate(instruction.operands[0]);
                if (vm.m_turtle) {
                    vm.m_turtle->move(distance);
                    noteSnapshot(instruction, vm.m_turtle->isWriting());
                }
                ++at;
                break;
            }
            case TurnLeft:
            case TurnRight: {
                const double angle = evaluate(instruction.operands[0]);
                if (vm.m_turtle) {
                    vm.m_turtle->turn(instruction.opcode == TurnLeft ? angle : -angle);
                    noteSnapshot(instruction, vm.m_turtle->isWriting());
                }
                ++at;
                break;
            }
            case Write:
                if (vm.m_turtle) {
                    const bool down = instruction.writing && !vm.m_turtle->isWriting();
                    vm.m_turtle->setWrite(instruction.writing);
                    noteSnapshot(instruction, down);
                }
                ++at;
                break;
            case End: {
                const bool stackWasEmpty = vm.m_stack.empty();
                vm.reset();
                at = end;
                if (!stackWasEmpty) {
                    code = VirtualMachine::StackNotEmptyAtEnd;
                }
                break;
            }
            case JumpEqual:
            case JumpNotEqual:
            case JumpLess:
            case JumpLessOrEqual:
            case JumpGreater:
            case JumpGreaterOrEqual: {
                const int a = evaluate(instruction.operands[0]);
                const int b = evaluate(instruction.operands[1]);
                const int target = evaluate(instruction.operands[2]);
                const auto condition = VirtualMachine::JumpCondition(instruction.opcode - JumpEqual);
                at = VirtualMachine::holds(condition, a, b) ? jumpTarget(instruction, at, target) : at + 1;
                break;
            }
            case Loop: {
                int& counter = *instruction.destination;
                counter = wrappedSubtract(counter, 1);
                const int target = evaluate(instruction.operands[0]);
                at = counter > 0 ? jumpTarget(instruction, at, target) : at + 1;
                break;
            }
            case Pop:
                if (vm.m_stack.empty()) {
                    throw static_cast<int>(VirtualMachine::PopFromEmptyStack);
                }
                *instruction.destination = vm.m_stack.back();
                vm.m_stack.pop_back();
                ++at;
                break;
            case Push:
                vm.m_stack.push_back(evaluate(instruction.operands[0]));
                ++at;
                break;
            case Call: {
                const int target = evaluate(instruction.operands[0]);
                vm.m_callStack.push_back(instruction.line);
                at = jumpTarget(instruction, at, target);
                break;
            }
            case Return: {
                if (vm.m_callStack.empty()) {
                    throw static_cast<int>(VirtualMachine::ReturnWithoutCall);
                }
                const int back = wrappedAdd(vm.m_callStack.back(), 1);
                vm.m_callStack.pop_back();
                at = back == instruction.line ? at + 1 : positionOf(back);
                break;
            }
            case Handler: {
                int& instructionRegister = vm.m_instructionRegister;
                instructionRegister = instruction.line;
                try {
                    (vm.*instruction.handler)(instruction.arguments);
                    if (Recording && vm.m_turtle) {
                        noteSnapshot(instruction, vm.m_turtle->trace().size() != traceLength);
                    }
                } catch (const int& thrown) {
                    // Recorded at the line the handler left in the register.
                    at = end;
                    code = thrown;
                    break;
                }
                if (instruction.handler == &VirtualMachine::end) {
                    at = end;
                } else if (instructionRegister == instruction.line) {
                    ++at;
                } else {
                    at = positionOf(instructionRegister);
                }
                break;
            }
            }
        }
    } catch (const int& thrown) {
        // A decoded instruction failed: at its own line, as the cycle records it.
        vm.m_instructionRegister = instructions[at].line;
        at = end;
        finish();
        return thrown;
    } catch (...) {
        // Whatever else escapes (running out of memory) leaves the machine as
        // the execution cycle would: at the failing instruction.
        vm.m_instructionRegister = instructions[at].line;
        finish();
        throw;
    }

    finish();
    return code;
}

#include "decodedprogram.h"

#include "execution.h"

namespace {

// Decoded instructions go on by position.
struct PositionFlow {
    const DecodedProgram& program;
    std::size_t at;

    void next() { ++at; }
    void jump(const Instruction& instruction, int line)
    {
        at = instruction.jumpPosition >= 0 ? static_cast<std::size_t>(instruction.jumpPosition)
                                           : program.continuation(at, instruction.line, line);
    }
    void end() { at = program.size(); }
};

// The operand that holds where a jump, loop or call goes; -1 for none.
int targetOperand(Opcode opcode)
{
    if (opcode >= Opcode::JumpEqual && opcode <= Opcode::JumpGreaterOrEqual) {
        return 2;
    }
    return opcode == Opcode::Loop || opcode == Opcode::Call ? 0 : -1;
}

} // namespace

DecodedProgram::DecodedProgram(VirtualMachine& machine)
    : m_machine(&machine)
{
}

void DecodedProgram::clear()
{
    // Swapped, not cleared: a long script's memory goes back with it.
    m_program = nullptr;
    std::vector<Instruction>().swap(m_instructions);
    std::vector<int>().swap(m_positions);
    std::deque<int>().swap(m_constants);
    std::vector<unsigned char>().swap(m_stops);
    m_firstLine = 0;
}

void DecodedProgram::build(const AnalysedProgram& program)
{
    clear();
    m_program = &program;
    m_instructions.resize(program.size());
    for (std::size_t position = 0; position < program.size(); ++position) {
        Instruction& instruction = m_instructions[position];
        m_machine->decode(program.commandAt(position), program.argumentsAt(position), instruction, m_constants,
                          program.resolvedTargetAt(position));
        instruction.line = program.lineAt(position);
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

    // Constant targets are known now.
    for (std::size_t at = 0; at < m_instructions.size(); ++at) {
        Instruction& instruction = m_instructions[at];
        const int target = targetOperand(instruction.opcode);
        if (target >= 0 && (instruction.literals & (1 << target)) != 0) {
            const int line = *instruction.operand(target).left;
            instruction.jumpPosition = static_cast<int>(continuation(at, instruction.line, line));
        }
    }
    m_stops.assign(m_instructions.size(), 0);
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

void DecodedProgram::setStops(const std::vector<int>& lines)
{
    m_stops.assign(m_instructions.size(), 0);
    for (const int line : lines) {
        const std::size_t position = positionOf(line);
        if (position < m_stops.size()) {
            m_stops[position] = 1;
        }
    }
}

bool DecodedProgram::stopsBefore(std::size_t position, std::size_t depth) const
{
    return (position < m_stops.size() && m_stops[position]) || m_machine->callDepth() < depth;
}

RunError DecodedProgram::execute(std::size_t& position, qint64 maxSteps, qint64& executedSteps, const Mode& mode)
{
    ExecutionRecord* const record = mode.record;
    const std::size_t depth = mode.depth;
    if (mode.plain) {
        if (mode.checked) {
            return record ? run<true, true, true>(position, maxSteps, executedSteps, depth, record)
                          : run<true, true, false>(position, maxSteps, executedSteps, depth, record);
        }
        return record ? run<true, false, true>(position, maxSteps, executedSteps, depth, record)
                      : run<true, false, false>(position, maxSteps, executedSteps, depth, record);
    }
    if (mode.checked) {
        return record ? run<false, true, true>(position, maxSteps, executedSteps, depth, record)
                      : run<false, true, false>(position, maxSteps, executedSteps, depth, record);
    }
    return record ? run<false, false, true>(position, maxSteps, executedSteps, depth, record)
                  : run<false, false, false>(position, maxSteps, executedSteps, depth, record);
}

RunError DecodedProgram::executeInstruction(std::size_t& position)
{
    VirtualMachine& vm = *m_machine;
    const int line = m_program->lineAt(position);
    int& instructionRegister = vm.instructionRegister();
    instructionRegister = line;
    const VirtualMachine::CommandHandler handler = vm.commands().at(m_program->wordAt(position));
    const RunError error = (vm.*handler)(m_program->argumentsAt(position));
    if (error == RunError::None) {
        position = handler == &VirtualMachine::end ? size() : continuation(position, line, instructionRegister);
    }
    return error;
}

// Eight loops from one body, so that a run without stops or a record pays
// nothing for them.
template <bool Plain, bool Checked, bool Recording>
RunError DecodedProgram::run(
    std::size_t& position, qint64 maxSteps, qint64& executedSteps, std::size_t depth, ExecutionRecord* record)
{
    VirtualMachine& vm = *m_machine;
    const Instruction* const instructions = m_instructions.data();
    const std::size_t end = m_instructions.size();
    WalkingTurtle* const turtle = vm.turtle();
    PositionFlow flow { *this, position };
    qint64 remaining = maxSteps;
    RunError error = RunError::None;

    // Counts what has executed, the instruction that fails included, whichever
    // way the loop is left.
    auto finish = [&]() {
        position = flow.at;
        executedSteps += maxSteps - remaining;
    };

    try {
        while (flow.at != end && remaining > 0) {
            if (Checked && remaining != maxSteps && stopsBefore(flow.at, depth)) {
                break;
            }
            const Instruction& instruction = instructions[flow.at];
            std::size_t traceLength = 0;
            if (Recording) {
                ++record->counts[flow.at];
                traceLength = turtle ? turtle->trace().size() : 0;
            }
            --remaining;
            error = Plain ? executeInstruction(flow.at) : vm.execute(instruction, flow);
            if (Recording && turtle && turtle->trace().size() != traceLength) {
                record->origins.append(turtle->trace().size() - 1, executedSteps + (maxSteps - remaining),
                                       instruction.line);
            }
            if (error != RunError::None) {
                // Raised at the failing line, as the cycle leaves the register,
                // but for "end", which has reset the machine.
                if (!Plain && instruction.opcode != Opcode::End) {
                    vm.instructionRegister() = instruction.line;
                }
                flow.at = end;
                break;
            }
        }
    } catch (...) {
        // Whatever escapes (running out of memory) leaves the machine as the
        // execution cycle would: at the failing instruction.
        vm.instructionRegister() = instructions[flow.at].line;
        finish();
        throw;
    }

    finish();
    return error;
}

#pragma once

// The effect of every instruction, written once for every way of running: a
// handler of the command map, a decoded program run whole, stepped, checked
// or recorded, and a replay of the history all come through here.

#include "turtle/walkingturtle.h"
#include "virtualmachine.h"

#include <QtGlobal>

template <class Flow>
Q_ALWAYS_INLINE RunError VirtualMachine::execute(const Instruction& instruction, Flow& flow)
{
    // Each case knows how many operands it reads, so that the loop over them
    // unrolls; the first one that fails raises its error.
    int values[3];
    RunError error = RunError::None;
    switch (instruction.opcode) {
    case Opcode::SetRegister:
        if ((error = instruction.values(1, values)) == RunError::None) {
            *instruction.destination = values[0];
        }
        break;
    case Opcode::Put:
        if ((error = instruction.values(2, values)) == RunError::None && m_turtle) {
            m_turtle->put(values[0], values[1]);
        }
        break;
    case Opcode::Move:
        if ((error = instruction.values(1, values)) == RunError::None && m_turtle) {
            m_turtle->move(values[0]);
        }
        break;
    case Opcode::TurnLeft:
    case Opcode::TurnRight:
        if ((error = instruction.values(1, values)) == RunError::None && m_turtle) {
            // Negated as a double: -INT_MIN does not exist as an int.
            m_turtle->turn(instruction.opcode == Opcode::TurnLeft ? double(values[0]) : -double(values[0]));
        }
        break;
    case Opcode::Write:
        if (m_turtle) {
            m_turtle->setWrite(instruction.writing);
        }
        break;
    case Opcode::End: {
        // The machine is reset first: a stack left full is reported at no line.
        const bool stackWasEmpty = m_stack.empty();
        reset();
        flow.end();
        return stackWasEmpty ? RunError::None : RunError::StackNotEmptyAtEnd;
    }
    case Opcode::JumpEqual:
    case Opcode::JumpNotEqual:
    case Opcode::JumpLess:
    case Opcode::JumpLessOrEqual:
    case Opcode::JumpGreater:
    case Opcode::JumpGreaterOrEqual:
        if ((error = instruction.values(3, values)) == RunError::None
            && holds(JumpCondition(int(instruction.opcode) - int(Opcode::JumpEqual)), values[0], values[1])) {
            flow.jump(instruction, values[2]);
            return error;
        }
        break;
    case Opcode::Loop:
        countDown();
        if ((error = instruction.values(1, values)) == RunError::None && m_cx > 0) {
            flow.jump(instruction, values[0]);
            return error;
        }
        break;
    case Opcode::Pop:
        if (m_stack.empty()) {
            return RunError::PopFromEmptyStack;
        }
        *instruction.destination = m_stack.back();
        m_stack.pop_back();
        break;
    case Opcode::Push:
        if ((error = instruction.values(1, values)) == RunError::None) {
            m_stack.push_back(values[0]);
        }
        break;
    case Opcode::Call:
        if ((error = instruction.values(1, values)) == RunError::None) {
            m_callStack.push_back(instruction.line);
            flow.jump(instruction, values[0]);
        }
        return error;
    case Opcode::Return: {
        if (m_callStack.empty()) {
            return RunError::ReturnWithoutCall;
        }
        // Back to the line after the call, wrapping as every sum does.
        int line = 0;
        error = combine(Operation::Add, m_callStack.back(), 1, line);
        m_callStack.pop_back();
        flow.jump(instruction, line);
        return error;
    }
    case Opcode::Fail:
        if (instruction.countsDown) {
            countDown();
        }
        error = instruction.values(instruction.evaluated, values);
        return error == RunError::None ? instruction.fault : error;
    }
    if (error == RunError::None) {
        flow.next();
    }
    return error;
}

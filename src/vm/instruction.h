#pragma once

#include "runerror.h"

// The command words of the language, in the order of the machine's table.
enum class Command : unsigned char {
    SetRegister,
    Put,
    Move,
    Left,
    Right,
    Write,
    End,
    // The jumps that name a label, from here to Jmpne.
    Jmpax,
    Jmpbx,
    Jmpe,
    Jmpg,
    Jmpge,
    Jmpl,
    Jmple,
    Jmpne,
    Loop,
    Pop,
    Push,
    Call,
    Ret,
};

// How a value is computed: one leaf, or one operation on two leaves.
enum class Operation : unsigned char {
    Leaf,
    Add,
    Subtract,
    Multiply,
    Divide,
    Remainder,
    Invalid,
};

// The machine's arithmetic: 32-bit two's complement, wrapping on overflow; a
// quotient truncates toward zero and a remainder takes the sign of the
// dividend.
inline RunError combine(Operation operation, int a, int b, int& result)
{
    const auto ua = static_cast<unsigned>(a);
    const auto ub = static_cast<unsigned>(b);
    switch (operation) {
    case Operation::Add:
        result = static_cast<int>(ua + ub);
        break;
    case Operation::Subtract:
        result = static_cast<int>(ua - ub);
        break;
    case Operation::Multiply:
        result = static_cast<int>(ua * ub);
        break;
    case Operation::Divide:
        if (b == 0) {
            return RunError::DivisionByZero;
        }
        // INT_MIN / -1 overflows in hardware; its wrapped value is INT_MIN.
        result = b == -1 ? static_cast<int>(0u - ua) : a / b;
        break;
    case Operation::Remainder:
        if (b == 0) {
            return RunError::DivisionByZero;
        }
        result = b == -1 ? 0 : a % b;
        break;
    default:
        result = a;
        break;
    }
    return RunError::None;
}

// A value's leaves point at a register of the machine or at a constant, so
// that reading one is one load.
struct Operand {
    const int* left = nullptr;
    const int* right = nullptr;
};

inline RunError evaluate(Operation operation, const Operand& operand, int& result)
{
    if (operation == Operation::Leaf) {
        result = *operand.left;
        return RunError::None;
    }
    return combine(operation, *operand.left, *operand.right, result);
}

// A value as the conversion of an argument text leaves it.
struct Value {
    Operation operation = Operation::Invalid;
    Operand operand;
    // A leaf that is a constant.
    bool literal = false;
};

// What an instruction does, decoded from its command word and arguments.
enum class Opcode : unsigned char {
    SetRegister,
    Put,
    Move,
    TurnLeft,
    TurnRight,
    Write,
    End,
    // In the order of VirtualMachine::JumpCondition; jmpax and jmpbx are
    // JumpGreater with AX or BX and 0.
    JumpEqual,
    JumpNotEqual,
    JumpLess,
    JumpLessOrEqual,
    JumpGreater,
    JumpGreaterOrEqual,
    Loop,
    Pop,
    Push,
    Call,
    Return,
    // Raises its fault once the operands before the faulty one are evaluated
    // (a division by zero among them comes first).
    Fail,
};

// 64 bytes, a cache line: a script of millions of lines is held in a
// fraction of the memory its text takes.
struct Instruction {
    Opcode opcode = Opcode::Fail;
    bool writing = false;
    Operation operations[3] = { Operation::Invalid, Operation::Invalid, Operation::Invalid };
    // Bit i: operand i is a constant leaf.
    unsigned char literals = 0;
    // Fail: how many operands it evaluates first, those before the faulty
    // one, and whether CX goes down first, as for "loop".
    unsigned char evaluated = 0;
    bool countsDown = false;
    int line = 0;
    union {
        // Where a jump, loop or call goes on when it is taken and its target
        // is a constant; -1 when the target is computed at run time.
        int jumpPosition = -1;
        RunError fault;
    };
    Operand operands[2] = {};
    // No instruction that writes a register has a third operand.
    union {
        Operand third = {};
        int* destination;
    };

    const Operand& operand(int index) const { return index < 2 ? operands[index] : third; }
    Operand& operand(int index) { return index < 2 ? operands[index] : third; }
    // The first count operands into results, in order, until one fails.
    RunError values(int count, int* results) const
    {
        for (int index = 0; index < count; ++index) {
            const RunError error = evaluate(operations[index], operand(index), results[index]);
            if (error != RunError::None) {
                return error;
            }
        }
        return RunError::None;
    }
};
static_assert(sizeof(Instruction) <= 64, "a script's memory is mostly its decoded instructions");

#pragma once

#include "analysedprogram.h"
#include "executionrecord.h"
#include "virtualmachine.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <deque>
#include <vector>

// The program of the Interpreter decoded once, after the analysis: arguments
// split, operands classified, literal jump targets turned into positions. It
// runs the program on the machine with the effects, errors and instruction
// register that the command map's handlers give, without converting text at
// every step. An instruction whose operands do not decode is run through its
// handler, with the argument list the execution cycle would build.
class DecodedProgram
{
public:
    // The program runs on this machine, whose command and register maps it is
    // decoded against.
    explicit DecodedProgram(VirtualMachine& machine);
    DecodedProgram(const DecodedProgram&) = delete;
    DecodedProgram& operator=(const DecodedProgram&) = delete;

    void build(const AnalysedProgram& program);
    void clear();

    // Positions count the instructions in line order; size() is the end.
    std::size_t size() const { return m_instructions.size(); }
    int lineAt(std::size_t position) const { return m_instructions[position].line; }
    // The instruction at the line, else the first one after it.
    std::size_t positionOf(int line) const;

    // Executes from position until the program ends, an error is raised or
    // maxSteps instructions have executed; position is then the next one
    // (size() once the program has ended), and executedSteps has grown by the
    // instructions executed, the failing one included. Returns the code of the
    // error that ended the execution, 0 when none did. The instruction
    // register is left as the handlers leave it when the program ends or
    // fails; while it goes on, the caller writes it.
    // With a record, also counts every instruction executed in record->counts
    // (sized to size()) and logs the snapshots the steps append.
    int execute(std::size_t& position, qint64 maxSteps, qint64& executedSteps, ExecutionRecord* record = nullptr);
    // As execute(), but also stops before an instruction whose position is a
    // stop (setStops) or that is reached with fewer than depth calls pending;
    // the first instruction always executes.
    int executeChecked(std::size_t& position, qint64 maxSteps, qint64& executedSteps, std::size_t depth,
        ExecutionRecord* record = nullptr);

    // The positions executeChecked() stops before; kept until the next build().
    void setStops(const std::vector<std::size_t>& positions);
    bool isStop(std::size_t position) const { return position < m_stops.size() && m_stops[position]; }

private:
    // A value operand. Leaves point at a machine register or at a constant of
    // m_constants, so that every value is one load.
    enum OperandKind : unsigned char {
        Leaf,
        Add,
        Subtract,
        Multiply,
        Divide,
        Remainder,
        Invalid,
    };

    // Its kind is kept in the instruction, where it takes one byte.
    struct Operand {
        const int* left;
        const int* right;
    };

    enum Opcode : unsigned char {
        SetRegister,
        Put,
        Move,
        TurnLeft,
        TurnRight,
        Write,
        End,
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
        // Through the handler of the command map.
        Handler,
    };

    // 64 bytes, a cache line: a script of millions of lines is held in a
    // fraction of the memory its text takes.
    struct Instruction {
        Opcode opcode = Handler;
        bool writing = false;
        OperandKind kinds[3] = { Invalid, Invalid, Invalid };
        // Bit i: operand i is a constant, not a register.
        unsigned char literals = 0;
        int line = 0;
        union {
            // Where a jump, loop or call goes on when it is taken and its
            // target is a literal; -1 when the target is computed at run time.
            int jumpPosition = -1;
            // Handler: the instruction's entry in m_calls.
            int call;
        };
        Operand operands[2] = {};
        // No instruction that writes a register has a third operand.
        union {
            Operand third = {};
            int* destination;
        };
    };
    static_assert(sizeof(Instruction) <= 64, "a script's memory is mostly its decoded instructions");

    // What an instruction that runs through its handler needs.
    struct HandlerCall {
        VirtualMachine::CommandHandler handler;
        // The list the execution cycle hands to the handler.
        QStringList arguments;
    };

    static Operand& operandAt(Instruction& instruction, int index);
    static const Operand& operandAt(const Instruction& instruction, int index);
    bool decodeOperand(Instruction& instruction, int index, const QString& element);
    const int* decodeLeaf(const QString& text, bool& literal);
    const int* constant(int value);
    void setConstant(Instruction& instruction, int index, int value);
    int* registerNamed(const QString& name) const;
    bool decodeValues(Instruction& instruction, const QStringList& args, int first, int count);
    void decode(Instruction& instruction, VirtualMachine::CommandHandler handler, const QStringList& args);
    static int evaluate(OperandKind kind, const Operand& operand);
    std::size_t jumpTarget(const Instruction& instruction, std::size_t position, int target) const;
    template <bool Checked, bool Recording>
    int run(std::size_t& position, qint64 maxSteps, qint64& executedSteps, std::size_t depth,
        ExecutionRecord* record);

    VirtualMachine* m_machine;
    std::vector<Instruction> m_instructions;
    std::vector<HandlerCall> m_calls;
    // Position of the instruction at or after each line from m_firstLine on.
    std::vector<int> m_positions;
    int m_firstLine = 0;
    std::deque<int> m_constants;
    // One flag per instruction; empty when nothing stops.
    std::vector<unsigned char> m_stops;
};

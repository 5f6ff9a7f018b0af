#pragma once

#include "debugvalues.h"
#include "instruction.h"
#include "runerror.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <deque>
#include <map>
#include <utility>
#include <vector>

class WalkingTurtle;

// Executes one instruction at a time. Every way of running goes through the
// same two steps: decode() turns a command word and its argument list into an
// Instruction, and execute() carries it out on the machine. The handlers of
// the command map do both at once on the instruction register's line; a
// decoded program (decodedprogram.h) decodes each instruction once.
class VirtualMachine
{
public:
    using CommandHandler = RunError (VirtualMachine::*)(const QStringList&);
    using RegisterField = int VirtualMachine::*;
    using CommandMap = std::map<QString, CommandHandler>;
    using RegisterMap = std::map<QString, RegisterField>;

    enum IntConv : unsigned {
        IntConvLiteral = 1,
        IntConvRegister = 2,
        IntConvExpression = 4,
    };

    enum JumpCondition {
        Equal = 0,
        NotEqual = 1,
        Less = 2,
        LessOrEqual = 3,
        Greater = 4,
        GreaterOrEqual = 5,
    };

    // Whether a conditional jump comparing a with b is taken.
    static bool holds(JumpCondition condition, int a, int b)
    {
        switch (condition) {
        case Equal:
            return a == b;
        case NotEqual:
            return a != b;
        case Less:
            return a < b;
        case LessOrEqual:
            return a <= b;
        case Greater:
            return a > b;
        case GreaterOrEqual:
            return a >= b;
        }
        return false;
    }

    VirtualMachine();

    CommandMap& commands();
    RegisterMap& registers();
    int& instructionRegister();
    int instructionRegister() const { return m_instructionRegister; }
    void setTurtle(WalkingTurtle* turtle);
    WalkingTurtle* turtle() const { return m_turtle; }

    // The command a word of the command map stands for; false for any other word.
    static bool commandOf(const QString& word, Command& command);
    static const QString& commandWord(Command command);

    void reset();
    DebugValueList debugInfo() const;
    // Calls whose ret has not executed yet.
    std::size_t callDepth() const { return m_callStack.size(); }

    // Everything an instruction can change, for going back to an earlier step.
    struct State {
        int instructionRegister = -1;
        int ax = 0;
        int bx = 0;
        int cx = 0;
        int dx = 0;
        std::deque<int> stack;
        std::deque<int> callStack;
    };
    State state() const;
    void restore(const State& state);
    std::size_t stackSize() const { return m_stack.size(); }
    // The data stack, its top at the back, and the line of each pending call, innermost at the back.
    const std::deque<int>& dataStack() const { return m_stack; }
    const std::deque<int>& callStack() const { return m_callStack; }

    // The argument rules of every command: counts, conversions and register
    // names. An instruction whose arguments break them decodes to a Fail that
    // raises the code the command would raise, in the same order. Registers
    // are decoded as this machine's; constants go to constants, which must
    // outlive the instruction. A resolved target (a label's or a procedure's
    // line) stands for the text of a jump's, loop's or call's target.
    void decode(Command command, const QStringList& args, Instruction& instruction, std::deque<int>& constants,
                const int* resolvedTarget = nullptr);

    // Carries out one decoded instruction. The flow is told where execution
    // goes on: next(), jump(instruction, line) or end(). The instruction's
    // line stands for the instruction register's.
    template <class Flow>
    RunError execute(const Instruction& instruction, Flow& flow);

    // One handler per command word, named after it. The execution cycle sets
    // the instruction register to the instruction's line before calling one;
    // a handler jumps by writing another line there.
    RunError setRegister(const QStringList& args);
    RunError put(const QStringList& args);
    RunError move(const QStringList& args);
    RunError left(const QStringList& args);
    RunError right(const QStringList& args);
    RunError write(const QStringList& args);
    RunError end(const QStringList& args);
    RunError jmpax(const QStringList& args);
    RunError jmpbx(const QStringList& args);
    RunError jmpe(const QStringList& args);
    RunError jmpg(const QStringList& args);
    RunError jmpge(const QStringList& args);
    RunError jmpl(const QStringList& args);
    RunError jmple(const QStringList& args);
    RunError jmpne(const QStringList& args);
    RunError loop(const QStringList& args);
    RunError pop(const QStringList& args);
    RunError push(const QStringList& args);
    RunError call(const QStringList& args);
    RunError ret(const QStringList& args);

private:
    static constexpr unsigned m_allowedIntConvFlagMask = ~(IntConvLiteral | IntConvRegister | IntConvExpression);

    // The decoding steps, as the handlers of the command map read their
    // arguments: a value is decoded into an operand of the instruction.
    RunError checkArgumentCount(const QStringList& args, int count) const;
    bool convertToInt(const QString& text, Value& result, unsigned allowedConvs, std::deque<int>& constants) const;
    // A resolved operand is the last one, the target; its text is not read.
    RunError parseOneInt(const QStringList& args, Instruction& instruction, int index, std::deque<int>& constants,
                         const int* resolved = nullptr) const;
    RunError parseTwoInts(const QStringList& args, Instruction& instruction, std::deque<int>& constants) const;
    RunError parseThreeInts(const QStringList& args, Instruction& instruction, std::deque<int>& constants,
                            const int* resolvedTarget = nullptr) const;
    RunError parseInts(const QStringList& args, int count, Instruction& instruction, int first,
                       std::deque<int>& constants, const int* resolvedLast) const;
    RunError parseOneString(const QStringList& args, QString& text) const;
    RunError parseStringAndInt(
        const QStringList& args, QString& text, Instruction& instruction, std::deque<int>& constants) const;
    // One element, trimmed, with every conversion allowed, into operand index.
    RunError convertArgument(
        const QString& element, Instruction& instruction, int index, std::deque<int>& constants) const;
    static void setConstant(Instruction& instruction, int index, int value, std::deque<int>& constants);
    int* registerNamed(const QString& name);
    // "loop" counts down before anything else, even when it then fails.
    void countDown() { static_cast<void>(combine(Operation::Subtract, m_cx, 1, m_cx)); }
    // What a handler does: decodes its arguments and executes them at once.
    RunError perform(Command command, const QStringList& args);

    CommandMap m_commands;
    RegisterMap m_registers;
    int m_instructionRegister;
    int m_ax;
    int m_bx;
    int m_cx;
    int m_dx;
    std::deque<int> m_stack;
    std::deque<int> m_callStack;
    WalkingTurtle* m_turtle;
    // The constants of the instruction a handler performs.
    std::deque<int> m_handlerConstants;
};

#pragma once

#include "debugvalues.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <deque>
#include <map>
#include <utility>
#include <vector>

class WalkingTurtle;

// Executes one instruction at a time on behalf of the Interpreter. Handlers
// report script errors by throwing an int message code.
class VirtualMachine
{
public:
    using CommandHandler = void (VirtualMachine::*)(const QStringList&);
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

    // Run-time message codes thrown by the handlers.
    enum ErrorCode {
        TooFewArguments = 200,
        TooManyArguments = 201,
        NotAValue = 202,
        PopIntoNonRegister = 203,
        DivisionByZero = 204,
        PopFromEmptyStack = 220,
        ReturnWithoutCall = 230,
        StackNotEmptyAtEnd = 290,
        UnknownRegister = 900,
    };

    VirtualMachine();

    CommandMap& commands();
    RegisterMap& registers();
    int& instructionRegister();
    void setTurtle(WalkingTurtle* turtle);

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

    // One handler per command word, named after it. The Interpreter sets the
    // instruction register to the instruction's line before calling one; a
    // handler jumps by writing another line there.
    void setRegister(const QStringList& args);
    void put(const QStringList& args);
    void move(const QStringList& args);
    void left(const QStringList& args);
    void right(const QStringList& args);
    void write(const QStringList& args);
    void end(const QStringList& args);
    void jmpax(const QStringList& args);
    void jmpbx(const QStringList& args);
    void jmpe(const QStringList& args);
    void jmpg(const QStringList& args);
    void jmpge(const QStringList& args);
    void jmpl(const QStringList& args);
    void jmple(const QStringList& args);
    void jmpne(const QStringList& args);
    void loop(const QStringList& args);
    void pop(const QStringList& args);
    void push(const QStringList& args);
    void call(const QStringList& args);
    void ret(const QStringList& args);

private:
    // Runs the handlers' effects from a pre-decoded program (decodedprogram.h).
    friend class DecodedProgram;

    static constexpr unsigned m_allowedIntConvFlagMask = ~(IntConvLiteral | IntConvRegister | IntConvExpression);

    bool checkArgumentCount(const QStringList& args, int count) const;
    bool convertToInt(const QString& text, int& result, unsigned allowedConvs) const;
    bool parseOneInt(const QStringList& args, int& value) const;
    bool parseTwoInts(const QStringList& args, int& first, int& second) const;
    bool parseThreeInts(const QStringList& args, int& first, int& second, int& third) const;
    bool parseOneString(const QStringList& args, QString& text) const;
    bool parseStringAndInt(const QStringList& args, QString& text, int& value) const;
    // One element, trimmed, with every conversion allowed; 202 when none applies.
    bool convertArgument(const QString& element, int& value) const;

    void conditionalJump(const QStringList& args, JumpCondition condition);
    void jumpIfPositive(int value, const QStringList& args);

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
};

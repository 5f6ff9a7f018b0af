#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <utility>
#include <vector>

class WalkingTurtle;

// The machine's state as the debugger shows it: "RI", "AX" ... "DX",
// "Stack size" and, while the data stack is not empty, "Stack top".
using DebugValueList = std::vector<std::pair<QString, int>>;

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

    VirtualMachine();

    CommandMap& commands();
    RegisterMap& registers();
    int& instructionRegister();
    void setTurtle(WalkingTurtle* turtle);

    void reset();
    DebugValueList debugInfo() const;

    // The command handlers and their private helpers are declared below.
    // (to be completed with the machine)

private:
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

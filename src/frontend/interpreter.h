#pragma once

#include "message.h"
#include "vm/virtualmachine.h"

#include <QString>

#include <list>
#include <map>
#include <utility>

class MessageCatalogue;
class WalkingTurtle;

// Analyses a script into a program of (command word, argument text) by line,
// records every diagnostic, and drives the virtual machine through it.
class Interpreter
{
public:
    // Message codes that the analysis and the machine do not raise themselves.
    enum ExtraCode {
        DivisionByZero = 204,
        Interrupted = 240,
    };

    static QString defaultCataloguePath();

    // Throws std::runtime_error when the catalogue cannot be read.
    explicit Interpreter(const QString& cataloguePath = defaultCataloguePath());
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    void setWalkingTurtle(WalkingTurtle* turtle);
    VirtualMachine* virtualMachine();

    bool compile(const QString& text);
    void runToEnd();
    bool step();
    void restart();

    int currentLine() const;
    const std::list<Message>& messages() const;
    DebugValueList debugValues() const;
    void setLanguage(const QString& language);

    // Bounded execution, for the IDE's interruptible runs and the runner.
    //
    // runToEnd(maxSteps): as runToEnd(), but when maxSteps instructions have
    // executed and another would execute, records code 240 at that instruction's
    // line, resets the machine and returns false. Returns true when the program
    // ended by itself.
    bool runToEnd(qint64 maxSteps);
    // advance(maxSteps): executes up to maxSteps instructions from the current
    // line, as that many step() calls would. Returns true while instructions
    // remain (currentLine() is then the next one), false once the program has
    // ended and the machine is reset.
    bool advance(qint64 maxSteps);
    // interrupt(): ends a paused or sliced run with code 240 at the line of the
    // next instruction, and resets the machine.
    void interrupt();
    // Instructions executed since the last compile().
    qint64 executedSteps() const;
};

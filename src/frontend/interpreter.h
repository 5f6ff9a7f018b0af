#pragma once

#include "message.h"
#include "vm/decodedprogram.h"
#include "vm/virtualmachine.h"

#include <QString>

#include <list>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class MessageCatalogue;
class WalkingTurtle;

// Analyses a script into a program of (command word, argument text) by line,
// records every diagnostic, and drives the virtual machine through it.
class Interpreter
{
public:
    // Run-time codes beyond those of the original instruction set: a division
    // by zero (thrown by the machine) and a run stopped before its end.
    enum ExtraCode {
        DivisionByZero = 204,
        Interrupted = 240,
    };

    static QString defaultCataloguePath();
    // The line every script starts with.
    static QString header();

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
    // Code 240 (Interrupted) is always recorded at the line of the instruction
    // that would have executed next, and the machine is then reset.
    //
    // runToEnd(maxSteps): as runToEnd(), but when maxSteps instructions have
    // executed and another would execute, records code 240, resets the machine
    // and returns false. Returns true when the program ended by itself (an
    // error recorded by the machine included). A negative maxSteps means no limit.
    bool runToEnd(qint64 maxSteps);
    // advance(maxSteps): executes up to maxSteps instructions from the current
    // line, as that many step() calls would. Returns true while instructions
    // remain (currentLine() is then the next one), false once the program has
    // ended and the machine is reset. A sliced run is compile() followed by
    // advance() until it returns false.
    bool advance(qint64 maxSteps);
    // interrupt(): ends a paused or sliced run (currentLine() not -1) with code
    // 240 and resets the machine; returns false and does nothing when no run
    // is in progress.
    bool interrupt();
    // Breakpoints, as 1-based script lines kept across compile(): a line
    // without an instruction stands for the first instruction after it.
    void setBreakpoints(const std::vector<int>& lines);
    // Whether the instruction that executes next is at a breakpoint.
    bool atBreakpoint() const;
    // Calls whose ret has not executed yet.
    int callDepth() const;
    // advanceChecked(maxSteps, depth): as advance(), but also stops before an
    // instruction at a breakpoint or reached with fewer than depth calls
    // pending. The first instruction executes in any case, so that going on
    // from a breakpoint leaves it.
    bool advanceChecked(qint64 maxSteps, int depth = 0);

    // Instructions executed since the last compile(), by every way of running.
    qint64 executedSteps() const;

    // Runs, steps and advances go through the form of the program decoded at
    // compile() unless plain execution is set: then every instruction is
    // looked up in the command map and its argument text split and converted
    // again, as the machine is defined. Both give the same results; the plain
    // way is the reference the decoded one is tested against.
    void setPlainExecution(bool plain);
    bool plainExecution() const;

    // While a record is set (not owned), every way of running counts the
    // instructions it executes and logs which step appended each snapshot of
    // the trace. compile() empties it for the new program.
    void setRecord(ExecutionRecord* record);
    // Puts back the step count and the message list as they were at an earlier
    // step, with the machine's state restored beside it.
    void restoreProgress(qint64 executedSteps, std::size_t messageCount);

    // The analysed program: script line -> (command word, argument text).
    using Program = AnalysedProgram;
    const Program& program() const;

private:
    bool compileLine(QStringView line, int lineNumber);
    void addMessage(int code, int line);
    void resolveNames();
    // Positions count the instructions in line order, in the analysed and the
    // decoded program alike.
    void executeInstruction(std::size_t& position);
    // The instruction that step() executes next: the one at the current line,
    // else the first one after it.
    std::size_t nextPosition() const;
    void stopInterrupted(int line);
    // Executes the decoded program from position; records the error that
    // ended it, if any.
    void executeDecoded(std::size_t& position, qint64 maxSteps);
    // advance() and advanceChecked(): with checked, stops before a
    // breakpoint or with fewer than depth calls pending.
    bool advanceFrom(qint64 maxSteps, bool checked, std::size_t depth);
    void applyBreakpoints();

    std::list<Message> m_messages;
    std::unique_ptr<MessageCatalogue> m_catalogue;
    Program m_program;
    std::map<QString, int> m_labels;
    std::map<QString, int> m_procedures;
    std::unique_ptr<VirtualMachine> m_virtualMachine;
    qint64 m_executedSteps;
    DecodedProgram m_decoded;
    bool m_plainExecution;
    std::vector<int> m_breakpoints;
    // The lines of the instructions the breakpoints stop before.
    std::set<int> m_stopLines;
    ExecutionRecord* m_record = nullptr;
    WalkingTurtle* m_turtle = nullptr;
    // Whether an "end" was analysed so far: a procedure may only follow one.
    bool m_programHasEnd;
};

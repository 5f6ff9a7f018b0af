#pragma once

#include "analysedprogram.h"
#include "executionrecord.h"
#include "instruction.h"
#include "runerror.h"

#include <QtGlobal>

#include <cstddef>
#include <deque>
#include <vector>

class VirtualMachine;

// The analysed program decoded once, with the one loop that executes it: run
// whole, in slices, stepped, checked against breakpoints and the call depth,
// or recorded. Decoded, an instruction runs from its operands, with the
// targets of labels and constant lines turned into positions. Plain, it goes
// through the execution cycle: the handler of its command word in the
// machine's command map, on the argument text split again. Both carry out
// the same decoded instructions on the machine.
class DecodedProgram
{
public:
    explicit DecodedProgram(VirtualMachine& machine);
    DecodedProgram(const DecodedProgram&) = delete;
    DecodedProgram& operator=(const DecodedProgram&) = delete;

    // The program must live until the next build() or clear().
    void build(const AnalysedProgram& program);
    void clear();

    // Positions count the instructions in line order; size() is the end.
    std::size_t size() const { return m_instructions.size(); }
    int lineAt(std::size_t position) const { return m_instructions[position].line; }
    // The instruction at the line, else the first one after it.
    std::size_t positionOf(int line) const;
    // Where execution goes on once the instruction at position, on line,
    // has written target into the instruction register: a jump to its own
    // line counts as none.
    std::size_t continuation(std::size_t position, int line, int target) const
    {
        return target == line ? position + 1 : positionOf(target);
    }

    // How execute() goes.
    struct Mode {
        // Through the command map, as the machine is defined.
        bool plain = false;
        // Stops before an instruction that stopsBefore(); the first one
        // always executes, so that going on from a breakpoint leaves it.
        bool checked = false;
        std::size_t depth = 0;
        // Not null: counts each instruction executed in record->counts (sized
        // to size()) and logs the snapshots the steps append.
        ExecutionRecord* record = nullptr;
    };
    // Executes from position until the program ends, an error is raised or
    // maxSteps instructions have executed; position is then the next one
    // (size() once the program has ended), and executedSteps has grown by the
    // instructions executed, the failing one included. Returns the error that
    // ended the execution, the instruction register then at its line (-1 for
    // that of "end", which resets the machine first). While the program goes
    // on, the caller writes the register.
    RunError execute(std::size_t& position, qint64 maxSteps, qint64& executedSteps, const Mode& mode);

    // The instructions at or after the lines stop a checked execution; kept
    // until the next build().
    void setStops(const std::vector<int>& lines);
    // Whether a checked execution stops before the instruction at position:
    // a breakpoint, or fewer than depth calls pending.
    bool stopsBefore(std::size_t position, std::size_t depth) const;

private:
    template <bool Plain, bool Checked, bool Recording>
    RunError run(std::size_t& position, qint64 maxSteps, qint64& executedSteps, std::size_t depth,
                 ExecutionRecord* record);
    // The execution cycle of the plain way.
    RunError executeInstruction(std::size_t& position);

    VirtualMachine* m_machine;
    const AnalysedProgram* m_program = nullptr;
    std::vector<Instruction> m_instructions;
    // Position of the instruction at or after each line from m_firstLine on.
    std::vector<int> m_positions;
    int m_firstLine = 0;
    std::deque<int> m_constants;
    // One flag per instruction.
    std::vector<unsigned char> m_stops;
};

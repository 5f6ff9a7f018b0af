#pragma once

#include "turtle/walkingturtle.h"
#include "vm/executionrecord.h"
#include "vm/virtualmachine.h"

#include <QtGlobal>

#include <cstddef>
#include <vector>

class Interpreter;

// Lets a run go back to any step it has executed. The machine is
// deterministic, so instead of every state the history keeps checkpoints of
// the whole state every interval steps, and reaches step s by restoring the
// last checkpoint at or before s and running forward from it. The interval
// grows when the checkpoints outgrow their budget, so that memory stays a
// small share of what the run itself holds.
//
// Steps are counted as the interpreter counts them since compile(): step s is
// the state once s instructions have executed. While it is attached, the
// history also records how many times each line has executed and which step
// appended each snapshot of the trace.
class ExecutionHistory
{
public:
    // What an input the run cannot replay did to the trace.
    enum TraceChange {
        TraceExtended,
        TraceReplaced,
    };

    // Checkpoints never take less than this share of memory (W3 included).
    static constexpr std::size_t MinimumBudget = 32u << 20;
    static constexpr qint64 InitialInterval = 65536;

    // A smaller first interval and budget make the thinning reachable in tests.
    ExecutionHistory(Interpreter& interpreter, WalkingTurtle& turtle, qint64 interval = InitialInterval,
                     std::size_t minimumBudget = MinimumBudget);
    ~ExecutionHistory();
    ExecutionHistory(const ExecutionHistory&) = delete;
    ExecutionHistory& operator=(const ExecutionHistory&) = delete;

    // Starts recording the program just compiled, from the current state.
    void start();
    // Stops recording and forgets everything.
    void clear();
    bool isActive() const { return m_active; }

    // Executes up to steps instructions from the step shown, as
    // Interpreter::advance does. Returns true while instructions remain.
    bool advance(qint64 steps);
    // As advance(), but stops before an instruction at a breakpoint or reached
    // with fewer than depth calls pending, as Interpreter::advanceChecked does.
    bool advanceChecked(qint64 steps, int depth);
    // Shows the state at step, clamped to [firstStep(), lastStep()].
    void seek(qint64 step);
    // An input the run cannot replay changed the state at the step shown: the
    // history restarts there, and steps before it can no longer be reached.
    void cut(TraceChange change);

    qint64 step() const { return m_step; }
    qint64 firstStep() const { return m_first; }
    qint64 lastStep() const { return m_last; }
    // The program ended (or failed) at lastStep().
    bool hasEnded() const { return m_ended; }

    // Executions of each line up to the step shown: index = line - 1, as many
    // entries as the last line that holds an instruction.
    std::vector<qint64> lineCounts() const;
    // Which step appended the snapshot, and its line; false when no step of
    // this run did.
    bool origin(std::size_t snapshot, TraceOrigins::Origin& origin) const;

    std::size_t memoryUsage() const;
    qint64 interval() const { return m_interval; }
    std::size_t checkpointCount() const { return m_checkpoints.size(); }

private:
    struct Checkpoint {
        qint64 step = 0;
        VirtualMachine::State machine;
        Turtle turtle;
        std::size_t traceLength = 0;
        std::size_t messageCount = 0;
        std::vector<qint64> counts;
        std::size_t bytes = 0;
    };

    // What every checkpoint takes, whatever the stacks and the program hold.
    static const std::size_t FixedBytes;

    bool forward(qint64 steps, bool checked, int depth);
    std::size_t checkpointBytes() const;
    void record(bool force);
    void restore(const Checkpoint& checkpoint);
    void thin();
    std::size_t budget() const;

    // Must not outlive the interpreter, which points at its record.
    Interpreter& m_interpreter;
    WalkingTurtle& m_turtle;
    ExecutionRecord m_record;
    std::vector<Checkpoint> m_checkpoints;
    // The snapshots beyond the step shown, up to the furthest step, the last
    // one first: going back moves them here rather than dropping them, so
    // that going forward again needs no replay of the drawing.
    WalkingTurtle::Trace m_future;
    // The trace's length at the step shown, as the run left it.
    std::size_t m_traceLength = 0;
    std::vector<int> m_lines;
    std::size_t m_checkpointBytes = 0;
    const qint64 m_initialInterval;
    const std::size_t m_minimumBudget;
    qint64 m_interval;
    qint64 m_step = 0;
    qint64 m_first = 0;
    qint64 m_last = 0;
    bool m_ended = false;
    bool m_active = false;
};

#include "executionhistory.h"

#include "frontend/interpreter.h"

#include <algorithm>

namespace {

// A copied std::deque holds at least its map and one block, even when empty.
constexpr std::size_t DequeOverhead = 576;

} // namespace

const std::size_t ExecutionHistory::FixedBytes = sizeof(Checkpoint) + 2 * DequeOverhead;

ExecutionHistory::ExecutionHistory(Interpreter& interpreter, WalkingTurtle& turtle, qint64 interval,
                                   std::size_t minimumBudget)
    : m_interpreter(interpreter)
    , m_turtle(turtle)
    , m_initialInterval(std::max<qint64>(interval, 1))
    , m_minimumBudget(minimumBudget)
    , m_interval(m_initialInterval)
{
}

ExecutionHistory::~ExecutionHistory()
{
    clear();
}

void ExecutionHistory::start()
{
    clear();
    m_interpreter.setRecord(&m_record);
    m_lines.clear();
    m_lines.reserve(m_interpreter.program().size());
    for (const auto& entry : m_interpreter.program()) {
        m_lines.push_back(entry.first);
    }
    m_step = m_first = m_last = m_interpreter.executedSteps();
    m_traceLength = m_turtle.trace().size();
    m_active = true;
    record(true);
}

void ExecutionHistory::clear()
{
    if (m_active) {
        m_interpreter.setRecord(nullptr);
    }
    m_active = false;
    m_ended = false;
    m_checkpoints = {};
    m_future = {};
    m_checkpointBytes = 0;
    m_interval = m_initialInterval;
    m_record.counts = {};
    m_record.origins.clear();
    m_lines = {};
    m_step = m_first = m_last = 0;
}

bool ExecutionHistory::advance(qint64 steps)
{
    return forward(steps, false, 0);
}

bool ExecutionHistory::advanceChecked(qint64 steps, int depth)
{
    return forward(steps, true, depth);
}

bool ExecutionHistory::forward(qint64 steps, bool checked, int depth)
{
    if (!m_active) {
        return checked ? m_interpreter.advanceChecked(steps, depth) : m_interpreter.advance(steps);
    }
    if (m_ended && m_step == m_last) {
        return false;
    }
    bool goesOn = true;
    qint64 left = steps;
    while (left > 0) {
        const qint64 next = m_checkpoints.back().step + m_interval;
        if (m_step >= next) {
            record(false);
            continue;
        }
        const qint64 slice = std::min(left, next - m_step);
        const qint64 before = m_interpreter.executedSteps();
        goesOn = checked ? m_interpreter.advanceChecked(slice, depth) : m_interpreter.advance(slice);
        const qint64 done = m_interpreter.executedSteps() - before;
        m_step += done;
        left -= done;
        // What the steps drew again is the front of what going back kept.
        for (std::size_t drawn = m_turtle.trace().size() - m_traceLength; drawn > 0 && !m_future.empty(); --drawn) {
            m_future.pop_back();
        }
        m_traceLength = m_turtle.trace().size();
        m_last = std::max(m_last, m_step);
        if (!goesOn) {
            m_ended = true;
            m_last = m_step;
            break;
        }
        // The next slice would execute its first instruction unchecked.
        if (checked && (m_interpreter.atBreakpoint() || m_interpreter.callDepth() < depth)) {
            break;
        }
    }
    if (goesOn && m_step >= m_checkpoints.back().step + m_interval) {
        record(false);
    }
    return goesOn;
}

void ExecutionHistory::seek(qint64 step)
{
    if (!m_active) {
        return;
    }
    step = std::clamp(step, m_first, m_last);
    if (step == m_step) {
        return;
    }
    auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), step,
        [](qint64 value, const Checkpoint& checkpoint) { return value < checkpoint.step; });
    const Checkpoint& nearest = *(after - 1);
    // Going forward from where the run stands is cheaper than from an earlier
    // checkpoint; a later one brings its part of the drawing back from m_future.
    if (step < m_step || m_step < nearest.step) {
        restore(nearest);
    }
    advance(step - m_step);
}

void ExecutionHistory::cut(TraceChange change)
{
    if (!m_active) {
        return;
    }
    if (change == TraceReplaced) {
        m_record.origins.clear();
    } else {
        m_record.origins.truncate(m_traceLength);
    }
    m_future = {};
    m_traceLength = m_turtle.trace().size();
    m_ended = m_ended && m_step == m_last;
    m_first = m_last = m_step;
    m_checkpoints.clear();
    m_checkpointBytes = 0;
    m_interval = m_initialInterval;
    record(true);
}

std::vector<qint64> ExecutionHistory::lineCounts() const
{
    std::vector<qint64> counts(m_lines.empty() ? 0 : static_cast<std::size_t>(m_lines.back()), 0);
    for (std::size_t position = 0; position < m_lines.size() && position < m_record.counts.size(); ++position) {
        counts[static_cast<std::size_t>(m_lines[position] - 1)] = m_record.counts[position];
    }
    return counts;
}

bool ExecutionHistory::origin(std::size_t snapshot, TraceOrigins::Origin& origin) const
{
    return m_active && snapshot < m_turtle.trace().size() && m_record.origins.find(snapshot, origin);
}

std::size_t ExecutionHistory::memoryUsage() const
{
    return m_checkpointBytes + (m_checkpoints.capacity() - m_checkpoints.size()) * sizeof(Checkpoint)
        + m_record.counts.capacity() * sizeof(qint64) + m_record.origins.memoryUsage()
        + m_lines.capacity() * sizeof(int);
}

std::size_t ExecutionHistory::checkpointBytes() const
{
    const VirtualMachine& machine = *m_interpreter.virtualMachine();
    return FixedBytes + (machine.stackSize() + machine.callDepth()) * sizeof(int) + m_record.counts.size() * sizeof(qint64);
}

// Runs that hold much may spend a quarter of it on going back, others a
// fixed amount; what the origins of the drawing take counts against it.
std::size_t ExecutionHistory::budget() const
{
    const VirtualMachine& machine = *m_interpreter.virtualMachine();
    const std::size_t runBytes = (m_turtle.trace().size() + m_future.size()) * sizeof(Turtle)
        + (machine.stackSize() + machine.callDepth()) * sizeof(int);
    const std::size_t recordBytes = m_record.origins.memoryUsage() + m_record.counts.capacity() * sizeof(qint64);
    const std::size_t quarter = runBytes / 4;
    return std::max(m_minimumBudget, quarter > recordBytes ? quarter - recordBytes : 0);
}

void ExecutionHistory::record(bool force)
{
    const std::size_t bytes = checkpointBytes();
    if (!force && m_checkpointBytes + bytes > budget()) {
        thin();
        if (m_checkpointBytes + bytes > budget()) {
            // Too big to keep beside the others: replays start earlier instead.
            while (m_checkpoints.back().step + m_interval <= m_step) {
                m_interval *= 2;
            }
            return;
        }
    }
    Checkpoint checkpoint;
    checkpoint.step = m_step;
    checkpoint.machine = m_interpreter.virtualMachine()->state();
    checkpoint.turtle = m_turtle;
    checkpoint.traceLength = m_turtle.trace().size();
    checkpoint.messageCount = m_interpreter.messages().size();
    checkpoint.counts = m_record.counts;
    checkpoint.bytes = bytes;
    m_checkpoints.push_back(std::move(checkpoint));
    m_checkpointBytes += bytes;
    // Copying the stacks and counts must cost little beside the steps between
    // two checkpoints: about a byte a step.
    while (m_interval < static_cast<qint64>(bytes - FixedBytes)) {
        m_interval *= 2;
    }
    thin();
}

// Keeps every other checkpoint, the first always, and doubles the interval,
// until the checkpoints fit their budget.
void ExecutionHistory::thin()
{
    while (m_checkpointBytes > budget() && m_checkpoints.size() > 1) {
        std::size_t kept = 0;
        m_checkpointBytes = 0;
        for (std::size_t index = 0; index < m_checkpoints.size(); index += 2) {
            m_checkpointBytes += m_checkpoints[index].bytes;
            if (index != kept) {
                m_checkpoints[kept] = std::move(m_checkpoints[index]);
            }
            ++kept;
        }
        m_checkpoints.resize(kept);
        m_interval *= 2;
    }
}

void ExecutionHistory::restore(const Checkpoint& checkpoint)
{
    m_interpreter.virtualMachine()->restore(checkpoint.machine);
    m_interpreter.restoreProgress(checkpoint.step, checkpoint.messageCount);
    const std::size_t length = m_turtle.trace().size();
    if (checkpoint.traceLength <= length) {
        m_turtle.truncate(checkpoint.traceLength, &m_future);
    } else {
        m_turtle.unstash(m_future, checkpoint.traceLength - length);
    }
    static_cast<Turtle&>(m_turtle) = checkpoint.turtle;
    m_record.counts = checkpoint.counts;
    m_traceLength = checkpoint.traceLength;
    m_step = checkpoint.step;
}

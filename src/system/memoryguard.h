#pragma once

#include <QtGlobal>

// Watches the memory a run makes the process hold, so that a script that
// pushes, calls or draws without end is stopped before the system kills the
// program, or refuses it memory, and the user's unsaved text goes with it.
// Created when a run starts: the memory held then is the baseline.
class MemoryGuard
{
public:
    MemoryGuard();

    // Bytes the process holds now, as the system counts them; 0 when unknown.
    static qint64 residentBytes();

    // Bytes the process may still take before it is refused memory or killed:
    // the lowest of half the machine's memory, the room left under the
    // address-space and data limits and under the control group's ceiling. KORVANE_RUN_MEMORY_LIMIT_MB, when set, replaces
    // all of them. -1 when nothing is known.
    static qint64 roomLeft();

    // Gives the memory freed by a large run back to the system, so that the
    // process shrinks to what it still uses.
    static void releaseFreedMemory();

    // Bytes the run may add to the baseline before it is stopped.
    qint64 limit() const { return m_limit; }
    // Bytes held beyond the baseline, and whether that is over the limit.
    qint64 used() const;
    // Over the limit, or near the address-space or data limit of the process,
    // which count reserved memory too.
    bool exceeded() const;

private:
    qint64 m_baseline;
    qint64 m_limit;
    qint64 m_addressBaseline;
    qint64 m_addressLimit;
    qint64 m_dataBaseline;
    qint64 m_dataLimit;
};

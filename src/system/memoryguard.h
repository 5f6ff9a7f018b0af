#pragma once

#include <QtGlobal>

#include <functional>

// Watches the memory the process holds, so that a script that pushes, calls or
// draws without end is stopped before the system kills the program, or refuses
// it memory, and the user's unsaved text goes with it. Everything counts: what
// the process holds (its resident memory, whoever allocated it) and what it is
// due to take (MemoryForecast).
class MemoryGuard
{
public:
    // Takes the ceiling and the process's limits as they stand now.
    MemoryGuard();

    // Bytes the process holds now, as the system counts them; 0 when unknown.
    static qint64 residentBytes();
    // What the process holds now and what it is due to take.
    static qint64 heldBytes();

    // Bytes the process may hold in all before a run is stopped:
    // KORVANE_RUN_MEMORY_LIMIT_MB when set, else the lowest of half the
    // machine's memory and what the control group's ceiling leaves it, less
    // what the window needs to go on. -1 when nothing is known.
    static qint64 ceiling();

    // Bytes the process may still take before it is stopped, refused memory
    // or killed: under the ceiling and under the address-space and data
    // limits. -1 when nothing is known.
    static qint64 roomLeft();

    // Gives the memory freed by a large run back to the system, so that the
    // process shrinks to what it still uses.
    static void releaseFreedMemory();

    // What the process holds, with what it is due to take, is over the
    // ceiling, or near the address-space or data limit of the process, which
    // count reserved memory too.
    bool exceeded() const;

private:
    qint64 m_ceiling;
    qint64 m_addressLimit;
    qint64 m_dataLimit;
};

// Memory an object is due to take and does not hold yet, which every guard
// counts as held: the window copies a long drawing a slice at a time, after
// the run that made it, and that copy must fit under the ceiling too. The
// function is called on the thread that asks the guard.
class MemoryForecast
{
public:
    explicit MemoryForecast(std::function<qint64()> bytes);
    ~MemoryForecast();
    MemoryForecast(const MemoryForecast&) = delete;
    MemoryForecast& operator=(const MemoryForecast&) = delete;

    // The sum of every forecast alive.
    static qint64 total();

private:
    std::function<qint64()> m_bytes;
};

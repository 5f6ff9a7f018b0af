#pragma once

#include <QtGlobal>

// Watches the memory a run makes the process hold, so that a script that
// pushes, calls or draws without end is stopped before the system kills the
// program, and the user's unsaved text with it. Created when a run starts: the
// memory held then is the baseline.
class MemoryGuard
{
public:
    MemoryGuard();

    // Bytes the process holds now, as the system counts them; 0 when unknown.
    static qint64 residentBytes();

    // Bytes the run may add to the baseline before it is stopped.
    qint64 limit() const { return m_limit; }
    // Bytes held beyond the baseline, and whether that is over the limit.
    qint64 used() const;
    bool exceeded() const { return used() > m_limit; }

private:
    qint64 m_baseline;
    qint64 m_limit;
};

#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class WalkingTurtle;

// One snapshot as the drawing sees it: integer position (y up) and pen flag.
struct TracePoint
{
    qint32 px;
    qint32 py;
    bool writing;

    int x() const { return px; }
    int y() const { return py; }
    bool isWriting() const { return writing; }
};

// The first size() points of a trace mirror, frozen: it stays valid and
// unchanged whatever the mirror or the walking turtle do afterwards, so a
// render thread may read it while the GUI thread goes on.
class TraceSnapshot
{
public:
    static constexpr int ChunkShift = 14;
    static constexpr std::size_t ChunkSize = std::size_t(1) << ChunkShift;
    struct Chunk
    {
        TracePoint points[ChunkSize];
    };

    TraceSnapshot() = default;
    TraceSnapshot(std::vector<std::shared_ptr<const Chunk>> chunks, std::size_t size)
        : m_chunks(std::move(chunks))
        , m_size(size)
    {
    }

    std::size_t size() const { return m_size; }
    const TracePoint& operator[](std::size_t i) const
    {
        return m_chunks[i >> ChunkShift]->points[i & (ChunkSize - 1)];
    }

private:
    std::vector<std::shared_ptr<const Chunk>> m_chunks;
    std::size_t m_size = 0;
};

// A compact copy of a walking turtle's trace, kept up to date by the GUI
// thread. The trace only grows while a run goes on, so syncing copies only the
// new snapshots. Renders read snapshots of the mirror instead of the trace
// itself: a deque may reallocate its block map on every append, and Clear,
// Open Image or a step back free its blocks, so the trace cannot be read from
// another thread; a mirror chunk is never freed while a snapshot holds it, and
// the GUI thread only writes into it beyond every snapshot taken.
class TraceMirror
{
public:
    enum class Change { None, Grown, Replaced };

    // Brings the mirror to the trace, copying at most `limit` new points.
    // `verifyAll` compares every mirrored point with the trace; otherwise a
    // sample of them (the trace is checked for being the same one that grew,
    // not re-read).
    Change sync(const WalkingTurtle* turtle, bool verifyAll, std::size_t limit = SIZE_MAX);
    void clear();

    std::size_t size() const { return m_size; }
    TraceSnapshot snapshot() const { return snapshot(m_size); }
    // The first `count` points at most.
    TraceSnapshot snapshot(std::size_t count) const;

private:
    using Chunk = TraceSnapshot::Chunk;

    void truncate(std::size_t size);
    const TracePoint& at(std::size_t i) const
    {
        return m_chunks[i >> TraceSnapshot::ChunkShift]->points[i & (TraceSnapshot::ChunkSize - 1)];
    }

    std::vector<std::shared_ptr<Chunk>> m_chunks;
    std::size_t m_size = 0;
};

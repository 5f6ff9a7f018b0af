#include "tracemirror.h"

#include "turtle/walkingturtle.h"

#include <algorithm>

namespace {

bool same(const TracePoint& point, const Turtle& snapshot)
{
    return point.px == snapshot.x() && point.py == snapshot.y() && point.writing == snapshot.isWriting();
}

} // namespace

void TraceMirror::clear()
{
    // Snapshots keep the chunks they hold.
    m_chunks.clear();
    m_size = 0;
}

void TraceMirror::truncate(std::size_t size)
{
    if (size == 0) {
        clear();
        return;
    }
    m_chunks.resize((size + TraceSnapshot::ChunkSize - 1) >> TraceSnapshot::ChunkShift);
    // The last chunk will be written again from `size` on, where an older
    // snapshot may still read: write into a copy.
    if (size & (TraceSnapshot::ChunkSize - 1)) {
        m_chunks.back() = std::make_shared<Chunk>(*m_chunks.back());
    }
    m_size = size;
}

TraceMirror::Change TraceMirror::sync(const WalkingTurtle* turtle, bool verifyAll, std::size_t limit)
{
    if (!turtle) {
        const bool had = m_size > 0;
        clear();
        return had ? Change::Replaced : Change::None;
    }
    const WalkingTurtle::Trace& trace = turtle->trace();
    Change change = Change::None;
    if (trace.size() < m_size) {
        truncate(trace.size());
        change = Change::Replaced;
    }
    if (m_size > 0) {
        const std::size_t last = m_size - 1;
        const std::size_t step = verifyAll ? 1 : std::max<std::size_t>(1, m_size / 64);
        std::size_t i = 0;
        bool equal = same(at(last), trace[last]);
        for (; equal && i < m_size; i += step) {
            equal = same(at(i), trace[i]);
        }
        if (!equal) {
            clear();
            change = Change::Replaced;
        }
    }
    if (trace.size() > m_size) {
        auto source = trace.cbegin() + std::ptrdiff_t(m_size);
        const std::size_t end = m_size + std::min(limit, trace.size() - m_size);
        while (m_size < end) {
            const std::size_t offset = m_size & (TraceSnapshot::ChunkSize - 1);
            if (offset == 0) {
                // Not zeroed first: every point is written below.
                m_chunks.push_back(std::shared_ptr<Chunk>(new Chunk));
            }
            Chunk& chunk = *m_chunks.back();
            const std::size_t count = std::min(TraceSnapshot::ChunkSize - offset, end - m_size);
            for (std::size_t k = 0; k < count; ++k, ++source) {
                chunk.points[offset + k] = TracePoint { source->x(), source->y(), source->isWriting() };
            }
            m_size += count;
        }
        if (change == Change::None) {
            change = Change::Grown;
        }
    }
    return change;
}

TraceSnapshot TraceMirror::snapshot(std::size_t count) const
{
    return TraceSnapshot(
        std::vector<std::shared_ptr<const Chunk>>(m_chunks.begin(), m_chunks.end()), std::min(count, m_size));
}

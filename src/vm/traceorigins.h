#pragma once

#include <QtGlobal>

#include <cstddef>
#include <memory>
#include <vector>

// Which step of a run appended each snapshot of the trace, and the line of its
// instruction. Snapshots that no step appended (arrow keys, a loaded trace)
// have no origin. Entries are stored as small deltas, mostly a byte each, with
// an index every BlockSize entries, so that a million-segment drawing costs a
// few megabytes and a look-up decodes at most one block.
class TraceOrigins
{
public:
    struct Origin {
        qint64 step = 0;
        int line = 0;
    };

    void clear();
    // A snapshot already known is left as it is (a replay appends it again);
    // a new one must come with a step not lower than those before it.
    void append(std::size_t snapshot, qint64 step, int line)
    {
        // The common entry inline: runs that draw call this at every segment.
        const qint64 steps = step - m_last.step;
        const qint64 lines = static_cast<qint64>(line) - m_last.line;
        if (snapshot == m_last.nextSnapshot && steps >= 0 && steps < ShortSteps && lines >= -ShortLines / 2
            && lines < ShortLines / 2 && m_count % BlockSize != 0 && m_size < m_capacity) {
            const auto zigzagged = static_cast<unsigned>(lines < 0 ? -2 * lines - 1 : 2 * lines);
            m_bytes[m_size++] = static_cast<unsigned char>(static_cast<unsigned>(steps) << 3 | zigzagged);
            m_last.nextSnapshot = snapshot + 1;
            m_last.step = step;
            m_last.line = line;
            ++m_count;
            return;
        }
        appendEntry(snapshot, step, line);
    }
    bool find(std::size_t snapshot, Origin& origin) const;
    // Forgets the origins of the snapshots from traceLength on.
    void truncate(std::size_t traceLength);

    std::size_t size() const { return m_count; }
    std::size_t memoryUsage() const;

private:
    static constexpr std::size_t BlockSize = 256;
    // One byte 0sssslll holds an entry that follows the previous snapshot
    // within ShortSteps steps and ShortLines / 2 lines (l zigzagged).
    static constexpr qint64 ShortSteps = 16;
    static constexpr qint64 ShortLines = 8;

    void appendEntry(std::size_t snapshot, qint64 step, int line);

    // The values the first entry of a block is a delta from.
    struct Base {
        std::size_t offset = 0;
        std::size_t nextSnapshot = 0;
        qint64 step = 0;
        int line = 0;
    };

    struct Cursor {
        std::size_t offset;
        std::size_t snapshot;
        qint64 step;
        int line;
    };

    // The block whose entries may hold snapshot.
    std::size_t blockFor(std::size_t snapshot) const;
    Cursor decode(std::size_t offset, const Base& previous) const;
    // Grown by doubling; m_size of its m_capacity bytes are used.
    std::unique_ptr<unsigned char[]> m_bytes;
    std::size_t m_capacity = 0;
    std::size_t m_size = 0;
    std::vector<Base> m_blocks;
    std::size_t m_count = 0;
    Base m_last;
};

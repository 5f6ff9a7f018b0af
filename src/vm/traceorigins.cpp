#include "traceorigins.h"

#include <algorithm>
#include <cstring>

namespace {

quint64 zigzag(qint64 value)
{
    return (static_cast<quint64>(value) << 1) ^ static_cast<quint64>(value >> 63);
}

qint64 unzigzag(quint64 value)
{
    return static_cast<qint64>(value >> 1) ^ -static_cast<qint64>(value & 1);
}

unsigned char* writeNumber(unsigned char* out, quint64 value)
{
    while (value >= 0x80) {
        *out++ = static_cast<unsigned char>(value | 0x80);
        value >>= 7;
    }
    *out++ = static_cast<unsigned char>(value);
    return out;
}

quint64 readNumber(const unsigned char* bytes, std::size_t& offset)
{
    quint64 value = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char byte = bytes[offset++];
        value |= static_cast<quint64>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
}

// An entry that does not fit in one byte: this byte, then three numbers.
constexpr unsigned char LongEntry = 0x80;

} // namespace

void TraceOrigins::clear()
{
    m_bytes.reset();
    m_capacity = 0;
    m_size = 0;
    m_blocks = {};
    m_count = 0;
    m_last = Base();
}

void TraceOrigins::appendEntry(std::size_t snapshot, qint64 step, int line)
{
    if (m_count > 0 && snapshot < m_last.nextSnapshot) {
        return;
    }
    if (m_count % BlockSize == 0) {
        m_last.offset = m_size;
        m_blocks.push_back(m_last);
    }
    // At most a byte and three numbers of ten bytes.
    if (m_capacity < m_size + 31) {
        m_capacity = std::max<std::size_t>(m_capacity * 2, 4096);
        std::unique_ptr<unsigned char[]> bytes(new unsigned char[m_capacity]);
        if (m_size > 0) {
            std::memcpy(bytes.get(), m_bytes.get(), m_size);
        }
        m_bytes = std::move(bytes);
    }
    unsigned char* out = m_bytes.get() + m_size;
    const quint64 steps = static_cast<quint64>(step - m_last.step);
    const quint64 lines = zigzag(static_cast<qint64>(line) - m_last.line);
    if (snapshot == m_last.nextSnapshot && steps < quint64(ShortSteps) && lines < quint64(ShortLines)) {
        *out++ = static_cast<unsigned char>(steps << 3 | lines);
    } else {
        *out++ = LongEntry;
        out = writeNumber(out, snapshot - m_last.nextSnapshot);
        out = writeNumber(out, steps);
        out = writeNumber(out, lines);
    }
    m_size = static_cast<std::size_t>(out - m_bytes.get());
    m_last.nextSnapshot = snapshot + 1;
    m_last.step = step;
    m_last.line = line;
    ++m_count;
}

TraceOrigins::Cursor TraceOrigins::decode(std::size_t offset, const Base& previous) const
{
    const unsigned char* bytes = m_bytes.get();
    Cursor cursor;
    cursor.offset = offset;
    const unsigned char first = bytes[cursor.offset++];
    quint64 snapshots = 0;
    quint64 steps = first >> 3;
    quint64 lines = first & 7;
    if (first == LongEntry) {
        snapshots = readNumber(bytes, cursor.offset);
        steps = readNumber(bytes, cursor.offset);
        lines = readNumber(bytes, cursor.offset);
    }
    cursor.snapshot = previous.nextSnapshot + snapshots;
    cursor.step = previous.step + static_cast<qint64>(steps);
    cursor.line = static_cast<int>(previous.line + unzigzag(lines));
    return cursor;
}

std::size_t TraceOrigins::blockFor(std::size_t snapshot) const
{
    const auto after = std::upper_bound(m_blocks.begin(), m_blocks.end(), snapshot,
        [](std::size_t value, const Base& block) { return value < block.nextSnapshot; });
    return after == m_blocks.begin() ? 0 : static_cast<std::size_t>(after - m_blocks.begin() - 1);
}

bool TraceOrigins::find(std::size_t snapshot, Origin& origin) const
{
    if (m_count == 0 || snapshot >= m_last.nextSnapshot) {
        return false;
    }
    const std::size_t block = blockFor(snapshot);
    const std::size_t end = block + 1 < m_blocks.size() ? m_blocks[block + 1].offset : m_size;
    Base previous = m_blocks[block];
    for (std::size_t offset = previous.offset; offset < end;) {
        const Cursor entry = decode(offset, previous);
        if (entry.snapshot >= snapshot) {
            if (entry.snapshot != snapshot) {
                return false;
            }
            origin.step = entry.step;
            origin.line = entry.line;
            return true;
        }
        offset = entry.offset;
        previous.nextSnapshot = entry.snapshot + 1;
        previous.step = entry.step;
        previous.line = entry.line;
    }
    return false;
}

void TraceOrigins::truncate(std::size_t traceLength)
{
    if (m_count == 0 || traceLength >= m_last.nextSnapshot) {
        return;
    }
    const std::size_t block = blockFor(traceLength);
    Base previous = m_blocks[block];
    std::size_t kept = block * BlockSize;
    std::size_t offset = previous.offset;
    while (offset < m_size) {
        const Cursor entry = decode(offset, previous);
        if (entry.snapshot >= traceLength) {
            break;
        }
        offset = entry.offset;
        previous.nextSnapshot = entry.snapshot + 1;
        previous.step = entry.step;
        previous.line = entry.line;
        ++kept;
    }
    m_size = offset;
    m_count = kept;
    m_blocks.resize((kept + BlockSize - 1) / BlockSize);
    m_last = previous;
}

std::size_t TraceOrigins::memoryUsage() const
{
    return m_capacity + m_blocks.capacity() * sizeof(Base);
}

#include "memoryguard.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

#include <cstdlib>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr qint64 Megabyte = 1024 * 1024;
constexpr qint64 Unknown = -1;
// What the window needs to go on after a run is stopped: the message box, the
// repaint of the drawing, the error list.
constexpr qint64 Reserve = 64 * Megabyte;

// Sizes of the process in bytes, as /proc/self/statm gives them.
struct ProcessSize {
    qint64 virtualSize = Unknown;
    qint64 resident = Unknown;
    qint64 data = Unknown;
};

ProcessSize processSize()
{
    ProcessSize size;
#if defined(Q_OS_LINUX)
    // Read without allocating: this is asked when memory runs out.
    char text[256];
    const int file = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        const ssize_t count = ::read(file, text, sizeof text - 1);
        ::close(file);
        if (count > 0) {
            text[count] = '\0';
            long long fields[6] = {};
            char* at = text;
            int parsed = 0;
            for (; parsed < 6; ++parsed) {
                char* end = nullptr;
                fields[parsed] = std::strtoll(at, &end, 10);
                if (end == at) {
                    break;
                }
                at = end;
            }
            if (parsed == 6) {
                const qint64 page = sysconf(_SC_PAGESIZE);
                size.virtualSize = fields[0] * page;
                size.resident = fields[1] * page;
                size.data = fields[5] * page;
            }
        }
    }
#elif defined(Q_OS_UNIX)
    // The peak, not the current size, but never less than it.
    struct rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) == 0) {
#if defined(Q_OS_DARWIN)
        size.resident = usage.ru_maxrss;
#else
        size.resident = qint64(usage.ru_maxrss) * 1024;
#endif
    }
#endif
    return size;
}

void lowerTo(qint64& room, qint64 candidate)
{
    if (candidate != Unknown && (room == Unknown || candidate < room)) {
        room = std::max<qint64>(candidate, 0);
    }
}

#if defined(Q_OS_UNIX)
qint64 limitOf(int resource)
{
    struct rlimit limit;
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return Unknown;
    }
    return qint64(std::min<rlim_t>(limit.rlim_cur, std::numeric_limits<qint64>::max()));
}

// Room left under a resource limit, given what the process already counts against it.
qint64 roomUnderLimit(int resource, qint64 held)
{
    const qint64 limit = limitOf(resource);
    return limit == Unknown || held == Unknown ? Unknown : limit - held;
}
#endif

#if defined(Q_OS_LINUX)
qint64 readNumber(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Unknown;
    }
    bool ok = false;
    const qint64 value = file.readAll().trimmed().toLongLong(&ok);
    // "max", or version 1's page-rounded largest number: no ceiling.
    return ok && value < (qint64(1) << 62) ? value : Unknown;
}

// Room left under a control group's ceiling, walking up to its parents, whose
// ceilings hold for it too.
qint64 roomUnder(const QString& root, QString path, const QString& maxFile, const QString& currentFile)
{
    qint64 room = Unknown;
    for (;;) {
        const QString directory = root + (path == QLatin1String("/") ? QString() : path);
        const qint64 ceiling = readNumber(directory + maxFile);
        if (ceiling != Unknown) {
            const qint64 current = readNumber(directory + currentFile);
            lowerTo(room, ceiling - (current == Unknown ? 0 : current));
        }
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0) {
            return room;
        }
        path.truncate(slash);
    }
}

// Room left under the memory ceilings of the process's control group:
// version 2, and the memory controller of version 1 where it is mounted.
qint64 roomInControlGroup()
{
    QFile file(QStringLiteral("/proc/self/cgroup"));
    if (!file.open(QIODevice::ReadOnly)) {
        return Unknown;
    }
    qint64 room = Unknown;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3) {
            continue;
        }
        const QString path = QString::fromLocal8Bit(fields.mid(2).join(':'));
        if (fields.at(0) == "0" && fields.at(1).isEmpty()) {
            // Mounted alone, or beside version 1 under "unified".
            for (const char* root : { "/sys/fs/cgroup", "/sys/fs/cgroup/unified" }) {
                lowerTo(room, roomUnder(QString::fromLatin1(root), path, QStringLiteral("/memory.max"),
                                        QStringLiteral("/memory.current")));
            }
        } else if (fields.at(1).split(',').contains("memory")) {
            lowerTo(room, roomUnder(QStringLiteral("/sys/fs/cgroup/memory"), path,
                                    QStringLiteral("/memory.limit_in_bytes"),
                                    QStringLiteral("/memory.usage_in_bytes")));
        }
    }
    return room;
}
#endif

qint64 freeHeapBytes()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    return qint64(mallinfo2().fordblks);
#else
    return 0;
#endif
}

std::mutex forecastsLock;
std::vector<const MemoryForecast*>& forecasts()
{
    static std::vector<const MemoryForecast*> all;
    return all;
}

} // namespace

MemoryGuard::MemoryGuard()
    : m_ceiling(ceiling())
    , m_addressLimit(Unknown)
    , m_dataLimit(Unknown)
{
#if defined(Q_OS_UNIX)
    m_addressLimit = limitOf(RLIMIT_AS);
    m_dataLimit = limitOf(RLIMIT_DATA);
#endif
}

bool MemoryGuard::exceeded() const
{
    const qint64 forecast = MemoryForecast::total();
    const auto beyond = [forecast](qint64 now, qint64 limit, qint64 reserve) {
        return limit != Unknown && now != Unknown && now + forecast > limit - reserve;
    };
    ProcessSize size = processSize();
    if (beyond(std::max<qint64>(size.resident, 0), m_ceiling, 0)) {
        // Memory freed since (a drawing cleared, an earlier run's stacks)
        // is counted as the process's until it is given back: slow with
        // gigabytes to give, but only once they are over the ceiling.
        releaseFreedMemory();
        size = processSize();
        if (beyond(std::max<qint64>(size.resident, 0), m_ceiling, 0)) {
            return true;
        }
    }
    // What the allocator holds free counts against the address-space and
    // data limits, but can be had again without growing.
    const qint64 reusable = freeHeapBytes();
    return beyond(size.virtualSize - reusable, m_addressLimit, Reserve)
        || beyond(size.data - reusable, m_dataLimit, Reserve);
}

qint64 MemoryGuard::residentBytes()
{
    return std::max<qint64>(processSize().resident, 0);
}

qint64 MemoryGuard::heldBytes()
{
    return residentBytes() + MemoryForecast::total();
}

qint64 MemoryGuard::ceiling()
{
    bool isSet = false;
    const qint64 megabytes = qEnvironmentVariableIntValue("KORVANE_RUN_MEMORY_LIMIT_MB", &isSet);
    if (isSet && megabytes > 0) {
        return megabytes * Megabyte;
    }

    qint64 ceiling = Unknown;
#if defined(Q_OS_UNIX) && defined(_SC_PHYS_PAGES)
    lowerTo(ceiling, qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / 2);
#endif
#if defined(Q_OS_LINUX)
    const qint64 room = roomInControlGroup();
    if (room != Unknown) {
        lowerTo(ceiling, residentBytes() + room);
    }
#endif
    return ceiling == Unknown ? Unknown : std::max<qint64>(ceiling - Reserve, 0);
}

qint64 MemoryGuard::roomLeft()
{
    qint64 room = Unknown;
    const qint64 total = ceiling();
    if (total != Unknown) {
        lowerTo(room, total - heldBytes());
    }
#if defined(Q_OS_UNIX)
    const ProcessSize size = processSize();
    lowerTo(room, roomUnderLimit(RLIMIT_AS, size.virtualSize));
    lowerTo(room, roomUnderLimit(RLIMIT_DATA, size.data));
#endif
    return room;
}

void MemoryGuard::releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

MemoryForecast::MemoryForecast(std::function<qint64()> bytes)
    : m_bytes(std::move(bytes))
{
    const std::lock_guard<std::mutex> lock(forecastsLock);
    forecasts().push_back(this);
}

MemoryForecast::~MemoryForecast()
{
    const std::lock_guard<std::mutex> lock(forecastsLock);
    auto& all = forecasts();
    all.erase(std::find(all.begin(), all.end(), this));
}

qint64 MemoryForecast::total()
{
    const std::lock_guard<std::mutex> lock(forecastsLock);
    qint64 sum = 0;
    for (const MemoryForecast* forecast : forecasts()) {
        sum += std::max<qint64>(forecast->m_bytes(), 0);
    }
    return sum;
}

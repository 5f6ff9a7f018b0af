#include "memoryguard.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <limits>

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
// Room left under a resource limit, given what the process already counts against it.
qint64 roomUnderLimit(int resource, qint64 held)
{
    struct rlimit limit;
    if (held == Unknown || getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return Unknown;
    }
    return qint64(std::min<rlim_t>(limit.rlim_cur, std::numeric_limits<qint64>::max())) - held;
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

} // namespace

MemoryGuard::MemoryGuard()
    : m_baseline(std::max<qint64>(residentBytes(), 0))
    , m_limit(roomLeft())
    , m_addressBaseline(0)
    , m_addressLimit(Unknown)
    , m_dataBaseline(0)
    , m_dataLimit(Unknown)
{
    if (m_limit == Unknown) {
        m_limit = std::numeric_limits<qint64>::max();
    } else if (qEnvironmentVariableIsEmpty("KORVANE_RUN_MEMORY_LIMIT_MB")) {
        m_limit = std::max<qint64>(m_limit - Reserve, 0);
    }
#if defined(Q_OS_UNIX)
    const ProcessSize size = processSize();
    m_addressBaseline = size.virtualSize;
    m_addressLimit = roomUnderLimit(RLIMIT_AS, size.virtualSize);
    m_dataBaseline = size.data;
    m_dataLimit = roomUnderLimit(RLIMIT_DATA, size.data);
#endif
}

bool MemoryGuard::exceeded() const
{
    const ProcessSize size = processSize();
    const auto over = [](qint64 now, qint64 baseline, qint64 room) {
        return room != Unknown && now != Unknown && now - baseline > room - Reserve;
    };
    return std::max<qint64>(size.resident, 0) - m_baseline > m_limit
        || over(size.virtualSize, m_addressBaseline, m_addressLimit) || over(size.data, m_dataBaseline, m_dataLimit);
}

qint64 MemoryGuard::residentBytes()
{
    return std::max<qint64>(processSize().resident, 0);
}

qint64 MemoryGuard::roomLeft()
{
    bool isSet = false;
    const qint64 megabytes = qEnvironmentVariableIntValue("KORVANE_RUN_MEMORY_LIMIT_MB", &isSet);
    if (isSet && megabytes > 0) {
        return megabytes * Megabyte;
    }

    qint64 room = Unknown;
#if defined(Q_OS_UNIX) && defined(_SC_PHYS_PAGES)
    lowerTo(room, qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / 2);
#endif
#if defined(Q_OS_UNIX)
    const ProcessSize size = processSize();
    lowerTo(room, roomUnderLimit(RLIMIT_AS, size.virtualSize));
    lowerTo(room, roomUnderLimit(RLIMIT_DATA, size.data));
#endif
#if defined(Q_OS_LINUX)
    lowerTo(room, roomInControlGroup());
#endif
    return room;
}

void MemoryGuard::releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

qint64 MemoryGuard::used() const
{
    return residentBytes() - m_baseline;
}

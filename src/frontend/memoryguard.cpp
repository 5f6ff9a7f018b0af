#include "memoryguard.h"

#include <QFile>
#include <QList>

#include <unistd.h>

namespace {

// Half of the machine's memory, or KORVANE_RUN_MEMORY_LIMIT_MB when that is set.
qint64 runMemoryLimit()
{
    bool isSet = false;
    const qint64 megabytes = qEnvironmentVariableIntValue("KORVANE_RUN_MEMORY_LIMIT_MB", &isSet);
    if (isSet && megabytes > 0) {
        return megabytes * 1024 * 1024;
    }
    return qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / 2;
}

} // namespace

MemoryGuard::MemoryGuard()
    : m_baseline(0)
    , m_limit(runMemoryLimit())
{
}

qint64 MemoryGuard::residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

qint64 MemoryGuard::used() const
{
    return residentBytes() - m_baseline;
}

#include "system/memoryguard.h"

#include <QFile>
#include <QtTest>

#include <cstring>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 Megabyte = 1024 * 1024;

// Memory the process really holds: every page written.
std::unique_ptr<char[]> touched(qint64 bytes)
{
    std::unique_ptr<char[]> block(new char[std::size_t(bytes)]);
    std::memset(block.get(), 1, std::size_t(bytes));
    return block;
}

} // namespace

// The guard that stops a run before the memory runs out, checked against
// memory this test takes itself.
class TestMemoryGuard : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void stopsOnceTheRunHoldsTheCeiling();
    void leavesRoomUnderTheAddressSpaceLimit();
};

void TestMemoryGuard::cleanup()
{
    qunsetenv("KORVANE_RUN_MEMORY_LIMIT_MB");
}

void TestMemoryGuard::stopsOnceTheRunHoldsTheCeiling()
{
    const qint64 before = MemoryGuard::residentBytes();
    QVERIFY(before > 0);
    // The ceiling counts the whole process, what it held before the run too.
    const qint64 ceiling = (before / Megabyte + 64) * Megabyte;
    qputenv("KORVANE_RUN_MEMORY_LIMIT_MB", QByteArray::number(ceiling / Megabyte));
    QCOMPARE(MemoryGuard::ceiling(), ceiling);
    const qint64 room = MemoryGuard::roomLeft();
    QVERIFY2(room > 56 * Megabyte && room <= 64 * Megabyte, qPrintable(QString::number(room / Megabyte)));

    const MemoryGuard guard;
    std::vector<std::unique_ptr<char[]>> blocks;
    blocks.push_back(touched(32 * Megabyte));
    QVERIFY2(!guard.exceeded(), qPrintable(QString::number(MemoryGuard::heldBytes() / Megabyte)));
    blocks.push_back(touched(48 * Megabyte));
    QVERIFY(guard.exceeded());
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers keep freed memory in quarantine: the process does not shrink");
#endif
    blocks.pop_back();
    MemoryGuard::releaseFreedMemory();
    QVERIFY(!guard.exceeded());

    // What a copy of the drawing is about to take counts as held.
    {
        const MemoryForecast copy([] { return 48 * Megabyte; });
        QVERIFY(guard.exceeded());
    }
    QVERIFY(!guard.exceeded());

    // Freed and given back, the process shrinks to what it held.
    blocks.clear();
    MemoryGuard::releaseFreedMemory();
    QVERIFY2(MemoryGuard::residentBytes() < before + 16 * Megabyte,
             qPrintable(QString::number(MemoryGuard::residentBytes() / Megabyte)));

    // Without a ceiling given, never more than half the machine.
    qunsetenv("KORVANE_RUN_MEMORY_LIMIT_MB");
    QVERIFY(MemoryGuard::ceiling() > 0);
    QVERIFY(MemoryGuard::ceiling() <= qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / 2);
}

// Under an address-space limit the system refuses memory long before the
// machine runs out: the guard stops the run with room to spare for the window.
void TestMemoryGuard::leavesRoomUnderTheAddressSpaceLimit()
{
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers reserve the address space in their own way");
#endif
    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_AS, &saved), 0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    QVERIFY(statm.open(QIODevice::ReadOnly));
    const qint64 size = statm.readAll().split(' ').at(0).toLongLong() * sysconf(_SC_PAGESIZE);
    struct rlimit limited = saved;
    limited.rlim_cur = rlim_t(size + 512 * Megabyte);
    QCOMPARE(setrlimit(RLIMIT_AS, &limited), 0);
    const auto restore = qScopeGuard([&saved] { setrlimit(RLIMIT_AS, &saved); });

    const qint64 room = MemoryGuard::roomLeft();
    QVERIFY2(room > 480 * Megabyte && room <= 512 * Megabyte, qPrintable(QString::number(room / Megabyte)));
    const MemoryGuard guard;
    std::vector<std::unique_ptr<char[]>> blocks;
    blocks.push_back(touched(128 * Megabyte));
    QVERIFY(!guard.exceeded());
    while (!guard.exceeded()) {
        blocks.push_back(touched(32 * Megabyte));
        // The system would refuse the next blocks well before 512 MB.
        QVERIFY(blocks.size() < 13);
    }
    QVERIFY(qint64(blocks.size() - 1) * 32 * Megabyte + 128 * Megabyte > 256 * Megabyte);
}

QTEST_GUILESS_MAIN(TestMemoryGuard)
#include "tst_memoryguard.moc"

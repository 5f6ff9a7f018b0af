#include "memorysafety.h"

#include "frontend/memoryguard.h"

namespace {

// Bytes of memory per byte of file once opened, measured with lines of about
// ten characters: the editor's document, its layout and colours for a script;
// the snapshots of the drawing for a trace.
constexpr qint64 ScriptFactor = 40;
constexpr qint64 TraceFactor = 4;

} // namespace

QString MemorySafety::refusal(FileKind kind, qint64 fileSize)
{
    const qint64 needed = fileSize * (kind == Script ? ScriptFactor : TraceFactor);
    const qint64 room = MemoryGuard::roomLeft();
    if (room < 0 || needed <= room) {
        return QString();
    }
    constexpr qint64 Megabyte = 1024 * 1024;
    return tr("The file is too large for the memory left: opening it would take about %L1 MB, and %L2 MB "
              "are left.")
        .arg(needed / Megabyte)
        .arg(room / Megabyte);
}

QString MemorySafety::outOfMemory()
{
    return tr("There was not enough memory: nothing was changed.");
}

void MemorySafety::releaseFreedMemory()
{
    MemoryGuard::releaseFreedMemory();
}

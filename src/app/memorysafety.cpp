#include "memorysafety.h"

#include "system/memoryguard.h"
#include "turtle/walkingturtle.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <stdexcept>

namespace {

// Bytes of memory per byte of file once opened, measured with lines of about
// ten characters: the editor's document, its layout and colours for a script;
// the snapshots of the drawing for a trace.
constexpr qint64 ScriptFactor = 40;
constexpr qint64 TraceFactor = 4;

QString fileError(const QString& path, const QString& reason)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

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

bool MemorySafety::readScript(const QString& path, QString& text, QString& error)
{
    QFile file(path);
    error = refusal(Script, file.size());
    if (!error.isEmpty()) {
        return false;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = fileError(path, file.errorString());
        return false;
    }
    if (!attempt([&] { text = QTextStream(&file).readAll(); })) {
        error = outOfMemory();
        return false;
    }
    return true;
}

bool MemorySafety::readTrace(const QString& path, WalkingTurtle& turtle, qint64& unreadLines, QString& error)
{
    QFile file(path);
    error = refusal(Trace, file.size());
    if (!error.isEmpty()) {
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = fileError(path, file.errorString());
        return false;
    }
    try {
        if (!attempt([&] { turtle = WalkingTurtle::readTrace(file, &unreadLines); })) {
            error = outOfMemory();
            return false;
        }
    } catch (const std::runtime_error&) {
        error = fileError(path, file.errorString());
        return false;
    }
    return true;
}

#include "datalocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QStringList dataRoots()
{
    QStringList roots;
    if (QCoreApplication::instance()) {
        const QDir binDir(QCoreApplication::applicationDirPath());
        roots << binDir.path();
        // An installed tree that was moved (or unpacked under another root)
        // still holds its data at the same place relative to its executables.
        roots << QDir::cleanPath(binDir.filePath(QStringLiteral(KORVANE_DATADIR_FROM_BINDIR)));
    }
    roots << QStringLiteral(KORVANE_DATADIR);
    return roots;
}

} // namespace

QString locateDataFile(const QString& relativePath)
{
    if (QFileInfo(relativePath).isAbsolute() || QFileInfo::exists(relativePath)) {
        return relativePath;
    }

    for (const QString& root : dataRoots()) {
        const QString candidate = QDir(root).filePath(relativePath);
        if (QFileInfo::exists(candidate)) {
            return QDir::cleanPath(candidate);
        }
    }
    return relativePath;
}

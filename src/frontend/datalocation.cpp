#include "datalocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString locateDataFile(const QString& relativePath)
{
    if (QFileInfo(relativePath).isAbsolute() || QFileInfo::exists(relativePath)) {
        return relativePath;
    }

    QStringList roots;
    if (QCoreApplication::instance()) {
        roots << QCoreApplication::applicationDirPath();
    }
    roots << QStringLiteral(KORVANE_DATADIR);

    for (const QString& root : roots) {
        const QString candidate = QDir(root).filePath(relativePath);
        if (QFileInfo::exists(candidate)) {
            return QDir::cleanPath(candidate);
        }
    }
    return relativePath;
}

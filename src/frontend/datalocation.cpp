#include "datalocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QStringList dataRoots()
{
    QStringList roots;
    if (QCoreApplication::instance()) {
        roots << QCoreApplication::applicationDirPath();
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

void installDataSearchPaths()
{
    QStringList paths { QStringLiteral("Ressources") };
    for (const QString& root : dataRoots()) {
        paths << QDir(root).filePath(QStringLiteral("Ressources"));
    }
    QDir::setSearchPaths(QStringLiteral("Ressources"), paths);
}

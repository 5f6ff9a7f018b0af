#include "filechoice.h"

#include <QFile>
#include <QFileInfo>

FileChoice::FileChoice(const QStringList& paths)
{
    for (const QString& path : paths) {
        QString& slot = isTrace(path) ? m_trace : m_script;
        if (slot.isEmpty()) {
            slot = path;
        } else {
            m_notOpened << path;
        }
    }
}

bool FileChoice::isTrace(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("res")) {
        return true;
    }
    if (suffix == QLatin1String("tur")) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readLine(64).trimmed() == "Tur=Res";
}

#include "filechoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FileChoice::FileChoice(const QStringList& paths, MissingScript missing)
{
    for (const QString& path : paths) {
        QString& slot = isTrace(path) ? m_trace : m_script;
        if (slot.isEmpty()) {
            slot = path;
        } else {
            m_notOpened << path;
        }
    }
    m_newScript = missing == OpenedAsNew && !m_script.isEmpty() && !QFileInfo::exists(m_script);
}

QString FileChoice::notOpenedReport() const
{
    QStringList lines;
    for (const QString& path : m_notOpened) {
        lines << tr("%1: not opened, Korvane opens one script and one turtle image at a time.")
                     .arg(QDir::toNativeSeparators(path));
    }
    return lines.join(QLatin1Char('\n'));
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

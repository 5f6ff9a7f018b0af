#include "scripttitle.h"

QString ScriptTitle::windowTitle(const QString& path, bool modified)
{
    QString title = QCoreApplication::applicationName();
    if (!path.isEmpty()) {
        title += QStringLiteral(" - ") + fileName(path);
    }
    if (modified) {
        title += QLatin1Char('*');
    }
    return title;
}

QString ScriptTitle::saveQuestion(const QString& path)
{
    if (path.isEmpty()) {
        return tr("Do you want to save the untitled script?");
    }
    return tr("Do you want to save the changes to %1?").arg(fileName(path));
}

QString ScriptTitle::fileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

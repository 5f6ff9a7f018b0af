#include "prompts.h"

#include <QDir>

void Prompts::warn(const QString& heading, const QString& sentence, const QString& detail)
{
    QString text = QStringLiteral("<p><strong>%1</strong></p>%2").arg(heading, sentence);
    if (!detail.isEmpty()) {
        text += QStringLiteral("<p>%1</p>").arg(detail.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    }
    warning(text);
}

QString Prompts::chooseFolder(const QString& current)
{
    const QString chosen = existingFolder(tr("Select Default Directory"), current);
    if (chosen.isEmpty()) {
        return current;
    }
    QString folder = QDir::fromNativeSeparators(chosen);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

#include "message.h"

#include "messagecatalogue.h"

Message::Message(const MessageCatalogue* catalogue, int code, int line)
    : m_catalogue(catalogue)
    , m_code(code)
    , m_line(line)
{
}

QString Message::text() const
{
    const QString lineText = QString::number(m_line);
    if (!m_catalogue || !m_catalogue->contains(m_code)) {
        // A catalogue without this code must not take the program down.
        return QStringLiteral("Message %1 (no text in the catalogue) at line %2").arg(m_code).arg(lineText);
    }
    QString text = m_catalogue->text(m_code);
    text.replace(QLatin1String("$L"), lineText);
    return text;
}

#include "messagecatalogue.h"

#include <QFile>
#include <QTextStream>

#include <stdexcept>

MessageCatalogue::MessageCatalogue(const QString& path)
    : m_path(path)
{
    loadFile(m_path, m_texts);
}

void MessageCatalogue::setLanguage(const QString& language)
{
    m_languageTexts.clear();

    const int dot = m_path.lastIndexOf(QLatin1Char('.'));
    const QString stem = m_path.left(dot);
    const QString extension = dot < 0 ? QString() : m_path.mid(dot + 1);
    const QString shortCode = language.section(QLatin1Char('_'), 0, 0);

    // The short code first ("fr"), then the full one ("fr_CA") overriding it.
    for (const QString& code : { shortCode, language }) {
        try {
            loadFile(stem + QLatin1Char('-') + code + QLatin1Char('.') + extension, m_languageTexts);
        } catch (const std::runtime_error&) {
            // A missing language file leaves the base texts in use.
        }
    }
}

QString MessageCatalogue::text(int code) const
{
    const auto translated = m_languageTexts.find(code);
    if (translated != m_languageTexts.end()) {
        return translated->second;
    }
    return m_texts.at(code);
}

bool MessageCatalogue::contains(int code) const
{
    return m_languageTexts.count(code) != 0 || m_texts.count(code) != 0;
}

void MessageCatalogue::loadFile(const QString& path, std::map<int, QString>& texts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw std::runtime_error("Error: Cannot load the messages file.");
    }

    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith(QLatin1String("//"))) {
            continue;
        }
        const int separator = line.indexOf(QLatin1Char(';'));
        bool isCode = false;
        const int code = line.left(separator).toInt(&isCode, 10);
        if (!isCode) {
            continue;
        }
        texts[code] = separator < 0 ? QString() : line.mid(separator + 1).trimmed();
    }
}

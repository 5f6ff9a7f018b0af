#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

// The language of the texts on screen: Qt's own (standard buttons, the
// command line's help) and Korvane's, installed on the application together
// and removed when this object goes.
class Translation
{
public:
    // A two-letter code; an empty one, "en" or a language without a
    // translation leaves the source texts, which are English.
    void install(const QString& code);

    // The two-letter code of the system's language.
    static QString systemLanguage();

    // The codes of the languages Korvane speaks, as its Language menu offers them.
    static QStringList languages();

private:
    QTranslator m_qtTranslator;
    QTranslator m_appTranslator;
};

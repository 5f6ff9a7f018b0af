#pragma once

#include <QString>

#include <map>

// Message texts by code, read from "code;text" lines of a catalogue file, with
// per-language files beside it ("messages-fr.mes" for "fr").
class MessageCatalogue
{
public:
    // Throws std::runtime_error when the base file cannot be read.
    explicit MessageCatalogue(const QString& path);

    void setLanguage(const QString& language);

    // Throws std::out_of_range when neither the language nor the base texts hold the code.
    QString text(int code) const;
    bool contains(int code) const;

private:
    static void loadFile(const QString& path, std::map<int, QString>& texts);

    QString m_path;
    std::map<int, QString> m_texts;
    std::map<int, QString> m_languageTexts;
};

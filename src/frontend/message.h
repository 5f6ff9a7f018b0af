#pragma once

#include <QString>

class MessageCatalogue;

// One diagnostic: a message code and the script line it refers to (-1 for the
// whole script). Its text is looked up each time, so it follows the language.
class Message
{
public:
    Message(const MessageCatalogue* catalogue, int code, int line);

    int code() const { return m_code; }
    int line() const { return m_line; }
    // The same message about another line, as when edits move the line it names.
    Message atLine(int line) const { return Message(m_catalogue, m_code, line); }

    // The catalogue text with every "$L" replaced by the line. A code that the
    // catalogue lacks gets a fallback text that still names the code and line.
    QString text() const;

private:
    const MessageCatalogue* m_catalogue;
    int m_code;
    int m_line;
};

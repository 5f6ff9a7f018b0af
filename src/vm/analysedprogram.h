#pragma once

#include "instruction.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <utility>
#include <vector>

// The analysed program: for each instruction, in line order, its script line,
// its command and its argument text, and the line that the label of a jump or
// the procedure of a call resolved to. Held as one text of every argument and
// a few bytes beside it for each instruction, so that a script of millions of
// lines stays a fraction of the memory the text itself took.
class AnalysedProgram
{
public:
    // Lines come in increasing order.
    void append(int line, Command command, QStringView argument);
    // The target of the instruction at position named a label or a procedure
    // of that line; its argument text becomes argument, with the line number
    // in place of the name.
    void resolve(std::size_t position, int line, QStringView argument);
    // Room for that many instructions, taken from the system only as used.
    void reserve(std::size_t count);
    // Frees the memory too.
    void clear();

    // Positions count the instructions in line order.
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    int lineAt(std::size_t position) const { return m_entries[position].line; }
    Command commandAt(std::size_t position) const { return m_commands[position]; }
    // The command word of the command map.
    const QString& wordAt(std::size_t position) const;
    QStringView argumentAt(std::size_t position) const;
    // The list a handler gets: none for an empty text, otherwise the text
    // split at every ',', empty parts kept and nothing trimmed.
    QStringList argumentsAt(std::size_t position) const;
    // The line the target resolved to; null when it named no label or procedure.
    const int* resolvedTargetAt(std::size_t position) const;

private:
    struct Entry {
        qsizetype start;
        int length;
        int line;
    };

    std::vector<Entry> m_entries;
    std::vector<Command> m_commands;
    QString m_arguments;
    // By position: few instructions name a label or a procedure.
    std::vector<std::pair<std::size_t, int>> m_targets;
};

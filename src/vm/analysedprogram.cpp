#include "analysedprogram.h"

#include <algorithm>

void AnalysedProgram::append(int line, const QString& command, QStringView argument)
{
    // The words are those of the command map: the same few shared strings.
    auto word = std::find_if(m_commandWords.begin(), m_commandWords.end(),
        [&](const QString& known) { return known.constData() == command.constData() || known == command; });
    if (word == m_commandWords.end()) {
        word = m_commandWords.insert(word, command);
    }
    m_entries.push_back(Entry { m_arguments.size(), static_cast<int>(argument.size()), line });
    m_commands.push_back(static_cast<unsigned char>(word - m_commandWords.begin()));
    m_arguments.append(argument);
}

// The old text stays where it was: rewritten arguments are few and short.
void AnalysedProgram::setArgument(std::size_t position, QStringView argument)
{
    Entry& entry = m_entries[position];
    entry.start = m_arguments.size();
    entry.length = static_cast<int>(argument.size());
    m_arguments.append(argument);
}

void AnalysedProgram::reserve(std::size_t count)
{
    m_entries.reserve(count);
    m_commands.reserve(count);
}

void AnalysedProgram::clear()
{
    std::vector<Entry>().swap(m_entries);
    std::vector<unsigned char>().swap(m_commands);
    m_commandWords.clear();
    m_arguments = QString();
}

QStringView AnalysedProgram::argumentAt(std::size_t position) const
{
    const Entry& entry = m_entries[position];
    return QStringView(m_arguments).mid(entry.start, entry.length);
}

AnalysedProgram::value_type AnalysedProgram::entryAt(std::size_t position) const
{
    return { lineAt(position), { commandAt(position), argumentAt(position).toString() } };
}

AnalysedProgram::const_iterator AnalysedProgram::lower_bound(int line) const
{
    const auto found = std::lower_bound(
        m_entries.begin(), m_entries.end(), line, [](const Entry& entry, int value) { return entry.line < value; });
    return const_iterator(this, static_cast<std::size_t>(found - m_entries.begin()));
}

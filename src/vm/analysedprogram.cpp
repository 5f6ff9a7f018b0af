#include "analysedprogram.h"

#include "virtualmachine.h"

#include <algorithm>

void AnalysedProgram::append(int line, Command command, QStringView argument)
{
    m_entries.push_back(Entry { m_arguments.size(), static_cast<int>(argument.size()), line });
    m_commands.push_back(command);
    m_arguments.append(argument);
}

// The old text stays where it was: rewritten arguments are few and short.
void AnalysedProgram::resolve(std::size_t position, int line, QStringView argument)
{
    Entry& entry = m_entries[position];
    entry.start = m_arguments.size();
    entry.length = static_cast<int>(argument.size());
    m_arguments.append(argument);
    m_targets.emplace_back(position, line);
}

void AnalysedProgram::reserve(std::size_t count)
{
    m_entries.reserve(count);
    m_commands.reserve(count);
}

void AnalysedProgram::clear()
{
    std::vector<Entry>().swap(m_entries);
    std::vector<Command>().swap(m_commands);
    std::vector<std::pair<std::size_t, int>>().swap(m_targets);
    m_arguments = QString();
}

const QString& AnalysedProgram::wordAt(std::size_t position) const
{
    return VirtualMachine::commandWord(commandAt(position));
}

QStringView AnalysedProgram::argumentAt(std::size_t position) const
{
    const Entry& entry = m_entries[position];
    return QStringView(m_arguments).mid(entry.start, entry.length);
}

QStringList AnalysedProgram::argumentsAt(std::size_t position) const
{
    const QStringView text = argumentAt(position);
    return text.isEmpty() ? QStringList() : text.toString().split(QLatin1Char(','), Qt::KeepEmptyParts);
}

const int* AnalysedProgram::resolvedTargetAt(std::size_t position) const
{
    const auto found = std::lower_bound(m_targets.begin(), m_targets.end(), position,
        [](const std::pair<std::size_t, int>& target, std::size_t value) { return target.first < value; });
    return found != m_targets.end() && found->first == position ? &found->second : nullptr;
}

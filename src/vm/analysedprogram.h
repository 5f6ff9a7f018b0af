#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

// The analysed program: by script line, the command word and the argument
// text. Read as a map from line to (command, argument) whose entries are made
// when read; held as one text of every argument, 17 bytes beside it for each
// instruction, so that a script of millions of lines stays a fraction of the
// memory the text itself took.
class AnalysedProgram
{
public:
    using value_type = std::pair<int, std::pair<QString, QString>>;

    // Steps through the instructions forwards (Step 1) or backwards (Step -1).
    template <int Step>
    class Iterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = AnalysedProgram::value_type;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = value_type;

        // What -> gives: an entry made on the spot.
        struct Arrow {
            value_type entry;
            const value_type* operator->() const { return &entry; }
        };

        Iterator() = default;
        Iterator(const AnalysedProgram* program, std::size_t position)
            : m_program(program)
            , m_position(position)
        {
        }

        value_type operator*() const { return m_program->entryAt(index()); }
        Arrow operator->() const { return Arrow { **this }; }
        Iterator& operator++()
        {
            m_position += Step;
            return *this;
        }
        Iterator& operator--()
        {
            m_position -= Step;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_position == other.m_position; }
        bool operator!=(const Iterator& other) const { return m_position != other.m_position; }
        // The instruction's position in the program.
        std::size_t index() const { return Step > 0 ? m_position : m_position - 1; }

    private:
        const AnalysedProgram* m_program = nullptr;
        // Backwards, one past the instruction, so that rend() is 0.
        std::size_t m_position = 0;
    };

    using const_iterator = Iterator<1>;
    using iterator = const_iterator;
    using const_reverse_iterator = Iterator<-1>;

    // Lines come in increasing order; the command is a word of the machine's
    // command map.
    void append(int line, const QString& command, QStringView argument);
    void setArgument(std::size_t position, QStringView argument);
    // Room for that many instructions, taken from the system only as used.
    void reserve(std::size_t count);
    // Frees the memory too.
    void clear();

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    int lineAt(std::size_t position) const { return m_entries[position].line; }
    const QString& commandAt(std::size_t position) const { return m_commandWords[m_commands[position]]; }
    // The command as an index in commandWords(): a few distinct words.
    int commandIndexAt(std::size_t position) const { return m_commands[position]; }
    const std::vector<QString>& commandWords() const { return m_commandWords; }
    QStringView argumentAt(std::size_t position) const;
    value_type entryAt(std::size_t position) const;

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(this, size()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(this, 0); }
    // The instruction at the line, else the first one after it.
    const_iterator lower_bound(int line) const;

private:
    struct Entry {
        qsizetype start;
        int length;
        int line;
    };

    std::vector<Entry> m_entries;
    // An index in m_commandWords by instruction.
    std::vector<unsigned char> m_commands;
    std::vector<QString> m_commandWords;
    QString m_arguments;
};

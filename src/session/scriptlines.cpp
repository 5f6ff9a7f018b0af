#include "scriptlines.h"

#include "vm/virtualmachine.h"

#include <QSet>

namespace {

struct Statement {
    QStringView keyword;
    QStringView argument;
};

// The keyword and argument of a line, its comment dropped; a statement that
// lacks its semicolon is still read, as it is being typed.
Statement statementOf(QStringView line)
{
    const qsizetype comment = line.indexOf(QLatin1Char('#'));
    if (comment >= 0) {
        line.truncate(comment);
    }
    line = line.trimmed();
    const qsizetype semicolon = line.lastIndexOf(QLatin1Char(';'));
    if (semicolon >= 0) {
        line.truncate(semicolon);
    }
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        return { line.trimmed(), QStringView() };
    }
    return { line.left(colon).trimmed(), line.mid(colon + 1).trimmed() };
}

struct Words {
    QSet<QString> commands;
    QSet<QString> registers;
};

const Words& words()
{
    static const Words all = [] {
        VirtualMachine machine;
        Words found;
        for (const auto& command : machine.commands()) {
            found.commands.insert(command.first);
        }
        for (const auto& name : machine.registers()) {
            found.registers.insert(name.first);
        }
        return found;
    }();
    return all;
}

} // namespace

namespace ScriptLines {

bool holdsInstruction(QStringView line, int number)
{
    if (number == 1 && line == QLatin1String("Tur=Asm")) {
        return false;
    }
    const Statement statement = statementOf(line);
    if (statement.keyword.isEmpty()) {
        return false;
    }
    const QString keyword = statement.keyword.toString();
    // Registers are named in either case, commands only as the machine spells them.
    return words().commands.contains(keyword) || words().registers.contains(keyword.toUpper());
}

QString calledProcedure(QStringView line)
{
    const Statement statement = statementOf(line);
    return statement.keyword == QLatin1String("call") ? statement.argument.toString() : QString();
}

} // namespace ScriptLines

#include "interpreter.h"

#include "system/datalocation.h"
#include "messagecatalogue.h"
#include "turtle/walkingturtle.h"

#include <algorithm>
#include <climits>
#include <limits>

namespace {

enum AnalysisCode {
    EmptyScript = 100,
    MissingHeader = 101,
    MissingSemicolon = 102,
    UnknownKeyword = 103,
    BadLabelName = 104,
    BadProcedureName = 105,
    ProcedureBeforeEnd = 106,
    UnknownLabel = 210,
    UnknownProcedure = 211,
};

const QString Header = QStringLiteral("Tur=Asm");

// Letters of the ASCII alphabet and underscores, at least one.
bool isName(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_';
    });
}

} // namespace

QString Interpreter::defaultCataloguePath()
{
    return locateDataFile(QStringLiteral("Translations/messages/messages.mes"));
}

QString Interpreter::header()
{
    return Header;
}

Interpreter::Interpreter(const QString& cataloguePath)
    : m_catalogue(std::make_unique<MessageCatalogue>(cataloguePath))
    , m_virtualMachine(std::make_unique<VirtualMachine>())
    , m_executedSteps(0)
    , m_decoded(*m_virtualMachine)
    , m_plainExecution(false)
    , m_programHasEnd(false)
{
}

Interpreter::~Interpreter() = default;

void Interpreter::setWalkingTurtle(WalkingTurtle* turtle)
{
    m_turtle = turtle;
    m_virtualMachine->setTurtle(turtle);
}

VirtualMachine* Interpreter::virtualMachine()
{
    return m_virtualMachine.get();
}

bool Interpreter::compile(const QString& text)
{
    m_messages.clear();
    m_program.clear();
    m_labels.clear();
    m_procedures.clear();
    m_decoded.clear();
    m_executedSteps = 0;

    if (text.isEmpty()) {
        addMessage(EmptyScript, -1);
        return true;
    }

    m_programHasEnd = false;
    // At most one instruction a line; what is not used is never touched.
    m_program.reserve(static_cast<std::size_t>(text.count(QLatin1Char('\n'))) + 1);
    // Line by line through the text, without a copy of every line at once:
    // a long script would take several times its own size.
    bool result = true;
    int lineNumber = 0;
    for (qsizetype start = 0; start <= text.size(); ++lineNumber) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            end = text.size();
        }
        QStringView line = QStringView(text).mid(start, end - start);
        start = end + 1;
        if (lineNumber == 0) {
            if (line == Header) {
                continue;
            }
            addMessage(MissingHeader, -1);
        }
        const qsizetype comment = line.indexOf(QLatin1Char('#'));
        if (comment >= 0) {
            line.truncate(comment);
        }
        // Every line is analysed even after a failure, to report all problems at once.
        if (!compileLine(line.trimmed(), lineNumber + 1)) {
            result = false;
        }
    }

    resolveNames();

    m_labels.clear();
    m_procedures.clear();
    if (!result) {
        m_program.clear();
    }
    m_decoded.build(m_program);
    applyBreakpoints();
    setRecord(m_record);
    return result;
}

bool Interpreter::compileLine(QStringView line, int lineNumber)
{
    if (line.isEmpty()) {
        return true;
    }
    if (!line.endsWith(QLatin1Char(';'))) {
        addMessage(MissingSemicolon, lineNumber);
    }

    const qsizetype semicolon = line.lastIndexOf(QLatin1Char(';'));
    const QStringView statement = semicolon < 0 ? QStringView() : line.left(semicolon);
    const qsizetype colon = statement.indexOf(QLatin1Char(':'));
    const QString keyword = (colon < 0 ? statement : statement.left(colon)).trimmed().toString();
    const QStringView argument = colon < 0 ? QStringView() : statement.mid(colon + 1).trimmed();

    const auto& commands = m_virtualMachine->commands();
    const auto command = commands.find(keyword);
    if (command != commands.end()) {
        // The map's own word, shared rather than one more copy per line.
        m_program.append(lineNumber, command->first, argument);
        m_programHasEnd = m_programHasEnd || keyword == QLatin1String("end");
        return true;
    }

    if (keyword == QLatin1String("define")) {
        if (isName(argument)) {
            m_labels[argument.toString()] = lineNumber;
        } else {
            addMessage(BadLabelName, lineNumber);
        }
        return true;
    }

    if (keyword == QLatin1String("proc")) {
        if (!isName(argument)) {
            addMessage(BadProcedureName, lineNumber);
            return true;
        }
        // The main part must end before the first procedure starts.
        if (m_procedures.empty() && !m_programHasEnd) {
            addMessage(ProcedureBeforeEnd, lineNumber);
            return false;
        }
        m_procedures[argument.toString()] = lineNumber;
        return true;
    }

    const QString registerName = keyword.toUpper();
    if (m_virtualMachine->registers().count(registerName) != 0) {
        QString arguments = registerName;
        arguments.append(QLatin1Char(',')).append(argument);
        m_program.append(lineNumber, commands.find(QStringLiteral("setRegister"))->first, arguments);
        return true;
    }

    addMessage(UnknownKeyword, lineNumber);
    return false;
}

void Interpreter::addMessage(int code, int line)
{
    m_messages.emplace_back(m_catalogue.get(), code, line);
}

void Interpreter::resolveNames()
{
    for (std::size_t position = 0; position < m_program.size(); ++position) {
        const QString& command = m_program.commandAt(position);
        const int line = m_program.lineAt(position);

        if (command == QLatin1String("loop") || command.startsWith(QLatin1String("jmp"))) {
            QStringList parts = m_program.argumentAt(position).toString().split(QLatin1Char(','), Qt::KeepEmptyParts);
            const auto label = m_labels.find(parts.last().trimmed());
            if (label == m_labels.end()) {
                addMessage(UnknownLabel, line);
            } else {
                parts.last() = QString::number(label->second);
                m_program.setArgument(position, parts.join(QLatin1Char(',')));
            }
        } else if (command == QLatin1String("call")) {
            const auto procedure = m_procedures.find(m_program.argumentAt(position).trimmed().toString());
            if (procedure == m_procedures.end()) {
                addMessage(UnknownProcedure, line);
            } else {
                m_program.setArgument(position, QString::number(procedure->second));
            }
        }
    }
}

void Interpreter::executeInstruction(std::size_t& position)
{
    const int line = m_program.lineAt(position);
    const QStringView arguments = m_program.argumentAt(position);

    int& instructionRegister = m_virtualMachine->instructionRegister();
    instructionRegister = line;

    const QStringList args = arguments.isEmpty()
        ? QStringList()
        : arguments.toString().split(QLatin1Char(','), Qt::KeepEmptyParts);

    const auto found = m_virtualMachine->commands().find(m_program.commandAt(position));
    Q_ASSERT(found != m_virtualMachine->commands().end());
    const VirtualMachine::CommandHandler handler = found->second;

    ++m_executedSteps;
    const std::size_t traceLength = m_record && m_turtle ? m_turtle->trace().size() : 0;
    if (m_record) {
        ++m_record->counts[position];
    }
    try {
        (m_virtualMachine.get()->*handler)(args);
    } catch (const int& code) {
        addMessage(code, instructionRegister);
        position = m_program.size();
        return;
    }
    if (m_record && m_turtle && m_turtle->trace().size() != traceLength) {
        m_record->origins.append(m_turtle->trace().size() - 1, m_executedSteps, line);
    }

    if (handler == &VirtualMachine::end) {
        position = m_program.size();
    } else if (instructionRegister == line) {
        ++position;
    } else {
        // A label or "proc" line holds no instruction: go on at the first one after it.
        position = m_program.lower_bound(instructionRegister).index();
    }
}

void Interpreter::runToEnd()
{
    runToEnd(-1);
}

bool Interpreter::runToEnd(qint64 maxSteps)
{
    const qint64 limit = maxSteps < 0 ? std::numeric_limits<qint64>::max() : maxSteps;
    if (!m_plainExecution) {
        std::size_t position = 0;
        executeDecoded(position, limit);
        if (position != m_decoded.size()) {
            stopInterrupted(m_decoded.lineAt(position));
            return false;
        }
        m_virtualMachine->reset();
        return true;
    }

    qint64 executed = 0;
    std::size_t position = 0;
    while (position != m_program.size()) {
        if (executed == limit) {
            stopInterrupted(m_program.lineAt(position));
            return false;
        }
        executeInstruction(position);
        ++executed;
    }
    m_virtualMachine->reset();
    return true;
}

bool Interpreter::step()
{
    return advance(1);
}

bool Interpreter::advance(qint64 maxSteps)
{
    return advanceFrom(maxSteps, false, 0);
}

bool Interpreter::advanceChecked(qint64 maxSteps, int depth)
{
    return advanceFrom(maxSteps, true, static_cast<std::size_t>(std::max(depth, 0)));
}

bool Interpreter::advanceFrom(qint64 maxSteps, bool checked, std::size_t depth)
{
    std::size_t position;
    if (!m_plainExecution) {
        position = m_decoded.positionOf(m_virtualMachine->instructionRegister());
        const int code = checked ? m_decoded.executeChecked(position, maxSteps, m_executedSteps, depth, m_record)
                                 : m_decoded.execute(position, maxSteps, m_executedSteps, m_record);
        if (code != 0) {
            addMessage(code, m_virtualMachine->instructionRegister());
        }
    } else {
        position = nextPosition();
        for (qint64 executed = 0; executed < maxSteps && position != m_program.size(); ++executed) {
            if (checked && executed > 0
                && (m_stopLines.count(m_program.lineAt(position)) != 0 || m_virtualMachine->callDepth() < depth)) {
                break;
            }
            executeInstruction(position);
        }
    }
    if (position != m_program.size()) {
        m_virtualMachine->instructionRegister() = m_program.lineAt(position);
        return true;
    }
    m_virtualMachine->reset();
    return false;
}

void Interpreter::setBreakpoints(const std::vector<int>& lines)
{
    m_breakpoints = lines;
    applyBreakpoints();
}

void Interpreter::applyBreakpoints()
{
    m_stopLines.clear();
    std::vector<std::size_t> positions;
    for (const int line : m_breakpoints) {
        const auto found = m_program.lower_bound(line);
        if (found != m_program.cend()) {
            m_stopLines.insert(m_program.lineAt(found.index()));
            positions.push_back(m_decoded.positionOf(line));
        }
    }
    m_decoded.setStops(positions);
}

bool Interpreter::atBreakpoint() const
{
    const std::size_t position = nextPosition();
    return position != m_program.size() && m_stopLines.count(m_program.lineAt(position)) != 0;
}

int Interpreter::callDepth() const
{
    return static_cast<int>(std::min<std::size_t>(m_virtualMachine->callDepth(), INT_MAX));
}

bool Interpreter::interrupt()
{
    if (currentLine() == -1) {
        return false;
    }
    const std::size_t position = nextPosition();
    if (position == m_program.size()) {
        m_virtualMachine->reset();
        return false;
    }
    stopInterrupted(m_program.lineAt(position));
    return true;
}

void Interpreter::restart()
{
    m_virtualMachine->reset();
}

int Interpreter::currentLine() const
{
    return m_virtualMachine->instructionRegister();
}

const std::list<Message>& Interpreter::messages() const
{
    return m_messages;
}

DebugValueList Interpreter::debugValues() const
{
    return m_virtualMachine->debugInfo();
}

void Interpreter::setLanguage(const QString& language)
{
    m_catalogue->setLanguage(language);
}

qint64 Interpreter::executedSteps() const
{
    return m_executedSteps;
}

const Interpreter::Program& Interpreter::program() const
{
    return m_program;
}

std::size_t Interpreter::nextPosition() const
{
    return m_program.lower_bound(m_virtualMachine->instructionRegister()).index();
}

void Interpreter::stopInterrupted(int line)
{
    addMessage(Interrupted, line);
    m_virtualMachine->reset();
}

void Interpreter::executeDecoded(std::size_t& position, qint64 maxSteps)
{
    const int code = m_decoded.execute(position, maxSteps, m_executedSteps, m_record);
    if (code != 0) {
        addMessage(code, m_virtualMachine->instructionRegister());
    }
}

void Interpreter::setRecord(ExecutionRecord* record)
{
    m_record = record;
    if (m_record) {
        m_record->counts.assign(m_decoded.size(), 0);
        m_record->origins.clear();
    }
}

void Interpreter::restoreProgress(qint64 executedSteps, std::size_t messageCount)
{
    m_executedSteps = executedSteps;
    while (m_messages.size() > messageCount) {
        m_messages.pop_back();
    }
}

void Interpreter::setPlainExecution(bool plain)
{
    m_plainExecution = plain;
}

bool Interpreter::plainExecution() const
{
    return m_plainExecution;
}

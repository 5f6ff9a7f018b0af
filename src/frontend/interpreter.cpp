#include "interpreter.h"

#include "datalocation.h"
#include "messagecatalogue.h"
#include "turtle/walkingturtle.h"

#include <QRegularExpression>

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

bool isName(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("\\A[A-Za-z_]+\\z"));
    return pattern.match(text).hasMatch();
}

} // namespace

QString Interpreter::defaultCataloguePath()
{
    return locateDataFile(QStringLiteral("Translations/messages/messages.mes"));
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
        if (!compileLine(line.trimmed().toString(), lineNumber + 1)) {
            result = false;
        }
    }

    resolveNames();

    if (!result) {
        m_program.clear();
        m_labels.clear();
        m_procedures.clear();
    }
    m_decoded.build(m_program);
    applyBreakpoints();
    setRecord(m_record);
    return result;
}

bool Interpreter::compileLine(const QString& line, int lineNumber)
{
    if (line.isEmpty()) {
        return true;
    }
    if (!line.endsWith(QLatin1Char(';'))) {
        addMessage(MissingSemicolon, lineNumber);
    }

    const int semicolon = line.lastIndexOf(QLatin1Char(';'));
    const QString statement = semicolon < 0 ? QString() : line.left(semicolon);
    const int colon = statement.indexOf(QLatin1Char(':'));
    const QString keyword = (colon < 0 ? statement : statement.left(colon)).trimmed();
    const QString argument = colon < 0 ? QString() : statement.mid(colon + 1).trimmed();

    const auto command = m_virtualMachine->commands().find(keyword);
    if (command != m_virtualMachine->commands().end()) {
        // The map's own word, shared rather than one more copy per line.
        m_program.emplace_hint(m_program.end(), lineNumber, std::make_pair(command->first, argument));
        m_programHasEnd = m_programHasEnd || keyword == QLatin1String("end");
        return true;
    }

    const QString registerName = keyword.toUpper();
    if (m_virtualMachine->registers().count(registerName) != 0) {
        m_program[lineNumber] = { QStringLiteral("setRegister"), registerName + QLatin1Char(',') + argument };
        return true;
    }

    if (keyword == QLatin1String("define")) {
        if (isName(argument)) {
            m_labels[argument] = lineNumber;
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
        m_procedures[argument] = lineNumber;
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
    for (auto& entry : m_program) {
        const QString& command = entry.second.first;
        QString& argument = entry.second.second;

        if (command == QLatin1String("loop") || command.startsWith(QLatin1String("jmp"))) {
            QStringList parts = argument.split(QLatin1Char(','), Qt::KeepEmptyParts);
            const auto label = m_labels.find(parts.last().trimmed());
            if (label == m_labels.end()) {
                addMessage(UnknownLabel, entry.first);
            } else {
                parts.last() = QString::number(label->second);
                argument = parts.join(QLatin1Char(','));
            }
        } else if (command == QLatin1String("call")) {
            const auto procedure = m_procedures.find(argument.trimmed());
            if (procedure == m_procedures.end()) {
                addMessage(UnknownProcedure, entry.first);
            } else {
                argument = QString::number(procedure->second);
            }
        }
    }
}

void Interpreter::executeInstruction(Program::const_iterator& position)
{
    const int line = position->first;
    const QString& command = position->second.first;
    const QString& arguments = position->second.second;

    int& instructionRegister = m_virtualMachine->instructionRegister();
    instructionRegister = line;

    const QStringList args
        = arguments.isEmpty() ? QStringList() : arguments.split(QLatin1Char(','), Qt::KeepEmptyParts);

    const auto found = m_virtualMachine->commands().find(command);
    Q_ASSERT(found != m_virtualMachine->commands().end());
    const VirtualMachine::CommandHandler handler = found->second;

    ++m_executedSteps;
    const std::size_t traceLength = m_record && m_turtle ? m_turtle->trace().size() : 0;
    if (m_record) {
        ++m_record->counts[m_decoded.positionOf(line)];
    }
    try {
        (m_virtualMachine.get()->*handler)(args);
    } catch (const int& code) {
        addMessage(code, instructionRegister);
        position = m_program.cend();
        return;
    }
    if (m_record && m_turtle && m_turtle->trace().size() != traceLength) {
        m_record->origins.append(m_turtle->trace().size() - 1, m_executedSteps, line);
    }

    if (handler == &VirtualMachine::end) {
        position = m_program.cend();
    } else if (instructionRegister == line) {
        ++position;
    } else {
        // A label or "proc" line holds no instruction: go on at the first one after it.
        position = m_program.lower_bound(instructionRegister);
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
    auto position = m_program.cbegin();
    while (position != m_program.cend()) {
        if (executed == limit) {
            stopInterrupted(position->first);
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

bool Interpreter::finishAdvance(std::size_t position)
{
    if (position != m_decoded.size()) {
        m_virtualMachine->instructionRegister() = m_decoded.lineAt(position);
        return true;
    }
    m_virtualMachine->reset();
    return false;
}

bool Interpreter::advance(qint64 maxSteps)
{
    if (!m_plainExecution) {
        std::size_t position = m_decoded.positionOf(m_virtualMachine->instructionRegister());
        executeDecoded(position, maxSteps);
        return finishAdvance(position);
    }

    auto position = nextPosition();
    for (qint64 executed = 0; executed < maxSteps && position != m_program.cend(); ++executed) {
        executeInstruction(position);
    }
    if (position != m_program.cend()) {
        m_virtualMachine->instructionRegister() = position->first;
        return true;
    }
    m_virtualMachine->reset();
    return false;
}

bool Interpreter::advanceChecked(qint64 maxSteps, int depth)
{
    const auto minimum = static_cast<std::size_t>(std::max(depth, 0));
    if (!m_plainExecution) {
        std::size_t position = m_decoded.positionOf(m_virtualMachine->instructionRegister());
        const int code = m_decoded.executeChecked(position, maxSteps, m_executedSteps, minimum, m_record);
        if (code != 0) {
            addMessage(code, m_virtualMachine->instructionRegister());
        }
        return finishAdvance(position);
    }

    auto position = nextPosition();
    for (qint64 executed = 0; executed < maxSteps && position != m_program.cend(); ++executed) {
        if (executed > 0
            && (m_stopLines.count(position->first) != 0 || m_virtualMachine->callDepth() < minimum)) {
            break;
        }
        executeInstruction(position);
    }
    if (position != m_program.cend()) {
        m_virtualMachine->instructionRegister() = position->first;
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
            m_stopLines.insert(found->first);
            positions.push_back(m_decoded.positionOf(line));
        }
    }
    m_decoded.setStops(positions);
}

bool Interpreter::atBreakpoint() const
{
    const auto position = nextPosition();
    return position != m_program.cend() && m_stopLines.count(position->first) != 0;
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
    const auto position = nextPosition();
    if (position == m_program.cend()) {
        m_virtualMachine->reset();
        return false;
    }
    stopInterrupted(position->first);
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

Interpreter::Program::const_iterator Interpreter::nextPosition() const
{
    return m_program.lower_bound(m_virtualMachine->instructionRegister());
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

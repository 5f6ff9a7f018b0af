#include "timetravel.h"

#include "settings.h"
#include "session/executionhistory.h"
#include "session/runsession.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qeditor.h"
#include "widgets/qtimelinebar.h"

#include <QAction>
#include <QTextDocument>

TimeTravel::TimeTravel(RunSession* session, const Parts& parts, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_parts(parts)
{
    parts.executionCounts->setChecked(Settings().executionCounts());

    connect(parts.stepBack, &QAction::triggered, session, &RunSession::stepBack);
    connect(parts.timeline, &QTimelineBar::stepChosen, session, &RunSession::seek);
    connect(parts.executionCounts, &QAction::toggled, this, [this](bool shown) {
        Settings().setExecutionCounts(shown);
        showCounts();
    });
    for (auto signal : { &RunSession::advanced, &RunSession::finished, &RunSession::historyChanged }) {
        connect(session, signal, this, &TimeTravel::refresh);
    }
    connect(session, &RunSession::stateChanged, this, &TimeTravel::refresh);

    // Highlighting marks the text as changed without changing a character.
    connect(parts.editor->document(), &QTextDocument::contentsChange, session, [session](int, int removed, int added) {
        if (removed != 0 || added != 0) {
            session->forgetRun();
        }
    });
    connect(parts.outputArea, &QTurtleOutputArea::turtleSteered, session, [session] { session->cutHistory(false); });
    connect(parts.outputArea, &QTurtleOutputArea::snapshotClicked, this, &TimeTravel::pick);
    parts.outputArea->setSnapshotToolTip([this](int snapshot) { return describe(snapshot); });
    refresh();
}

void TimeTravel::setLanguage(const QString& code)
{
    QLocale locale;
    const QLocale language(code.isEmpty() ? QStringLiteral("en") : code);
    // The system's own conventions when they are of the same language.
    if (locale.language() != language.language()) {
        locale = language;
    }
    m_parts.editor->setLocale(locale);
    m_parts.timeline->setNumberLocale(locale);
    m_parts.timeline->retranslate();
    showCounts();
}

void TimeTravel::refresh()
{
    const RunSession::State state = m_session->state();
    const ExecutionHistory* history = m_session->history();
    const bool travels = m_session->canTravel();
    m_parts.stepBack->setEnabled(m_session->canStepBack());
    m_parts.timeline->setVisible(travels || (history && m_session->isDebugging()));
    m_parts.timeline->setEnabled(travels && state != RunSession::Running);
    if (history) {
        m_parts.timeline->setSteps(history->firstStep(), history->lastStep(), history->step());
    }
    // A run to the end shows its counts once it has ended.
    if (state != RunSession::Running) {
        showCounts();
    }
}

void TimeTravel::showCounts()
{
    const ExecutionHistory* history = m_session->history();
    QVector<qint64> counts;
    if (history && m_parts.executionCounts->isChecked()) {
        const std::vector<qint64> byLine = history->lineCounts();
        counts = QVector<qint64>(byLine.cbegin(), byLine.cend());
    }
    m_parts.editor->setLineCounts(counts);
}

QString TimeTravel::describe(int snapshot) const
{
    const ExecutionHistory* history = m_session->history();
    if (!history) {
        return QString();
    }
    TraceOrigins::Origin origin;
    if (!history->origin(std::size_t(snapshot), origin)) {
        return tr("Drawn outside this run");
    }
    const QLocale locale = m_parts.editor->locale();
    return tr("Line %1, step %2").arg(QString::number(origin.line), locale.toString(origin.step));
}

void TimeTravel::pick(int snapshot)
{
    const ExecutionHistory* history = m_session->history();
    TraceOrigins::Origin origin;
    if (!history || !history->origin(std::size_t(snapshot), origin)) {
        return;
    }
    // The step first: showing it moves the editor to the line due next.
    m_session->seek(origin.step);
    m_parts.editor->goToLine(origin.line);
}

#include "timetravel.h"

#include "settings.h"
#include "session/executionhistory.h"
#include "session/runsession.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qeditor.h"
#include "widgets/qtimelinebar.h"

#include "ui_mainwindow.h"

#include <QTextDocument>

TimeTravel::TimeTravel(RunSession* session, Ui::MainWindowClass& ui, QTurtleOutputArea* outputArea,
                       QTimelineBar* timeline, QEditor* editor, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_ui(ui)
    , m_editor(editor)
    , m_timeline(timeline)
{
    ui.actionExecution_Counts->setChecked(Settings().executionCounts());

    connect(ui.actionStep_Back, &QAction::triggered, session, &RunSession::stepBack);
    connect(m_timeline, &QTimelineBar::stepChosen, session, &RunSession::seek);
    connect(ui.actionExecution_Counts, &QAction::toggled, this, [this](bool shown) {
        Settings().setExecutionCounts(shown);
        showCounts();
    });
    for (auto signal : { &RunSession::advanced, &RunSession::finished, &RunSession::historyChanged }) {
        connect(session, signal, this, &TimeTravel::refresh);
    }
    connect(session, &RunSession::stateChanged, this, &TimeTravel::refresh);

    // Highlighting marks the text as changed without changing a character.
    connect(editor->document(), &QTextDocument::contentsChange, session, [session](int, int removed, int added) {
        if (removed != 0 || added != 0) {
            session->forgetRun();
        }
    });
    connect(outputArea, &QTurtleOutputArea::turtleSteered, session, [session] { session->cutHistory(false); });
    connect(outputArea, &QTurtleOutputArea::snapshotClicked, this, &TimeTravel::pick);
    outputArea->setSnapshotToolTip([this](int snapshot) { return describe(snapshot); });
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
    m_editor->setLocale(locale);
    m_timeline->setNumberLocale(locale);
    m_timeline->retranslate();
    showCounts();
}

void TimeTravel::refresh()
{
    const RunSession::State state = m_session->state();
    const ExecutionHistory* history = m_session->history();
    const bool travels = m_session->canTravel();
    m_ui.actionStep_Back->setEnabled(m_session->canStepBack());
    m_timeline->setVisible(travels || (history && m_session->isDebugging()));
    m_timeline->setEnabled(travels && state != RunSession::Running);
    if (history) {
        m_timeline->setSteps(history->firstStep(), history->lastStep(), history->step());
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
    if (history && m_ui.actionExecution_Counts->isChecked()) {
        const std::vector<qint64> byLine = history->lineCounts();
        counts = QVector<qint64>(byLine.cbegin(), byLine.cend());
    }
    m_editor->setLineCounts(counts);
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
    const QLocale locale = m_editor->locale();
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
    m_editor->goToLine(origin.line);
}

#include "runstatus.h"

#include "widgets/qeditor.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>

RunStatus::RunStatus(RunSession* session, QStatusBar* bar, QEditor* editor, const QAction* stop,
                     const QAction* debug, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_bar(bar)
    , m_editor(editor)
    , m_stop(stop)
    , m_debug(debug)
    , m_label(new QLabel)
    , m_mode(new QLabel)
{
    m_label->setObjectName(QStringLiteral("runStatusLabel"));
    m_mode->setObjectName(QStringLiteral("runModeLabel"));
    bar->addWidget(m_label, 1);
    bar->addPermanentWidget(m_mode);
    connect(debug, &QAction::toggled, this, [this](bool on) {
        showMode();
        say(on ? tr("Debug mode on: Run waits before the first instruction")
               : tr("Debug mode off: Run goes on until a breakpoint or the end"));
    });
    // A new language reaches the label, not this object.
    m_label->installEventFilter(this);
    connect(session, &RunSession::statusChanged, this, &RunStatus::showStatus);
    connect(editor, &QEditor::editRefused, this, [this] {
        // The usual key, listed first.
        say(tr("Stop the run (%1) to edit").arg(m_stop->shortcut().toString(QKeySequence::NativeText)));
    });
    connect(editor, &QEditor::breakpointMoved, this, [this](int from, int to) {
        say(tr("Line %1 holds no instruction: the breakpoint is on line %2, the next instruction.").arg(from).arg(to));
    });
    connect(editor, &QEditor::breakpointRefused, this, [this](int line) {
        say(tr("No instruction on line %1 or after it: no breakpoint set.").arg(line));
    });
    showStatus();
    showMode();
}

QString RunStatus::describe(const RunSession::Status& status, const QLocale& locale)
{
    switch (status.kind) {
    case RunSession::Status::Editing:
        break;
    case RunSession::Status::Running:
        return tr("Running");
    case RunSession::Status::Paused:
        if (status.line < 1) {
            return tr("Paused before the first instruction");
        }
        return tr("Paused at line %1, step %2").arg(QString::number(status.line), locale.toString(status.step));
    case RunSession::Status::Finished:
        return status.step == 1 ? tr("Finished after 1 step")
                                : tr("Finished after %1 steps").arg(locale.toString(status.step));
    case RunSession::Status::Stopped:
        return status.line < 1 ? tr("Stopped") : tr("Stopped at line %1").arg(status.line);
    case RunSession::Status::Failed:
        return status.line < 1 ? tr("Error") : tr("Error at line %1").arg(status.line);
    }
    return tr("Editing");
}

bool RunStatus::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label && event->type() == QEvent::LanguageChange) {
        showStatus();
        showMode();
    }
    return QObject::eventFilter(watched, event);
}

void RunStatus::showStatus()
{
    const RunSession::Status status = m_session->status();
    // A refusal said while paused must not hide that the run has stopped since.
    if (status.kind != m_shownKind) {
        m_bar->clearMessage();
        m_shownKind = status.kind;
    }
    m_label->setText(describe(status, m_editor->locale()));
}

void RunStatus::showMode()
{
    m_mode->setText(m_debug->isChecked() ? tr("Debug mode") : QString());
    m_mode->setVisible(m_debug->isChecked());
}

void RunStatus::say(const QString& text)
{
    m_bar->showMessage(text, MessageTimeout);
}

#include "runcontrols.h"

#include "settings.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QToolBar>

namespace {

// Every key of the action in its tool tip, and in its menu entry when it has
// more than the one a menu shows.
void showKeys(QAction* action)
{
    QStringList keys;
    for (const QKeySequence& key : action->shortcuts()) {
        keys << key.toString(QKeySequence::NativeText);
    }
    const QString text = action->text().section(QLatin1Char('\t'), 0, 0);
    const QString plain = QString(text).remove(QLatin1Char('&'));
    action->setText(keys.size() > 1 ? text + QLatin1Char('\t') + keys.join(QStringLiteral(", ")) : text);
    action->setIconText(plain);
    action->setToolTip(keys.isEmpty() ? plain : QStringLiteral("%1 (%2)").arg(plain, keys.join(QStringLiteral(", "))));
}

QList<QKeySequence> keys(std::initializer_list<const char*> names)
{
    QList<QKeySequence> sequences;
    for (const char* name : names) {
        sequences << QKeySequence(QLatin1String(name));
    }
    return sequences;
}

} // namespace

RunControls::RunControls(RunSession* session, const Actions& actions, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_actions(actions)
    , m_speeds(new QActionGroup(this))
    , m_speedBox(new QComboBox)
{
    m_speedBox->setObjectName(QStringLiteral("speedComboBox"));
    m_speedBox->setFocusPolicy(Qt::StrongFocus);
    for (int speed = RunSession::Instant; speed <= RunSession::Slowest; ++speed) {
        actions.speeds.at(speed)->setData(speed);
        m_speeds->addAction(actions.speeds.at(speed));
        m_speedBox->addItem(QString(), speed);
    }
    m_speeds->setExclusive(true);
    actions.toolBar->addWidget(m_speedBox);

    connect(m_speeds, &QActionGroup::triggered, this,
            [this](QAction* action) { m_session->setSpeed(RunSession::Speed(action->data().toInt())); });
    connect(m_speedBox, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_session->setSpeed(RunSession::Speed(m_speedBox->itemData(index).toInt())); });
    connect(session, &RunSession::speedChanged, this, &RunControls::showSpeed);
    connect(session, &RunSession::speedChanged, this, [](RunSession::Speed speed) { Settings().setRunSpeed(speed); });
    connect(session, &RunSession::stateChanged, this, &RunControls::showState);

    connect(actions.continueRun, &QAction::triggered, session, &RunSession::continueRun);
    connect(actions.pause, &QAction::triggered, session, &RunSession::pause);
    connect(actions.stop, &QAction::triggered, session, &RunSession::stop);
    connect(actions.step, &QAction::triggered, session, &RunSession::step);
    connect(actions.stepOver, &QAction::triggered, session, &RunSession::stepOver);
    connect(actions.stepOut, &QAction::triggered, session, &RunSession::stepOut);
    QEditor* editor = actions.editor;
    connect(actions.restart, &QAction::triggered, this,
            [this, editor] { m_session->restart(editor->toPlainText(), m_actions.debug->isChecked()); });
    connect(actions.startStepping, &QAction::triggered, this,
            [this, editor] { m_session->startStepping(editor->toPlainText()); });
    connect(actions.runToCursor, &QAction::triggered, this, [this, editor] {
        m_session->runToLine(editor->toPlainText(), editor->textCursor().blockNumber() + 1);
    });
    // A change of the text by other means than typing ends the run that holds it.
    connect(editor, &QEditor::editRequested, session, &RunSession::end);

    actions.cleanStart->setChecked(Settings().cleanStart());
    session->setCleanStart(actions.cleanStart->isChecked());
    connect(actions.cleanStart, &QAction::toggled, this, [this](bool clean) {
        Settings().setCleanStart(clean);
        m_session->setCleanStart(clean);
    });

    session->setSpeed(Settings().runSpeed());
    showSpeed(session->speed());
    showState(session->state());
    retranslate();
}

void RunControls::retranslate()
{
    // The usual debugger keys first, so that the menus show them first: desktops
    // take the historical ones (Alt+F5 unmaximises, Ctrl+Alt+F5 changes the
    // console). F5 and F10 go to Run and Start Stepping while no program waits,
    // to Continue and Step while one does: one of each pair is ever enabled.
    m_actions.continueRun->setShortcuts(keys({ "F5", "Alt+Shift+F5" }));
    m_actions.stop->setShortcuts(keys({ "Shift+F5", "Alt+F5" }));
    m_actions.restart->setShortcuts(keys({ "Ctrl+Shift+F5", "Ctrl+Alt+F5" }));
    m_actions.startStepping->setShortcuts(keys({ "F10" }));
    m_actions.runToCursor->setShortcuts(keys({ "Ctrl+R" }));
    for (QAction* action : { m_actions.run, m_actions.debug, m_actions.continueRun, m_actions.pause, m_actions.stop,
                             m_actions.restart, m_actions.runToCursor, m_actions.startStepping, m_actions.stepBack,
                             m_actions.step, m_actions.stepOver, m_actions.stepOut, m_actions.toggleBreakpoint }) {
        showKeys(action);
    }
    m_speedBox->setAccessibleName(tr("Speed"));
    m_speedBox->setAccessibleDescription(tr("How fast a run is shown"));
    const QList<QAction*> speeds = m_speeds->actions();
    for (int index = 0; index < speeds.size(); ++index) {
        m_speedBox->setItemText(index, speeds.at(index)->text().remove(QLatin1Char('&')));
    }
}

void RunControls::showState(RunSession::State state)
{
    // A run to the end shows a modal dialog: the actions may stay as they are.
    if (state == RunSession::Running) {
        return;
    }
    const bool idle = state == RunSession::Idle;
    const bool paused = state == RunSession::Paused;
    m_actions.run->setEnabled(idle);
    m_actions.startStepping->setEnabled(idle);
    m_actions.runToCursor->setEnabled(idle || paused);
    m_actions.pause->setEnabled(state == RunSession::Animating);
    m_actions.stop->setEnabled(!idle);
    m_actions.restart->setEnabled(!idle);
    for (QAction* action : { m_actions.continueRun, m_actions.step, m_actions.stepOver, m_actions.stepOut }) {
        action->setEnabled(paused);
    }
}

void RunControls::showSpeed(RunSession::Speed speed)
{
    m_speeds->actions().at(speed)->setChecked(true);
    m_speedBox->setCurrentIndex(speed);
}

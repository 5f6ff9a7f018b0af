#include "runcontrols.h"

#include "settings.h"
#include "ui_mainwindow.h"
#include "widgets/qeditor.h"

#include <QActionGroup>
#include <QComboBox>

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

RunControls::RunControls(RunSession* session, Ui::MainWindowClass& ui, QEditor* editor, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_ui(ui)
    , m_editor(editor)
    , m_speeds(new QActionGroup(this))
    , m_speedBox(new QComboBox)
{
    const QList<QAction*> speeds { ui.actionSpeed_Instant, ui.actionSpeed_Fast, ui.actionSpeed_Normal,
                                   ui.actionSpeed_Slow, ui.actionSpeed_Slowest };
    m_speedBox->setObjectName(QStringLiteral("speedComboBox"));
    m_speedBox->setFocusPolicy(Qt::NoFocus);
    for (int speed = RunSession::Instant; speed <= RunSession::Slowest; ++speed) {
        speeds.at(speed)->setData(speed);
        m_speeds->addAction(speeds.at(speed));
        m_speedBox->addItem(QString(), speed);
    }
    m_speeds->setExclusive(true);
    ui.debuggerToolBar->addWidget(m_speedBox);

    connect(m_speeds, &QActionGroup::triggered, this,
            [this](QAction* action) { m_session->setSpeed(RunSession::Speed(action->data().toInt())); });
    connect(m_speedBox, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_session->setSpeed(RunSession::Speed(m_speedBox->itemData(index).toInt())); });
    connect(session, &RunSession::speedChanged, this, &RunControls::showSpeed);
    connect(session, &RunSession::speedChanged, this, [](RunSession::Speed speed) { Settings().setRunSpeed(speed); });
    connect(session, &RunSession::stateChanged, this, &RunControls::showState);

    connect(ui.actionContinue, &QAction::triggered, session, &RunSession::continueRun);
    connect(ui.actionPause, &QAction::triggered, session, &RunSession::pause);
    connect(ui.actionStop, &QAction::triggered, session, &RunSession::stop);
    connect(ui.actionStep, &QAction::triggered, session, &RunSession::step);
    connect(ui.actionStep_Over, &QAction::triggered, session, &RunSession::stepOver);
    connect(ui.actionStep_Out, &QAction::triggered, session, &RunSession::stepOut);
    connect(ui.actionRestart, &QAction::triggered, this,
            [this] { m_session->restart(m_editor->toPlainText(), m_ui.action_Debug->isChecked()); });
    connect(ui.actionStart_Stepping, &QAction::triggered, this,
            [this] { m_session->startStepping(m_editor->toPlainText()); });
    connect(ui.actionRun_to_Cursor, &QAction::triggered, this, [this] {
        m_session->runToLine(m_editor->toPlainText(), m_editor->textCursor().blockNumber() + 1);
    });
    // A change of the text by other means than typing ends the run that holds it.
    connect(editor, &QEditor::editRequested, session, &RunSession::end);

    ui.actionClean_Start->setChecked(Settings().cleanStart());
    session->setCleanStart(ui.actionClean_Start->isChecked());
    connect(ui.actionClean_Start, &QAction::toggled, this, [this](bool clean) {
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
    // The usual debugger keys beside the historical ones, which some desktops
    // take. F5 and F10 go to Run and Start Stepping while no program waits,
    // to Continue and Step while one does: one of each pair is ever enabled.
    m_ui.actionContinue->setShortcuts(keys({ "F5", "Alt+Shift+F5" }));
    m_ui.actionStop->setShortcuts(keys({ "Alt+F5", "Shift+F5" }));
    m_ui.actionRestart->setShortcuts(keys({ "Ctrl+Alt+F5", "Ctrl+Shift+F5" }));
    m_ui.actionStart_Stepping->setShortcuts(keys({ "F10" }));
    m_ui.actionRun_to_Cursor->setShortcuts(keys({ "Ctrl+R" }));
    for (QAction* action : { m_ui.action_Run, m_ui.action_Debug, m_ui.actionContinue, m_ui.actionPause,
                             m_ui.actionStop, m_ui.actionRestart, m_ui.actionRun_to_Cursor,
                             m_ui.actionStart_Stepping, m_ui.actionStep_Back, m_ui.actionStep,
                             m_ui.actionStep_Over, m_ui.actionStep_Out, m_ui.actionToggle_Breakpoint }) {
        showKeys(action);
    }
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
    m_ui.action_Run->setEnabled(idle);
    m_ui.actionStart_Stepping->setEnabled(idle);
    m_ui.actionRun_to_Cursor->setEnabled(idle || paused);
    m_ui.actionPause->setEnabled(state == RunSession::Animating);
    m_ui.actionStop->setEnabled(!idle);
    m_ui.actionRestart->setEnabled(!idle);
    for (QAction* action : { m_ui.actionContinue, m_ui.actionStep, m_ui.actionStep_Over, m_ui.actionStep_Out }) {
        action->setEnabled(paused);
    }
}

void RunControls::showSpeed(RunSession::Speed speed)
{
    m_speeds->actions().at(speed)->setChecked(true);
    m_speedBox->setCurrentIndex(speed);
}

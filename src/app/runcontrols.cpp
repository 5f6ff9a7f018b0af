#include "runcontrols.h"

#include "settings.h"
#include "ui_mainwindow.h"

#include <QActionGroup>
#include <QComboBox>

RunControls::RunControls(RunSession* session, Ui::MainWindowClass& ui, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_ui(ui)
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

    session->setSpeed(Settings().runSpeed());
    showSpeed(session->speed());
    showState(session->state());
    retranslate();
}

void RunControls::retranslate()
{
    // The usual debugger keys beside the historical ones, which some desktops take.
    m_ui.actionStop->setShortcuts({ QKeySequence(QStringLiteral("Alt+F5")), QKeySequence(QStringLiteral("Shift+F5")) });
    m_ui.actionRestart->setShortcuts(
        { QKeySequence(QStringLiteral("Ctrl+Alt+F5")), QKeySequence(QStringLiteral("Ctrl+Shift+F5")) });
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
    m_ui.actionPause->setEnabled(state == RunSession::Animating);
    m_ui.actionStop->setEnabled(!idle);
    m_ui.actionRestart->setEnabled(!idle);
    for (QAction* action : { m_ui.actionContinue, m_ui.actionStep, m_ui.actionStep_Over, m_ui.actionStep_Out }) {
        action->setEnabled(paused);
    }
    if (paused) {
        m_ui.action_Debug->setChecked(true);
    }
}

void RunControls::showSpeed(RunSession::Speed speed)
{
    m_speeds->actions().at(speed)->setChecked(true);
    m_speedBox->setCurrentIndex(speed);
}

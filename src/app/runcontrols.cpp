#include "runcontrols.h"

#include "settings.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QToolBar>

RunControls::RunControls(RunSession* session, const Actions& actions, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_actions(actions)
    , m_speeds(new QActionGroup(this))
    , m_speedBox(new QComboBox)
{
    m_speedBox->setObjectName(QStringLiteral("speedComboBox"));
    m_speedBox->setFocusPolicy(Qt::NoFocus);
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

    session->setSpeed(Settings().runSpeed());
    showSpeed(session->speed());
    showState(session->state());
    retranslate();
}

void RunControls::retranslate()
{
    // The usual debugger keys beside the historical ones, which some desktops take.
    m_actions.stop->setShortcuts({ QKeySequence(QStringLiteral("Alt+F5")), QKeySequence(QStringLiteral("Shift+F5")) });
    m_actions.restart->setShortcuts(
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
    m_actions.run->setEnabled(idle);
    m_actions.pause->setEnabled(state == RunSession::Animating);
    m_actions.stop->setEnabled(!idle);
    m_actions.restart->setEnabled(!idle);
    for (QAction* action : { m_actions.continueRun, m_actions.step, m_actions.stepOver, m_actions.stepOut }) {
        action->setEnabled(paused);
    }
    if (paused) {
        m_actions.debug->setChecked(true);
    }
}

void RunControls::showSpeed(RunSession::Speed speed)
{
    m_speeds->actions().at(speed)->setChecked(true);
    m_speedBox->setCurrentIndex(speed);
}

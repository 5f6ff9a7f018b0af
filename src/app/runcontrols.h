#pragma once

#include "session/runsession.h"

#include <QObject>

class QAction;
class QActionGroup;
class QComboBox;
class QToolBar;

// Binds the run and debug actions of the main window to a RunSession: the
// commands, which of them each state allows, the Speed menu and its tool bar
// twin, and the debugger keys.
class RunControls : public QObject
{
    Q_OBJECT

public:
    // The actions it enables and binds, and the tool bar that gets the speed box.
    struct Actions {
        QAction* run;
        QAction* debug;
        QAction* restart;
        QAction* pause;
        QAction* stop;
        QAction* continueRun;
        QAction* step;
        QAction* stepOver;
        QAction* stepOut;
        // Instant to Slowest.
        QList<QAction*> speeds;
        QToolBar* toolBar;
    };

    RunControls(RunSession* session, const Actions& actions, QObject* parent = nullptr);

    // After the form's own retranslation, which resets the keys.
    void retranslate();

private:
    void showState(RunSession::State state);
    void showSpeed(RunSession::Speed speed);

    RunSession* m_session;
    Actions m_actions;
    QActionGroup* m_speeds;
    QComboBox* m_speedBox;
};

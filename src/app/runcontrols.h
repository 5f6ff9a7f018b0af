#pragma once

#include "session/runsession.h"

#include <QObject>

class QAction;
class QActionGroup;
class QComboBox;
class QEditor;
class QToolBar;

// Binds the run and debug actions of the main window to a RunSession: the
// commands, which of them each state allows, the Speed menu and its tool bar
// twin, the clean start option, and the debugger keys, which the Debug menu
// and the tool tips list, alternatives included.
class RunControls : public QObject
{
    Q_OBJECT

public:
    // The actions it enables and binds, the tool bar that gets the speed box,
    // and the editor whose text runs.
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
        QAction* stepBack;
        QAction* startStepping;
        QAction* runToCursor;
        QAction* toggleBreakpoint;
        QAction* cleanStart;
        // Instant to Slowest.
        QList<QAction*> speeds;
        QToolBar* toolBar;
        QEditor* editor;
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

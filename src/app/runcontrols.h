#pragma once

#include "session/runsession.h"

#include <QObject>

class QActionGroup;
class QComboBox;

namespace Ui {
class MainWindowClass;
}

// Binds the run and debug actions of the main window to a RunSession: the
// commands, which of them each state allows, the Speed menu and its tool bar
// twin, and the debugger keys.
class RunControls : public QObject
{
    Q_OBJECT

public:
    RunControls(RunSession* session, Ui::MainWindowClass& ui, QObject* parent = nullptr);

    // After the form's own retranslation, which resets the keys.
    void retranslate();

private:
    void showState(RunSession::State state);
    void showSpeed(RunSession::Speed speed);

    RunSession* m_session;
    Ui::MainWindowClass& m_ui;
    QActionGroup* m_speeds;
    QComboBox* m_speedBox;
};

#pragma once

#include "session/runsession.h"

#include <QObject>

class QAction;
class QEditor;
class QLabel;
class QStatusBar;

// The status bar's account of the run: what the session is doing, in words
// that stay until it changes, whether Run starts in debug mode, and for a few
// seconds what was refused or put elsewhere (typing into the locked editor, a
// breakpoint on a line without an instruction).
class RunStatus : public QObject
{
    Q_OBJECT

public:
    static constexpr int MessageTimeout = 5000;

    // The Stop action names the key that unlocks the editor; the debug one is the mode's switch.
    RunStatus(RunSession* session, QStatusBar* bar, QEditor* editor, const QAction* stop, const QAction* debug,
              QObject* parent = nullptr);

    // "Paused at line 9, step 14" and the like; numbers as the locale writes them.
    static QString describe(const RunSession::Status& status, const QLocale& locale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showStatus();
    void showMode();
    void say(const QString& text);

    RunSession* m_session;
    QStatusBar* m_bar;
    QEditor* m_editor;
    const QAction* m_stop;
    const QAction* m_debug;
    QLabel* m_label;
    QLabel* m_mode;
    RunSession::Status::Kind m_shownKind = RunSession::Status::Editing;
};

#pragma once

#include "vm/debugvalues.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class ExecutionHistory;
class Interpreter;
class WalkingTurtle;

// Running and debugging a script on an Interpreter. A run either goes to the
// end in slices that keep the event loop turning (Running), or is animated on
// a timer at a chosen speed (Animating); both may stop at a breakpoint or be
// paused, which leaves the program in the debugging state (Paused), where it
// is stepped, continued or stopped.
class RunSession : public QObject
{
    Q_OBJECT

public:
    enum State {
        Idle,
        Running,
        Animating,
        Paused,
    };
    Q_ENUM(State)

    enum Speed {
        Instant,
        Fast,
        Normal,
        Slow,
        Slowest,
    };
    Q_ENUM(Speed)

    // A run looks at the event queue between slices of this many instructions,
    // and at most every SliceInterval milliseconds; busy() is first emitted
    // after ProgressDelay milliseconds.
    static constexpr qint64 SliceSteps = 10000;
    static constexpr qint64 SliceInterval = 25;
    static constexpr qint64 ProgressDelay = 500;
    // Texts at least this long are analysed off the GUI thread.
    static constexpr int LargeText = 64 * 1024;

    explicit RunSession(Interpreter* interpreter, QObject* parent = nullptr);
    ~RunSession() override;

    // The language's command words, for the editor's colouring.
    static QStringList commandWords();

    // Records every run and debugging session from then on, the interpreter
    // drawing on turtle, so that the steps of a run can be shown again. Set
    // while no run goes on; null stops recording.
    void setRecordedTurtle(WalkingTurtle* turtle);
    // What the last run recorded; null when nothing is recorded.
    const ExecutionHistory* history() const;
    // Whether seek() may show another step: while paused, and once a program
    // has ended while debugging, until the next run, stop or change of text.
    bool canTravel() const;
    bool canStepBack() const;

    State state() const { return m_state; }
    Speed speed() const { return m_speed; }
    // 0 for Instant.
    static int instructionsPerSecond(Speed speed);
    // How long the turtle marker may take to glide to the pose of one step: 0
    // but at the slow speeds, where there is time to watch it walk.
    static int glideDuration(Speed speed);

    QList<int> breakpoints() const { return m_breakpoints; }
    // Whether the run going on was started from the debugging state, so that
    // cancelling it pauses instead of ending it.
    bool isDebugging() const { return m_debugging; }

public slots:
    // Takes effect at once, an animated run included.
    void setSpeed(RunSession::Speed speed);
    // 1-based lines; a line without an instruction stops at the next one.
    void setBreakpoints(const QList<int>& lines);

    // Analyses the text; in debug mode the program then waits before its first
    // instruction, otherwise it runs (stopping at breakpoints, if any).
    void run(const QString& text, bool debugMode);
    // From the debugging state: runs on from the line shown, which executes first.
    void continueRun();
    void step();
    // A call and everything until its ret as one step; other instructions as step().
    void stepOver();
    // Runs until the procedure being executed returns.
    void stepOut();
    // Pauses a run at the next instruction.
    void pause();
    // Ends a run with code 240 at the line reached; in the debugging state,
    // resets the machine without a message.
    void stop();
    // What the progress dialog's Stop does: pauses a run started from the
    // debugging state, stops any other.
    void cancel();
    // Ends whatever goes on without a message, as before another script is loaded.
    void end();
    // From the debugging state: shows the state one instruction earlier.
    void stepBack();
    // Shows the state once step instructions have executed (see canTravel());
    // before the end, the program waits there in the debugging state.
    void seek(qint64 step);
    // An input the run cannot replay changed the turtle (replaced: the trace
    // is another one): going back stops at the step shown.
    void cutHistory(bool replaced);
    // The text changed: once no run goes on, what was recorded is dropped.
    void forgetRun();

signals:
    void stateChanged(RunSession::State state);
    void speedChanged(RunSession::Speed speed);
    // run() has analysed the text: the interpreter's messages hold the diagnostics.
    void analysed();
    // Instructions have executed (a step, an animation tick) or the run paused.
    void advanced();
    // The program ended, failed or was stopped; the machine is reset.
    void finished();
    // A run to the end has been going for a while; emitted between slices.
    void busy(qint64 executedSteps);
    // A run was stopped because it took too much memory.
    void memoryExceeded(qint64 bytes);
    // The history was cut or dropped.
    void historyChanged();

private:
    enum Request {
        NoRequest,
        PauseRequest,
        StopRequest,
        EndRequest,
    };
    enum Outcome {
        GoesOn,
        Stopped,
        Ended,
    };

    void analyse(const QString& text);
    // Starts a run from the current line at the current speed.
    void go(int depth, bool checkFirst);
    void runToEnd();
    void tick();
    Outcome advance(qint64 steps);
    bool execute(qint64 steps, bool checked);
    bool stopsHere() const;
    void enterPause();
    void finish();
    void setState(State state);
    int animationInterval() const;

    Interpreter* m_interpreter;
    State m_state = Idle;
    Speed m_speed = Instant;
    QList<int> m_breakpoints;
    bool m_debugging = false;
    // The call depth under which the run stops (step over and out); 0 for none.
    int m_depth = 0;
    // Whether the instruction due next is checked against the breakpoints
    // before it executes: only a run from the start does.
    bool m_checkFirst = false;
    Request m_request = NoRequest;
    // A slice ran out of memory: finish() reports it once the run has ended.
    bool m_outOfMemory = false;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_due = 0;
    std::unique_ptr<ExecutionHistory> m_history;
    // A program ended while debugging: its steps may still be shown.
    bool m_reviewable = false;
};

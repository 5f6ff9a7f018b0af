#include "runsession.h"

#include "executionhistory.h"
#include "frontend/interpreter.h"
#include "system/memoryguard.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <new>
#include <vector>

namespace {


} // namespace

RunSession::RunSession(Interpreter* interpreter, QObject* parent)
    : QObject(parent)
    , m_interpreter(interpreter)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RunSession::tick);
}

QStringList RunSession::commandWords()
{
    VirtualMachine machine;
    QStringList words;
    for (const auto& command : machine.commands()) {
        words.append(command.first);
    }
    return words;
}

RunSession::~RunSession() = default;

void RunSession::setRecordedTurtle(WalkingTurtle* turtle)
{
    m_reviewable = false;
    m_history = turtle ? std::make_unique<ExecutionHistory>(*m_interpreter, *turtle) : nullptr;
}

const ExecutionHistory* RunSession::history() const
{
    return m_history && m_history->isActive() ? m_history.get() : nullptr;
}

bool RunSession::canTravel() const
{
    return history() && (m_state == Paused || m_reviewable);
}

bool RunSession::canStepBack() const
{
    return canTravel() && m_history->step() > m_history->firstStep();
}

int RunSession::instructionsPerSecond(Speed speed)
{
    switch (speed) {
    case Instant:
        break;
    case Fast:
        return 200;
    case Normal:
        return 20;
    case Slow:
        return 4;
    case Slowest:
        return 1;
    }
    return 0;
}

int RunSession::glideDuration(Speed speed)
{
    // Four fifths of the step: the marker rests a moment at each point.
    return speed == Slow || speed == Slowest ? 800 / instructionsPerSecond(speed) : 0;
}

void RunSession::setSpeed(Speed speed)
{
    if (speed == m_speed) {
        return;
    }
    m_speed = speed;
    emit speedChanged(speed);
    if (m_state != Animating) {
        return;
    }
    if (speed == Instant) {
        m_timer.stop();
        runToEnd();
        return;
    }
    m_clock.restart();
    m_due = 0;
    m_timer.setInterval(animationInterval());
}

void RunSession::setBreakpoints(const QList<int>& lines)
{
    m_breakpoints = lines;
    m_interpreter->setBreakpoints(std::vector<int>(lines.cbegin(), lines.cend()));
}

void RunSession::run(const QString& text, bool debugMode)
{
    if (m_state == Running) {
        return;
    }
    end();
    m_reviewable = false;
    analyse(text);
    if (m_history) {
        m_history->start();
    }
    m_debugging = debugMode;
    if (debugMode) {
        setState(Paused);
        emit advanced();
        return;
    }
    go(0, true);
}

void RunSession::continueRun()
{
    if (m_state != Paused) {
        return;
    }
    m_debugging = true;
    go(0, m_interpreter->currentLine() == -1);
}

void RunSession::step()
{
    if (m_state != Paused) {
        return;
    }
    if (execute(1, false)) {
        emit advanced();
    } else {
        finish();
    }
}

void RunSession::stepOver()
{
    if (m_state != Paused) {
        return;
    }
    const auto next = m_interpreter->program().lower_bound(m_interpreter->currentLine());
    if (next == m_interpreter->program().cend() || next->second.first != QLatin1String("call")) {
        step();
        return;
    }
    // The call itself always executes; the run stops once the depth is back.
    m_depth = m_interpreter->callDepth() + 1;
    m_checkFirst = false;
    runToEnd();
}

void RunSession::stepOut()
{
    if (m_state != Paused) {
        return;
    }
    const int depth = m_interpreter->callDepth();
    if (depth == 0) {
        continueRun();
        return;
    }
    m_depth = depth;
    m_checkFirst = false;
    runToEnd();
}

void RunSession::pause()
{
    if (m_state == Running) {
        m_request = PauseRequest;
    } else if (m_state == Animating) {
        enterPause();
    }
}

void RunSession::stop()
{
    switch (m_state) {
    case Idle:
        break;
    case Running:
        m_request = StopRequest;
        break;
    case Animating:
        m_interpreter->interrupt();
        finish();
        break;
    case Paused:
        m_interpreter->restart();
        finish();
        break;
    }
}

void RunSession::cancel()
{
    if (m_state == Running) {
        m_request = m_debugging ? PauseRequest : StopRequest;
    }
}

void RunSession::end()
{
    if (m_state == Running) {
        m_request = EndRequest;
    } else if (m_state != Idle) {
        m_interpreter->restart();
        finish();
    }
}

void RunSession::stepBack()
{
    if (canStepBack()) {
        seek(m_history->step() - 1);
    }
}

void RunSession::seek(qint64 step)
{
    if (!canTravel() || std::clamp(step, m_history->firstStep(), m_history->lastStep()) == m_history->step()) {
        return;
    }
    m_history->seek(step);
    m_reviewable = false;
    m_debugging = true;
    if (m_history->hasEnded() && m_history->step() == m_history->lastStep()) {
        finish();
        return;
    }
    setState(Paused);
    emit advanced();
}

void RunSession::cutHistory(bool replaced)
{
    if (history()) {
        m_history->cut(replaced ? ExecutionHistory::TraceReplaced : ExecutionHistory::TraceExtended);
        emit historyChanged();
    }
}

void RunSession::forgetRun()
{
    if (m_state == Idle && history()) {
        m_reviewable = false;
        m_history->clear();
        emit historyChanged();
    }
}

void RunSession::analyse(const QString& text)
{
    if (text.size() < LargeText) {
        m_interpreter->compile(text);
    } else {
        // Nothing else touches the interpreter meanwhile: user input waits.
        setState(Running);
        QFutureWatcher<bool> watcher;
        QEventLoop loop;
        connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
        Interpreter* interpreter = m_interpreter;
        watcher.setFuture(QtConcurrent::run([interpreter, text] { return interpreter->compile(text); }));
        if (!watcher.isFinished()) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        watcher.waitForFinished();
        setState(Idle);
    }
    emit analysed();
}

void RunSession::go(int depth, bool checkFirst)
{
    m_depth = depth;
    m_checkFirst = checkFirst;
    if (m_speed == Instant) {
        runToEnd();
        return;
    }
    setState(Animating);
    m_clock.start();
    m_due = 0;
    m_timer.start(animationInterval());
    tick();
}

// Runs from the current line in slices, so that the window keeps painting.
// Until ProgressDelay no user input is handled; from then on busy() lets the
// window offer Stop and Pause, whose requests are honoured between slices.
void RunSession::runToEnd()
{
    setState(Running);
    m_request = NoRequest;
    QElapsedTimer clock;
    clock.start();
    qint64 lastLook = 0;
    const MemoryGuard memory;

    for (;;) {
        const Outcome outcome = advance(SliceSteps);
        if (outcome == Ended) {
            finish();
            return;
        }
        if (outcome == Stopped) {
            enterPause();
            return;
        }
        const qint64 now = clock.elapsed();
        if (now - lastLook < SliceInterval) {
            continue;
        }
        lastLook = now;

        // A script that pushes, calls or draws without end fills the memory in
        // seconds, sooner than anyone reaches Stop; stopping it here keeps the
        // system from killing the program, and the script being edited with it.
        const qint64 used = MemoryGuard::residentBytes();
        if (memory.exceeded()) {
            m_interpreter->interrupt();
            MemoryGuard::releaseFreedMemory();
            finish();
            emit memoryExceeded(used);
            return;
        }

        if (now < ProgressDelay) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        } else {
            emit busy(m_interpreter->executedSteps());
            QCoreApplication::processEvents();
        }
        const Request request = m_request;
        m_request = NoRequest;
        switch (request) {
        case NoRequest:
            break;
        case PauseRequest:
            enterPause();
            return;
        case StopRequest:
            m_interpreter->interrupt();
            finish();
            return;
        case EndRequest:
            m_interpreter->restart();
            finish();
            return;
        }
    }
}

void RunSession::tick()
{
    const int rate = instructionsPerSecond(m_speed);
    const qint64 target = m_clock.elapsed() * rate / 1000 + 1;
    qint64 steps = target - m_due;
    if (steps <= 0) {
        return;
    }
    m_due = target;
    // After a stall the animation goes on at its pace instead of catching up.
    steps = std::min<qint64>(steps, rate / 10 + 1);
    switch (advance(steps)) {
    case GoesOn:
        emit advanced();
        break;
    case Stopped:
        enterPause();
        break;
    case Ended:
        finish();
        break;
    }
}

RunSession::Outcome RunSession::advance(qint64 steps)
{
    const bool checked = m_depth > 0 || !m_breakpoints.isEmpty();
    const bool checkFirst = m_checkFirst;
    m_checkFirst = false;
    if (checked && checkFirst && stopsHere()) {
        return Stopped;
    }
    bool goesOn = false;
    try {
        goesOn = execute(steps, checked);
    } catch (const std::bad_alloc&) {
        // The script took the memory left: it ends as a stopped run, the text
        // and the drawing so far kept, and finish() says why.
        m_interpreter->interrupt();
        m_outOfMemory = true;
        return Ended;
    }
    if (!goesOn) {
        return Ended;
    }
    return checked && stopsHere() ? Stopped : GoesOn;
}

bool RunSession::execute(qint64 steps, bool checked)
{
    if (m_history) {
        return checked ? m_history->advanceChecked(steps, m_depth) : m_history->advance(steps);
    }
    return checked ? m_interpreter->advanceChecked(steps, m_depth) : m_interpreter->advance(steps);
}

bool RunSession::stopsHere() const
{
    return m_interpreter->atBreakpoint() || m_interpreter->callDepth() < m_depth;
}

void RunSession::enterPause()
{
    m_timer.stop();
    m_depth = 0;
    m_debugging = true;
    // Paused before anything executed: show the instruction due first.
    if (m_interpreter->currentLine() == -1 && !m_interpreter->advance(0)) {
        finish();
        return;
    }
    setState(Paused);
    emit advanced();
}

void RunSession::finish()
{
    m_timer.stop();
    m_depth = 0;
    m_reviewable = m_debugging && history() && m_history->hasEnded() && m_history->step() == m_history->lastStep();
    m_debugging = false;
    setState(Idle);
    emit finished();
    if (m_outOfMemory) {
        m_outOfMemory = false;
        MemoryGuard::releaseFreedMemory();
        emit memoryExceeded(std::max<qint64>(MemoryGuard::residentBytes(), 1));
    }
}

void RunSession::setState(State state)
{
    if (state != m_state) {
        m_state = state;
        emit stateChanged(state);
    }
}

int RunSession::animationInterval() const
{
    // About one frame at the fastest speed, one instruction a tick below it.
    return std::max(15, 1000 / std::max(1, instructionsPerSecond(m_speed)));
}

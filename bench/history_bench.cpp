// Going back in a run, measured on the engine (no window):
//  - a run with the history on against the same run without it (best of 5),
//    on the engine and as the IDE's Run goes (a run session at Instant speed);
//  - the memory the history takes beside a 1,000,000-segment drawing;
//  - Step Back and a timeline jump at random steps of a 10,000,000-step run.
//
//   history_bench        (from the source folder, for the catalogue)

#include "session/executionhistory.h"
#include "frontend/interpreter.h"
#include "session/runsession.h"
#include "turtle/walkingturtle.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// As the IDE runs: slices of 10,000 steps.
constexpr qint64 Slice = 10000;

// The machine is shared with other work: the thread's own CPU time is steadier
// than the wall clock.
class CpuClock
{
public:
    CpuClock() { restart(); }
    void restart() { m_start = now(); }
    double milliseconds() const { return (now() - m_start) / 1e6; }

private:
    static double now()
    {
        timespec time;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return time.tv_sec * 1e9 + time.tv_nsec;
    }
    double m_start;
};

QString readScript(const char* path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(2);
    }
    return QString::fromUtf8(file.readAll());
}

// Seconds of the best of five whole runs, and the history's memory after one.
double bestRun(const QString& text, bool history, std::size_t* memory = nullptr, qint64* steps = nullptr)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        Interpreter interpreter;
        WalkingTurtle turtle;
        interpreter.setWalkingTurtle(&turtle);
        ExecutionHistory recorder(interpreter, turtle);
        interpreter.compile(text);
        if (history) {
            recorder.start();
        }
        CpuClock clock;
        while (history ? recorder.advance(Slice) : interpreter.advance(Slice)) {
        }
        best = std::min(best, clock.milliseconds() / 1e3);
        if (memory) {
            *memory = recorder.memoryUsage();
        }
        if (steps) {
            *steps = interpreter.executedSteps();
        }
    }
    return best;
}

void compareRuns(const char* name, const QString& text)
{
    qint64 steps = 0;
    const double off = bestRun(text, false, nullptr, &steps);
    std::size_t memory = 0;
    const double on = bestRun(text, true, &memory);
    std::printf("%-34s %11lld steps  off %.3f s  on %.3f s  (%+.1f%%, target within 20%%)  history %.1f MB\n", name,
                static_cast<long long>(steps), off, on, (on / off - 1) * 100, memory / 1048576.0);
}

// The IDE's Run, analysis included: a session at Instant speed (its default).
double bestSession(const QString& text, bool recorded)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        Interpreter interpreter;
        WalkingTurtle turtle;
        interpreter.setWalkingTurtle(&turtle);
        RunSession session(&interpreter);
        if (recorded) {
            session.setRecordedTurtle(&turtle);
        }
        CpuClock clock;
        session.run(text, false);
        best = std::min(best, clock.milliseconds() / 1e3);
    }
    return best;
}

void compareSessions(const char* name, const QString& text)
{
    const double off = bestSession(text, false);
    const double on = bestSession(text, true);
    std::printf("%-34s IDE Run  off %.3f s  on %.3f s  (%+.1f%%, target within 20%%)\n", name, off, on,
                (on / off - 1) * 100);
}

void jumps(const char* name, const QString& text)
{
    Interpreter interpreter;
    WalkingTurtle turtle;
    interpreter.setWalkingTurtle(&turtle);
    ExecutionHistory history(interpreter, turtle);
    interpreter.compile(text);
    history.start();
    while (history.advance(Slice)) {
    }
    const qint64 last = history.lastStep();
    QRandomGenerator random(42);
    std::vector<double> jump;
    std::vector<double> back;
    for (int i = 0; i < 200; ++i) {
        const auto target = static_cast<qint64>(random.generateDouble() * double(last + 1));
        CpuClock clock;
        history.seek(target);
        jump.push_back(clock.milliseconds());
        clock.restart();
        history.seek(history.step() - 1);
        back.push_back(clock.milliseconds());
    }
    std::sort(jump.begin(), jump.end());
    std::sort(back.begin(), back.end());
    std::printf("%-34s %11lld steps  timeline jump median %.3f ms max %.3f ms; Step Back median %.3f ms max %.3f ms "
                "(target under 30 ms); %zu checkpoints every %lld steps, %.1f MB\n",
                name, static_cast<long long>(last), jump[jump.size() / 2], jump.back(), back[back.size() / 2],
                back.back(), history.checkpointCount(), static_cast<long long>(history.interval()),
                history.memoryUsage() / 1048576.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Without this, freeing one run's trace gives its pages back to the system
    // and the next run pays for them again, whichever run is measured.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const QString w1 = readScript("bench/w1-compute.tur");
    const QString w3 = readScript("bench/w3-drawing.tur");
    QString tenMillion = w1;
    tenMillion.replace(QStringLiteral("CX: 10000000;"), QStringLiteral("CX: 3333333;"));

    compareRuns("W1 computation", w1);
    compareRuns("W3 drawing (1,000,000 segments)", w3);
    compareSessions("W1 computation", w1);
    compareSessions("W3 drawing (1,000,000 segments)", w3);
    jumps("10,000,000-step computation", tenMillion);
    jumps("W3 drawing (1,000,000 segments)", w3);
    return 0;
}

#include "mainwindow.h"
#include "scriptedprompts.h"
#include "turtle/walkingturtle.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace {

const char* const ChildVariable = "KORVANE_LOW_MEMORY_CHILD";
const char* const CeilingVariable = "KORVANE_LOW_MEMORY_CEILING";
const char* const PaintVariable = "KORVANE_LOW_MEMORY_PAINT";
const char* const Script = "Tur=Asm\ndefine:again;\npush:1;\njmpe:0,0,again;\n";
const char* const DrawingScript = "Tur=Asm\nwrite: Y;\ndefine: a;\nmove: 1;\njmpe: 0,0,a;\n";

// Field 0 of /proc/self/statm is the address space, 1 what is resident.
qint64 processSize(int field)
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return statm.readAll().split(' ').at(field).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Runs the script and waits until the drawing on screen is the whole trace
// (copied and rendered), or a message says why it cannot be. Prints the
// message the run ended with. A window shown only once the run has ended
// copies the whole trace then.
void runToTheEnd(MainWindow& window, const ScriptedPrompts& prompts, const char* script, const char* label)
{
    auto* editor = window.findChild<QEditor*>();
    auto* area = window.findChild<QTurtleOutputArea*>();
    QString renderFailure;
    const QMetaObject::Connection failed = QObject::connect(area, &QTurtleOutputArea::renderFailed,
        [&renderFailure](const QString& reason) { renderFailure = reason; });
    const int shown = prompts.shownMessages().size();
    editor->setPlainText(QString::fromLatin1(script));
    window.findChild<QAction*>(QStringLiteral("action_Run"))->trigger();
    window.show();
    // No deadline: the trace is copied a slice at a time and rendered in the
    // background, and the test's timeout ends a child that never settles.
    while (!area->isSettled() && renderFailure.isEmpty()) {
        area->update();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QObject::disconnect(failed);
    std::printf("%s: %s|%s\n", label, qPrintable(prompts.shownMessages().mid(shown).join(' ').simplified()),
        qPrintable(renderFailure));
}

// The children run short of memory on purpose. Fontconfig, refused memory
// while it reads the fonts, would write empty caches into the system's
// cache folder (writable when the tests run as root), and every program
// after would find no fonts: the children keep their caches to themselves.
QProcessEnvironment childEnvironment(const char* variable, const QString& value)
{
    static QTemporaryDir caches;
    const QString config = caches.filePath(QStringLiteral("fonts.conf"));
    if (!QFile::exists(config)) {
        QFile file(config);
        if (file.open(QIODevice::WriteOnly)) {
            // The first cache folder is the one written; the system's are still read.
            file.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n  <cachedir>"
                       + QFile::encodeName(caches.path())
                       + "</cachedir>\n  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n</fontconfig>\n");
        }
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), config);
    environment.insert(QString::fromLatin1(variable), value);
    return environment;
}

// Under an address-space limit 300 MB above what the window takes, opens
// the trace given and runs an endless push loop, then an endless drawing
// loop. Prints what went wrong, if anything, and always exits normally when
// the window lived through them all.
int childMain(const QString& tracePath)
{
    auto owned = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts& prompts = *owned;
    MainWindow window(std::move(owned));
    window.show();
    auto* editor = window.findChild<QEditor*>();

    const rlim_t limit = static_cast<rlim_t>(processSize(0) + 300 * 1024 * 1024);
    const struct rlimit bound = { limit, limit };
    if (setrlimit(RLIMIT_AS, &bound) != 0) {
        std::puts("setrlimit failed");
        return 0;
    }

    prompts.setNextFileName(tracePath);
    window.findChild<QAction*>(QStringLiteral("actionOpen_Image"))->trigger();
    std::printf("image: %s\n", qPrintable(prompts.shownMessages().value(0).simplified()));

    editor->setPlainText(QString::fromLatin1(Script));
    const QString text = editor->toPlainText();
    window.findChild<QAction*>(QStringLiteral("action_Run"))->trigger();
    std::printf("run: %s\n", qPrintable(prompts.shownMessages().value(1).simplified()));
    std::printf("text kept: %d\n", editor->toPlainText() == text);

    runToTheEnd(window, prompts, DrawingScript, "drawing");
    runToTheEnd(window, prompts, "Tur=Asm\nwrite: Y;\nmove: 10;\n", "after");
    return 0;
}

// With a ceiling 300 MB above what the window holds, an endless drawing loop,
// run while the window is not shown, is stopped; once the drawing is on
// screen, the peak is printed, in bytes.
int ceilingChildMain()
{
    auto owned = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts& prompts = *owned;
    MainWindow window(std::move(owned));
    const qint64 ceiling = processSize(1) + 300 * 1024 * 1024;
    qputenv("KORVANE_RUN_MEMORY_LIMIT_MB", QByteArray::number(ceiling / (1024 * 1024)));
    std::printf("ceiling: %lld\n", ceiling / (1024 * 1024) * 1024 * 1024);
    runToTheEnd(window, prompts, DrawingScript, "drawing");
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak: %lld\n", qint64(usage.ru_maxrss) * 1024);
    runToTheEnd(window, prompts, "Tur=Asm\nwrite: Y;\nmove: 10;\n", "after");

    // The memory the drawing held, freed by Clear but still the process's,
    // is no reason to stop the next run, even under a lower ceiling.
    window.findChild<QAction*>(QStringLiteral("action_Clear"))->trigger();
    auto* area = window.findChild<QTurtleOutputArea*>();
    while (!area->isSettled()) {
        area->update();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const qint64 lower = processSize(1) - 64 * 1024 * 1024;
    qputenv("KORVANE_RUN_MEMORY_LIMIT_MB", QByteArray::number(lower / (1024 * 1024)));
    std::printf("lower ceiling: %lld\n", lower / (1024 * 1024) * 1024 * 1024);
    runToTheEnd(window, prompts, DrawingScript, "again");
    std::printf("held again: %lld\n", processSize(1));
    return 0;
}

// A drawing of four million points, shown with the address space too short
// for its copy: the paint that copies it is refused memory. Prints the
// message that says so, if any.
int paintChildMain()
{
    WalkingTurtle turtle;
    turtle.setWrite(true);
    for (int i = 0; i < 4000000; ++i) {
        turtle.put(i % 400, i / 10000);
    }
    QTurtleOutputArea area;
    area.resize(400, 300);
    QString failure;
    QObject::connect(&area, &QTurtleOutputArea::renderFailed, [&failure](const QString& reason) { failure = reason; });
    // Shown first, so that what the window needs is had; then less room
    // than the first slice of the copy takes (about 3 MB), and none for a
    // thread: the background render must not need a new one.
    area.show();
    QCoreApplication::processEvents();
    // The sign that a picture is coming is text: its font is read now.
    {
        QImage scratch(64, 16, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&scratch);
        painter.setFont(area.font());
        painter.drawText(0, 12, QStringLiteral("drawing\u2026"));
    }

    const rlim_t limit = static_cast<rlim_t>(processSize(0) + 1024 * 1024);
    const struct rlimit bound = { limit, limit };
    if (setrlimit(RLIMIT_AS, &bound) != 0) {
        std::puts("setrlimit failed");
        return 0;
    }
    area.setWalkingTurtle(&turtle);
    while (failure.isEmpty() && !area.isSettled()) {
        area.update();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    std::printf("failure: %s\n", qPrintable(failure));
    return 0;
}

} // namespace

class TestLowMemory : public QObject
{
    Q_OBJECT

private slots:
    void hugeTraceAndRunawayEndWithAMessage();
    void drawingLoopStaysUnderTheCeiling();
    void aPaintRefusedMemoryLeavesAMessage();
};

void TestLowMemory::hugeTraceAndRunawayEndWithAMessage()
{
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers cannot start under an address-space limit");
#endif
    // 100 MB of points: far more than the 300 MB left once drawn.
    QTemporaryDir directory;
    const QString tracePath = directory.filePath(QStringLiteral("huge.res"));
    {
        QFile trace(tracePath);
        QVERIFY(trace.open(QIODevice::WriteOnly));
        trace.write("Tur=Res\n");
        const QByteArray block = QByteArray("Y 1234 5678\n").repeated(1 << 16);
        for (int i = 0; i < 128; ++i) {
            QVERIFY(trace.write(block) == block.size());
        }
    }

    QProcess child;
    child.setProcessEnvironment(childEnvironment(ChildVariable, tracePath));
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(-1));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(output + QString::fromLocal8Bit(child.readAllStandardError())));
    const QStringList lines = output.split(QLatin1Char('\n'));
    QVERIFY2(lines.value(0).startsWith(QLatin1String("image: ")) && lines.value(0).contains(QLatin1String("memory")),
             qPrintable(output));
    QVERIFY2(lines.value(1).contains(QLatin1String("Script stopped")), qPrintable(output));
    QCOMPARE(lines.value(2), QStringLiteral("text kept: 1"));
    // The drawing loop is stopped too, and its drawing fits in what is left.
    QVERIFY2(lines.value(3).startsWith(QLatin1String("drawing: ")) && lines.value(3).contains(QLatin1String("Script stopped"))
                 && lines.value(3).endsWith(QLatin1Char('|')),
             qPrintable(output));
    QCOMPARE(lines.value(4), QStringLiteral("after: |"));
}

void TestLowMemory::drawingLoopStaysUnderTheCeiling()
{
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers hold memory of their own");
#endif
    QProcess child;
    child.setProcessEnvironment(childEnvironment(CeilingVariable, QStringLiteral("1")));
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(-1));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(output + QString::fromLocal8Bit(child.readAllStandardError())));
    const QStringList lines = output.split(QLatin1Char('\n'));
    QVERIFY2(lines.value(1).contains(QLatin1String("Script stopped")) && lines.value(1).endsWith(QLatin1Char('|')),
             qPrintable(output));
    const qint64 ceiling = lines.value(0).section(QLatin1Char(' '), 1).toLongLong();
    const qint64 peak = lines.value(2).section(QLatin1Char(' '), 1).toLongLong();
    QVERIFY2(ceiling > 0 && peak > 0 && peak <= ceiling + ceiling / 10, qPrintable(output));
    QCOMPARE(lines.value(3), QStringLiteral("after: |"));
    const qint64 lower = lines.value(4).section(QLatin1Char(' '), 2).toLongLong();
    QVERIFY2(lines.value(5).contains(QLatin1String("Script stopped")), qPrintable(output));
    const qint64 heldAgain = lines.value(6).section(QLatin1Char(' '), 2).toLongLong();
    QVERIFY2(lower > 0 && heldAgain > lower * 8 / 10 && heldAgain <= lower + lower / 10, qPrintable(output));
}

void TestLowMemory::aPaintRefusedMemoryLeavesAMessage()
{
#if defined(KORVANE_SANITIZE)
    QSKIP("The sanitizers cannot start under an address-space limit");
#endif
    QProcess child;
    child.setProcessEnvironment(childEnvironment(PaintVariable, QStringLiteral("1")));
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(-1));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(output + QString::fromLocal8Bit(child.readAllStandardError())));
    QVERIFY2(output.startsWith(QLatin1String("failure: There is not enough memory to show the whole drawing")),
             qPrintable(output));
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString tracePath = qEnvironmentVariable(ChildVariable);
    if (!tracePath.isEmpty()) {
        return childMain(tracePath);
    }
    if (qEnvironmentVariableIsSet(CeilingVariable)) {
        return ceilingChildMain();
    }
    if (qEnvironmentVariableIsSet(PaintVariable)) {
        return paintChildMain();
    }
    TestLowMemory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lowmemory.moc"

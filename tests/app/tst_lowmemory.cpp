#include "mainwindow.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace {

const char* const ChildVariable = "KORVANE_LOW_MEMORY_CHILD";
const char* const Script = "Tur=Asm\ndefine:again;\npush:1;\njmpe:0,0,again;\n";

qint64 addressSpace()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return statm.readAll().split(' ').at(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Under an address-space limit 300 MB above what the window takes, opens
// the trace given and runs an endless push loop. Prints what went wrong, if
// anything, and always exits normally when the window lived through both.
int childMain(const QString& tracePath)
{
    auto owned = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts* prompts = owned.get();
    MainWindow window(std::move(owned));
    window.show();
    auto* editor = window.findChild<QEditor*>();
    editor->setPlainText(QString::fromLatin1(Script));
    const QString text = editor->toPlainText();

    const rlim_t limit = static_cast<rlim_t>(addressSpace() + 300 * 1024 * 1024);
    const struct rlimit bound = { limit, limit };
    if (setrlimit(RLIMIT_AS, &bound) != 0) {
        std::puts("setrlimit failed");
        return 0;
    }

    prompts->setNextFileName(tracePath);
    window.findChild<QAction*>(QStringLiteral("actionOpen_Image"))->trigger();
    std::printf("image: %s\n", qPrintable(prompts->shownMessages().value(0).simplified()));

    window.findChild<QAction*>(QStringLiteral("action_Run"))->trigger();
    std::printf("run: %s\n", qPrintable(prompts->shownMessages().value(1).simplified()));
    std::printf("text kept: %d\n", editor->toPlainText() == text);
    return 0;
}

} // namespace

class TestLowMemory : public QObject
{
    Q_OBJECT

private slots:
    void hugeTraceAndRunawayEndWithAMessage();
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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), tracePath);
    child.setProcessEnvironment(environment);
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
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString tracePath = qEnvironmentVariable(ChildVariable);
    if (!tracePath.isEmpty()) {
        return childMain(tracePath);
    }
    TestLowMemory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lowmemory.moc"

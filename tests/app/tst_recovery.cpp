#include "mainwindow.h"
#include "recoverystore.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

namespace {

const char* const ChildVariable = "KORVANE_RECOVERY_CHILD";
const char* const Typed = "Tur=Asm\nmove: 42;\n";
// Only a window that never writes its copy waits this long.
const int Patience = 60000;

// The child types into a fresh window, or restores what a killed one left,
// says so once its copy is on disk, and waits to be killed. Left alone by a
// test that was killed, the child ends too.
int childMain(bool restores)
{
    const pid_t parent = getppid();
    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts->setNextAnswer(QMessageBox::Yes);
    MainWindow window(restores ? std::move(prompts) : std::make_unique<ScriptedPrompts>());
    auto* store = window.findChild<RecoveryStore*>();
    store->setDelay(50);
    if (!restores) {
        window.findChild<QEditor*>()->insertPlainText(QString::fromLatin1(Typed));
    }
    while (!QFile::exists(store->filePath()) && getppid() == parent) {
        QTest::qWait(20);
    }
    std::puts("written");
    std::fflush(stdout);
    while (getppid() == parent) {
        QTest::qWait(1000);
    }
    return 1;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void unsavedTextSurvivesAKill();
    void theCopyFollowsTheTextUntilSavedOrDiscarded();

private:
    // A window session that is killed once its copy is on disk.
    void killSession(const char* mode);
    QEditor* editorOf(MainWindow& window) { return window.findChild<QEditor*>(); }
    QAction* action(MainWindow& window, const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }
};

void TestRecovery::killSession(const char* mode)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QString::fromLatin1(mode));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForStarted(-1));
    QVERIFY(child.waitForReadyRead(-1));
    QCOMPARE(child.readAllStandardOutput(), QByteArray("written\n"));
    child.kill();
    QVERIFY(child.waitForFinished(-1));
}

void TestRecovery::unsavedTextSurvivesAKill()
{
    killSession("type");
    // Restored, then killed again before a keystroke: the text is still kept.
    killSession("restore");

    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts->setNextAnswer(QMessageBox::Yes);
    MainWindow window(std::move(prompts));
    const QEditor* editor = editorOf(window);
    QCOMPARE(editor->toPlainText(), QString::fromLatin1(Typed));
    QVERIFY(editor->isModified());

    // Restored into a live window, it is offered to no other.
    prompts = std::make_unique<ScriptedPrompts>();
    const ScriptedPrompts* asked = prompts.get();
    MainWindow again(std::move(prompts));
    QVERIFY(asked->shownMessages().isEmpty());
}

void TestRecovery::theCopyFollowsTheTextUntilSavedOrDiscarded()
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("kept.tur"));
    auto owned = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts* prompts = owned.get();
    MainWindow window(std::move(owned));
    auto* store = window.findChild<RecoveryStore*>();
    store->setDelay(0);
    QEditor* editor = editorOf(window);
    editor->insertPlainText(QString::fromLatin1(Typed));
    QTRY_COMPARE_WITH_TIMEOUT(readAll(store->filePath()), QByteArray(Typed), Patience);

    prompts->setNextFileName(script);
    action(window, "actionSave")->trigger();
    QCOMPARE(readAll(script), QByteArray(Typed));
    QVERIFY(!QFile::exists(store->filePath()));

    // Typed again: a new copy with the latest text.
    editor->insertPlainText(QStringLiteral("left: 1;\n"));
    QTRY_COMPARE_WITH_TIMEOUT(readAll(store->filePath()), editor->toPlainText().toUtf8(), Patience);
    editor->insertPlainText(QStringLiteral("left: 2;\n"));
    QTRY_COMPARE_WITH_TIMEOUT(readAll(store->filePath()), editor->toPlainText().toUtf8(), Patience);

    // Undone back to the saved text: nothing left to recover.
    for (int i = 0; i < 10 && editor->isModified(); ++i) {
        editor->undo();
    }
    QVERIFY(!editor->isModified());
    QVERIFY(!QFile::exists(store->filePath()));

    editor->insertPlainText(QStringLiteral("x"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(store->filePath()), Patience);
    prompts->setNextAnswer(QMessageBox::Discard);
    action(window, "actionClose")->trigger();
    QVERIFY(!QFile::exists(store->filePath()));
}

int main(int argc, char* argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(ChildVariable)) {
        return childMain(qgetenv(ChildVariable) == "restore");
    }
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"

#include "mainwindow.h"
#include "recoverystore.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
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

// The child types into a fresh window, says so once its copy is on disk, and
// waits to be killed.
int childMain()
{
    // Left alone by a test that was killed, the child ends too.
    const pid_t parent = getppid();
    MainWindow window(std::make_unique<ScriptedPrompts>());
    auto* store = window.findChild<RecoveryStore*>();
    store->setDelay(50);
    window.findChild<QEditor*>()->insertPlainText(QString::fromLatin1(Typed));
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

QString recoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// A copy as a Korvane of that process id leaves it.
void writeCopy(const QString& stem, const QByteArray& title, const QByteArray& text)
{
    QFile file(QDir(recoveryFolder()).filePath(stem + QStringLiteral(".tur")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(title + '\n' + text);
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void unsavedTextSurvivesAKill();
    void theCopyFollowsTheTextUntilSavedOrDiscarded();
    void onlyTheCopiesOfEndedKorvanesAreOffered();

private:
    QEditor* editorOf(MainWindow& window) { return window.findChild<QEditor*>(); }
    QAction* action(MainWindow& window, const char* name)
    {
        return window.findChild<QAction*>(QLatin1String(name));
    }
};

void TestRecovery::init()
{
    QDir folder(recoveryFolder());
    QVERIFY(folder.removeRecursively());
    QVERIFY(QDir().mkpath(folder.path()));
}

void TestRecovery::unsavedTextSurvivesAKill()
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForStarted(-1));
    QVERIFY(child.waitForReadyRead(-1));
    QCOMPARE(child.readAllStandardOutput(), QByteArray("written\n"));
    child.kill();
    QVERIFY(child.waitForFinished(-1));

    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts->setNextAnswer(QMessageBox::Yes);
    MainWindow window(std::move(prompts));
    const QEditor* editor = editorOf(window);
    QCOMPARE(editor->toPlainText(), QString::fromLatin1(Typed));
    QVERIFY(editor->isModified());

    // Offered once: declined or restored, the copy is gone.
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
    // Untitled: an empty first line, then the text.
    QTRY_COMPARE_WITH_TIMEOUT(readAll(store->filePath()), "\n" + QByteArray(Typed), Patience);

    prompts->setNextFileName(script);
    action(window, "actionSave")->trigger();
    QCOMPARE(readAll(script), QByteArray(Typed));
    QVERIFY(!QFile::exists(store->filePath()));

    // Typed again: a new copy, named after the script, with the latest text.
    editor->insertPlainText(QStringLiteral("left: 1;\n"));
    QTRY_COMPARE_WITH_TIMEOUT(readAll(store->filePath()), (script + QLatin1Char('\n') + editor->toPlainText()).toUtf8(),
                              Patience);
    editor->insertPlainText(QStringLiteral("left: 2;\n"));
    QTRY_COMPARE_WITH_TIMEOUT(readAll(store->filePath()), (script + QLatin1Char('\n') + editor->toPlainText()).toUtf8(),
                              Patience);

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

void TestRecovery::onlyTheCopiesOfEndedKorvanesAreOffered()
{
    // One Korvane still runs (its lock is held); two ended, the newer of
    // which is offered, with the script it belongs to.
    QLockFile running(QDir(recoveryFolder()).filePath(QStringLiteral("recovery-7.lock")));
    QVERIFY(running.tryLock(0));
    writeCopy(QStringLiteral("recovery-7"), "", "Tur=Asm\nmove: 7;\n");
    writeCopy(QStringLiteral("recovery-8"), "/old.tur", "Tur=Asm\nmove: 8;\n");
    QFile older(QDir(recoveryFolder()).filePath(QStringLiteral("recovery-8.tur")));
    QVERIFY(older.open(QIODevice::ReadWrite));
    QVERIFY(older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    older.close();
    writeCopy(QStringLiteral("recovery-9"), "/newer.tur", "Tur=Asm\nmove: 9;\n");

    auto owned = std::make_unique<ScriptedPrompts>();
    const ScriptedPrompts* prompts = owned.get();
    owned->setNextAnswer(QMessageBox::Yes);
    MainWindow window(std::move(owned));
    QCOMPARE(prompts->shownMessages().size(), 1);
    QCOMPARE(editorOf(window)->toPlainText(), QStringLiteral("Tur=Asm\nmove: 9;\n"));
    QCOMPARE(editorOf(window)->documentTitle(), QStringLiteral("/newer.tur"));
    QVERIFY(editorOf(window)->isModified());
    QVERIFY(!QFile::exists(older.fileName()));

    // The running one's copy stays, never offered.
    owned = std::make_unique<ScriptedPrompts>();
    prompts = owned.get();
    MainWindow again(std::move(owned));
    QVERIFY(prompts->shownMessages().isEmpty());
    QVERIFY(QFile::exists(QDir(recoveryFolder()).filePath(QStringLiteral("recovery-7.tur"))));
}

int main(int argc, char* argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(ChildVariable)) {
        return childMain();
    }
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"

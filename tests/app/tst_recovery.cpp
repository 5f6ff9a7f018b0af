#include "mainwindow.h"
#include "recoverystore.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <cstdio>

namespace {

const char* const ChildVariable = "KORVANE_RECOVERY_CHILD";
const char* const Typed = "Tur=Asm\nmove: 42;\n";

// The child types into a fresh window, says so once its copy is on disk, and
// waits to be killed.
int childMain()
{
    MainWindow window(std::make_unique<ScriptedPrompts>());
    auto* store = window.findChild<RecoveryStore*>();
    store->setDelay(50);
    window.findChild<QEditor*>()->insertPlainText(QString::fromLatin1(Typed));
    for (int waited = 0; !QFile::exists(store->filePath()); waited += 20) {
        if (waited > 10000) {
            return 1;
        }
        QTest::qWait(20);
    }
    std::puts("written");
    std::fflush(stdout);
    QTest::qWait(60000);
    return 1;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void unsavedTextSurvivesAKill();
};

void TestRecovery::unsavedTextSurvivesAKill()
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(child.bytesAvailable() > 0 || child.state() != QProcess::Running, 30000);
    QCOMPARE(child.readAllStandardOutput(), QByteArray("written\n"));
    child.kill();
    QVERIFY(child.waitForFinished());

    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts->setNextAnswer(QMessageBox::Yes);
    MainWindow window(std::move(prompts));
    const QEditor* editor = window.findChild<QEditor*>();
    QCOMPARE(editor->toPlainText(), QString::fromLatin1(Typed));
    QVERIFY(editor->isModified());

    // Offered once: declined or restored, the copy is gone.
    prompts = std::make_unique<ScriptedPrompts>();
    const ScriptedPrompts* asked = prompts.get();
    MainWindow again(std::move(prompts));
    QVERIFY(asked->shownMessages().isEmpty());
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

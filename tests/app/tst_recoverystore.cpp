#include "recoverystore.h"
#include "scriptedprompts.h"
#include "widgets/qeditor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

const char* const ChildFolder = "KORVANE_STORE_CHILD";
const char* const ChildTitle = "KORVANE_STORE_TITLE";
const char* const ChildText = "KORVANE_STORE_TEXT";

// A session that keeps its text (if given) and is killed, as a crash leaves it.
int childMain()
{
    QEditor editor;
    RecoveryStore store(&editor, nullptr, qEnvironmentVariable(ChildFolder));
    if (qEnvironmentVariableIsSet(ChildText)) {
        editor.setPlainText(qEnvironmentVariable(ChildText));
        editor.setDocumentTitle(qEnvironmentVariable(ChildTitle));
        editor.setIfModified(true);
        store.protect();
    }
    std::raise(SIGKILL);
    return 1;
}

// Counts, at each question, the copies still on disk.
class WatchingPrompts : public ScriptedPrompts
{
public:
    explicit WatchingPrompts(const QString& folder)
        : m_folder(folder)
    {
    }
    QMessageBox::StandardButton question(const QString& text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override
    {
        m_questions << text;
        m_copiesOnScreen << QDir(m_folder).entryList({ QStringLiteral("*.tur") }, QDir::Files).size();
        return ScriptedPrompts::question(text, buttons, defaultButton);
    }
    QStringList m_questions;
    QList<int> m_copiesOnScreen;

private:
    QString m_folder;
};

using Answers = QList<int>;

QStringList filesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({ pattern }, QDir::Files | QDir::System);
}

QFile::Permissions privateFile()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
}

} // namespace

class TestRecoveryStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void offersEachCopyLeftBehind_data();
    void offersEachCopyLeftBehind();
    void refusesWhatIsNotSafe_data();
    void refusesWhatIsNotSafe();
    void keepsCopiesPrivate();
    void savingDiscardsTheCopy();

private:
    // Runs a session of this program that is killed; it keeps text under title unless text is null.
    void leaveSession(const QString& title, const QString& text);
    QString folder() const { return m_dir->filePath(QStringLiteral("recovery")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecoveryStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestRecoveryStore::leaveSession(const QString& title, const QString& text)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildFolder), folder());
    environment.insert(QString::fromLatin1(ChildTitle), title);
    if (!text.isNull()) {
        environment.insert(QString::fromLatin1(ChildText), text);
    }
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
}

void TestRecoveryStore::offersEachCopyLeftBehind_data()
{
    // Each title is a killed session's, oldest first; the text of session i is "move: i;".
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("locksAlone");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<int>("restored");
    QTest::addColumn<int>("kept");

    const int yes = QMessageBox::Yes;
    const int discard = QMessageBox::Discard;
    const int cancel = QMessageBox::Cancel;
    QTest::newRow("an untitled text is restored") << QStringList { QString() } << 0 << Answers { yes } << 0 << 0;
    QTest::newRow("a discarded copy is gone") << QStringList { QStringLiteral("a.tur") } << 0 << Answers { discard }
                                              << -1 << 0;
    QTest::newRow("a cancelled question keeps the copy for the next start")
        << QStringList { QStringLiteral("a.tur") } << 0 << Answers { cancel } << -1 << 1;
    QTest::newRow("two killed sessions are both offered, newest first")
        << QStringList { QStringLiteral("old.tur"), QStringLiteral("new.tur") } << 0 << Answers { discard, yes } << 0
        << 0;
    QTest::newRow("restoring the newest keeps the other for the next start")
        << QStringList { QStringLiteral("old.tur"), QStringLiteral("new.tur") } << 0 << Answers { yes } << 1 << 1;
    QTest::newRow("a file name with a newline stays whole")
        << QStringList { QStringLiteral("line\nbreak.tur") } << 0 << Answers { yes } << 0 << 0;
    QTest::newRow("a stale lock alone is cleaned without a question") << QStringList() << 2 << Answers() << -1 << 0;
}

void TestRecoveryStore::offersEachCopyLeftBehind()
{
    QFETCH(QStringList, titles);
    QFETCH(int, locksAlone);
    QFETCH(Answers, answers);
    QFETCH(int, restored);
    QFETCH(int, kept);

    for (int i = 0; i < titles.size(); ++i) {
        leaveSession(titles[i], QStringLiteral("move: %1;\n").arg(i));
    }
    for (int i = 0; i < locksAlone; ++i) {
        leaveSession(QString(), QString());
    }

    // A live session beside, in this process: its copy is never offered.
    QEditor liveEditor;
    RecoveryStore live(&liveEditor, nullptr, folder());
    liveEditor.setPlainText(QStringLiteral("live"));
    liveEditor.setIfModified(true);
    live.protect();

    QEditor editor;
    RecoveryStore store(&editor, nullptr, folder());
    WatchingPrompts prompts(folder());
    for (int answer : answers) {
        prompts.setNextAnswer(static_cast<QMessageBox::StandardButton>(answer));
    }
    QCOMPARE(store.offerRestore(prompts), restored >= 0);

    // Asked once per answer, newest first, each copy on disk while asked about.
    QCOMPARE(prompts.m_questions.size(), answers.size());
    int onDisk = titles.size() + 1;
    for (int k = 0; k < answers.size(); ++k) {
        const QString title = titles.at(titles.size() - 1 - k);
        QVERIFY2(prompts.m_questions[k].contains(title.isEmpty() ? QStringLiteral("untitled") : title.toHtmlEscaped()),
                 qPrintable(prompts.m_questions[k]));
        QCOMPARE(prompts.m_copiesOnScreen[k], onDisk);
        if (answers[k] == QMessageBox::Discard) {
            --onDisk;
        }
    }

    if (restored >= 0) {
        QCOMPARE(editor.toPlainText(), QStringLiteral("move: %1;\n").arg(restored));
        const QString title = titles[restored];
        QCOMPARE(editor.documentTitle(), title.isEmpty() ? QString() : QDir::current().absoluteFilePath(title));
        QVERIFY(editor.isModified());
        // Protected again before anything else happens.
        QFile copy(store.filePath());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(copy.readAll()), editor.toPlainText());
    } else {
        QVERIFY(editor.toPlainText().isEmpty());
        QVERIFY(!QFile::exists(store.filePath()));
    }
    const QStringList copies = filesIn(folder(), QStringLiteral("*.tur"));
    QCOMPARE(copies.size(), kept + 1 + (restored >= 0 ? 1 : 0));
    QVERIFY(QFile::exists(live.filePath()));
    // Only the two live sessions hold locks; a kept copy is offered again by its lock being free.
    QCOMPARE(filesIn(folder(), QStringLiteral("*.lock")).size(), 2);

    if (kept > 0) {
        QEditor next;
        RecoveryStore again(&next, nullptr, folder());
        ScriptedPrompts nextPrompts;
        again.offerRestore(nextPrompts);
        QCOMPARE(nextPrompts.shownMessages().size(), kept);
    }
}

void TestRecoveryStore::refusesWhatIsNotSafe_data()
{
    QTest::addColumn<QString>("unsafe");
    QTest::addColumn<QString>("message");

    QTest::newRow("a folder of another user") << QStringLiteral("folder owner") << QStringLiteral("another user");
    QTest::newRow("a folder that is a link") << QStringLiteral("folder link") << QStringLiteral("symbolic link");
    QTest::newRow("a copy that is a link") << QStringLiteral("*.tur") << QStringLiteral("symbolic link");
    QTest::newRow("its information as a link") << QStringLiteral("*.json") << QStringLiteral("symbolic link");
}

void TestRecoveryStore::refusesWhatIsNotSafe()
{
    QFETCH(QString, unsafe);
    QFETCH(QString, message);

    const QString secret = m_dir->filePath(QStringLiteral("secret.tur"));
    QFile file(secret);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("another's text\n");
    file.close();

    if (unsafe == QLatin1String("folder owner")) {
        if (::geteuid() != 0) {
            QSKIP("Giving a folder to another user needs root");
        }
        QVERIFY(QDir().mkpath(folder()));
        QCOMPARE(::chown(QFile::encodeName(folder()).constData(), 65534, 65534), 0);
    } else if (unsafe == QLatin1String("folder link")) {
        QVERIFY(QFile::link(m_dir->path(), folder()));
    } else {
        leaveSession(QStringLiteral("mine.tur"), QStringLiteral("mine"));
        const QStringList planted = filesIn(folder(), unsafe);
        QCOMPARE(planted.size(), 1);
        const QString path = folder() + QLatin1Char('/') + planted.first();
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::link(secret, path));
    }

    QEditor editor;
    RecoveryStore store(&editor, nullptr, folder());
    ScriptedPrompts prompts;
    prompts.setNextAnswer(QMessageBox::Yes);
    QVERIFY(!store.offerRestore(prompts));
    QCOMPARE(prompts.shownMessages().size(), 1);
    QVERIFY2(prompts.shownMessages().first().contains(message), qPrintable(prompts.shownMessages().first()));
    QVERIFY(editor.toPlainText().isEmpty());

    // Nothing is written into a folder refused, and the link's target keeps its text.
    editor.setPlainText(QStringLiteral("new"));
    editor.setIfModified(true);
    store.protect();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("another's text\n"));
    QCOMPARE(filesIn(m_dir->path(), QStringLiteral("*.tur")), QStringList { QStringLiteral("secret.tur") });
}

void TestRecoveryStore::keepsCopiesPrivate()
{
    // A folder left open by an older Korvane is closed to others.
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QFile::setPermissions(folder(), QFile::Permissions(0x7755)));

    QEditor editor;
    RecoveryStore store(&editor, nullptr, folder());
    // A link planted where the copy goes is replaced, not followed.
    const QString target = m_dir->filePath(QStringLiteral("target"));
    QVERIFY(QFile::link(target, store.filePath()));
    editor.setPlainText(QStringLiteral("private"));
    editor.setIfModified(true);
    store.protect();

    QVERIFY(!QFile::exists(target));
    QVERIFY(!QFileInfo(store.filePath()).isSymLink());
    QCOMPARE(QFileInfo(folder()).permissions(),
             privateFile() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    const QStringList files = QDir(folder()).entryList(QDir::Files);
    QCOMPARE(files.size(), 3);
    for (const QString& name : files) {
        QCOMPARE(QFileInfo(folder() + QLatin1Char('/') + name).permissions(), privateFile());
    }
}

void TestRecoveryStore::savingDiscardsTheCopy()
{
    QEditor editor;
    RecoveryStore store(&editor, nullptr, folder());
    store.setDelay(0);
    editor.insertPlainText(QStringLiteral("move: 1;"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(store.filePath()), 30000);
    editor.document()->setModified(false);
    QVERIFY(!QFile::exists(store.filePath()));
    QCOMPARE(filesIn(folder(), QStringLiteral("*")).size(), 1);
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(ChildFolder)) {
        return childMain();
    }
    TestRecoveryStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recoverystore.moc"

#include "system/outputfile.h"

#include <QImage>
#include <QImageWriter>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

int warnings = 0;

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        ++warnings;
    }
}

} // namespace

class TestOutputFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void unwritable_data();
    void unwritable();
    void anImageOnAFullDevice();
    void aPipeIsWaitedFor();
    void aPipeWhoseReaderLeaves();
    void writesTheWholeTextOrNothing_data();
    void writesTheWholeTextOrNothing();
    void writesTheStandardOutputInPlace();
};

void TestOutputFile::cleanup()
{
    OutputFile::setWriteSpecialFiles(false);
}

// Found before anything is written, and the same reason open() gives.
void TestOutputFile::unwritable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("specialFiles");
    QTest::addColumn<QString>("reason");

    const QString special("It is a device or a pipe, not a regular file, and only regular files are written");
    const auto system = [](int error) { return QString::fromLocal8Bit(strerror(error)); };
    QTest::newRow("a new file in a folder") << "new.res" << false << "";
    QTest::newRow("a file that exists") << "old.res" << false << "";
    QTest::newRow("a new file in a missing folder") << "none/new.res" << false << system(ENOENT);
    QTest::newRow("a name ending with a slash in a missing folder") << "none/" << false << system(ENOENT);
    QTest::newRow("a folder") << "folder" << false << system(EISDIR);
    QTest::newRow("a file taken for a folder") << "old.res/new.res" << false << system(ENOTDIR);
    QTest::newRow("a pipe") << "pipe" << false << special;
    QTest::newRow("a device") << "/dev/null" << false << special;
    QTest::newRow("a device through a link") << "null.res" << false << special;
    QTest::newRow("a device when special files are written") << "null.res" << true << "";
    QTest::newRow("a standard output open for writing") << "-" << false << "";
    QTest::newRow("a standard output open for reading only") << "-" << false << "The standard output is closed";
    QTest::newRow("a closed standard output") << "-" << false << "The standard output is closed";
}

void TestOutputFile::unwritable()
{
    QFETCH(QString, name);
    QFETCH(bool, specialFiles);
    QFETCH(QString, reason);

    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("folder"));
    QFile old(folder.filePath("old.res"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("Tur=Res\n") == 8);
    old.close();
    QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);
    QVERIFY(QFile::link("/dev/null", folder.filePath("null.res")));

    // What "-" writes to.
    QFile standardOutput(folder.filePath("old.res"));
    const QByteArray tag(QTest::currentDataTag());
    QVERIFY(standardOutput.open(tag.contains("reading only") ? QIODevice::ReadOnly : QIODevice::Append));
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    OutputFile::setWriteSpecialFiles(specialFiles);
    OutputFile file(name.startsWith('/') || name == "-" ? name : folder.filePath(name));
    file.setStandardOutputDescriptor(tag.startsWith("a closed") ? 1000 : standardOutput.handle());
    QCOMPARE(file.unwritableReason(), reason);
    if (reason.isEmpty()) {
        return;
    }
    QVERIFY(!file.open(QIODevice::WriteOnly));
    QCOMPARE(file.errorString(), reason);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

// The encoder meets no failed write, so it prints nothing; the reason comes
// from commit().
void TestOutputFile::anImageOnAFullDevice()
{
    if (!QFileInfo::exists("/dev/full")) {
        QSKIP("no /dev/full on this system");
    }
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::blue);
    OutputFile::setWriteSpecialFiles(true);
    for (const char* format : { "png", "jpg" }) {
        OutputFile file("/dev/full");
        QVERIFY(file.open(QIODevice::WriteOnly));
        warnings = 0;
        const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
        QImageWriter(&file, format).write(image);
        qInstallMessageHandler(previous);
        QCOMPARE(warnings, 0);
        QVERIFY(!file.commit());
        QCOMPARE(file.errorString(), QString::fromLocal8Bit(strerror(ENOSPC)));
        QVERIFY(!file.mayBeIncomplete());
    }
}

// The runner waits for the reader, as a shell redirection would.
void TestOutputFile::aPipeIsWaitedFor()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] {
        QFile pipe(path);
        if (pipe.open(QIODevice::ReadOnly)) {
            received = pipe.readAll();
        }
    });
    OutputFile::setWriteSpecialFiles(true);
    OutputFile waiting(path);
    const bool written = waiting.open(QIODevice::WriteOnly) && waiting.write("Tur=Res\n") == 8 && waiting.commit();
    reader.join();
    QVERIFY(written);
    QCOMPARE(received, QByteArray("Tur=Res\n"));
}

// A reader that leaves before the end makes the write fail, which is
// reported: the program is not ended by the signal that would come with it.
void TestOutputFile::aPipeWhoseReaderLeaves()
{
    OutputFile::protectProcess();
    QTemporaryDir folder;
    const QString path = folder.filePath("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    std::thread reader([&] {
        QFile pipe(path);
        char first;
        if (pipe.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            pipe.read(&first, 1);
        }
    });
    OutputFile::setWriteSpecialFiles(true);
    OutputFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // More than a pipe holds, so that the writer waits for the reader.
    file.write(QByteArray(4 << 20, 'x'));
    reader.join();
    QVERIFY(!file.commit());
    QCOMPARE(file.errorString(), QString::fromLocal8Bit(strerror(EPIPE)));
}

void TestOutputFile::writesTheWholeTextOrNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray old = QByteArray("Tur=Res\n") + QByteArray("Y 1 2\n").repeated(100);
    QTest::newRow("a new file") << "new.res" << QByteArray() << "commit" << QByteArray("Tur=Res\nY 3 4\n");
    QTest::newRow("a longer file replaced by a shorter text, nothing of it left")
        << "old.res" << old << "commit" << QByteArray("Tur=Res\nY 3 4\n");
    QTest::newRow("a file given up half-way keeps its old text") << "old.res" << old << "cancel" << old;
    QTest::newRow("a file closed without a commit keeps its old text") << "old.res" << old << "close" << old;
    QTest::newRow("a new file given up is not left behind") << "new.res" << QByteArray() << "cancel" << QByteArray();
    QTest::newRow("a header written again after a seek, as encoders do")
        << "old.res" << old << "seek" << QByteArray("Tur=Res\nY 9 9\n");
    QTest::newRow("through a symbolic link: the file it names gets the text, the link stays")
        << "link.res" << old << "commit" << QByteArray("Tur=Res\nY 3 4\n");
}

void TestOutputFile::writesTheWholeTextOrNothing()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, old);
    QFETCH(QString, how);
    QFETCH(QByteArray, expected);

    QTemporaryDir folder;
    const QString oldPath = folder.filePath("old.res");
    if (!old.isEmpty()) {
        QFile file(oldPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    QVERIFY(QFile::link("old.res", folder.filePath("link.res")));
    const QString path = folder.filePath(target);

    {
        OutputFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (how == "seek") {
            QCOMPARE(file.write("Tur=Res\nY 3 4\n"), qint64(14));
            QVERIFY(file.seek(10));
            QCOMPARE(file.write("9 9"), qint64(3));
        } else {
            // In pieces, as a stream flushes them.
            QCOMPARE(file.write("Tur=Res\n"), qint64(8));
            QCOMPARE(file.write("Y 3 4\n"), qint64(6));
        }
        if (how == "cancel") {
            file.cancelWriting();
            QVERIFY(!file.isOpen());
        } else if (how == "close") {
            file.close();
        } else {
            QVERIFY2(file.commit(), qPrintable(file.errorString()));
        }
    }
    const QString written = target == "link.res" ? oldPath : path;
    QFile file(written);
    QCOMPARE(file.exists(), !expected.isEmpty());
    if (!expected.isEmpty()) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
    }
    QVERIFY(QFileInfo(folder.filePath("link.res")).isSymLink());
    // Nothing else is left in the folder: no temporary file.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             1 + int(QFileInfo::exists(oldPath)) + int(target == "new.res" && !expected.isEmpty()));
}

// "-" writes to the standard output as it is, a pipe here.
void TestOutputFile::writesTheStandardOutputInPlace()
{
    int ends[2];
    QCOMPARE(::pipe(ends), 0);
    {
        OutputFile file(QStringLiteral("-"));
        file.setStandardOutputDescriptor(ends[1]);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.isSequential());
        QCOMPARE(file.write("Tur=Res\n"), qint64(8));
        QCOMPARE(file.write("N 0 0\n"), qint64(6));
        QVERIFY(file.commit());
    }
    // The standard output stays open for what comes after.
    QCOMPARE(::write(ends[1], "end", 3), ssize_t(3));
    ::close(ends[1]);
    QByteArray received(64, '\0');
    ssize_t total = 0;
    for (ssize_t count; (count = ::read(ends[0], received.data() + total, size_t(received.size() - total))) > 0;) {
        total += count;
    }
    ::close(ends[0]);
    QCOMPARE(received.left(int(total)), QByteArray("Tur=Res\nN 0 0\nend"));
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"

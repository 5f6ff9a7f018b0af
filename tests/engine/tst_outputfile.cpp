#include "system/outputfile.h"

#include <QImage>
#include <QImageWriter>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <thread>

#include <sys/stat.h>

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

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"

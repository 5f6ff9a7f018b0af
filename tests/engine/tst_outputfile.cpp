#include "system/outputfile.h"

#include <QImage>
#include <QImageWriter>
#include <QtTest>

#include <cerrno>
#include <chrono>
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
    void anImageOnAFullDevice();
    void aPipeWithoutAReader();
    void writesTheWholeTextOrNothing_data();
    void writesTheWholeTextOrNothing();
    void writesTheStandardOutputInPlace();
};

// The encoder meets no failed write, so it prints nothing; the reason comes
// from commit().
void TestOutputFile::anImageOnAFullDevice()
{
    if (!QFileInfo::exists("/dev/full")) {
        QSKIP("no /dev/full on this system");
    }
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::blue);
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

// Opening it must not wait for a reader that never comes.
void TestOutputFile::aPipeWithoutAReader()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    OutputFile file(path);
    QVERIFY(!file.open(QIODevice::WriteOnly));
    QCOMPARE(file.errorString(), QString("No program is reading from this pipe"));
    QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());

    // The runner waits for the reader, as a shell redirection would.
    QByteArray received;
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        QFile pipe(path);
        if (pipe.open(QIODevice::ReadOnly)) {
            received = pipe.readAll();
        }
    });
    OutputFile::setWaitForReaders(true);
    OutputFile waiting(path);
    const bool written = waiting.open(QIODevice::WriteOnly) && waiting.write("Tur=Res\n") == 8 && waiting.commit();
    OutputFile::setWaitForReaders(false);
    reader.join();
    QVERIFY(written);
    QCOMPARE(received, QByteArray("Tur=Res\n"));
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

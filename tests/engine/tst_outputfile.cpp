#include "system/outputfile.h"

#include <QImage>
#include <QImageWriter>
#include <QtTest>

#include <cerrno>
#include <chrono>
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
    void anImageOnAFullDevice();
    void aPipeWithoutAReader();
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

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"

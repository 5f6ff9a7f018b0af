#include "frontend/outputfile.h"

#include <QImage>
#include <QImageWriter>
#include <QtTest>

#include <cerrno>
#include <cstring>

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

QTEST_GUILESS_MAIN(TestOutputFile)
#include "tst_outputfile.moc"

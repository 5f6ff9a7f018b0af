#include "render/imageexport.h"
#include "render/turtlerenderer.h"
#include "turtle/walkingturtle.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The export runs without any application object, as the headless runner
// may call it: this test has none.
class TestImageExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesTheFormatNamedByTheSuffix_data();
    void writesTheFormatNamedByTheSuffix();
    void writesExactlyTheRenderedPixels();
    void writesTheSmallestImage();
    void reportsWhyNothingWasWritten_data();
    void reportsWhyNothingWasWritten();
    void compressesPngAndCompletesNames();
    void keepsAnExistingFileWhenTheFormatIsUnknown();
    void dialogsStartInAFolderThatExists();
    void proposedNameFollowsTheScript_data();
    void proposedNameFollowsTheScript();

private:
    WalkingTurtle square() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImageExport::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

WalkingTurtle TestImageExport::square() const
{
    WalkingTurtle turtle;
    turtle.put(-200, -200);
    turtle.setWrite(true);
    for (int side = 0; side < 4; ++side) {
        turtle.move(400);
        turtle.turn(90);
    }
    return turtle;
}

void TestImageExport::writesTheFormatNamedByTheSuffix_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<QByteArray>("format");

    const QByteArray png("\x89PNG", 4);
    const QByteArray jpeg("\xFF\xD8\xFF", 3);
    QTest::newRow("a .png name gives PNG") << "trace.png" << png << QByteArray("png");
    QTest::newRow("a .jpg name gives JPEG") << "trace.jpg" << jpeg << QByteArray("jpeg");
    QTest::newRow("a .jpeg name gives JPEG") << "trace.jpeg" << jpeg << QByteArray("jpeg");
    QTest::newRow("an upper-case suffix counts") << "TRACE.PNG" << png << QByteArray("png");
}

void TestImageExport::writesTheFormatNamedByTheSuffix()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    QFETCH(QByteArray, format);

    const QString path = m_dir->filePath(name);
    const WalkingTurtle turtle = square();
    const ImageExportResult result
        = exportImage(path, QSize(320, 200), &turtle, TurtleRenderer::defaultPen(), true);
    QVERIFY2(result.written, qPrintable(result.reason));
    QVERIFY(result.reason.isEmpty());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(magic.size()), magic);
    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    QCOMPARE(reader.size(), QSize(320, 200));
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);
}

void TestImageExport::writesExactlyTheRenderedPixels()
{
    const WalkingTurtle turtle = square();
    const QPen pen(QBrush(QColor(200, 40, 10)), 7, Qt::DashDotLine, Qt::RoundCap, Qt::MiterJoin);
    const QString path = m_dir->filePath("exact.png");
    QVERIFY(exportImage(path, QSize(640, 480), &turtle, pen, true).written);

    const QImage expected = renderImage(QSize(640, 480), &turtle, pen, true);
    QCOMPARE(expected.format(), QImage::Format_RGB32);
    QCOMPARE(expected.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), expected);
}

void TestImageExport::writesTheSmallestImage()
{
    const WalkingTurtle turtle = square();
    const QString path = m_dir->filePath("dot.png");
    QVERIFY(exportImage(path, QSize(1, 1), &turtle, TurtleRenderer::defaultPen(), true).written);
    QCOMPARE(QImage(path).size(), QSize(1, 1));
}

void TestImageExport::reportsWhyNothingWasWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("a suffix that names no image format") << "trace.tur" << QSize(80, 60) << "trace.tur";
    QTest::newRow("a name without a suffix") << "trace" << QSize(80, 60) << "trace";
    QTest::newRow("a folder that does not exist")
        << "missing/folder/trace.png" << QSize(80, 60) << "trace.png";
    QTest::newRow("a folder standing where the file should go")
        << "taken.png" << QSize(80, 60) << "taken.png";
    QTest::newRow("an image without width") << "flat.png" << QSize(0, 60) << "0 x 60";
    QTest::newRow("an image without height") << "flat.png" << QSize(80, 0) << "80 x 0";
    QTest::newRow("a JPEG side over 65,500 pixels") << "long.jpg" << QSize(65501, 10) << "65500";
    QTest::newRow("an image over the memory cap, the cap named")
        << "huge.png" << QSize(20000, 20000) << QString::number(maxImagePixels());
}

void TestImageExport::reportsWhyNothingWasWritten()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QString, mentions);

    QVERIFY(QDir(m_dir->path()).mkdir("taken.png"));
    const QString path = m_dir->filePath(name);
    const WalkingTurtle turtle = square();
    const ImageExportResult result = exportImage(path, size, &turtle, TurtleRenderer::defaultPen(), true);
    QVERIFY(!result.written);
    QVERIFY2(result.reason.contains(mentions), qPrintable(result.reason));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 0);
}

void TestImageExport::compressesPngAndCompletesNames()
{
    // Mostly white: compressed, a small fraction of the raw pixels.
    const WalkingTurtle turtle = square();
    const QString path = m_dir->filePath("small.png");
    QVERIFY(exportImage(path, QSize(800, 600), &turtle, TurtleRenderer::defaultPen(), true).written);
    QVERIFY2(QFileInfo(path).size() < 100000, qPrintable(QString::number(QFileInfo(path).size())));
    QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32),
        renderImage(QSize(800, 600), &turtle, TurtleRenderer::defaultPen(), true));

    QCOMPARE(withImageSuffix("plan.v2", "png image (*.png)"), QString("plan.v2.png"));
    QCOMPARE(withImageSuffix("plan", "jpeg image (*.jpeg *.jpg)"), QString("plan.jpeg"));
    QCOMPARE(withImageSuffix("plan.JPG", "png image (*.png)"), QString("plan.JPG"));
}

void TestImageExport::keepsAnExistingFileWhenTheFormatIsUnknown()
{
    const QString path = m_dir->filePath("notes.txt");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    const WalkingTurtle turtle = square();
    QVERIFY(!exportImage(path, QSize(80, 60), &turtle, TurtleRenderer::defaultPen(), true).written);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

void TestImageExport::dialogsStartInAFolderThatExists()
{
    // A home of the test's own, without its Pictures folder at first.
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(m_dir->path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString pictures = m_dir->filePath(QStringLiteral("Pictures"));
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation), pictures);

    const QString gone = m_dir->filePath(QStringLiteral("gone"));
    const QString home1 = existingFolderOr(gone, true);
    const QString home2 = existingFolderOr(QString(), true);
    QVERIFY(QDir().mkdir(pictures));
    const QString picturesThen = existingFolderOr(gone, true);
    const QString kept = existingFolderOr(m_dir->path(), true);
    qputenv("HOME", home);
    if (!config.isNull()) {
        qputenv("XDG_CONFIG_HOME", config);
    }

    // The home rather than a Pictures folder that the file dialog would take for a file name.
    QCOMPARE(home1, m_dir->path());
    QCOMPARE(home2, m_dir->path());
    QCOMPARE(picturesThen, pictures);
    QCOMPARE(kept, m_dir->path());
}

void TestImageExport::proposedNameFollowsTheScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("name");

    QTest::newRow("named after the script") << "/work/square.tur" << "png image (*.png)" << "square.png";
    QTest::newRow("a script name with dots keeps them") << "/work/star.v2.tur" << "jpeg image (*.jpeg *.jpg)"
                                                         << "star.v2.jpeg";
    QTest::newRow("an untitled script") << "" << "SVG image (*.svg)" << "drawing.svg";
}

void TestImageExport::proposedNameFollowsTheScript()
{
    QFETCH(QString, script);
    QFETCH(QString, filter);
    QFETCH(QString, name);

    QCOMPARE(proposedExportPath(m_dir->path(), script, filter), m_dir->filePath(name));
}

QTEST_APPLESS_MAIN(TestImageExport)
#include "tst_imageexport.moc"

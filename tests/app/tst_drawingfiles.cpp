#include "dialogprompts.h"
#include "drawingfiles.h"
#include "scriptedprompts.h"
#include "turtle/walkingturtle.h"
#include "widgets/qrenderdialogue.h"
#include "widgets/qturtleoutputarea.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// The drawing's file commands on a walking turtle and an output area alone,
// every question answered by the test.
class TestDrawingFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void traces_data();
    void traces();
    void exports_data();
    void exports();
    void printing_data();
    void printing();
    void renderDialogueAnswers_data();
    void renderDialogueAnswers();

private:
    QString savedTrace();

    std::unique_ptr<QTemporaryDir> m_dir;
    WalkingTurtle m_turtle;
    std::unique_ptr<QTurtleOutputArea> m_view;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<DrawingFiles> m_files;
};

void TestDrawingFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_turtle = WalkingTurtle();
    m_turtle.setWrite(true);
    m_turtle.move(40);
    m_view = std::make_unique<QTurtleOutputArea>();
    m_view->setWalkingTurtle(&m_turtle);
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_files = std::make_unique<DrawingFiles>(&m_turtle, m_view.get(), m_prompts.get());
}

void TestDrawingFiles::cleanup()
{
    m_files.reset();
    m_prompts.reset();
    m_view.reset();
    m_dir.reset();
}

// The drawing as Save Image writes it.
QString TestDrawingFiles::savedTrace()
{
    const QString path = m_dir->filePath(QStringLiteral("saved.res"));
    QFile::remove(path);
    m_prompts->setNextFileName(path);
    m_files->saveTrace();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QStringLiteral("(none)");
}

void TestDrawingFiles::traces_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("writing");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("saved");

    QTest::newRow("a trace replaces the drawing and the pen")
        << QByteArray("Tur=Res\nN 0 0\nY 100 0\nN 0 50\nY 0 100\n") << true << true << ""
        << "Tur=Res\nN 0 0\nY 100 0\nN 0 50\nY 0 100\n";
    QTest::newRow("a trace ending with the pen up, without a last newline")
        << QByteArray("Tur=Res\nY 5 7\nN 5 7") << true << false << "" << "Tur=Res\nY 5 7\nN 5 7\n";
    QTest::newRow("lines after an empty one are left unread, and the user told")
        << QByteArray("Tur=Res\nN 0 0\nY 1 1\n\nY 2 2\n") << true << true << "Trace partly loaded"
        << "Tur=Res\nN 0 0\nY 1 1\n";
    QTest::newRow("a script is no trace: the drawing stays") << QByteArray("Tur=Asm\nmove: 5;\n") << false << true
                                                            << "is not a turtle image" << "";
    QTest::newRow("a missing file: the drawing stays") << QByteArray() << false << true << "Load failed" << "";
}

void TestDrawingFiles::traces()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loaded);
    QFETCH(bool, writing);
    QFETCH(QString, warning);
    QFETCH(QString, saved);

    const QString path = m_dir->filePath(QStringLiteral("in.res"));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QString before = savedTrace();
    QSignalSpy traceLoaded(m_files.get(), &DrawingFiles::traceLoaded);
    QSignalSpy fileUsed(m_files.get(), &DrawingFiles::fileUsed);

    m_prompts->setNextFileName(path);
    m_files->openTrace();

    QCOMPARE(traceLoaded.size(), int(loaded));
    QCOMPARE(m_turtle.isWriting(), writing);
    QCOMPARE(savedTrace(), loaded ? saved : before);
    // Both the trace opened and the one saved go to the recent files.
    QCOMPARE(fileUsed.size(), loaded ? 2 : 1);
    QCOMPARE(m_prompts->shownMessages().size(), int(!warning.isEmpty()));
    if (!warning.isEmpty()) {
        QVERIFY2(m_prompts->shownMessages().constFirst().contains(warning),
                 qPrintable(m_prompts->shownMessages().constFirst()));
    }
}

void TestDrawingFiles::exports_data()
{
    QTest::addColumn<bool>("svg");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    // The script drawn, and the name the file dialog proposes for its drawing.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("proposed");

    QTest::newRow("an image under the name given")
        << false << true << "plan.png" << "plan.png" << "/work/square.tur" << "square.png";
    QTest::newRow("an image named without its format's suffix gets it")
        << false << true << "plan" << "plan.png" << "" << "drawing.png";
    QTest::newRow("an SVG file gets its suffix") << true << true << "plan" << "plan.svg" << "/work/star.v2.tur"
                                                 << "star.v2.svg";
    QTest::newRow("the render dialogue cancelled asks no name") << false << false << "plan.png" << "" << "" << "";
    QTest::newRow("the SVG settings cancelled asks no name") << true << false << "plan.svg" << "" << "" << "";
    QTest::newRow("the file dialog cancelled writes nothing") << false << true << "" << "" << "" << "drawing.png";
}

void TestDrawingFiles::exports()
{
    QFETCH(bool, svg);
    QFETCH(bool, answered);
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(QString, script);
    QFETCH(QString, proposed);

    m_files->setScriptPath(script);
    if (answered) {
        m_prompts->setNextImageRequest({ QSize(64, 48), QStringLiteral("png image (*.png)"), false });
    }
    m_prompts->setNextFileName(name.isEmpty() ? QString() : m_dir->filePath(name));
    m_files->setImageFolder(m_dir->path());
    svg ? m_files->exportSvg() : m_files->exportImage();

    QCOMPARE(m_prompts->shownDialogs().size(), int(answered));
    if (answered) {
        // Where the dialog starts: a file named after the script in the folder for images, which exists.
        QVERIFY2(m_prompts->shownDialogs().constFirst().endsWith(QStringLiteral(" in ") + m_dir->filePath(proposed)),
                 qPrintable(m_prompts->shownDialogs().constFirst()));
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), written.isEmpty() ? QStringList() : QStringList { written });
    QVERIFY2(m_prompts->shownMessages().isEmpty(), qPrintable(m_prompts->shownMessages().join('\n')));
    if (written.endsWith(QStringLiteral(".png"))) {
        QCOMPARE(QImage(m_dir->filePath(written)).size(), QSize(64, 48));
    }
}

void TestDrawingFiles::printing_data()
{
    QTest::addColumn<bool>("confirmed");

    QTest::newRow("the print dialog confirmed prints the drawing") << true;
    QTest::newRow("the print dialog cancelled prints nothing") << false;
}

void TestDrawingFiles::printing()
{
    QFETCH(bool, confirmed);

    const QString path = m_dir->filePath(QStringLiteral("drawing.pdf"));
    if (confirmed) {
        m_prompts->setNextPrintFile(path);
    }
    m_files->print();
    QCOMPARE(QFileInfo::exists(path), confirmed);
    if (confirmed) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(4) == "%PDF");
    }
    QVERIFY(m_prompts->shownMessages().isEmpty());
}

void TestDrawingFiles::renderDialogueAnswers_data()
{
    QTest::addColumn<bool>("formatChoice");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("an image: size, format and marker as chosen") << true << true;
    QTest::newRow("an SVG file: the format is not asked") << false << true;
    QTest::newRow("cancelled") << true << false;
}

// The real dialogue behind the window's prompts, answered as a user would.
void TestDrawingFiles::renderDialogueAnswers()
{
    QFETCH(bool, formatChoice);
    QFETCH(bool, accepted);

    bool formatShown = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialogue = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialogue);
        auto* format = dialogue->findChild<QComboBox*>(QStringLiteral("outputFormatComboBox"));
        formatShown = !format->isHidden();
        format->setCurrentIndex(1);
        dialogue->findChild<QSpinBox*>(QStringLiteral("widthSpinBox"))->setValue(300);
        dialogue->findChild<QSpinBox*>(QStringLiteral("heightSpinBox"))->setValue(120);
        dialogue->findChild<QCheckBox*>(QStringLiteral("showTurtleCheckBox"))->setChecked(false);
        accepted ? dialogue->accept() : dialogue->reject();
    });
    DialogPrompts prompts(nullptr);
    ImageRequest request;
    QCOMPARE(prompts.imageRequest(request, formatChoice), accepted);
    QCOMPARE(formatShown, formatChoice);
    if (accepted) {
        QCOMPARE(request.size, QSize(300, 120));
        QCOMPARE(request.filter, QStringLiteral("jpeg image (*.jpeg *.jpg)"));
        QVERIFY(!request.showTurtle);
    }
}

QTEST_MAIN(TestDrawingFiles)
#include "tst_drawingfiles.moc"

#include "windowfixture.h"

#include <QTemporaryDir>

// The Render menu and Save Image driven from the main window, dialogs answered.
class TestDrawingCommands : public QObject, protected WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void exportsAtTheSizeAskedFor_data();
    void exportsAtTheSizeAskedFor();
    void reportsAFailedSaveImage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDrawingCommands::initTestCase()
{
    prepareApplication();
}

void TestDrawingCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(openWindow());
}

void TestDrawingCommands::cleanup()
{
    closeWindow();
    m_dir.reset();
}

void TestDrawingCommands::exportsAtTheSizeAskedFor_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");

    QTest::newRow("an image") << "actionRender" << "wide.png" << "wide.png";
    QTest::newRow("a name whose dot names no format gets the chosen one")
        << "actionRender" << "plan.v2" << "plan.v2.png";
    QTest::newRow("an SVG file") << "actionExport_SVG" << "wide" << "wide.svg";
}

void TestDrawingCommands::exportsAtTheSizeAskedFor()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(QString, written);

    m_prompts->setNextImageRequest({ QSize(300, 120), QStringLiteral("png image (*.png)"), true });
    m_prompts->setNextFileName(m_dir->filePath(name));
    action(command.toLatin1().constData())->trigger();
    QVERIFY2(m_prompts->shownMessages().isEmpty(), qPrintable(m_prompts->shownMessages().join('\n')));
    const QString path = m_dir->filePath(written);
    QVERIFY(QFile::exists(path));
    if (written.endsWith(".svg")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("viewBox=\"0 0 300 120\""));
    } else {
        QCOMPARE(QImage(path).size(), QSize(300, 120));
    }
}

void TestDrawingCommands::reportsAFailedSaveImage()
{
    const QString path = m_dir->filePath("missing/folder/drawing.res");
    m_prompts->setNextFileName(path);
    action("actionSave_Image")->trigger();
    QVERIFY(!QFile::exists(path));
    QCOMPARE(m_prompts->shownMessages().size(), 1);
    QVERIFY2(m_prompts->shownMessages().first().contains("drawing.res"), qPrintable(m_prompts->shownMessages().first()));
}

QTEST_MAIN(TestDrawingCommands)
#include "tst_drawingcommands.moc"

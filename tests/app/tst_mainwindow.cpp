#include "windowfixture.h"
#include "../drawing/outputareafixture.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qturtletraceproperties.h"

#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>

#include <memory>

#include <unistd.h>

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    return QTextStream(&file).readAll();
}

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    QTextStream(&file) << text;
}

} // namespace

class TestMainWindow : public QObject, protected WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void helpToggleIsTheLastEntryOfTheHelpMenu();
    void editorActionEnablesTheEditor();
    void runDrawsTheExampleAndFillsTheErrorList();
    void runAgainDrawsFromWhereTheTurtleStopped();
    void runShowsErrorsOfABrokenScript();
    void debugSteppingFollowsTheMachine();
    void continueFinishesAsTheLastStepWould();
    void stopAndRestart();
    void clearWhileDebugging();
    void writeActionFollowsThePen();
    void penPanelReachesTheOutputArea();
    void drawingIsRepaintedAfterEachCommand();
    void zoomLastsAsLongAsTheDrawing_data();
    void zoomLastsAsLongAsTheDrawing();

    void openAndSaveScripts();
    void titleFollowsFileAndModification();
    void newScriptStartsWithItsHeader();
    void promptAnswers_data();
    void promptAnswers();
    void failedSaveKeepsTheEdits_data();
    void failedSaveKeepsTheEdits();
    void closeEventHonoursThePrompt();
    void traceOpenAndSave();
    void rejectedTraceLeavesTheTurtle();
    void failedScriptLoadLeavesTheEditor();
    void saveKeepsTheOldFileWhenWritingFails();
    void directoryChoice();

    void endlessLoopIsStoppedFromTheProgressDialog_data();
    void endlessLoopIsStoppedFromTheProgressDialog();
    void runawayMemoryStopsTheScript();

private:
    QString savedTrace();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindow::initTestCase()
{
    // Nothing the user keeps in the settings (a run speed) may change the window under test.
    prepareApplication();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
}

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(openWindow());
}

void TestMainWindow::cleanup()
{
    closeWindow();
    m_dir.reset();
}

// The drawing as the trace file that "Save Image" writes.
QString TestMainWindow::savedTrace()
{
    return savedDrawing(m_dir->filePath(QStringLiteral("saved.res")));
}

void TestMainWindow::startState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - Untitled"));
    QVERIFY(!dock("DockWidget")->isVisible());
    QVERIFY(dock("m_errorLister")->isVisible());
    QVERIFY(dock("m_debugInterface")->isVisible());
    QVERIFY(dock("m_turtleTraceProperties")->isVisible());
    QVERIFY(m_window->findChild<QToolBar*>(QStringLiteral("mainToolBar"))->isVisible());
    QVERIFY(m_window->findChild<QToolBar*>(QStringLiteral("debuggerToolBar"))->isVisible());
    for (const char* name : { "actionContinue", "actionStop", "actionRestart", "actionStep" }) {
        QVERIFY2(!action(name)->isEnabled(), name);
    }
    QVERIFY(action("action_Run")->isEnabled());
    QVERIFY(action("action_System_Language")->isChecked());
    QVERIFY(!action("action_Write")->isChecked());
    QVERIFY(!action("action_Debug")->isChecked());
    QVERIFY(editor()->isEnabled());
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\n"));
}

void TestMainWindow::helpToggleIsTheLastEntryOfTheHelpMenu()
{
    auto* menu = m_window->findChild<QMenu*>(QStringLiteral("menuHelp"));
    QAction* toggle = menu->actions().last();
    QCOMPARE(toggle->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(toggle, dock("DockWidget")->toggleViewAction());

    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    QVERIFY(dock("DockWidget")->isVisible());
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    QVERIFY(!dock("DockWidget")->isVisible());
}

void TestMainWindow::editorActionEnablesTheEditor()
{
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(!editor()->isEnabled());
    QVERIFY(!action("actionEditor")->isChecked());
    action("actionEditor")->trigger();
    QVERIFY(editor()->isEnabled());
}

void TestMainWindow::runDrawsTheExampleAndFillsTheErrorList()
{
    setScript(readFile(QStringLiteral(EXAMPLES_DIR "/square.tur")));
    action("action_Run")->trigger();

    QCOMPARE(savedTrace(), readFile(QStringLiteral(EXPECTED_DIR "/square.res")));
    QVERIFY(errorTexts().isEmpty());
    QVERIFY(action("action_Run")->isEnabled());
    QVERIFY(action("action_Write")->isChecked());
}

void TestMainWindow::runAgainDrawsFromWhereTheTurtleStopped()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:10;\n"));
    action("action_Run")->trigger();
    action("action_Run")->trigger();
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN 0 0\nY -10 0\nY -20 0\n"));
}

void TestMainWindow::runShowsErrorsOfABrokenScript()
{
    dock("m_errorLister")->hide();
    setScript(QStringLiteral("move: 5;\nMOVE: 5;\njmpax: nowhere;\n"));
    action("action_Run")->trigger();

    QVERIFY(dock("m_errorLister")->isVisible());
    const QStringList texts = errorTexts();
    QCOMPARE(texts.size(), 3);
    QVERIFY2(texts.at(1).contains(QLatin1Char('2')), qPrintable(texts.at(1)));
    QVERIFY2(texts.at(2).contains(QLatin1Char('3')), qPrintable(texts.at(2)));

    // A good script empties the list but leaves the dock where it is.
    setScript(QStringLiteral("Tur=Asm\nmove: 5;\n"));
    action("action_Run")->trigger();
    QVERIFY(errorTexts().isEmpty());
    QVERIFY(dock("m_errorLister")->isVisible());
}

void TestMainWindow::debugSteppingFollowsTheMachine()
{
    dock("m_debugInterface")->hide();
    m_window->findChild<QToolBar*>(QStringLiteral("debuggerToolBar"))->hide();
    setScript(QString::fromLatin1(SquareByProcedure));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();

    QVERIFY(dock("m_debugInterface")->isVisible());
    QVERIFY(m_window->findChild<QToolBar*>(QStringLiteral("debuggerToolBar"))->isVisible());
    QVERIFY(!action("action_Run")->isEnabled());
    QVERIFY(action("actionStep")->isEnabled());
    QCOMPARE(editor()->execLine(), -1);

    // The lines shown between steps: 3, 5, 9, 10, 11, 6, then round again.
    const QList<int> expected { 3, 5, 9, 10, 11, 6, 5, 9 };
    for (int line : expected) {
        action("actionStep")->trigger();
        QCOMPARE(editor()->execLine(), line);
        QCOMPARE(editor()->textCursor().blockNumber() + 1, line);
        QCOMPARE(debugValue(QStringLiteral("RI")), QString::number(line));
    }
    QCOMPARE(debugValue(QStringLiteral("CX")), QStringLiteral("3"));
    QCOMPARE(debugValue(QStringLiteral("Stack size")), QStringLiteral("0"));
    QCOMPARE(debugValue(QStringLiteral("Stack top")), QStringLiteral("(none)"));
    QVERIFY(action("action_Write")->isChecked());

    int steps = 0;
    while (action("actionStep")->isEnabled() && steps < 100) {
        action("actionStep")->trigger();
        ++steps;
    }
    QCOMPARE(editor()->execLine(), -1);
    QCOMPARE(editor()->textCursor().position(), 0);
    QVERIFY(action("action_Run")->isEnabled());
    QCOMPARE(debugValue(QStringLiteral("RI")), QStringLiteral("-1"));
    QCOMPARE(debugValue(QStringLiteral("CX")), QStringLiteral("0"));
    // The same square as the example drawn without a procedure.
    QCOMPARE(savedTrace(), readFile(QStringLiteral(EXPECTED_DIR "/square.res")));
}

void TestMainWindow::continueFinishesAsTheLastStepWould()
{
    setScript(QString::fromLatin1(SquareByProcedure) + QStringLiteral("\n"));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    action("actionStep")->trigger();
    action("actionContinue")->trigger();

    QCOMPARE(editor()->execLine(), -1);
    QVERIFY(action("action_Run")->isEnabled());
    QVERIFY(!action("actionContinue")->isEnabled());
    QCOMPARE(debugValue(QStringLiteral("RI")), QStringLiteral("-1"));
    QCOMPARE(debugValue(QStringLiteral("CX")), QStringLiteral("0"));
    QVERIFY(errorTexts().isEmpty());
    QCOMPARE(savedTrace().count(QLatin1Char('\n')), 10);

    // Continue right after debugging starts runs the whole program.
    action("action_Clear")->trigger();
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    QVERIFY(action("action_Run")->isEnabled());
    QCOMPARE(savedTrace().count(QLatin1Char('\n')), 10);

    // An error ends the debugging with its message listed.
    setScript(QStringLiteral("Tur=Asm\npush:1;\npop:AX;\npop:AX;\n"));
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    QCOMPARE(errorTexts().size(), 1);
    QVERIFY(errorTexts().first().contains(QLatin1Char('4')));
    QVERIFY(action("action_Run")->isEnabled());
}

void TestMainWindow::stopAndRestart()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\npush:7;\nmove:10;\nmove:10;\npop:AX;\nend;\n"));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    for (int i = 0; i < 3; ++i) {
        action("actionStep")->trigger();
    }
    QCOMPARE(debugValue(QStringLiteral("Stack top")), QStringLiteral("7"));
    QCOMPARE(editor()->execLine(), 5);

    action("actionStop")->trigger();
    QVERIFY(action("action_Run")->isEnabled());
    QVERIFY(!action("actionStep")->isEnabled());
    QCOMPARE(editor()->execLine(), -1);
    QCOMPARE(debugValue(QStringLiteral("RI")), QStringLiteral("-1"));
    QCOMPARE(debugValue(QStringLiteral("Stack size")), QStringLiteral("0"));
    QCOMPARE(debugValue(QStringLiteral("Stack top")), QStringLiteral("(none)"));
    // The drawing so far stays.
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN 0 0\nY -10 0\n"));

    // A text put in while debugging ends the debugging first: no old line runs on it.
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    setScript(QStringLiteral("Tur=Asm\nmove:1;\nmove:2;\n"));
    QVERIFY(action("action_Run")->isEnabled());
    QCOMPARE(editor()->execLine(), -1);

    // Restart debugs the text again from the start.
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    action("actionRestart")->trigger();
    QVERIFY(!action("action_Run")->isEnabled());
    action("actionStep")->trigger();
    QCOMPARE(editor()->execLine(), 3);

    // With debug mode off, Restart runs the program to its end.
    action("action_Debug")->setChecked(false);
    action("actionRestart")->trigger();
    QVERIFY(action("action_Run")->isEnabled());
    QVERIFY(!action("actionStep")->isEnabled());
}

void TestMainWindow::clearWhileDebugging()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:10;\nmove:10;\n"));
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    action("actionStep")->trigger();
    action("action_Clear")->trigger();
    // The drawing goes; the turtle stays where it is, its pen down.
    QVERIFY(action("action_Write")->isChecked());
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN -10 0\n"));

    // The next step draws on from there.
    action("actionStep")->trigger();
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN -10 0\nY -20 0\n"));
    QVERIFY(action("action_Run")->isEnabled());

    // Once the run is over, Clear gives a fresh turtle, pen up.
    action("action_Clear")->trigger();
    QVERIFY(!action("action_Write")->isChecked());
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\n"));
}

void TestMainWindow::writeActionFollowsThePen()
{
    action("action_Write")->setChecked(true);
    setScript(QStringLiteral("Tur=Asm\nmove:10;\nwrite:N;\nmove:10;\n"));
    action("action_Run")->trigger();
    QVERIFY(!action("action_Write")->isChecked());
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN 0 0\nY -10 0\n"));

    action("action_Write")->trigger();
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN 0 0\nY -10 0\nN -20 0\n"));
    action("action_Clear")->trigger();
    QVERIFY(!action("action_Write")->isChecked());
}

void TestMainWindow::penPanelReachesTheOutputArea()
{
    auto* width = dock("m_turtleTraceProperties")->findChild<QSpinBox*>(QStringLiteral("Width"));
    width->setValue(5);
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    QCOMPARE(area->pen().widthF(), 5.0);
    QCOMPARE(area->pen().color(), QColor(Qt::black));
}

void TestMainWindow::drawingIsRepaintedAfterEachCommand()
{
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    PaintCounter counter(area);
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:10;\nmove:10;\n"));

    for (const char* name : { "action_Run", "action_Clear", "action_Debug", "actionStep", "actionContinue" }) {
        if (qstrcmp(name, "action_Debug") == 0) {
            action(name)->setChecked(true);
            action("action_Run")->trigger();
            continue;
        }
        // Painted now, nothing is left to paint but what the command asks for.
        area->repaint();
        counter.paints = 0;
        action(name)->trigger();
        QTRY_VERIFY2_WITH_TIMEOUT(counter.paints > 0, name, RepaintPatience);
    }
}

void TestMainWindow::zoomLastsAsLongAsTheDrawing_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<bool>("keepsTheZoom");

    QTest::newRow("Clear shows the whole sheet again") << QByteArray("action_Clear") << false;
    QTest::newRow("an opened trace shows on the whole sheet") << QByteArray("actionOpen_Image") << false;
    QTest::newRow("a run that draws on keeps the view the user chose") << QByteArray("action_Run") << true;
}

void TestMainWindow::zoomLastsAsLongAsTheDrawing()
{
    QFETCH(QByteArray, command);
    QFETCH(bool, keepsTheZoom);

    const QString path = m_dir->filePath(QStringLiteral("in.res"));
    writeFile(path, QStringLiteral("Tur=Res\nN 0 0\nY 100 0\n"));
    m_prompts->setNextFileName(path);
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:10;\n"));
    action("action_Run")->trigger();
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    action("actionFit_Drawing")->trigger();
    const DrawingView fitted = area->view();
    QVERIFY(fitted.zoom() > 2);

    action(command.constData())->trigger();
    QCOMPARE(area->view() == fitted, keepsTheZoom);
    QCOMPARE(area->view().isReset(), !keepsTheZoom);
}

void TestMainWindow::openAndSaveScripts()
{
    const QString path = m_dir->filePath(QStringLiteral("tabs.tur"));
    writeFile(path, QStringLiteral("Tur=Asm\n\tmove: 5;\n"));

    m_prompts->setNextFileName(path);
    action("actionOpen")->trigger();
    QCOMPARE(editor()->toPlainText(), QStringLiteral("Tur=Asm\n    move: 5;\n"));
    QCOMPARE(editor()->documentTitle(), path);
    QVERIFY(!editor()->isModified());

    editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor(), "end;");
    action("actionSave")->trigger();
    QCOMPARE(readFile(path), QStringLiteral("Tur=Asm\n    move: 5;\nend;"));
    QVERIFY(!editor()->isModified());

    const QString other = m_dir->filePath(QStringLiteral("other.tur"));
    m_prompts->setNextFileName(other);
    action("actionSave_AS")->trigger();
    QCOMPARE(editor()->documentTitle(), other);
    QCOMPARE(readFile(other), readFile(path));

    // Save on an untitled document asks for a name; cancelling changes nothing.
    action("actionClose")->trigger();
    QTest::keyClicks(editor(), "x");
    action("actionSave")->trigger();
    QVERIFY(editor()->isModified());
    QVERIFY(editor()->documentTitle().isEmpty());
}

void TestMainWindow::titleFollowsFileAndModification()
{
    const QString path = m_dir->filePath(QStringLiteral("square.tur"));
    writeFile(path, QStringLiteral("Tur=Asm\n"));

    QTest::keyClicks(editor(), "x");
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - Untitled*"));
    editor()->setIfModified(false);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - Untitled"));

    m_prompts->setNextFileName(path);
    action("actionOpen")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - square.tur"));
    QTest::keyClicks(editor(), "x");
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - square.tur*"));
    action("actionSave")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - square.tur"));
    QTest::keyClicks(editor(), "y");
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - square.tur*"));

    // Opening a trace keeps the script, its title and its modified state.
    const QString trace = m_dir->filePath(QStringLiteral("t.res"));
    writeFile(trace, QStringLiteral("Tur=Res\nN 0 0\nY 5 7\n"));
    m_prompts->setNextFileName(trace);
    action("actionOpen_Image")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - square.tur*"));
    QVERIFY(editor()->isModified());

    m_prompts->setNextAnswer(QMessageBox::Discard);
    action("actionClose")->trigger();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - Untitled"));
    QVERIFY(editor()->toPlainText().isEmpty());
}

void TestMainWindow::newScriptStartsWithItsHeader()
{
    QTest::keyClicks(editor(), "x");
    m_prompts->setNextAnswer(QMessageBox::Discard);
    action("actionNew")->trigger();
    QCOMPARE(m_prompts->shownMessages().last(), QStringLiteral("Do you want to save the untitled script?"));
    QCOMPARE(editor()->toPlainText(), QStringLiteral("Tur=Asm\n"));
    QVERIFY(!editor()->isModified());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - Untitled"));

    // Typing starts on the line after the header, and the first Run finds nothing to report.
    QTest::keyClicks(editor(), "write:Y;");
    QCOMPARE(editor()->toPlainText(), QStringLiteral("Tur=Asm\nwrite:Y;"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane - Untitled*"));
    action("action_Run")->trigger();
    QVERIFY2(errorTexts().isEmpty(), qPrintable(errorTexts().join(QLatin1Char('\n'))));
    QVERIFY(action("action_Write")->isChecked());

    // Close still leaves nothing.
    m_prompts->setNextAnswer(QMessageBox::Discard);
    action("actionClose")->trigger();
    QVERIFY(editor()->toPlainText().isEmpty());
}

void TestMainWindow::promptAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("saved");

    QTest::newRow("save writes the script first") << int(QMessageBox::Save) << true << true;
    QTest::newRow("discard opens without saving") << int(QMessageBox::Discard) << true << false;
    QTest::newRow("cancel aborts the opening") << int(QMessageBox::Cancel) << false << false;
}

void TestMainWindow::promptAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, opened);
    QFETCH(bool, saved);

    const QString current = m_dir->filePath(QStringLiteral("current.tur"));
    const QString next = m_dir->filePath(QStringLiteral("next.tur"));
    writeFile(current, QStringLiteral("Tur=Asm\n"));
    writeFile(next, QStringLiteral("Tur=Asm\nmove: 1;\n"));

    m_prompts->setNextFileName(current);
    action("actionOpen")->trigger();
    QTest::keyClicks(editor(), "x");

    m_prompts->setNextAnswer(QMessageBox::StandardButton(answer));
    m_prompts->setNextFileName(next);
    action("actionOpen")->trigger();

    QCOMPARE(m_prompts->shownMessages().last(), QStringLiteral("Do you want to save the changes to current.tur?"));
    QCOMPARE(editor()->documentTitle(), opened ? next : current);
    QCOMPARE(readFile(current), saved ? QStringLiteral("xTur=Asm\n") : QStringLiteral("Tur=Asm\n"));
}

void TestMainWindow::failedSaveKeepsTheEdits_data()
{
    QTest::addColumn<bool>("untitled");

    QTest::newRow("the file cannot be written") << false;
    QTest::newRow("the name is not given") << true;
}

void TestMainWindow::failedSaveKeepsTheEdits()
{
    QFETCH(bool, untitled);

    if (!untitled) {
        const QString path = m_dir->filePath(QStringLiteral("gone/edited.tur"));
        writeFile(m_dir->filePath(QStringLiteral("edited.tur")), QStringLiteral("Tur=Asm\n"));
        m_prompts->setNextFileName(m_dir->filePath(QStringLiteral("edited.tur")));
        action("actionOpen")->trigger();
        editor()->setDocumentTitle(path);
    }
    QTest::keyClicks(editor(), "move: 1;");

    // Answered Save, the save fails: closing must not go on and drop the edits.
    m_prompts->setNextAnswer(QMessageBox::Save);
    action("actionClose")->trigger();
    QVERIFY(editor()->toPlainText().contains(QStringLiteral("move: 1;")));
    QVERIFY(editor()->isModified());
    if (!untitled) {
        QVERIFY(m_prompts->shownMessages().last().contains(QStringLiteral("Save failed")));
    }
}

void TestMainWindow::closeEventHonoursThePrompt()
{
    QTest::keyClicks(editor(), "x");
    m_prompts->setNextAnswer(QMessageBox::Cancel);
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());

    m_prompts->setNextAnswer(QMessageBox::Discard);
    QVERIFY(m_window->close());
}

void TestMainWindow::traceOpenAndSave()
{
    const QString path = m_dir->filePath(QStringLiteral("in.res"));
    writeFile(path, QStringLiteral("Tur=Res\nN 0 0\nY 100 0\nN 0 50\nY 0 100\n"));
    m_prompts->setNextFileName(path);
    action("actionOpen_Image")->trigger();
    QVERIFY(action("action_Write")->isChecked());
    QCOMPARE(savedTrace(), readFile(path));

    writeFile(path, QStringLiteral("Tur=Res\nY 5 7\nN 5 7"));
    m_prompts->setNextFileName(path);
    action("actionOpen_Image")->trigger();
    QVERIFY(!action("action_Write")->isChecked());
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nY 5 7\nN 5 7\n"));
}

void TestMainWindow::rejectedTraceLeavesTheTurtle()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:10;\n"));
    action("action_Run")->trigger();
    const QString before = savedTrace();

    const QString path = m_dir->filePath(QStringLiteral("script.res"));
    writeFile(path, QStringLiteral("Tur=Asm\nmove: 5;\n"));
    m_prompts->setNextFileName(path);
    action("actionOpen_Image")->trigger();

    QVERIFY(m_prompts->shownMessages().last().contains(QStringLiteral("Load failed")));
    QVERIFY(m_prompts->shownMessages().last().contains(QStringLiteral("first line")));
    QCOMPARE(savedTrace(), before);
    QVERIFY(action("action_Write")->isChecked());

    // The message names the line that is wrong, not the header.
    writeFile(path, QStringLiteral("Tur=Res\nN 0 0\nY 1\nY 2 2\n"));
    m_prompts->setNextFileName(path);
    action("actionOpen_Image")->trigger();
    QVERIFY2(m_prompts->shownMessages().last().contains(QStringLiteral("line 3 is not a point")),
             qPrintable(m_prompts->shownMessages().last()));
    QCOMPARE(savedTrace(), before);
}

void TestMainWindow::failedScriptLoadLeavesTheEditor()
{
    setScript(QStringLiteral("Tur=Asm\nkeep me;\n"));
    m_prompts->setNextFileName(m_dir->filePath(QStringLiteral("missing.tur")));
    action("actionOpen")->trigger();
    QVERIFY(m_prompts->shownMessages().last().contains(QStringLiteral("Load failed")));
    QCOMPARE(editor()->toPlainText(), QStringLiteral("Tur=Asm\nkeep me;\n"));
}

void TestMainWindow::saveKeepsTheOldFileWhenWritingFails()
{
    // A directory where the file should be: the write fails, nothing is destroyed.
    const QString path = m_dir->filePath(QStringLiteral("dir.tur"));
    QVERIFY(QDir().mkpath(path));
    setScript(QStringLiteral("Tur=Asm\n"));
    m_prompts->setNextFileName(path);
    action("actionSave_AS")->trigger();
    QVERIFY(m_prompts->shownMessages().last().contains(QStringLiteral("Save failed")));
    QVERIFY(QFileInfo(path).isDir());
    // A failed Save As leaves the name as it was.
    QCOMPARE(editor()->documentTitle(), QString());

    // A device is refused, as a pipe would be, whose reader could hold the
    // window: the reason with the path, the text still to save.
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        QTest::keyClicks(editor(), "x");
        m_prompts->setNextFileName(QStringLiteral("/dev/full"));
        action("actionSave_AS")->trigger();
        QVERIFY2(m_prompts->shownMessages().last().contains(QStringLiteral("/dev/full: It is a device or a pipe")),
                 qPrintable(m_prompts->shownMessages().last()));
        QVERIFY(editor()->isModified());
    }
}

void TestMainWindow::directoryChoice()
{
    const QString chosen = m_dir->filePath(QStringLiteral("scripts"));
    QVERIFY(QDir().mkpath(chosen));
    writeFile(chosen + QStringLiteral("/a.tur"), QStringLiteral("Tur=Asm\n"));

    m_prompts->setNextFileName(chosen + QLatin1Char('/'));
    action("actionDir_Choice_tur")->trigger();
    // Nothing else changes: no file is open.
    QVERIFY(editor()->documentTitle().isEmpty());
}

void TestMainWindow::endlessLoopIsStoppedFromTheProgressDialog_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("debugging");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("line");

    const QString jumps = QStringLiteral("Tur=Asm\nwrite:Y;\nmove:1;\ndefine:again;\nAX:AX+1;\njmpe:0,0,again;\n");
    const QString recursion = QStringLiteral("Tur=Asm\nwrite:Y;\nmove:1;\ncall:deeper;\nend;\n"
                                             "proc:deeper;\ncall:deeper;\n");
    QTest::newRow("an endless jump loop stopped by the button") << jumps << false << false << 0;
    QTest::newRow("an endless jump loop stopped with Escape") << jumps << false << true << 0;
    QTest::newRow("unbounded recursion stopped by the button") << recursion << false << false << 7;
    QTest::newRow("an endless loop under Continue") << jumps << true << false << 0;
}

void TestMainWindow::endlessLoopIsStoppedFromTheProgressDialog()
{
    QFETCH(QString, script);
    QFETCH(bool, debugging);
    QFETCH(bool, escape);
    QFETCH(int, line);

    setScript(script);
    // However long the run takes to offer the dialog.
    bool sawDialog = false;
    QTimer looker;
    looker.setInterval(100);
    QObject::connect(&looker, &QTimer::timeout, [&sawDialog, &looker, escape] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || !progress->isVisible()) {
            return;
        }
        // A key goes where the focus is: to the dialog once the system has activated it.
        QWidget* focus = QApplication::focusWidget();
        if (escape && !(progress->isActiveWindow() && focus && (focus == progress || progress->isAncestorOf(focus)))) {
            return;
        }
        looker.stop();
        sawDialog = true;
        if (escape) {
            QTest::keyClick(progress, Qt::Key_Escape);
        } else {
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        }
    });
    looker.start();
    if (debugging) {
        action("action_Debug")->setChecked(true);
        action("action_Run")->trigger();
        action("actionContinue")->trigger();
    } else {
        action("action_Run")->trigger();
    }

    QVERIFY(sawDialog);
    QVERIFY(!QApplication::activeModalWidget());
    if (debugging) {
        // Stopping a Continue pauses it: the debugging goes on from the line reached.
        QVERIFY(errorTexts().isEmpty());
        QVERIFY(action("actionStep")->isEnabled());
        QVERIFY(editor()->execLine() == 5 || editor()->execLine() == 6);
        action("actionStop")->trigger();
    } else {
        // A stop is no error: the status bar says where it happened.
        QVERIFY(errorTexts().isEmpty());
        const QString status = statusText();
        if (line > 0) {
            QCOMPARE(status, QStringLiteral("Stopped at line %1").arg(line));
        } else {
            QVERIFY2(status == QLatin1String("Stopped at line 5") || status == QLatin1String("Stopped at line 6"),
                     qPrintable(status));
        }
    }
    QVERIFY(action("action_Run")->isEnabled());
    QVERIFY(!action("actionStep")->isEnabled());
    // The debugger panel is refreshed after every run.
    QCOMPARE(debugValue(QStringLiteral("RI")), QStringLiteral("-1"));
    // The drawing made before the stop is kept.
    QCOMPARE(savedTrace(), QStringLiteral("Tur=Res\nN 0 0\nY -1 0\n"));

    // The window works on afterwards.
    action("action_Debug")->setChecked(false);
    setScript(QStringLiteral("Tur=Asm\nmove:1;\n"));
    action("action_Run")->trigger();
    QVERIFY(errorTexts().isEmpty());
}

void TestMainWindow::runawayMemoryStopsTheScript()
{
    // A ceiling a little above what the window holds now.
    QFile statm(QStringLiteral("/proc/self/statm"));
    QVERIFY(statm.open(QIODevice::ReadOnly));
    const qint64 resident = statm.readAll().split(' ').at(1).toLongLong() * sysconf(_SC_PAGESIZE) / (1024 * 1024);
    qputenv("KORVANE_RUN_MEMORY_LIMIT_MB", QByteArray::number(resident + 100));

    setScript(QStringLiteral("Tur=Asm\ndefine:again;\npush:1;\njmpe:0,0,again;\n"));
    action("action_Run")->trigger();
    qunsetenv("KORVANE_RUN_MEMORY_LIMIT_MB");

    QVERIFY2(m_prompts->shownMessages().last().contains(QStringLiteral("Script stopped")),
             qPrintable(m_prompts->shownMessages().join(QLatin1Char('\n'))));
    QVERIFY(errorTexts().isEmpty());
    QVERIFY(statusText().startsWith(QStringLiteral("Stopped at line ")));
    QVERIFY(action("action_Run")->isEnabled());
}

int main(int argc, char* argv[])
{
    return runWindowTest<TestMainWindow>(argc, argv);
}

#include "tst_mainwindow.moc"

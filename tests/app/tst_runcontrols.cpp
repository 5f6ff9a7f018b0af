#include "windowfixture.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qtimelinebar.h"

#include "settings.h"
#include "session/runsession.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolTip>

namespace {

QString example(const char* name)
{
    QFile file(QStringLiteral("TurtleCodes/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

// The run and debug commands of the real window.
class TestRunControls : public QObject, protected WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void breakpointStopsAndMovesWithItsLine();
    void stepOverACallAndPauseThenStep();
    void speedChangeMidRun();
    void errorListShowsOnlyTheLastRun();
    void timelineDragShowsTheLastPositionOnly();
    void stepBackAfterABreakpointAndAFailure();
    void clickOnASegmentSelectsItsLineAndStep();
    void executionCountsFollowTheStepShown();

    void typingWhilePausedChangesNothing();
    void afterAPauseStopAndF5RunToTheEnd();
    void fixingALineUpdatesTheErrorList();
    void stepBackAfterAPlainRunMovesTheTurtle();
    void f10StartsAtTheFirstInstruction();
    void clearDuringARunKeepsThePen();
    void stackPanelShowsTheRecursion();
    void runToCursorAndItsKey();
    void breakpointOnACommentMovesToTheInstruction();
    void cleanStartIsRemembered();

private:
    // The drawing's points ("Y x y"), as Save Image writes them.
    QStringList savedPoints();
    // Presses a key as the user would, the editor holding the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    RunSession* session() const { return m_window->findChild<RunSession*>(); }
};

void TestRunControls::initTestCase()
{
    prepareApplication();
}

void TestRunControls::init()
{
    QVERIFY(openWindow());
    action("actionSpeed_Instant")->trigger();
    setScript(QString::fromLatin1(SquareByProcedure));
}

void TestRunControls::cleanup()
{
    action("actionSpeed_Instant")->trigger();
    closeWindow();
}

void TestRunControls::breakpointStopsAndMovesWithItsLine()
{
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(9)));
    action("actionToggle_Breakpoint")->trigger();
    action("action_Run")->trigger();
    QCOMPARE(editor()->execLine(), 10);
    // Pausing never switches the debug mode on.
    QVERIFY(!action("action_Debug")->isChecked());
    QVERIFY(action("actionStep")->isEnabled());
    QVERIFY(!action("action_Run")->isEnabled());
    action("actionContinue")->trigger();
    QCOMPARE(editor()->execLine(), 10);

    // A line typed above moves the breakpoint down with its instruction.
    action("actionStop")->trigger();
    QTextCursor cursor(editor()->document()->findBlockByNumber(1));
    cursor.insertText(QStringLiteral("AX:1;\n"));
    action("action_Debug")->setChecked(false);
    action("action_Run")->trigger();
    QCOMPARE(editor()->execLine(), 11);

    action("actionRemove_All_Breakpoints")->trigger();
    action("actionContinue")->trigger();
    QVERIFY(action("action_Run")->isEnabled());
}

void TestRunControls::stepOverACallAndPauseThenStep()
{
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionStep")->trigger();
    action("actionStep")->trigger();
    QCOMPARE(editor()->execLine(), 5);
    action("actionStep_Over")->trigger();
    QCOMPARE(editor()->execLine(), 6);
    action("actionStep")->trigger();
    action("actionStep")->trigger();
    action("actionStep_Out")->trigger();
    QCOMPARE(editor()->execLine(), 6);

    // Continue animates; Pause stops it at an instruction, from where Step goes on.
    action("actionSpeed_Normal")->trigger();
    action("actionContinue")->trigger();
    QVERIFY(action("actionPause")->isEnabled());
    QVERIFY(editor()->isReadOnly());
    action("actionPause")->trigger();
    QVERIFY(editor()->isReadOnly());
    QVERIFY(action("actionStep")->isEnabled());
    const int line = editor()->execLine();
    QVERIFY(line > 0);
    action("actionStep")->trigger();
    QVERIFY(editor()->execLine() != line);
}

void TestRunControls::speedChangeMidRun()
{
    const auto* box = m_window->findChild<QComboBox*>(QStringLiteral("speedComboBox"));
    action("actionSpeed_Slow")->trigger();
    QCOMPARE(box->currentIndex(), 3);
    action("action_Run")->trigger();
    QVERIFY(!action("action_Run")->isEnabled());
    QTest::qWait(100);
    action("actionSpeed_Instant")->trigger();
    QCOMPARE(box->currentIndex(), 0);
    QVERIFY(action("action_Run")->isEnabled());
    QCOMPARE(editor()->execLine(), -1);
    QVERIFY(errorTexts().isEmpty());
}

void TestRunControls::errorListShowsOnlyTheLastRun()
{
    auto* list = errorList();
    setScript(QStringLiteral("Tur=Asm\nmove 5;\nMOVE: 5;\n"));
    action("action_Run")->trigger();
    QCOMPARE(list->count(), 2);
    list->setCurrentRow(1);
    setScript(QString::fromLatin1(SquareByProcedure));
    action("action_Run")->trigger();
    QCOMPARE(list->count(), 0);
    QVERIFY(list->selectedItems().isEmpty());
}

QStringList TestRunControls::savedPoints()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shown.res"));
    m_prompts->setNextFileName(path);
    action("actionSave_Image")->trigger();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
}

void TestRunControls::timelineDragShowsTheLastPositionOnly()
{
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    auto* bar = m_window->findChild<QTimelineBar*>();
    auto* slider = bar->findChild<QSlider*>();
    QVERIFY(bar->isVisible() && bar->isEnabled());
    QCOMPARE(slider->value(), slider->maximum());
    QCOMPARE(savedPoints().filter(QStringLiteral("Y ")).size(), 8);

    // Steps 2 and 7 of "CX:4; write:Y; call; move; left; ret; loop" go by
    // while the redraw is due: only step 9 is shown, a move, a turn and a move drawn.
    QSignalSpy chosen(bar, &QTimelineBar::stepChosen);
    for (int step : { 2, 7, 9 }) {
        slider->setValue(step);
    }
    QTRY_COMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toLongLong(), qint64(9));
    QCOMPARE(savedPoints().filter(QStringLiteral("Y ")).size(), 3);
    QCOMPARE(editor()->execLine(), 10);
    QCOMPARE(debugValue(QStringLiteral("CX")), QStringLiteral("3"));
    QVERIFY(action("actionStep")->isEnabled());
    // Step goes on from the step shown.
    action("actionStep")->trigger();
    QCOMPARE(editor()->execLine(), 11);
    QCOMPARE(slider->value(), 10);
}

void TestRunControls::stepBackAfterABreakpointAndAFailure()
{
    // Before the first step and back there, there is nothing to go back to.
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    QVERIFY(!action("actionStep_Back")->isEnabled());
    action("actionStep")->trigger();
    QVERIFY(action("actionStep_Back")->isEnabled());
    action("actionStep_Back")->trigger();
    QVERIFY(!action("actionStep_Back")->isEnabled());
    QCOMPARE(debugValue(QStringLiteral("CX")), QStringLiteral("0"));
    action("actionStop")->trigger();
    QVERIFY(!action("actionStep_Back")->isEnabled());
    action("action_Debug")->setChecked(false);

    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(9)));
    action("actionToggle_Breakpoint")->trigger();
    action("action_Run")->trigger();
    QCOMPARE(editor()->execLine(), 10);
    QVERIFY(action("actionStep_Back")->isEnabled());
    action("actionStep_Back")->trigger();
    QCOMPARE(editor()->execLine(), 9);
    QCOMPARE(debugValue(QStringLiteral("RI")), QStringLiteral("9"));
    action("actionRemove_All_Breakpoints")->trigger();
    action("actionStop")->trigger();

    // A run-time error ends the program: going back shows the failing line
    // again, and the diagnostic stays listed until the text changes.
    QListWidget* list = errorList();
    setScript(QStringLiteral("Tur=Asm\nAX:1;\nAX:AX/0;\n"));
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    QCOMPARE(list->count(), 1);
    QVERIFY(action("action_Run")->isEnabled());
    action("actionStep_Back")->trigger();
    QCOMPARE(editor()->execLine(), 3);
    QVERIFY(action("actionStep")->isEnabled());
    QCOMPARE(list->count(), 1);
    action("actionContinue")->trigger();
    QCOMPARE(list->count(), 1);
    QVERIFY(action("actionStep_Back")->isEnabled());
    editor()->textCursor().insertText(QStringLiteral("#"));
    QVERIFY(!action("actionStep_Back")->isEnabled());
    QVERIFY(!m_window->findChild<QTimelineBar*>()->isVisible());
}

void TestRunControls::clickOnASegmentSelectsItsLineAndStep()
{
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    const auto click = [&](const QStringList& points, int index) {
        const QStringList from = points.at(index - 1).split(QLatin1Char(' '));
        const QStringList to = points.at(index).split(QLatin1Char(' '));
        const QPointF middle((from.at(1).toDouble() + to.at(1).toDouble()) / 2,
                             -(from.at(2).toDouble() + to.at(2).toDouble()) / 2);
        QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, area->view().transform(area->size()).map(middle).toPoint());
        return editor()->textCursor().blockNumber() + 1;
    };
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:100;\nleft:90;\nmove:50;\n"));
    action("action_Run")->trigger();
    const QStringList points = savedPoints();
    // A turn adds a point: the segments end at the first and the last.
    QCOMPARE(points.size(), 4);
    // Hovered, a segment tells which line and step drew it.
    const auto toolTipAt = [&](const QStringList& points, int index) {
        const QStringList from = points.at(index - 1).split(QLatin1Char(' '));
        const QStringList to = points.at(index).split(QLatin1Char(' '));
        const QPointF middle((from.at(1).toDouble() + to.at(1).toDouble()) / 2,
                             -(from.at(2).toDouble() + to.at(2).toDouble()) / 2);
        const QPoint at = area->view().transform(area->size()).map(middle).toPoint();
        QHelpEvent help(QEvent::ToolTip, at, area->mapToGlobal(at));
        QCoreApplication::sendEvent(area, &help);
        return QToolTip::text();
    };
    QCOMPARE(toolTipAt(points, 1), QStringLiteral("Line 3, step 2"));
    QCOMPARE(toolTipAt(points, 3), QStringLiteral("Line 5, step 4"));
    // Clicked, it selects the line, and the timeline goes to the step.
    QCOMPARE(click(points, 3), 5);
    QCOMPARE(click(points, 1), 3);
    // A plain run is reviewed as a debugging session is: the click went to the step.
    QVERIFY(m_window->findChild<QTimelineBar*>()->isVisible());
    QCOMPARE(m_window->findChild<QTimelineBar*>()->shownStep(), qint64(2));

    // While debugging, the timeline goes to the step that drew it.
    action("actionStop")->trigger();
    action("action_Clear")->trigger();
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    QCOMPARE(click(points, 1), 3);
    QCOMPARE(m_window->findChild<QTimelineBar*>()->shownStep(), qint64(2));
    QCOMPARE(savedPoints().size(), 2);
}

void TestRunControls::press(int key, Qt::KeyboardModifiers modifiers)
{
    QApplication::setActiveWindow(m_window.get());
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key(key), modifiers);
}

void TestRunControls::typingWhilePausedChangesNothing()
{
    setScript(example("flower.tur"));
    const QString text = editor()->toPlainText();
    editor()->toggleBreakpoint(9);
    press(Qt::Key_F5);
    QCOMPARE(editor()->execLine(), 9);

    // A comment line typed above line 2 changes nothing, and says why.
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(1)));
    QTest::keyClicks(editor(), "# note");
    press(Qt::Key_Return);
    QCOMPARE(editor()->toPlainText(), text);
    QCOMPARE(editor()->execLine(), 9);
    QCOMPARE(editor()->breakpoints(), QList<int> { 9 });
    QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("Stop the run (Shift+F5) to edit"));
    QCOMPARE(statusText(), QStringLiteral("Paused at line 9, step 27"));

    // Stepping runs the instruction shown: right, then loop.
    press(Qt::Key_F10);
    QCOMPARE(editor()->execLine(), 10);
    press(Qt::Key_F10);
    QCOMPARE(editor()->execLine(), 8);

    // Stopped, the text takes the typing again, and the refusal no longer hides the status.
    press(Qt::Key_F5, Qt::ShiftModifier);
    QVERIFY(!editor()->isReadOnly());
    QCOMPARE(m_window->statusBar()->currentMessage(), QString());
    QTest::keyClicks(editor(), "#");
    QVERIFY(editor()->toPlainText() != text);
}

void TestRunControls::afterAPauseStopAndF5RunToTheEnd()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nCX:400;\ndefine:again;\nmove:10;\nleft:7;\nloop:again;\n"));
    action("actionSpeed_Normal")->trigger();
    press(Qt::Key_F5);
    QCOMPARE(session()->state(), RunSession::Animating);
    QCOMPARE(statusText(), QStringLiteral("Running"));
    QTRY_VERIFY(session()->status().kind == RunSession::Status::Running && editor()->execLine() > 0);
    press(Qt::Key_F6);
    QCOMPARE(session()->state(), RunSession::Paused);
    QVERIFY(!action("action_Debug")->isChecked());
    QVERIFY(statusText().startsWith(QStringLiteral("Paused at line ")));

    // Stop is no error: a word in the status bar, nothing in the list or the gutter.
    press(Qt::Key_F5, Qt::ShiftModifier);
    QCOMPARE(session()->state(), RunSession::Idle);
    QVERIFY(statusText().startsWith(QStringLiteral("Stopped at line ")));
    QVERIFY(errorTexts().isEmpty());
    QVERIFY(editor()->diagnostics().empty());

    action("actionSpeed_Instant")->trigger();
    action("action_Clear")->trigger();
    press(Qt::Key_F5);
    QCOMPARE(session()->state(), RunSession::Idle);
    QCOMPARE(statusText(), QStringLiteral("Finished after 1,202 steps"));
    QCOMPARE(savedPoints().size(), 801);

    // F5 while paused goes on, as Continue does.
    action("action_Debug")->setChecked(true);
    QVERIFY(m_window->findChild<QLabel*>(QStringLiteral("runModeLabel"))->isVisible());
    press(Qt::Key_F5);
    QCOMPARE(session()->state(), RunSession::Paused);
    press(Qt::Key_F5);
    QCOMPARE(session()->state(), RunSession::Idle);
    QVERIFY(statusText().startsWith(QStringLiteral("Finished")));
}

void TestRunControls::fixingALineUpdatesTheErrorList()
{
    setScript(QStringLiteral("Tur=Asm\nmove 5;\nleft: 90;\njmpe: 0, 0, nowhere;\n"));
    action("action_Run")->trigger();
    const QStringList before = errorTexts();
    QCOMPARE(before.size(), 2);
    QVERIFY(before.at(1).contains(QLatin1Char('4')));
    QCOMPARE(statusText(), QStringLiteral("Error at line 2"));

    // A line inserted above: the entries move with their lines.
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(1)));
    QTest::keyClicks(editor(), "write: Y;");
    press(Qt::Key_Return);
    QCOMPARE(errorTexts().size(), 2);
    QVERIFY(errorTexts().at(1).contains(QLatin1Char('5')));
    QVERIFY(errorTexts().at(1).contains(QStringLiteral("edited since")));
    QCOMPARE(statusText(), QStringLiteral("Editing"));
    errorList()->setCurrentRow(1);
    QTest::keyClick(errorList(), Qt::Key_Return);
    QCOMPARE(editor()->textCursor().blockNumber() + 1, 5);

    // Fixing line 3 takes its entry away, without a run.
    QTextCursor fix(editor()->document()->findBlockByNumber(2));
    fix.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    editor()->setTextCursor(fix);
    QTest::keyClicks(editor(), ":");
    QCOMPARE(errorTexts().size(), 1);
    QVERIFY(errorTexts().at(0).contains(QLatin1Char('5')));

    // Another script leaves none of them behind.
    m_prompts->setNextAnswer(QMessageBox::Discard);
    action("actionNew")->trigger();
    QVERIFY(errorTexts().isEmpty());
}

void TestRunControls::stepBackAfterAPlainRunMovesTheTurtle()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:100;\nleft:90;\nmove:60;\n"));
    action("action_Run")->trigger();
    QCOMPARE(statusText(), QStringLiteral("Finished after 4 steps"));
    auto* area = m_window->findChild<QTurtleOutputArea*>();
    QTRY_VERIFY(area->isSettled());
    const QImage ran = area->grab().toImage();
    PaintCounter counter;
    area->installEventFilter(&counter);
    QVERIFY(action("actionStep_Back")->isEnabled());
    action("actionStep_Back")->trigger();
    QCOMPARE(editor()->execLine(), 5);
    QCOMPARE(statusText(), QStringLiteral("Paused at line 5, step 3"));
    QTRY_VERIFY(counter.paints > 0);
    QTRY_VERIFY(area->isSettled());
    QVERIFY(area->grab().toImage() != ran);
    QCOMPARE(savedPoints().size(), 3);
    // Forward again, the run ends where it ended.
    action("actionStep")->trigger();
    QCOMPARE(statusText(), QStringLiteral("Finished after 4 steps"));
    QCOMPARE(savedPoints().size(), 4);
}

void TestRunControls::f10StartsAtTheFirstInstruction()
{
    setScript(QStringLiteral("Tur=Asm\n# first a comment\n\nCX: 2;\nmove: 5;\n"));
    QVERIFY(!action("actionStep")->isEnabled());
    press(Qt::Key_F10);
    QCOMPARE(editor()->execLine(), 4);
    QCOMPARE(statusText(), QStringLiteral("Paused at line 4, step 0"));
    QVERIFY(!action("action_Debug")->isChecked());
    press(Qt::Key_F10);
    QCOMPARE(editor()->execLine(), 5);
    QCOMPARE(debugValue(QStringLiteral("CX")), QStringLiteral("2"));
    // Restart steps again from the first instruction.
    action("actionRestart")->trigger();
    QCOMPARE(editor()->execLine(), 4);
}

void TestRunControls::clearDuringARunKeepsThePen()
{
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nmove:100;\nleft:90;\nmove:60;\n"));
    editor()->toggleBreakpoint(4);
    action("action_Run")->trigger();
    QCOMPARE(session()->state(), RunSession::Paused);
    action("action_Clear")->trigger();
    QVERIFY(action("action_Write")->isChecked());
    action("actionContinue")->trigger();
    // Drawn on from where the turtle stood (the turn adds a point), the pen still down.
    const QStringList points = savedPoints();
    QCOMPARE(points.size(), 3);
    QVERIFY(points.at(2).startsWith(QStringLiteral("Y ")));
}

void TestRunControls::stackPanelShowsTheRecursion()
{
    QDockWidget* panel = dock("dockStack");
    QVERIFY(panel && !panel->isVisible());
    setScript(example("tree.tur"));
    editor()->toggleBreakpoint(17);
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    QCOMPARE(editor()->execLine(), 17);
    QVERIFY(panel->isVisible());
    const auto rows = [panel](const char* name) {
        QStringList texts;
        const auto* list = panel->findChild<QListWidget*>(QLatin1String(name));
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    };
    QCOMPARE(rows("stackCalls"), (QStringList { "branch, called from line 24", "branch, called from line 12" }));
    QCOMPARE(rows("stackValues"), (QStringList { "120", "6" }));

    // It follows a step back: the call undone, the values still there.
    action("actionStep_Back")->trigger();
    action("actionStep_Back")->trigger();
    QCOMPARE(rows("stackCalls"), (QStringList { "branch, called from line 12" }));
    // Back before the push of BX: AX alone, its push standing out.
    for (int i = 0; i < 4; ++i) {
        action("actionStep_Back")->trigger();
    }
    QCOMPARE(editor()->execLine(), 20);
    QCOMPARE(rows("stackValues"), QStringList { "6" });
    QVERIFY(panel->findChild<QListWidget*>(QStringLiteral("stackValues"))->item(0)->background() != QBrush());
}

void TestRunControls::runToCursorAndItsKey()
{
    setScript(QString::fromLatin1(SquareByProcedure));
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(9)));
    press(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(editor()->execLine(), 10);
    QCOMPARE(statusText(), QStringLiteral("Paused at line 10, step 4"));
    // Again from there: the next time the line comes.
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(9)));
    action("actionRun_to_Cursor")->trigger();
    QCOMPARE(statusText(), QStringLiteral("Paused at line 10, step 9"));
    action("actionContinue")->trigger();
    QCOMPARE(statusText(), QStringLiteral("Finished after 23 steps"));
}

void TestRunControls::breakpointOnACommentMovesToTheInstruction()
{
    setScript(QStringLiteral("Tur=Asm\n# a comment\nmove: 5;\n\n"));
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(1)));
    action("actionToggle_Breakpoint")->trigger();
    QCOMPARE(editor()->breakpoints(), QList<int> { 3 });
    QVERIFY(m_window->statusBar()->currentMessage().contains(QStringLiteral("line 3")));
    editor()->setTextCursor(QTextCursor(editor()->document()->findBlockByNumber(3)));
    action("actionToggle_Breakpoint")->trigger();
    QCOMPARE(editor()->breakpoints(), QList<int> { 3 });
    QVERIFY(m_window->statusBar()->currentMessage().contains(QStringLiteral("no breakpoint")));
    action("action_Run")->trigger();
    QCOMPARE(editor()->execLine(), 3);
}

void TestRunControls::cleanStartIsRemembered()
{
    QVERIFY(!action("actionClean_Start")->isChecked());
    setScript(QStringLiteral("Tur=Asm\nwrite:Y;\nAX: AX+1;\nmove: 10;\n"));
    action("action_Run")->trigger();
    action("action_Run")->trigger();
    QCOMPARE(debugValue(QStringLiteral("AX")), QStringLiteral("2"));
    QCOMPARE(savedPoints().size(), 3);

    action("actionClean_Start")->trigger();
    action("action_Run")->trigger();
    QCOMPARE(debugValue(QStringLiteral("AX")), QStringLiteral("1"));
    QCOMPARE(savedPoints().size(), 2);

    // The next window starts with it.
    closeWindow();
    QVERIFY(Settings().cleanStart());
    QVERIFY(openWindow());
    QVERIFY(action("actionClean_Start")->isChecked());
    action("actionClean_Start")->trigger();
    QVERIFY(!Settings().cleanStart());
}

// The gutter counts how many times each line ran, up to the step shown.
void TestRunControls::executionCountsFollowTheStepShown()
{
    action("actionExecution_Counts")->setChecked(true);
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    QVERIFY(editor()->lineCounts().isEmpty() || *std::max_element(editor()->lineCounts().cbegin(),
                                                                   editor()->lineCounts().cend()) == 0);
    action("actionStep")->trigger();
    action("actionStep")->trigger();
    QCOMPARE(editor()->lineCounts().value(1), qint64(1));
    QCOMPARE(editor()->lineCounts().value(2), qint64(1));
    QCOMPARE(editor()->lineCounts().value(4), qint64(0));

    // The whole run: four calls, each running the procedure once; "end" once.
    action("actionContinue")->trigger();
    const QVector<qint64> ended { 0, 1, 1, 0, 4, 4, 1, 0, 4, 4, 4 };
    QCOMPARE(editor()->lineCounts(), ended);
    action("actionStep_Back")->trigger();
    QCOMPARE(editor()->lineCounts().value(6), qint64(0));
    QCOMPARE(editor()->lineCounts().value(5), qint64(4));

    // Hidden and shown again by the menu.
    action("actionExecution_Counts")->setChecked(false);
    QVERIFY(editor()->lineCounts().isEmpty());
    action("actionExecution_Counts")->setChecked(true);
    QCOMPARE(editor()->lineCounts().value(5), qint64(4));

    // A run to the end shows its counts at its end; an edit drops them.
    action("actionStop")->trigger();
    action("action_Debug")->setChecked(false);
    action("action_Run")->trigger();
    QCOMPARE(editor()->lineCounts(), ended);
    editor()->textCursor().insertText(QStringLiteral("#"));
    QVERIFY(editor()->lineCounts().isEmpty());
}

int main(int argc, char* argv[])
{
    return runWindowTest<TestRunControls>(argc, argv);
}

#include "tst_runcontrols.moc"

#include "windowfixture.h"
#include "widgets/qturtleoutputarea.h"
#include "widgets/qtimelinebar.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolTip>

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

private:
    // The drawing's points ("Y x y"), as Save Image writes them.
    QStringList savedPoints();
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
    QVERIFY(action("action_Debug")->isChecked());
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
    QVERIFY(!editor()->isReadOnly());
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
    QCOMPARE(click(points, 3), 5);
    QCOMPARE(click(points, 1), 3);
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
    QVERIFY(!m_window->findChild<QTimelineBar*>()->isVisible());

    // While debugging, the timeline goes to the step that drew it.
    action("action_Clear")->trigger();
    action("action_Debug")->setChecked(true);
    action("action_Run")->trigger();
    action("actionContinue")->trigger();
    QCOMPARE(click(points, 1), 3);
    QCOMPARE(m_window->findChild<QTimelineBar*>()->shownStep(), qint64(2));
    QCOMPARE(savedPoints().size(), 2);
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

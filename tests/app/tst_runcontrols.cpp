#include "windowfixture.h"

#include <QComboBox>
#include <QTextBlock>

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
    QTest::qWait(150);
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

int main(int argc, char* argv[])
{
    return runWindowTest<TestRunControls>(argc, argv);
}

#include "tst_runcontrols.moc"

#include "dialogs.h"
#include "mainwindow.h"
#include "widgets/qeditor.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QStandardPaths>
#include <QTextBlock>
#include <QtTest>

#include <memory>

namespace {

const char* const Square = "Tur=Asm\n"
                           "CX:4;\n"
                           "write:Y;\n"
                           "define:SIDE;\n"
                           "call:EDGE;\n"
                           "loop:SIDE;\n"
                           "end;\n"
                           "proc:EDGE;\n"
                           "move:100;\n"
                           "left:90;\n"
                           "ret;\n";

} // namespace

// The run and debug commands of the real window.
class TestRunControls : public QObject
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

private:
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    QEditor* editor() const { return m_window->findChild<QEditor*>(); }

    std::unique_ptr<MainWindow> m_window;
};

void TestRunControls::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
    Dialogs::setInteractive(false);
    QStandardPaths::setTestModeEnabled(true);
}

void TestRunControls::init()
{
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    action("actionSpeed_Instant")->trigger();
    editor()->setPlainText(QString::fromLatin1(Square));
}

void TestRunControls::cleanup()
{
    action("actionSpeed_Instant")->trigger();
    editor()->setIfModified(false);
    m_window.reset();
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
    QVERIFY(m_window->findChild<QListWidget*>(QStringLiteral("ErrorListWidget"))->count() == 0);
}

void TestRunControls::errorListShowsOnlyTheLastRun()
{
    auto* list = m_window->findChild<QListWidget*>(QStringLiteral("ErrorListWidget"));
    editor()->setPlainText(QStringLiteral("Tur=Asm\nmove 5;\nMOVE: 5;\n"));
    action("action_Run")->trigger();
    QCOMPARE(list->count(), 2);
    list->setCurrentRow(1);
    editor()->setPlainText(QString::fromLatin1(Square));
    action("action_Run")->trigger();
    QCOMPARE(list->count(), 0);
    QVERIFY(list->selectedItems().isEmpty());
}

int main(int argc, char* argv[])
{
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANGUAGE", "");
    QApplication app(argc, argv);
    TestRunControls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runcontrols.moc"

#include "frontend/message.h"
#include "frontend/messagecatalogue.h"
#include "widgets/qdebuggerinterface.h"
#include "widgets/qeditor.h"
#include "widgets/qerrorlister.h"
#include "widgets/qhelp.h"
#include "widgets/qtimelinebar.h"
#include "widgets/qstackpanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using CodeAndLine = QPair<int, int>;
using NamedValue = std::pair<QString, int>;
Q_DECLARE_METATYPE(QList<CodeAndLine>)
Q_DECLARE_METATYPE(DebugValueList)

namespace {

// Translates every text to "context:source", so a test sees which context a
// text was looked up in and whether it was looked up again.
class ContextTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return QString::fromUtf8(context) + QLatin1Char(':') + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};

QStringList rowsOf(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

DebugValueList machineState(int ri, int ax, int stackSize)
{
    DebugValueList values { { "RI", ri }, { "AX", ax }, { "BX", 0 }, { "CX", 0 }, { "DX", 0 },
                            { "Stack size", stackSize } };
    return values;
}

} // namespace

class TestPanels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void errorList_data();
    void errorList();

    void debuggerRows_data();
    void debuggerRows();
    void debuggerIsReadOnly();
    void debuggerHighlightsChanges();
    void debuggerShowsEveryRowInItsMinimumSize_data();
    void debuggerShowsEveryRowInItsMinimumSize();
    void errorActivationMovesTheCursor();
    void errorListFollowsTheEditedText();

    void stackRows_data();
    void stackRows();
    void hiddenStackPanelCatchesUpWhenShown();

    void retranslation();

    void helpDockKeepsItsWidth();
    void helpPageScrolls();
    void helpPageHoldsTheSyntaxMemo();

    void timelineTextNeverCoversItsSlider_data();
    void timelineTextNeverCoversItsSlider();
    void timelineShowsAndChoosesSteps();
    void timelineSpansMoreStepsThanASliderHolds();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MessageCatalogue> m_catalogue;
};

void TestPanels::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile file(m_dir.filePath(QStringLiteral("messages.mes")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write("102;Line $L: the statement does not end with ';'.\n"
               "103;Line $L: unknown keyword.\n"
               "220;Line $L: pop from an empty stack.\n"
               "290;The program ended with values on the stack.\n");
    file.close();
    m_catalogue = std::make_unique<MessageCatalogue>(file.fileName());
}

void TestPanels::errorList_data()
{
    QTest::addColumn<QList<CodeAndLine>>("messages");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("no message leaves the list empty") << QList<CodeAndLine>() << QStringList();
    QTest::newRow("messages keep the order given, not the order of lines")
        << QList<CodeAndLine>({ { 103, 9 }, { 102, 2 }, { 290, -1 } })
        << QStringList({ "Line 9: unknown keyword.", "Line 2: the statement does not end with ';'.",
                         "The program ended with values on the stack." });
    QTest::newRow("the same message twice is listed twice")
        << QList<CodeAndLine>({ { 220, 4 }, { 220, 4 } })
        << QStringList({ "Line 4: pop from an empty stack.", "Line 4: pop from an empty stack." });
}

void TestPanels::errorList()
{
    QFETCH(QList<CodeAndLine>, messages);
    QFETCH(QStringList, rows);

    std::list<Message> list;
    for (const CodeAndLine& message : messages) {
        list.emplace_back(m_catalogue.get(), message.first, message.second);
    }
    QErrorLister lister;
    // A refill replaces what the previous run listed.
    lister.setMessages({ Message(m_catalogue.get(), 103, 3), Message(m_catalogue.get(), 102, 5) });
    lister.setMessages(list);

    QCOMPARE(rowsOf(lister.findChild<QListWidget*>()), rows);
}

void TestPanels::debuggerRows_data()
{
    QTest::addColumn<DebugValueList>("values");

    QTest::newRow("a reset machine has six rows, one fewer than with a stack") << machineState(-1, 0, 0);
    DebugValueList stacked = machineState(7, 12, 2);
    stacked.emplace_back("Stack top", 8);
    QTest::newRow("a machine with a stack shows its top") << stacked;
    DebugValueList negative = machineState(3, -25, 1);
    negative.emplace_back("Stack top", -2147483647 - 1);
    QTest::newRow("negative values keep their minus sign") << negative;
}

void TestPanels::debuggerRows()
{
    QFETCH(DebugValueList, values);

    QDebuggerInterface debugger;
    // The previous step left a value on the stack.
    DebugValueList before = machineState(9, 1, 3);
    before.emplace_back("Stack top", 40);
    debugger.setValues(before);

    debugger.setValues(values);

    auto* table = debugger.findChild<QTableWidget*>(QStringLiteral("DebugTableWidget"));
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 1);
    QCOMPARE(table->rowCount(), int(values.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        QCOMPARE(table->verticalHeaderItem(row)->text(), values[row].first);
        QCOMPARE(table->verticalHeaderItem(row)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));
        QCOMPARE(table->item(row, 0)->text(), QString::number(values[row].second));
        // 22 pixels, more when the font needs it.
        QVERIFY(table->rowHeight(row) >= 22 && table->rowHeight(row) >= table->fontMetrics().height());
    }
}

void TestPanels::debuggerIsReadOnly()
{
    QDebuggerInterface debugger;
    debugger.setValues(machineState(2, 10, 0));
    debugger.show();
    QVERIFY(QTest::qWaitForWindowExposed(&debugger));

    auto* table = debugger.findChild<QTableWidget*>();
    const QRect cell = table->visualItemRect(table->item(1, 0));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClicks(table->viewport(), QStringLiteral("99"));
    QTest::keyClick(table->viewport(), Qt::Key_Return);

    QCOMPARE(table->item(1, 0)->text(), QStringLiteral("10"));
}

void TestPanels::debuggerHighlightsChanges()
{
    QDebuggerInterface debugger;
    auto* table = debugger.findChild<QTableWidget*>();
    const auto highlighted = [table] {
        QStringList names;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QTableWidgetItem* item = table->item(row, 0);
            const bool pale = item->background().style() != Qt::NoBrush;
            if (item->font().bold() || pale) {
                names << (item->font().bold() && pale ? QString() : QStringLiteral("half:"))
                        + table->verticalHeaderItem(row)->text();
            }
        }
        return names;
    };

    debugger.setValues(machineState(-1, 0, 0));
    QCOMPARE(highlighted(), QStringList());

    DebugValueList pushed = machineState(2, 10, 1);
    pushed.emplace_back("Stack top", 10);
    debugger.setValues(pushed);
    QCOMPARE(highlighted(), QStringList({ "RI", "AX", "Stack size", "Stack top" }));

    DebugValueList moved = machineState(3, 10, 1);
    moved.emplace_back("Stack top", 10);
    debugger.setValues(moved);
    QCOMPARE(highlighted(), QStringList({ "RI" }));

    debugger.setValues(moved);
    QCOMPARE(highlighted(), QStringList());
}

void TestPanels::debuggerShowsEveryRowInItsMinimumSize_data()
{
    QTest::addColumn<double>("fontScale");

    QTest::newRow("the default font") << 1.0;
    // What 144 dpi gives where the toolkit scales the fonts but not the widgets.
    QTest::newRow("a font one and a half times as large") << 1.5;
}

void TestPanels::debuggerShowsEveryRowInItsMinimumSize()
{
    QFETCH(double, fontScale);

    const QFont font = QApplication::font();
    QFont large = font;
    large.setPixelSize(qRound(QFontMetrics(font).height() * fontScale));
    QApplication::setFont(large);
    const auto restore = qScopeGuard([font] { QApplication::setFont(font); });
    QMainWindow window;
    QDebuggerInterface* debugger = new QDebuggerInterface;
    window.addDockWidget(Qt::BottomDockWidgetArea, debugger);
    window.setCentralWidget(new QWidget);
    window.resize(600, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resizeDocks({ debugger }, { debugger->minimumSizeHint().height() }, Qt::Vertical);
    DebugValueList full = machineState(7, 12, 2);
    full.emplace_back("Stack top", 8);
    debugger->setValues(full);
    QCoreApplication::processEvents();

    auto* table = debugger->findChild<QTableWidget*>();
    QCOMPARE(debugger->height(), debugger->minimumSizeHint().height());
    QCOMPARE(table->verticalScrollBar()->maximum(), 0);
    QVERIFY(table->visualItemRect(table->item(6, 0)).bottom() < table->viewport()->height());
    // And each row holds its text.
    QVERIFY(table->rowHeight(6) >= table->fontMetrics().height() + 4);
}

void TestPanels::errorActivationMovesTheCursor()
{
    QWidget window;
    auto* editor = new QEditor(&window);
    auto* lister = new QErrorLister(&window);
    lister->move(0, 320);
    QStringList lines;
    for (int i = 1; i <= 80; ++i) {
        lines << QStringLiteral("move:%1;").arg(i);
    }
    editor->setPlainText(lines.join(QLatin1Char('\n')));
    lister->setMessages({ Message(m_catalogue.get(), 290, -1), Message(m_catalogue.get(), 103, 60) });
    QObject::connect(lister, &QErrorLister::lineActivated, editor, &QEditor::goToLine);
    window.resize(1100, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* list = lister->findChild<QListWidget*>();
    QSignalSpy spy(lister, &QErrorLister::lineActivated);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(editor->textCursor().blockNumber(), 0);

    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(editor->textCursor().blockNumber(), 59);
    QCOMPARE(editor->textCursor().positionInBlock(), 0);
    QVERIFY(editor->viewport()->rect().contains(editor->cursorRect()));
    QVERIFY(editor->hasFocus());

    editor->goToLine(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(editor->textCursor().blockNumber(), 59);
    QCOMPARE(list->item(1)->toolTip(), list->item(1)->text());
}

void TestPanels::errorListFollowsTheEditedText()
{
    QEditor editor;
    QErrorLister lister;
    auto* list = lister.findChild<QListWidget*>();
    editor.setPlainText(QStringLiteral("Tur=Asm\nmove 5;\nleft: 1;\nfoo: 2;\n"));
    lister.follow(&editor);
    editor.setDiagnostics({ Message(m_catalogue.get(), 102, 2), Message(m_catalogue.get(), 290, -1),
                            Message(m_catalogue.get(), 103, 4) });
    QCOMPARE(rowsOf(list), QStringList({ "Line 2: the statement does not end with ';'.",
                                         "The program ended with values on the stack.", "Line 4: unknown keyword." }));
    const QBrush plain = list->item(0)->foreground();
    list->setCurrentRow(2);

    // A line typed above: each entry names its line as it now is, greyed.
    QTextCursor(editor.document()->findBlockByNumber(1)).insertText(QStringLiteral("# a note\n"));
    QCOMPARE(rowsOf(list), QStringList({ "Line 3: the statement does not end with ';'. (edited since)",
                                         "The program ended with values on the stack. (edited since)",
                                         "Line 5: unknown keyword. (edited since)" }));
    QVERIFY(list->item(2)->foreground() != plain);
    // The entry chosen stays chosen as the list is refilled.
    QCOMPARE(list->currentRow(), 2);
    QSignalSpy activated(&lister, &QErrorLister::lineActivated);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), 5);

    // The line fixed, its entry goes without a run.
    QTextCursor fix(editor.document()->findBlockByNumber(2));
    fix.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    fix.insertText(QStringLiteral(":"));
    QCOMPARE(rowsOf(list), QStringList({ "The program ended with values on the stack. (edited since)",
                                         "Line 5: unknown keyword. (edited since)" }));

    // Another script: no entry of the last one leads into it.
    editor.setPlainText(QStringLiteral("Tur=Asm\nmove: 5;\n"));
    QVERIFY(rowsOf(list).isEmpty());
}

void TestPanels::stackRows_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("calls");
    // The row that stands out, -1 for none.
    QTest::addColumn<int>("freshValue");
    QTest::addColumn<int>("freshCall");

    QTest::newRow("a push stands out on top")
        << int(StackView::Pushed) << 2 << QStringList { "7", "5" } << QStringList { "petal, called from line 8" } << 0 << -1;
    QTest::newRow("a pop shows what it took, struck out, above the top")
        << int(StackView::Popped) << 2 << QStringList { "9 (popped)", "7", "5" }
        << QStringList { "petal, called from line 8" } << -1 << -1;
    QTest::newRow("a call stands out innermost")
        << int(StackView::Called) << 2 << QStringList { "7", "5" } << QStringList { "petal, called from line 8" } << -1 << 0;
    QTest::newRow("a ret shows the call it ended")
        << int(StackView::Returned) << 2 << QStringList { "7", "5" }
        << QStringList { "edge, called from line 19 (returned)", "petal, called from line 8" } << -1 << -1;
    QTest::newRow("a deep stack lists its top and counts the rest")
        << int(StackView::NoChange) << 1000 << QStringList { "7", "5", "998 more" }
        << QStringList { "petal, called from line 8" } << -1 << -1;
}

void TestPanels::stackRows()
{
    QFETCH(int, change);
    QFETCH(int, depth);
    QFETCH(QStringList, values);
    QFETCH(QStringList, calls);
    QFETCH(int, freshValue);
    QFETCH(int, freshCall);

    StackView view;
    view.values = { 7, 5 };
    view.depth = std::size_t(depth);
    view.calls = { { QStringLiteral("petal"), 8 } };
    view.callDepth = 1;
    view.change = StackView::Change(change);
    view.popped = 9;
    view.returned = { QStringLiteral("edge"), 19 };
    int asked = 0;
    QStackPanel panel;
    panel.show();
    // A longer stack before: rows it had beyond the new ones go.
    panel.setSource([](int) {
        StackView longer;
        longer.values = { 1, 2, 3, 4 };
        longer.depth = 4;
        return longer;
    });
    panel.setSource([&](int rows) {
        asked = rows;
        return view;
    });
    QCOMPARE(asked, QStackPanel::ShownRows);

    const auto* valueList = panel.findChild<QListWidget*>(QStringLiteral("stackValues"));
    const auto* callList = panel.findChild<QListWidget*>(QStringLiteral("stackCalls"));
    QCOMPARE(rowsOf(valueList), values);
    QCOMPARE(rowsOf(callList), calls);
    for (const auto* list : { valueList, callList }) {
        const int fresh = list == valueList ? freshValue : freshCall;
        for (int row = 0; row < list->count(); ++row) {
            QCOMPARE(list->item(row)->background() != QBrush(), row == fresh);
            QCOMPARE(list->item(row)->font().strikeOut(), list->item(row)->text().endsWith(QLatin1Char(')')));
        }
    }
    QStringList titles;
    for (const QLabel* label : panel.findChildren<QLabel*>()) {
        titles << label->text();
    }
    QVERIFY2(titles.join(QLatin1Char('|')).contains(QLocale().toString(depth)), qPrintable(titles.join(QLatin1Char('|'))));
}

void TestPanels::hiddenStackPanelCatchesUpWhenShown()
{
    QStackPanel panel;
    int reads = 0;
    StackView view;
    view.values = { 3 };
    view.depth = 1;
    panel.setSource([&](int) {
        ++reads;
        return view;
    });
    // Hidden, it reads nothing at each step of a run.
    panel.refresh();
    panel.refresh();
    QCOMPARE(reads, 0);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(reads, 1);
    QCOMPARE(rowsOf(panel.findChild<QListWidget*>(QStringLiteral("stackValues"))), QStringList { "3" });
    panel.refresh();
    QCOMPARE(reads, 2);
}

void TestPanels::retranslation()
{
    QErrorLister lister;
    QDebuggerInterface debugger;
    QHelp help;
    auto* label = help.findChild<QLabel*>(QStringLiteral("helpLabel"));
    const QString page = label->text();
    auto* table = debugger.findChild<QTableWidget*>();
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Values"));

    ContextTranslator translator;
    QCoreApplication::installTranslator(&translator);
    lister.retranslate();
    debugger.retranslate();
    help.retranslate();
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(lister.windowTitle(), QStringLiteral("m_errorLister:List of Errors"));
    QCOMPARE(debugger.windowTitle(), QStringLiteral("m_debugInterface:Debugger"));
    QCOMPARE(help.windowTitle(), QStringLiteral("DockWidget:Help"));
    QCOMPARE(label->text(), QStringLiteral("DockWidget:") + page);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("QDebuggerInterface:Values"));
}

void TestPanels::helpDockKeepsItsWidth()
{
    QMainWindow window;
    window.resize(1000, 700);
    window.setCentralWidget(new QWidget);
    auto* help = new QHelp;
    window.addDockWidget(Qt::RightDockWidgetArea, help);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(help->width(), 280);

    window.resizeDocks({ help }, { 600 }, Qt::Horizontal);
    window.resize(1300, 700);
    QCoreApplication::processEvents();
    QCOMPARE(help->width(), 280);
}

void TestPanels::helpPageScrolls()
{
    QHelp help;
    help.resize(280, 400);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));

    // Two pages, the memo first: each scrolls down, never sideways, within the fixed width.
    auto* tabs = help.findChild<QTabWidget*>();
    QVERIFY(tabs);
    QCOMPARE(tabs->currentIndex(), 0);
    int index = 0;
    for (const char* name : { "helpLabel", "guideLabel" }) {
        tabs->setCurrentIndex(index++);
        auto* label = help.findChild<QLabel*>(QLatin1String(name));
        QVERIFY2(label->isVisible(), name);
        auto* scrollArea = qobject_cast<QScrollArea*>(label->parentWidget()->parentWidget()->parentWidget());
        QVERIFY2(scrollArea, name);
        QVERIFY2(scrollArea->verticalScrollBar()->maximum() > 0, name);
        QCOMPARE(scrollArea->horizontalScrollBar()->maximum(), 0);
    }
}

void TestPanels::helpPageHoldsTheSyntaxMemo()
{
    QHelp help;
    QTextDocument page;
    page.setHtml(help.findChild<QLabel*>(QStringLiteral("helpLabel"))->text());
    const QString text = page.toPlainText();

    const QStringList memo = {
        "Fonctions :",
        "Language : The application is now available in French and in English.",
        "Memo Syntax :",
        "For more information, look at the documentation.",
        "put : put:Val1, Val2;",
        "move : move:Val;",
        "left : left; or left:Val;",
        "right : right; or right:Val;",
        "write : write:Y; or write:N;",
        "jmpax : jmpax:LABEL;",
        "jmpbx : jmpbx:LABEL;",
        "jmpe : jmpe:Val1, Val2, LABEL;",
        "jmpg : jmpg:Val1, Val2, LABEL;",
        "jmpge : jmpge:Val1, Val2, LABEL;",
        "jmpl : jmpl:Val1, Val2, LABEL;",
        "jmple : jmple:Val1, Val2, LABEL;",
        "jmpne : jmpne:Val1, Val2, LABEL;",
        "loop : loop:LABEL;",
        "push : push:Val;",
        "pop : pop:REGISTER;",
        "define : define:LABEL;",
        "proc : proc:PROC_NAME;",
        "call : call:PROC_NAME;",
        "ret : ret;",
        "end : end;",
    };
    int from = 0;
    for (const QString& line : memo) {
        const int at = text.indexOf(QLatin1Char('\n') + line + QLatin1Char('\n'), from);
        QVERIFY2(at >= 0, qPrintable(line));
        from = at + 1;
    }
    QVERIFY(text.startsWith(QStringLiteral("Korvane is an Integrated Developement Environement")));
    QVERIFY(!text.contains(QStringLiteral("setRegister")));
}

void TestPanels::timelineShowsAndChoosesSteps()
{
    QTimelineBar bar;
    bar.setNumberLocale(QLocale(QLocale::English));
    bar.resize(500, 40);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    auto* slider = bar.findChild<QSlider*>();
    auto* label = bar.findChild<QLabel*>();
    QSignalSpy chosen(&bar, &QTimelineBar::stepChosen);

    // What the run shows is not asked for again.
    bar.setSteps(0, 1234, 17);
    QCOMPARE(slider->value(), 17);
    QCOMPARE(slider->maximum(), 1234);
    QVERIFY2(label->text().contains(QStringLiteral(" 17 ")) && label->text().endsWith(QStringLiteral(" 1,234")),
             qPrintable(label->text()));
    QCoreApplication::processEvents();
    QCOMPARE(chosen.count(), 0);

    // Positions passed while the last request waits: only the latest is asked for.
    for (int value : { 3, 5, 1234 }) {
        slider->setValue(value);
    }
    QVERIFY2(label->text().contains(QStringLiteral("1,234 ")), qPrintable(label->text()));
    QTRY_COMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toLongLong(), qint64(1234));
    slider->setValue(0);
    QTRY_COMPARE(chosen.count(), 2);
    QCOMPARE(chosen.at(1).at(0).toLongLong(), qint64(0));

    // A click far along the groove jumps there, not a page towards it.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 4, slider->height() / 2));
    QVERIFY2(slider->value() > 1100, qPrintable(QString::number(slider->value())));
    QTRY_COMPARE(chosen.count(), 3);
    QCOMPARE(chosen.at(2).at(0).toLongLong(), bar.shownStep());
}

void TestPanels::timelineSpansMoreStepsThanASliderHolds()
{
    QTimelineBar bar;
    bar.setNumberLocale(QLocale(QLocale::English));
    auto* slider = bar.findChild<QSlider*>();
    QSignalSpy chosen(&bar, &QTimelineBar::stepChosen);
    const qint64 first = 7;
    const qint64 last = first + 5000000000LL;
    bar.setSteps(first, last, first + 2500000000LL);
    QVERIFY(slider->value() > slider->maximum() / 2 - 2 && slider->value() < slider->maximum() / 2 + 2);
    QVERIFY(bar.findChild<QLabel*>()->text().endsWith(QStringLiteral("5,000,000,007")));

    // Both ends are reached exactly.
    slider->setValue(slider->maximum());
    QTRY_COMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toLongLong(), last);
    slider->setValue(0);
    QTRY_COMPARE(chosen.count(), 2);
    QCOMPARE(chosen.at(1).at(0).toLongLong(), first);
    // Steps before the first are clamped.
    bar.setSteps(first, last, 0);
    QCOMPARE(bar.shownStep(), first);
}

QTEST_MAIN(TestPanels)
void TestPanels::timelineTextNeverCoversItsSlider_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("wide enough for the two side by side") << 700;
    QTest::newRow("the narrowest drawing, beside open docks") << 200;
}

// Under the drawing, as in the window: the drawing's pane can be narrower
// than its parts would like, and the text then goes under the slider.
void TestPanels::timelineTextNeverCoversItsSlider()
{
    QFETCH(int, width);
    QWidget pane;
    auto* layout = new QVBoxLayout(&pane);
    layout->addWidget(new QWidget, 1);
    auto* bar = new QTimelineBar;
    layout->addWidget(bar);
    pane.setMinimumSize(200, 150);
    bar->setSteps(1, 1000000, 2);
    pane.resize(width, 300);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));

    const QWidget* slider = bar->findChild<QSlider*>();
    const QWidget* label = bar->findChild<QLabel*>();
    QTRY_VERIFY(!label->geometry().intersects(slider->geometry()));
    QVERIFY(bar->rect().contains(slider->geometry()));
    QVERIFY(bar->rect().contains(label->geometry()));
    QVERIFY(slider->width() >= 100);
    // Text beside the slider when there is room for both.
    QCOMPARE(label->geometry().top() < slider->geometry().bottom(), width == 700);
}

#include "tst_panels.moc"

#include "commandmap.h"
#include "frontend/message.h"
#include "frontend/messagecatalogue.h"
#include "widgets/qeditor.h"
#include "widgets/qeditorpane.h"
#include "widgets/qfindbar.h"
#include "session/scriptlines.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolTip>
#include <QtTest>

namespace {

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("move:%1;").arg(i);
    }
    return lines.join(QLatin1Char('\n'));
}

QEditorLineNumberArea* gutterOf(QEditor& editor)
{
    return editor.findChild<QEditorLineNumberArea*>();
}

int expectedGutterWidth(const QEditor& editor, int digits)
{
    return editor.fontMetrics().horizontalAdvance(QLatin1Char('0')) * digits + 16;
}

// The gutter strip of one line, as painted.
QImage gutterRow(QEditor& editor, int line)
{
    QTextCursor cursor(editor.document()->findBlockByNumber(line - 1));
    const QRect row = editor.cursorRect(cursor);
    QEditorLineNumberArea* gutter = gutterOf(editor);
    return gutter->grab(QRect(0, row.top(), gutter->width(), row.height())).toImage();
}

void select(QEditor& editor, int start, int end)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

// The y of a line's middle in the gutter.
int gutterY(QEditor& editor, int line)
{
    return editor.cursorRect(QTextCursor(editor.document()->findBlockByNumber(line - 1))).center().y();
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void font();
    void longLinesDoNotWrap();

    void tabInsertsFourSpaces_data();
    void tabInsertsFourSpaces();
    void loadedTabsBecomeSpaces();
    void loadingFollowsTheDocument_data();
    void loadingFollowsTheDocument();

    void modifiedIsSignalledOncePerChange();

    void gutterWidth_data();
    void gutterWidth();
    void gutterGrowsWhileTyping();

    void execLineMovesCursor_data();
    void execLineMovesCursor();
    void arrowIsPaintedOnTheExecLineOnly();

    void bandFollowsTheCursor();

    void breakpointsFollowTheirLines_data();
    void breakpointsFollowTheirLines();
    void gutterClickTogglesBreakpoints();
    void countsStandApartFromLineNumbers();
    void diagnosticsMarkTheirLines();

    void lineEdits_data();
    void lineEdits();
    void fontZoom();
    void fontZoomStopsAtItsBounds();
    void wheelZoomsAPointANotch_data();
    void wheelZoomsAPointANotch();

    void findWrapsAround();
    void replaceAllIsOneUndoStep();
    void goToLineAsksThroughTheSeam();
    void editActionsKeepAReadOnlyText();

    void lockedTextRefusesTyping_data();
    void lockedTextRefusesTyping();
    void replaceAsksTheLockToLetGo();
    void breakpointsGoWhereAnInstructionIs_data();
    void breakpointsGoWhereAnInstructionIs();
    void diagnosticsFollowEdits_data();
    void diagnosticsFollowEdits();
};

void TestEditor::font()
{
    QEditor editor;
    const QFontMetrics metrics(editor.font());
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
    QCOMPARE(editor.font().italic(), false);
    QCOMPARE(editor.font().weight(), int(QFont::Normal));
}

void TestEditor::longLinesDoNotWrap()
{
    QEditor editor;
    editor.resize(320, 300);
    editor.show();
    editor.setPlainText(QStringLiteral("move:1; ").repeated(60));
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    QCOMPARE(editor.document()->firstBlock().layout()->lineCount(), 1);
    QVERIFY(editor.horizontalScrollBar()->maximum() > 0);
}

void TestEditor::tabInsertsFourSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd");
    QTest::addColumn<QString>("expected");

    QTest::newRow("tab in an empty editor") << "" << 0 << 0 << "    ";
    QTest::newRow("tab inside a line") << "pop:AX;" << 4 << 4 << "pop:    AX;";
    QTest::newRow("tab over a selection replaces it") << "move:10;" << 5 << 7 << "move:    ;";
}

void TestEditor::tabInsertsFourSpaces()
{
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);
    QFETCH(QString, expected);

    QEditor editor;
    editor.setPlainText(text);
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(selectionStart);
    cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);

    QTest::keyClick(&editor, Qt::Key_Tab);

    QCOMPARE(editor.toPlainText(), expected);
    QVERIFY(!editor.toPlainText().contains(QLatin1Char('\t')));
}

void TestEditor::loadedTabsBecomeSpaces()
{
    QEditor editor;
    QTest::keyClicks(&editor, QStringLiteral("move"));

    editor.setPlainText(QStringLiteral("Tur=Asm\n\tmove:10;\t\t# x\n"));

    QCOMPARE(editor.toPlainText(), QStringLiteral("Tur=Asm\n    move:10;        # x\n"));
    QVERIFY(!editor.isModified());
    QVERIFY(!editor.document()->isUndoAvailable());
}

void TestEditor::loadingFollowsTheDocument_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("loaded");

    QTest::newRow("a script over an empty editor") << "" << false << "Tur=Asm";
    QTest::newRow("a script over a changed one") << "Tur=Asm" << true << "Tur=Asm\nmove:5;";
    QTest::newRow("an empty text over a script") << "Tur=Asm" << false << "";
    QTest::newRow("an empty text over a changed script") << "Tur=Asm" << true << "";
}

void TestEditor::loadingFollowsTheDocument()
{
    QFETCH(QString, before);
    QFETCH(bool, typed);
    QFETCH(QString, loaded);

    QEditor editor;
    editor.setPlainText(before);
    if (typed) {
        QTest::keyClicks(&editor, QStringLiteral("x"));
    }
    QSignalSpy spy(&editor, &QEditor::modified);

    editor.setPlainText(loaded);

    QVERIFY(!editor.document()->isModified());
    QVERIFY(!editor.isModified());
    // Whatever went between, the last word the window heard is "not modified".
    if (typed) {
        QVERIFY(spy.count() > 0);
    }
}

void TestEditor::modifiedIsSignalledOncePerChange()
{
    QEditor editor;
    QSignalSpy spy(&editor, &QEditor::modified);

    QTest::keyClicks(&editor, QStringLiteral("move"));
    QCOMPARE(spy.count(), 1);
    QVERIFY(editor.isModified());

    QTest::keyClicks(&editor, QStringLiteral(":10;"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);

    while (editor.document()->isUndoAvailable()) {
        editor.undo();
    }
    QCOMPARE(spy.count(), 2);
    QVERIFY(!editor.isModified());

    editor.redo();
    QCOMPARE(spy.count(), 3);
    QVERIFY(editor.isModified());

    // The window reports a successful save even when nothing changed.
    editor.setIfModified(false);
    QCOMPARE(spy.count(), 4);
    QVERIFY(!editor.isModified());
}

void TestEditor::gutterWidth_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("digits");

    QTest::newRow("an empty document has room for two digits") << 0 << 2;
    QTest::newRow("one line") << 1 << 2;
    QTest::newRow("99 lines") << 99 << 2;
    QTest::newRow("100 lines take a third digit") << 100 << 3;
    QTest::newRow("999 lines") << 999 << 3;
    QTest::newRow("1000 lines take a fourth digit") << 1000 << 4;
}

void TestEditor::gutterWidth()
{
    QFETCH(int, lines);
    QFETCH(int, digits);

    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(lines));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    const int width = expectedGutterWidth(editor, digits);
    QCOMPARE(editor.lineNumberAreaWidth(), width);
    QCOMPARE(gutterOf(editor)->width(), width);
    QCOMPARE(editor.viewport()->x(), editor.contentsRect().x() + width);
}

void TestEditor::gutterGrowsWhileTyping()
{
    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(99));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.moveCursor(QTextCursor::End);

    QTest::keyClick(&editor, Qt::Key_Return);

    const int width = expectedGutterWidth(editor, 3);
    QCOMPARE(editor.blockCount(), 100);
    QCOMPARE(gutterOf(editor)->width(), width);
    QCOMPARE(editor.viewport()->x(), editor.contentsRect().x() + width);

    QTest::keyClick(&editor, Qt::Key_Backspace);

    QCOMPARE(gutterOf(editor)->width(), expectedGutterWidth(editor, 2));
}

void TestEditor::execLineMovesCursor_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("cursorBlock");

    QTest::newRow("line 3 puts the cursor at the start of line 3") << 3 << 2;
    QTest::newRow("line 1") << 1 << 0;
    QTest::newRow("no line puts the cursor at the start") << -1 << 0;
    QTest::newRow("zero puts the cursor at the start") << 0 << 0;
    QTest::newRow("the last line") << 200 << 199;
    QTest::newRow("a line beyond the end stops on the last line") << 250 << 199;
    QTest::newRow("a huge line number stops on the last line") << std::numeric_limits<int>::max() << 199;
}

void TestEditor::execLineMovesCursor()
{
    QFETCH(int, line);
    QFETCH(int, cursorBlock);

    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(200));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QTextCursor middle(editor.document()->findBlockByNumber(120));
    middle.movePosition(QTextCursor::EndOfBlock);
    editor.setTextCursor(middle);

    editor.setExecLine(line);

    QCOMPARE(editor.execLine(), line);
    QCOMPARE(editor.textCursor().blockNumber(), cursorBlock);
    QCOMPARE(editor.textCursor().positionInBlock(), 0);
    QVERIFY(!editor.textCursor().hasSelection());
    // Centred: the line is inside the view, away from its edges.
    const QRect cursorRect = editor.cursorRect();
    QVERIFY(editor.viewport()->rect().contains(cursorRect));
}

void TestEditor::arrowIsPaintedOnTheExecLineOnly()
{
    // The arrow is built into the executable, as the icons are.
    QVERIFY(!QImage(QStringLiteral(":/icons/fleche.png")).isNull());

    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(8));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    QList<QImage> plain;
    for (int line = 1; line <= 8; ++line) {
        plain << gutterRow(editor, line);
    }

    editor.setExecLine(3);
    for (int line = 1; line <= 8; ++line) {
        QCOMPARE(gutterRow(editor, line) != plain[line - 1], line == 3);
    }

    editor.setExecLine(9);
    for (int line = 1; line <= 8; ++line) {
        QCOMPARE(gutterRow(editor, line), plain[line - 1]);
    }

    editor.setExecLine(3);
    editor.setExecLine(-1);
    for (int line = 1; line <= 8; ++line) {
        QCOMPARE(gutterRow(editor, line), plain[line - 1]);
    }
}

void TestEditor::bandFollowsTheCursor()
{
    QEditor editor;
    editor.setPlainText(numberedLines(5));
    editor.setExecLine(4);
    editor.setEnabled(false);
    editor.setExecLine(2);

    const QList<QTextEdit::ExtraSelection> selections = editor.extraSelections();
    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections[0].cursor.blockNumber(), 1);
    QVERIFY(!selections[0].cursor.hasSelection());
    QCOMPARE(selections[0].format.background().color(), QColor(208, 224, 255));
    QCOMPARE(selections[0].format.background().style(), Qt::SolidPattern);
    QVERIFY(selections[0].format.property(QTextFormat::FullWidthSelection).toBool());
}

void TestEditor::breakpointsFollowTheirLines_data()
{
    QTest::addColumn<int>("cursorAt");   // position of the cursor before the keys
    QTest::addColumn<int>("selectTo");   // -1: no selection
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<int>>("expected");

    // "l1\nl2\nl3\nl4\nl5" with breakpoints on lines 3 and 5.
    QTest::newRow("a line inserted above moves them down") << 2 << -1 << int(Qt::Key_Return) << QList<int>({ 4, 6 });
    QTest::newRow("Return at the start of the line moves it down") << 6 << -1 << int(Qt::Key_Return) << QList<int>({ 4, 6 });
    QTest::newRow("Return at the end of the line leaves it") << 8 << -1 << int(Qt::Key_Return) << QList<int>({ 3, 6 });
    QTest::newRow("deleting the whole line removes its breakpoint") << 6 << 9 << int(Qt::Key_Delete) << QList<int>({ 4 });
    QTest::newRow("deleting the line above moves it up") << 3 << 6 << int(Qt::Key_Backspace) << QList<int>({ 2, 4 });
    QTest::newRow("deleting a line across two breakpoints keeps one") << 8 << 12 << int(Qt::Key_Delete) << QList<int>({ 3 });
    QTest::newRow("typing in the line keeps it") << 7 << -1 << int(Qt::Key_X) << QList<int>({ 3, 5 });
}

void TestEditor::breakpointsFollowTheirLines()
{
    QFETCH(int, cursorAt);
    QFETCH(int, selectTo);
    QFETCH(int, key);
    QFETCH(QList<int>, expected);

    QEditor editor;
    editor.setPlainText(QStringLiteral("l1\nl2\nl3\nl4\nl5"));
    editor.toggleBreakpoint(5);
    editor.toggleBreakpoint(3);
    editor.toggleBreakpoint(0);
    editor.toggleBreakpoint(6);
    QCOMPARE(editor.breakpoints(), QList<int>({ 3, 5 }));
    QSignalSpy spy(&editor, &QEditor::breakpointsChanged);
    select(editor, cursorAt, selectTo < 0 ? cursorAt : selectTo);

    QTest::keyClick(&editor, Qt::Key(key));

    QCOMPARE(editor.breakpoints(), expected);
    QCOMPARE(spy.count(), expected == QList<int>({ 3, 5 }) ? 0 : 1);

    editor.setPlainText(QStringLiteral("other\nscript"));
    QVERIFY(editor.breakpoints().isEmpty());
    QCOMPARE(spy.count(), expected == QList<int>({ 3, 5 }) ? 1 : 2);
}

void TestEditor::gutterClickTogglesBreakpoints()
{
    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(8));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setExecLine(4);
    QEditorLineNumberArea* gutter = gutterOf(editor);
    const int plainWidth = gutter->width();
    const QImage arrowRow = gutterRow(editor, 4);

    QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(2, gutterY(editor, 4)));
    QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(2, gutterY(editor, 2)));
    QCOMPARE(editor.breakpoints(), QList<int>({ 2, 4 }));
    // Room for the dot; the arrow stays where it was.
    QVERIFY(gutter->width() > plainWidth);
    QCOMPARE(editor.viewport()->x(), editor.contentsRect().x() + gutter->width());
    const QImage marked = gutterRow(editor, 4);
    QCOMPARE(marked.copy(0, 0, 16, marked.height()), arrowRow.copy(0, 0, 16, arrowRow.height()));

    QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(2, gutterY(editor, 4)));
    QCOMPARE(editor.breakpoints(), QList<int>({ 2 }));
    editor.clearBreakpoints();
    QVERIFY(editor.breakpoints().isEmpty());
    QCOMPARE(gutter->width(), plainWidth);

    // The count column holds the widest count as the interface's language writes it.
    editor.setLineCounts({ 0, 1234567, 3 });
    QVERIFY(gutter->width() >= plainWidth + editor.fontMetrics().horizontalAdvance(QLocale().toString(1234567)));
    editor.setLineCounts({});
    QCOMPARE(gutter->width(), plainWidth);

    // Closing the script clears the editor, and its breakpoints with it.
    editor.toggleBreakpoint(3);
    editor.clear();
    QVERIFY(editor.breakpoints().isEmpty());
}

void TestEditor::countsStandApartFromLineNumbers()
{
    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(12));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVector<qint64> counts(12, 0);
    counts[9] = 1;
    editor.setLineCounts(counts);

    // Line 10 ran once: "1" and "10" with a rule between them, and room on both sides.
    const QImage row = gutterRow(editor, 10);
    const QRgb background = row.pixel(1, row.height() / 2);
    int rule = -1;
    int lastCountInk = -1;
    int firstNumberInk = -1;
    for (int x = 0; x < row.width(); ++x) {
        int inked = 0;
        for (int y = 0; y < row.height(); ++y) {
            inked += row.pixel(x, y) != background;
        }
        if (inked == row.height() && rule < 0) {
            rule = x;
        } else if (inked > 0 && rule < 0) {
            lastCountInk = x;
        } else if (inked > 0 && firstNumberInk < 0) {
            firstNumberInk = x;
        }
    }
    QVERIFY2(rule > 0, "no rule between the counts and the numbers");
    QVERIFY2(lastCountInk > 0 && rule - lastCountInk > 2, qPrintable(QString::number(rule - lastCountInk)));
    QVERIFY2(firstNumberInk > rule + 2, qPrintable(QString::number(firstNumberInk - rule)));
}

void TestEditor::diagnosticsMarkTheirLines()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("messages.mes")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write("102;Line $L: no ';'.\n103;Line $L: unknown keyword.\n290;Values left on the stack.\n");
    file.close();
    MessageCatalogue catalogue(file.fileName());

    QEditor editor;
    editor.resize(400, 300);
    editor.setPlainText(numberedLines(6));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setDiagnostics({ Message(&catalogue, 103, 2), Message(&catalogue, 290, -1), Message(&catalogue, 102, 2),
                            Message(&catalogue, 102, 5), Message(&catalogue, 102, 99) });

    QCOMPARE(editor.diagnosticsText(2), QStringLiteral("Line 2: unknown keyword.\nLine 2: no ';'."));
    QCOMPARE(editor.diagnosticsText(5), QStringLiteral("Line 5: no ';'."));
    QVERIFY(editor.diagnosticsText(1).isEmpty());
    QVERIFY(gutterRow(editor, 2) != gutterRow(editor, 1));

    QEditorLineNumberArea* gutter = gutterOf(editor);
    const QPoint at(4, gutterY(editor, 2));
    QHelpEvent help(QEvent::ToolTip, at, gutter->mapToGlobal(at));
    QCoreApplication::sendEvent(gutter, &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Line 2: unknown keyword.\nLine 2: no ';'."));

    // The failing line keeps its mark while the arrow moves; the next call replaces the marks.
    editor.setExecLine(-1);
    QVERIFY(!editor.diagnosticsText(5).isEmpty());
    editor.setDiagnostics({ Message(&catalogue, 102, 1) });
    QVERIFY(editor.diagnosticsText(2).isEmpty());
    QVERIFY(!editor.diagnosticsText(1).isEmpty());
}

void TestEditor::lineEdits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");

    const QString script = QStringLiteral("Tur=Asm\nmove:1;\n    left:2;\n\n  # right:3;");
    const int tab = Qt::Key_Tab;
    const int backtab = Qt::Key_Backtab;
    const int slash = Qt::Key_Slash;
    const int none = Qt::NoModifier;
    const int control = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;

    QTest::newRow("tab indents every line a selection touches")
        << script << 10 << 20 << tab << none << "Tur=Asm\n    move:1;\n        left:2;\n\n  # right:3;";
    QTest::newRow("a selection ending at a line start leaves that line alone")
        << script << 8 << 16 << tab << none << "Tur=Asm\n    move:1;\n    left:2;\n\n  # right:3;";
    QTest::newRow("shift+tab unindents the lines by four spaces at most")
        << script << 9 << 30 << backtab << shift << "Tur=Asm\nmove:1;\nleft:2;\n\n# right:3;";
    QTest::newRow("shift+tab without a selection unindents the cursor line")
        << script << 20 << 20 << backtab << shift << "Tur=Asm\nmove:1;\nleft:2;\n\n  # right:3;";
    QTest::newRow("ctrl+/ comments at the lines' common indent, blank lines untouched")
        << script << 8 << 26 << slash << control << "Tur=Asm\n# move:1;\n#     left:2;\n\n  # right:3;";
    QTest::newRow("ctrl+/ uncomments when every line is commented")
        << "# a;\n    #b;\n# c;" << 0 << 14 << slash << control << "a;\n    b;\nc;";
    QTest::newRow("ctrl+/ never comments the header")
        << script << 0 << 10 << slash << control << "Tur=Asm\n# move:1;\n    left:2;\n\n  # right:3;";
    QTest::newRow("ctrl+/ on the header alone changes nothing")
        << script << 2 << 2 << slash << control << script;
    QTest::newRow("a first line that is not the header is commented")
        << "move:1;" << 3 << 3 << slash << control << "# move:1;";
}

void TestEditor::lineEdits()
{
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);

    QWidget window;
    auto* editor = new QEditor(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 320);
    editor->resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    editor->setPlainText(text);
    editor->setFocus();
    select(*editor, selectionStart, selectionEnd);

    QTest::keyClick(editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(editor->toPlainText(), expected);
    QVERIFY(editor->hasFocus());
    editor->undo();
    QCOMPARE(editor->toPlainText(), text);
}

void TestEditor::fontZoom()
{
    QEditor editor;
    const int size = editor.fontPointSize();
    QSignalSpy spy(&editor, &QEditor::fontPointSizeChanged);
    const int digitWidth = editor.lineNumberAreaWidth();

    QTest::keyClick(&editor, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(editor.fontPointSize(), size + 2);
    QVERIFY(editor.lineNumberAreaWidth() > digitWidth);
    QTest::keyClick(&editor, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(editor.fontPointSize(), size + 1);

    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(editor.viewport(), &wheel);
    QCOMPARE(editor.fontPointSize(), size - 1);

    QTest::keyClick(&editor, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(editor.fontPointSize(), size);
    QCOMPARE(spy.count(), 5);
    QCOMPARE(spy.last().at(0).toInt(), size);
    QVERIFY(editor.toPlainText().isEmpty());
}

// However far the user zooms, the text stays readable and the way back as
// long as the way there.
void TestEditor::fontZoomStopsAtItsBounds()
{
    QEditor editor;
    editor.setPlainText(numberedLines(3));
    const int size = editor.fontPointSize();
    for (const int key : { int(Qt::Key_Plus), int(Qt::Key_Minus) }) {
        QSignalSpy spy(&editor, &QEditor::fontPointSizeChanged);
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(&editor, Qt::Key(key), Qt::ControlModifier);
        }
        const int bound = editor.fontPointSize();
        QVERIFY2(key == Qt::Key_Plus ? bound > size && bound <= 72 : bound < size && bound >= 6,
                 qPrintable(QString::number(bound)));
        QCOMPARE(editor.font().pointSize(), bound);
        // Each change told once; none past the bound.
        QCOMPARE(spy.count(), qAbs(bound - size));
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, key == Qt::Key_Plus ? 1200 : -1200),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(editor.viewport(), &wheel);
        QCOMPARE(editor.fontPointSize(), bound);
        // Back the other way at once, not after the presses beyond the bound.
        QTest::keyClick(&editor, key == Qt::Key_Plus ? Qt::Key_Minus : Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(editor.fontPointSize(), key == Qt::Key_Plus ? bound - 1 : bound + 1);
        QTest::keyClick(&editor, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(editor.fontPointSize(), size);
    }
}

void TestEditor::wheelZoomsAPointANotch_data()
{
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("points");

    QTest::newRow("a notch of a mouse wheel") << QList<int> { 120 } << 1;
    QTest::newRow("a notch back") << QList<int> { -120 } << -1;
    QTest::newRow("a touchpad's eight small steps make a notch") << QList<int> { 15, 15, 15, 15, 15, 15, 15, 15 } << 1;
    QTest::newRow("seven small steps are not yet a notch") << QList<int> { 15, 15, 15, 15, 15, 15, 15 } << 0;
    QTest::newRow("half notches add up") << QList<int> { 60, 60, 60, 60, 60 } << 2;
    QTest::newRow("small steps both ways cancel out") << QList<int> { 90, -90, 90, -90 } << 0;
    QTest::newRow("a flick of three notches at once") << QList<int> { 360 } << 3;
}

void TestEditor::wheelZoomsAPointANotch()
{
    QFETCH(QList<int>, deltas);
    QFETCH(int, points);

    QEditor editor;
    const int size = editor.fontPointSize();
    for (int delta : deltas) {
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(editor.viewport(), &wheel);
    }
    QCOMPARE(editor.fontPointSize(), size + points);
}

void TestEditor::findWrapsAround()
{
    QEditorPane pane;
    QEditor* editor = pane.editor();
    QFindBar* bar = pane.findBar();
    editor->setPlainText(QStringLiteral("Move:1;\nleft:2;\nmove:3;\nMOVE:4;"));
    editor->moveCursor(QTextCursor::End);
    bar->setFindText(QStringLiteral("move"));

    QVERIFY(bar->findNext());
    QCOMPARE(editor->textCursor().selectionStart(), 0);
    QVERIFY(!bar->hint().isEmpty());
    QVERIFY(bar->findNext());
    QCOMPARE(editor->textCursor().selectionStart(), 16);
    QVERIFY(bar->hint().isEmpty());

    bar->setCaseSensitive(true);
    QVERIFY(bar->findPrevious());
    QCOMPARE(editor->textCursor().selectionStart(), 16);
    QVERIFY(!bar->hint().isEmpty());
    bar->setFindText(QStringLiteral("Left"));
    QVERIFY(!bar->findNext());
    QCOMPARE(editor->textCursor().selectionStart(), 16);
}

void TestEditor::replaceAllIsOneUndoStep()
{
    QEditorPane pane;
    QEditor* editor = pane.editor();
    QFindBar* bar = pane.findBar();
    const QString text = QStringLiteral("move:1;\nmove:22;\nleft:1;");
    editor->setPlainText(text);
    bar->setFindText(QStringLiteral("1"));
    bar->setReplaceText(QStringLiteral("11"));

    QCOMPARE(bar->replaceAll(), 2);
    QCOMPARE(editor->toPlainText(), QStringLiteral("move:11;\nmove:22;\nleft:11;"));
    editor->undo();
    QCOMPARE(editor->toPlainText(), text);

    // Replace changes the match under the selection, then moves to the next.
    bar->findNext();
    bar->replace();
    QCOMPARE(editor->toPlainText(), QStringLiteral("move:11;\nmove:22;\nleft:1;"));
    QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("1"));
}

void TestEditor::goToLineAsksThroughTheSeam()
{
    QEditorPane pane;
    pane.editor()->setPlainText(numberedLines(30));
    int asked = -1;
    int offered = -1;
    int answer = 12;
    pane.setLineAsker([&](QWidget*, int current, int last) {
        asked = current;
        offered = last;
        return answer;
    });
    pane.editor()->goToLine(5);

    pane.askForLine();
    QCOMPARE(asked, 5);
    QCOMPARE(offered, 30);
    QCOMPARE(pane.editor()->textCursor().blockNumber(), 11);

    answer = 0;
    pane.askForLine();
    QCOMPARE(pane.editor()->textCursor().blockNumber(), 11);
}

// A run makes the editor read-only; the Edit menu must not change the text
// behind its back (the document's undo stack ignores the read-only flag).
void TestEditor::editActionsKeepAReadOnlyText()
{
    QEditorPane pane;
    QEditor* editor = pane.editor();
    QAction* undo = pane.findChild<QAction*>(QStringLiteral("actionUndo"));
    QAction* cut = pane.findChild<QAction*>(QStringLiteral("actionCut"));
    QVERIFY(undo && cut);
    QVERIFY(!undo->isEnabled());
    editor->insertPlainText(QStringLiteral("move: 5;"));
    QVERIFY(undo->isEnabled());
    QVERIFY(!cut->isEnabled());
    editor->selectAll();
    QVERIFY(cut->isEnabled());

    editor->setReadOnly(true);
    QSignalSpy refused(editor, &QEditor::editRefused);
    undo->trigger();
    cut->trigger();
    QCOMPARE(editor->toPlainText(), QStringLiteral("move: 5;"));
    QCOMPARE(refused.count(), 2);
    editor->setReadOnly(false);
    undo->trigger();
    QVERIFY(editor->toPlainText().isEmpty());
}

void TestEditor::lockedTextRefusesTyping_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("changes");

    QTest::newRow("a letter") << int(Qt::Key_X) << int(Qt::NoModifier) << true;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << true;
    QTest::newRow("return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
    QTest::newRow("tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << true;
    QTest::newRow("paste") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
    QTest::newRow("commenting the line") << int(Qt::Key_Slash) << int(Qt::ControlModifier) << true;
    QTest::newRow("an arrow moves without a word") << int(Qt::Key_Down) << int(Qt::NoModifier) << false;
    QTest::newRow("copying is no edit") << int(Qt::Key_C) << int(Qt::ControlModifier) << false;
}

void TestEditor::lockedTextRefusesTyping()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, changes);

    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    const QString text = QStringLiteral("move: 1;\nleft: 2;");
    QEditor editor;
    editor.setPlainText(text);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    // Below the text, where only the background shows.
    const QPoint corner(editor.viewport()->width() - 2, editor.viewport()->height() - 2);
    const QColor unlocked = editor.viewport()->grab().toImage().pixelColor(corner);
    editor.setLocked(true);
    QVERIFY(editor.isReadOnly());
    QVERIFY(editor.viewport()->grab().toImage().pixelColor(corner) != unlocked);
    QSignalSpy refused(&editor, &QEditor::editRefused);
    QTest::keyClick(&editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(editor.toPlainText(), text);
    QCOMPARE(refused.count(), changes ? 1 : 0);
    // Breakpoints are no edit of the text.
    editor.toggleBreakpoint(2);
    QCOMPARE(editor.breakpoints(), QList<int>({ 2 }));

    editor.setLocked(false);
    editor.moveCursor(QTextCursor::Start);
    QTest::keyClick(&editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(editor.toPlainText() != text, changes && key != Qt::Key_Backspace);
    QCOMPARE(refused.count(), changes ? 1 : 0);
}

void TestEditor::replaceAsksTheLockToLetGo()
{
    QEditorPane pane;
    QEditor* editor = pane.editor();
    QFindBar* bar = pane.findBar();
    editor->setPlainText(QStringLiteral("move: 1;\nmove: 2;"));
    bar->setFindText(QStringLiteral("move"));
    bar->setReplaceText(QStringLiteral("left"));
    editor->setLocked(true);
    QSignalSpy requested(editor, &QEditor::editRequested);
    QCOMPARE(bar->replaceAll(), 0);
    QCOMPARE(requested.count(), 1);
    QVERIFY(editor->toPlainText().startsWith(QStringLiteral("move")));

    // Whatever holds the lock lets go: the replacement goes ahead.
    connect(editor, &QEditor::editRequested, editor, [editor] { editor->setLocked(false); });
    QCOMPARE(bar->replaceAll(), 2);
    QCOMPARE(editor->toPlainText(), QStringLiteral("left: 1;\nleft: 2;"));
    QVERIFY(editor->requestEdit());
}

void TestEditor::breakpointsGoWhereAnInstructionIs_data()
{
    QTest::addColumn<bool>("tested");
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("line");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<QString>("said");

    // "Tur=Asm / move / blank / comment / proc / left / define / end"
    QTest::newRow("a line with an instruction takes it") << true << QList<int>() << 2 << QList<int> { 2 } << "";
    QTest::newRow("a blank line hands it to the next instruction")
        << true << QList<int>() << 3 << QList<int> { 6 } << "moved 3 6";
    QTest::newRow("the header hands it to the first instruction")
        << true << QList<int>() << 1 << QList<int> { 2 } << "moved 1 2";
    QTest::newRow("the next instruction's breakpoint stays as it is")
        << true << QList<int> { 6 } << 4 << QList<int> { 6 } << "moved 4 6";
    QTest::newRow("a breakpoint is removed wherever it is") << false << QList<int> { 3 } << 3 << QList<int>() << "";
    QTest::newRow("no instruction after the line: refused")
        << true << QList<int>() << 7 << QList<int>() << "refused 7";
    QTest::newRow("without a test every line takes one") << false << QList<int>() << 3 << QList<int> { 3 } << "";
}

void TestEditor::breakpointsGoWhereAnInstructionIs()
{
    QFETCH(bool, tested);
    QFETCH(QList<int>, before);
    QFETCH(int, line);
    QFETCH(QList<int>, after);
    QFETCH(QString, said);

    QEditor editor;
    editor.setPlainText(QStringLiteral("Tur=Asm\nmove: 1;\n\n# note\nproc: p;\nleft: 2;\ndefine: x;\n"));
    for (int marked : before) {
        editor.toggleBreakpoint(marked);
    }
    if (tested) {
        editor.setInstructionTest(&ScriptLines::holdsInstruction);
    }
    QStringList told;
    connect(&editor, &QEditor::breakpointMoved, this,
            [&told](int from, int to) { told << QStringLiteral("moved %1 %2").arg(from).arg(to); });
    connect(&editor, &QEditor::breakpointRefused, this,
            [&told](int refused) { told << QStringLiteral("refused %1").arg(refused); });
    editor.toggleBreakpoint(line);
    QCOMPARE(editor.breakpoints(), after);
    QCOMPARE(told.join(QLatin1Char(',')), said);
}

void TestEditor::diagnosticsFollowEdits_data()
{
    QTest::addColumn<int>("cursorAt");
    QTest::addColumn<int>("selectTo");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    // The lines the messages name afterwards, in their order (line 2, the
    // whole script, line 4 before the edit).
    QTest::addColumn<QList<int>>("lines");

    // "l1\nl2\nl3\nl4\nl5"
    QTest::newRow("a line inserted above moves them down") << 0 << -1 << "" << int(Qt::Key_Return) << QList<int> { 3, -1, 5 };
    QTest::newRow("return at the start of a marked line moves it") << 3 << -1 << "" << int(Qt::Key_Return)
                                                                   << QList<int> { 3, -1, 5 };
    QTest::newRow("return at the end of a marked line leaves it") << 5 << -1 << "" << int(Qt::Key_Return)
                                                                 << QList<int> { 2, -1, 5 };
    QTest::newRow("typing in a marked line drops its message") << 4 << -1 << "" << int(Qt::Key_X) << QList<int> { -1, 4 };
    QTest::newRow("deleting a marked line drops its message") << 3 << 6 << "" << int(Qt::Key_Delete) << QList<int> { -1, 3 };
    QTest::newRow("joining a marked line to the one above drops its message") << 8 << 10 << "" << int(Qt::Key_Delete)
                                                                << QList<int> { 2, -1 };
    QTest::newRow("a line typed at the start of a marked one leaves it on its text")
        << 3 << -1 << "ax: 1;" << int(Qt::Key_Return) << QList<int> { 3, -1, 5 };
    QTest::newRow("typing elsewhere keeps them where they are") << 13 << -1 << "" << int(Qt::Key_X) << QList<int> { 2, -1, 4 };
}

void TestEditor::diagnosticsFollowEdits()
{
    QFETCH(int, cursorAt);
    QFETCH(int, selectTo);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QList<int>, lines);

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("messages.mes")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write("102;Line $L: no ';'.\n290;Values left on the stack.\n");
    file.close();
    MessageCatalogue catalogue(file.fileName());

    QEditor editor;
    editor.setPlainText(QStringLiteral("l1\nl2\nl3\nl4\nl5"));
    editor.setDiagnostics({ Message(&catalogue, 102, 2), Message(&catalogue, 290, -1), Message(&catalogue, 102, 4) });
    QVERIFY(!editor.diagnosticsEdited());
    QSignalSpy changed(&editor, &QEditor::diagnosticsChanged);
    select(editor, cursorAt, selectTo < 0 ? cursorAt : selectTo);
    QTest::keyClicks(&editor, typed);
    QTest::keyClick(&editor, Qt::Key(key));

    QList<int> shown;
    for (const Message& message : editor.diagnostics()) {
        shown << message.line();
    }
    QCOMPARE(shown, lines);
    QVERIFY(editor.diagnosticsEdited());
    QVERIFY(changed.count() >= 1);
    // The gutter's text names the line where the message now is.
    for (int line : lines) {
        if (line > 0) {
            QCOMPARE(editor.diagnosticsText(line), QStringLiteral("Line %1: no ';'.").arg(line));
        }
    }

    // Another text takes every message with the old one.
    editor.setPlainText(QStringLiteral("l1\nl2\nl3\nl4\nl5"));
    QVERIFY(editor.diagnostics().empty());
    QVERIFY(editor.diagnosticsText(2).isEmpty());
    editor.setDiagnostics({ Message(&catalogue, 290, -1) });
    editor.clear();
    QVERIFY(editor.diagnostics().empty());
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"

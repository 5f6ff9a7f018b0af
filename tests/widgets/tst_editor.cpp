#include "commandmap.h"
#include "frontend/datalocation.h"
#include "widgets/qeditor.h"

#include <QFileInfo>
#include <QMetaMethod>
#include <QScrollBar>
#include <QTextBlock>
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

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void interface();
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
};

void TestEditor::interface()
{
    const QMetaObject& meta = QEditor::staticMetaObject;
    QStringList own;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        own << QString::fromLatin1(meta.method(i).methodSignature());
    }
    QCOMPARE(own, QStringList({ "modified()", "setPlainText(QString)", "setIfModified(bool)",
                                "highlightCurrentLine()", "updateLineNumberArea(QRect,int)",
                                "updateLineNumberAreaWidth()" }));
    QCOMPARE(meta.method(meta.methodOffset()).methodType(), QMetaMethod::Signal);
    QCOMPARE(meta.method(meta.methodOffset() + 1).parameterNames(), QList<QByteArray>({ "text" }));
}

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
    if (!QFileInfo::exists(locateDataFile(QStringLiteral("./Ressources/fleche.png")))) {
        QSKIP("the arrow image is not installed");
    }

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

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"

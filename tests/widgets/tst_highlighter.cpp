#include "commandmap.h"
#include "widgets/qturtlesyntaxhighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

namespace {

const QColor kNone;
const QColor kGrey(140, 140, 140);
const QColor kMagenta(224, 64, 224);
const QColor kOrange(225, 115, 10);
const QColor kBlue(20, 20, 215);
const QColor kPurple(130, 45, 180);
const QColor kGreen(15, 170, 25);

// -1: the format sets no weight at all.
const int kNoWeight = -1;

// The format the highlighter put on one character of a block; a default
// format when no rule covered it.
QTextCharFormat formatAt(const QTextBlock& block, int position)
{
    const auto ranges = block.layout()->formats();
    for (const QTextLayout::FormatRange& range : ranges) {
        if (position >= range.start && position < range.start + range.length) {
            return range.format;
        }
    }
    return QTextCharFormat();
}

// As in the editor: the document has a layout (without one it reports no
// change to the highlighter), and the highlighter's first, deferred pass over
// the empty document is over when the text arrives.
void load(QTextDocument& document, const QString& text)
{
    document.documentLayout();
    QCoreApplication::processEvents();
    document.setPlainText(text);
}

} // namespace

class TestHighlighter : public QObject
{
    Q_OBJECT

private slots:
    void colours_data();
    void colours();
    void rulesComeFromTheCommandMap();
    void nothingIsColouredBeforeTheCommandsArrive();
    void emptyCommandWordDoesNotHang();
};

void TestHighlighter::colours_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("weight");

    QTest::newRow("the header alone on its line is grey and italic")
        << "Tur=Asm" << "Tur=Asm" << 0 << kGrey << true << kNoWeight;
    QTest::newRow("the header followed by a blank is not coloured")
        << "Tur=Asm " << "Tur=Asm" << 0 << kNone << false << kNoWeight;
    QTest::newRow("the header after a blank is not coloured")
        << " Tur=Asm" << "Tur=Asm" << 0 << kNone << false << kNoWeight;
    QTest::newRow("a command word is bold blue") << "move:100;" << "move" << 0 << kBlue << false << int(QFont::Bold);
    QTest::newRow("a number is magenta without weight")
        << "move:100;" << "100" << 0 << kMagenta << false << kNoWeight;
    QTest::newRow("a capitalised command word is not coloured")
        << "Move:100;" << "Move" << 0 << kNone << false << kNoWeight;
    QTest::newRow("an upper-case command word is not coloured")
        << "MOVE:100;" << "MOVE" << 0 << kNone << false << kNoWeight;
    QTest::newRow("a command word inside a longer word is not coloured")
        << "moved:100;" << "moved" << 0 << kNone << false << kNoWeight;
    QTest::newRow("setRegister keeps its capital and is bold blue")
        << "setRegister:AX, 3;" << "setRegister" << 0 << kBlue << false << int(QFont::Bold);
    QTest::newRow("AX is orange and italic without weight")
        << "push:AX;" << "AX" << 0 << kOrange << true << kNoWeight;
    QTest::newRow("DX is orange and italic") << "pop:DX;" << "DX" << 0 << kOrange << true << kNoWeight;
    QTest::newRow("EX is not a register") << "pop:EX;" << "EX" << 0 << kNone << false << kNoWeight;
    QTest::newRow("ax in lower case is not a register") << "pop:ax;" << "ax" << 0 << kNone << false << kNoWeight;
    QTest::newRow("a register name inside a word is not coloured")
        << "jmpax:BAX;" << "BAX" << 0 << kNone << false << kNoWeight;
    QTest::newRow("push before a comment stays bold blue")
        << "push 12 # count" << "push" << 0 << kBlue << false << int(QFont::Bold);
    QTest::newRow("the number before a comment stays magenta")
        << "push 12 # count" << "12" << 0 << kMagenta << false << kNoWeight;
    QTest::newRow("a comment is green and italic with normal weight")
        << "push 12 # count" << "# count" << 0 << kGreen << true << int(QFont::Normal);
    QTest::newRow("a number inside a comment is green")
        << "# 42 steps" << "42" << 0 << kGreen << true << int(QFont::Normal);
    QTest::newRow("a command word inside a comment is green")
        << "left:90; # then move on" << "move" << 0 << kGreen << true << int(QFont::Normal);
    QTest::newRow("ret is purple, italic and black although it is a command")
        << "ret;" << "ret" << 0 << kPurple << true << int(QFont::Black);
    QTest::newRow("end is purple, italic and black although it is a command")
        << "end;" << "end" << 0 << kPurple << true << int(QFont::Black);
    QTest::newRow("define is bold blue") << "define:LOOP;" << "define" << 0 << kBlue << false << int(QFont::Bold);
    QTest::newRow("proc is bold blue") << "proc:EDGE;" << "proc" << 0 << kBlue << false << int(QFont::Bold);
    QTest::newRow("a label name is not coloured") << "define:LOOP2;" << "LOOP" << 0 << kNone << false << kNoWeight;
    QTest::newRow("digits inside a label are magenta")
        << "define:LOOP2;" << "2" << 0 << kMagenta << false << kNoWeight;
    QTest::newRow("every occurrence on a line is coloured")
        << "jmpe:AX, BX, END;" << "X" << 1 << kOrange << true << kNoWeight;
    QTest::newRow("a later number on the line is coloured too")
        << "put:10, 20;" << "20" << 0 << kMagenta << false << kNoWeight;
}

void TestHighlighter::colours()
{
    QFETCH(QString, line);
    QFETCH(QString, part);
    QFETCH(int, occurrence);
    QFETCH(QColor, colour);
    QFETCH(bool, italic);
    QFETCH(int, weight);

    QTextDocument document;
    QTurtleSyntaxHighlighter highlighter(&document);
    highlighter.setCommands(machineCommandKeys());
    load(document, line);
    const QTextBlock block = document.firstBlock();

    int start = -1;
    for (int i = 0; i <= occurrence; ++i) {
        start = line.indexOf(part, start + 1);
    }
    QVERIFY2(start >= 0, "the part is not in the line");

    for (int position = start; position < start + part.length(); ++position) {
        const QTextCharFormat format = formatAt(block, position);
        const QByteArray where = QByteArray::number(position);
        if (!colour.isValid()) {
            QVERIFY2(!format.hasProperty(QTextFormat::ForegroundBrush), where);
            continue;
        }
        QCOMPARE(format.foreground().color(), colour);
        QCOMPARE(format.foreground().style(), Qt::SolidPattern);
        QCOMPARE(format.fontItalic(), italic);
        if (weight == kNoWeight) {
            QVERIFY2(!format.hasProperty(QTextFormat::FontWeight), where);
        } else {
            QCOMPARE(format.fontWeight(), weight);
        }
    }
}

void TestHighlighter::rulesComeFromTheCommandMap()
{
    const QStringList commands { QStringLiteral("zap") };

    QTextDocument document;
    QTurtleSyntaxHighlighter highlighter(&document);
    highlighter.setCommands(commands);
    load(document, QStringLiteral("zap;\nmove:10;"));

    QCOMPARE(formatAt(document.firstBlock(), 0).foreground().color(), kBlue);
    QVERIFY(!formatAt(document.lastBlock(), 0).hasProperty(QTextFormat::ForegroundBrush));
}

void TestHighlighter::nothingIsColouredBeforeTheCommandsArrive()
{
    QTextDocument document;
    QTurtleSyntaxHighlighter highlighter(&document);
    load(document, QStringLiteral("Tur=Asm\nmove:10; # go"));

    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next()) {
        QVERIFY(block.layout()->formats().isEmpty());
    }
}

void TestHighlighter::emptyCommandWordDoesNotHang()
{
    QStringList commands = machineCommandKeys();
    commands.append(QString());

    QTextDocument document;
    QTurtleSyntaxHighlighter highlighter(&document);
    highlighter.setCommands(commands);
    load(document, QStringLiteral("move:10;"));

    QCOMPARE(formatAt(document.firstBlock(), 0).foreground().color(), kBlue);
}

QTEST_MAIN(TestHighlighter)
#include "tst_highlighter.moc"

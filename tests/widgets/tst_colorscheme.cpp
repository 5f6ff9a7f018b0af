#include "commandmap.h"
#include "frontend/message.h"
#include "frontend/messagecatalogue.h"
#include "turtle/walkingturtle.h"
#include "widgets/colorscheme.h"
#include "widgets/qdebuggerinterface.h"
#include "widgets/qeditor.h"
#include "widgets/qfindbar.h"
#include "widgets/qturtleoutputarea.h"

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

namespace {

const double Readable = 4.5;
// Marks are not text: WCAG asks 3:1 of graphics.
const double Visible = 3.0;

// Every role a widget may read, for all three colour groups.
QPalette makePalette(QColor window, QColor text, QColor base, QColor highlight)
{
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Light, window.lighter(150));
    palette.setColor(QPalette::Midlight, window.lighter(120));
    palette.setColor(QPalette::Mid, window.darker(130));
    palette.setColor(QPalette::Dark, window.darker(200));
    palette.setColor(QPalette::Shadow, Qt::black);
    return palette;
}

struct Pair
{
    QString what;
    QColor text;
    QColor background;
    double least;
};

// The colours one line of the gutter is painted in: its background (the
// left edge, where only the arrow goes) and, in the given columns, the pixel
// that stands out most from it, which is the full colour of the text.
QPair<QColor, QColor> gutterColours(QEditor& editor, int line, int fromX, int toX)
{
    const QRect row = editor.cursorRect(QTextCursor(editor.document()->findBlockByNumber(line - 1)));
    QWidget* gutter = editor.findChild<QEditorLineNumberArea*>();
    const QImage image = gutter->grab(QRect(0, row.top(), gutter->width(), row.height())).toImage();
    const QColor background = image.pixelColor(1, image.height() / 2);
    QColor text = background;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = qMax(0, fromX); x < qMin(image.width(), toX); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (ColorScheme::contrast(pixel, background) > ColorScheme::contrast(text, background)) {
                text = pixel;
            }
        }
    }
    return { background, text };
}

} // namespace

// Every text the editor and the panels colour themselves, read back from what
// they use, against its background, in light and dark palettes set on the
// whole application as a desktop theme sets them.
class TestColorScheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void textsReadOnTheirBackgrounds_data();
    void textsReadOnTheirBackgrounds();
    void lightPaletteKeepsItsColours();
    void paletteChangedWhileRunningIsFollowed();
    void drawingIsAWhiteSheetInADarkTheme();

private:
    QList<Pair> editorPairs(double syntaxLeast);
    QList<Pair> panelPairs();

    QPalette m_original;
    QTemporaryDir m_dir;
};

void TestColorScheme::initTestCase()
{
    m_original = QApplication::palette();
    QVERIFY(!ColorScheme::isDark(m_original));
}

void TestColorScheme::cleanup()
{
    QApplication::setPalette(m_original);
}

void TestColorScheme::textsReadOnTheirBackgrounds_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<double>("syntaxLeast");

    // The syntax colours of a light palette are the historical ones, kept as
    // they are; their contrast is pinned here so that it cannot fall further.
    QTest::newRow("light palette") << m_original << 2.3;
    QTest::newRow("grey dark palette")
        << makePalette(QColor(53, 53, 53), QColor(238, 238, 236), QColor(45, 45, 45), QColor(21, 83, 158)) << Readable;
    QTest::newRow("blue-grey dark palette with a bright highlight")
        << makePalette(QColor(49, 54, 59), QColor(239, 240, 241), QColor(35, 38, 41), QColor(61, 174, 233))
        << Readable;
    QTest::newRow("black palette with a white highlight")
        << makePalette(Qt::black, Qt::white, Qt::black, Qt::white) << Readable;
    QTest::newRow("dark window around light text fields")
        << makePalette(QColor(40, 40, 40), QColor(20, 20, 20), QColor(250, 250, 250), QColor(21, 83, 158)) << Readable;
}

void TestColorScheme::textsReadOnTheirBackgrounds()
{
    QFETCH(QPalette, palette);
    QFETCH(double, syntaxLeast);
    QApplication::setPalette(palette);

    const QList<Pair> pairs = editorPairs(syntaxLeast) + panelPairs();
    for (const Pair& pair : pairs) {
        const double contrast = ColorScheme::contrast(pair.text, pair.background);
        QVERIFY2(contrast >= pair.least,
                 qPrintable(QStringLiteral("%1: %2 on %3 is %4:1")
                                .arg(pair.what, pair.text.name(), pair.background.name())
                                .arg(contrast, 0, 'f', 2)));
    }
}

QList<Pair> TestColorScheme::editorPairs(double syntaxLeast)
{
    QList<Pair> pairs;
    QEditor editor;
    editor.setCommands(machineCommandKeys());
    editor.setFontPointSize(28);
    editor.resize(700, 500);
    editor.setPlainText(QStringLiteral("Tur=Asm\nmove:10; # ten\npush AX;\nproc:P;\nret;\nend;\n"));
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor)) {
        return { { QStringLiteral("editor shown"), Qt::black, Qt::black, 1 } };
    }
    const QColor base = editor.viewport()->palette().color(editor.viewport()->backgroundRole());
    const QColor band = editor.extraSelections().value(0).format.background().color();
    pairs << Pair { QStringLiteral("plain text"), editor.palette().color(QPalette::Text), base, Readable }
          << Pair { QStringLiteral("plain text on the current line"), editor.palette().color(QPalette::Text), band,
                    Readable };
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next()) {
        const auto ranges = block.layout()->formats();
        for (const QTextLayout::FormatRange& range : ranges) {
            const QString what = block.text().mid(range.start, range.length);
            const QColor colour = range.format.foreground().color();
            pairs << Pair { what, colour, base, syntaxLeast }
                  << Pair { what + QStringLiteral(" on the current line"), colour, band, syntaxLeast };
        }
    }

    QFile file(m_dir.filePath(QStringLiteral("messages.mes")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        file.write("102;Line $L: no ';'.\n");
        file.close();
    }
    MessageCatalogue catalogue(file.fileName());
    editor.setDiagnostics({ Message(&catalogue, 102, 2) });
    editor.toggleBreakpoint(3);
    editor.setLineCounts({ 7, 7, 7 });
    const int width = editor.findChild<QEditorLineNumberArea*>()->width();
    const int digits = editor.fontMetrics().horizontalAdvance(QStringLiteral("00"));
    const int countRight = width - digits;
    const auto number = gutterColours(editor, 1, countRight, width);
    const auto count = gutterColours(editor, 1, 16, countRight);
    const auto errorNumber = gutterColours(editor, 2, countRight, width);
    const auto errorCount = gutterColours(editor, 2, 16, countRight);
    const auto breakpoint = gutterColours(editor, 3, 16, 16 + editor.fontMetrics().height());
    pairs << Pair { QStringLiteral("line number"), number.second, number.first, Readable }
          << Pair { QStringLiteral("execution count"), count.second, count.first, Readable }
          << Pair { QStringLiteral("number of a line with an error"), errorNumber.second, errorNumber.first, Readable }
          << Pair { QStringLiteral("count on a line with an error"), errorCount.second, errorCount.first, Readable }
          << Pair { QStringLiteral("breakpoint"), breakpoint.second, breakpoint.first, Visible };
    return pairs;
}

QList<Pair> TestColorScheme::panelPairs()
{
    QList<Pair> pairs;
    QDebuggerInterface debugger;
    debugger.setValues({ { QStringLiteral("AX"), 1 }, { QStringLiteral("BX"), 1 } });
    debugger.setValues({ { QStringLiteral("AX"), 2 }, { QStringLiteral("BX"), 1 } });
    const QTableWidget* table = debugger.findChild<QTableWidget*>();
    pairs << Pair { QStringLiteral("changed debugger value"), table->item(0, 0)->foreground().color(),
                    table->item(0, 0)->background().color(), Readable };

    QPlainTextEdit edit(QStringLiteral("one two"));
    QFindBar bar(&edit);
    bar.setFindText(QStringLiteral("three"));
    bar.findNext();
    const auto* hint = bar.findChild<QLabel*>(QStringLiteral("hintLabel"));
    pairs << Pair { QStringLiteral("find bar remark"), hint->palette().color(QPalette::WindowText),
                    bar.palette().color(QPalette::Window), Readable };
    return pairs;
}

void TestColorScheme::lightPaletteKeepsItsColours()
{
    QEditor editor;
    editor.setCommands(machineCommandKeys());
    editor.setPlainText(QStringLiteral("move:10;"));
    QCOMPARE(editor.extraSelections().value(0).format.background().color(), QColor(208, 224, 255));
    QCOMPARE(editor.document()->firstBlock().layout()->formats().value(0).format.foreground().color(),
             QColor(20, 20, 215));
}

// Switching the desktop between light and dark while the program runs
// recolours what is already on screen, and switching back restores it.
void TestColorScheme::paletteChangedWhileRunningIsFollowed()
{
    QEditor editor;
    editor.setCommands(machineCommandKeys());
    editor.setPlainText(QStringLiteral("move:10;"));
    QDebuggerInterface debugger;
    debugger.setValues({ { QStringLiteral("AX"), 1 } });
    debugger.setValues({ { QStringLiteral("AX"), 2 } });
    QTableWidgetItem* changed = debugger.findChild<QTableWidget*>()->item(0, 0);
    const QColor lightChange = changed->background().color();
    const auto keyword = [&editor] {
        return editor.document()->firstBlock().layout()->formats().value(0).format.foreground().color();
    };

    const QPalette dark = makePalette(QColor(53, 53, 53), QColor(238, 238, 236), QColor(45, 45, 45), QColor(21, 83, 158));
    QApplication::setPalette(dark);
    QTRY_VERIFY(ColorScheme::contrast(keyword(), QColor(45, 45, 45)) >= Readable);
    QVERIFY(ColorScheme::contrast(editor.extraSelections().value(0).format.background().color(),
                                  QColor(238, 238, 236))
            >= Readable);
    QTRY_VERIFY(ColorScheme::contrast(changed->foreground().color(), changed->background().color()) >= Readable);
    QVERIFY(changed->background().color() != lightChange);

    QApplication::setPalette(m_original);
    QTRY_COMPARE(keyword(), QColor(20, 20, 215));
    QCOMPARE(editor.extraSelections().value(0).format.background().color(), QColor(208, 224, 255));
    QTRY_COMPARE(changed->background().color(), lightChange);
}

// A black pen on the theme's dark window would vanish: the sheet stays white.
void TestColorScheme::drawingIsAWhiteSheetInADarkTheme()
{
    QApplication::setPalette(
        makePalette(QColor(50, 50, 50), QColor(238, 238, 236), QColor(45, 45, 45), QColor(21, 83, 158)));
    WalkingTurtle turtle;
    turtle.setWrite(true);
    turtle.move(300);
    QTurtleOutputArea area;
    area.setWalkingTurtle(&turtle);
    area.setPen(QPen(QBrush(Qt::black), 10));
    area.resize(400, 400);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QTRY_VERIFY(area.isSettled());
    const QImage shown = area.grab().toImage();
    const QColor sheet = shown.pixelColor(5, 5);
    QCOMPARE(sheet, QColor(Qt::white));
    // The turtle heads left from the centre: its line runs along the middle row.
    QColor darkest = sheet;
    for (int x = 100; x < 150; ++x) {
        const QColor pixel = shown.pixelColor(x, 200);
        if (pixel.lightness() < darkest.lightness()) {
            darkest = pixel;
        }
    }
    QVERIFY2(ColorScheme::contrast(darkest, sheet) >= Readable, qPrintable(darkest.name()));
}

QTEST_MAIN(TestColorScheme)
#include "tst_colorscheme.moc"

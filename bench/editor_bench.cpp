// Loads a 10,000-line script into the editor and types in the middle of it.
//
//   editor_bench [lines]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "session/runsession.h"
#include "widgets/qeditor.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString script(int lines)
{
    static const char* const body[] = {
        "define:SPIRAL%1;",
        "    push:CX; # keep the counter",
        "    setRegister:AX, %1;",
        "    move:AX*2;",
        "    left:90;",
        "    call:SIDE;",
        "    jmpge:AX, 400, DONE%1;",
        "    pop:CX;",
        "    loop:SPIRAL%1;",
        "put:-200, 150;",
        "write:Y;",
        "# a comment line with words like move and 1234 in it",
    };
    const int count = int(sizeof body / sizeof body[0]);
    QStringList text { QStringLiteral("Tur=Asm") };
    for (int i = 1; i < lines; ++i) {
        QString line = QString::fromLatin1(body[i % count]);
        text << line.replace(QLatin1String("%1"), QString::number(i));
    }
    return text.join(QLatin1Char('\n'));
}

bool fullyHighlighted(const QTextDocument* document)
{
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        if (!block.text().isEmpty() && block.layout()->formats().isEmpty()) {
            return false;
        }
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds for one key press, including the repaint it causes.
std::vector<double> type(QEditor& editor, Qt::Key key, char character, int times)
{
    std::vector<double> timings;
    QElapsedTimer timer;
    for (int i = 0; i < times; ++i) {
        timer.start();
        QTest::keyClick(&editor, key, Qt::NoModifier);
        if (character) {
            QTest::keyClick(&editor, character);
        }
        editor.viewport()->repaint();
        QApplication::processEvents();
        timings.push_back(timer.nsecsElapsed() / 1e6);
    }
    return timings;
}

void report(const char* what, const std::vector<double>& timings)
{
    std::printf("%-34s median %7.3f ms   max %7.3f ms   (%zu runs)\n", what, median(timings),
                *std::max_element(timings.begin(), timings.end()), timings.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const QString text = script(lines);

    std::vector<double> loads;
    for (int run = 0; run < 5; ++run) {
        QEditor editor;
        editor.setCommands(RunSession::commandWords());
        editor.resize(900, 700);
        editor.show();
        QApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        editor.setPlainText(text);
        editor.viewport()->repaint();
        QApplication::processEvents();
        loads.push_back(timer.nsecsElapsed() / 1e6);

        if (!fullyHighlighted(editor.document()) || editor.blockCount() != lines) {
            std::fprintf(stderr, "the script was not fully loaded and highlighted\n");
            return 1;
        }
    }
    std::printf("%d lines, %d characters\n", lines, int(text.size()));
    report("load and highlight", loads);

    QEditor editor;
    editor.setCommands(RunSession::commandWords());
    editor.resize(900, 700);
    editor.show();
    QApplication::processEvents();
    editor.setPlainText(text);
    editor.setExecLine(lines / 2);
    QApplication::processEvents();

    report("type a character (mid-script)", type(editor, Qt::Key_End, 'x', 200));
    report("Backspace", type(editor, Qt::Key_Backspace, 0, 200));
    report("Return (new line)", type(editor, Qt::Key_Return, 0, 100));
    report("Tab (four spaces)", type(editor, Qt::Key_Tab, 0, 100));

    std::vector<double> steps;
    QElapsedTimer timer;
    for (int line = 2; line < lines; line += lines / 50) {
        timer.start();
        editor.setExecLine(line);
        editor.viewport()->repaint();
        QApplication::processEvents();
        steps.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("move the execution arrow", steps);
    return 0;
}

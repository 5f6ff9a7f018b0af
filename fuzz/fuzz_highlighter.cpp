// Any text as one line of the editor, coloured by the syntax highlighter with
// the machine's command words.

#include "vm/virtualmachine.h"
#include "widgets/qturtlesyntaxhighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Kept for the whole run and never destroyed: the offscreen platform does not
// free its screen when the application goes.
QGuiApplication* application;
QTextDocument* document;

} // namespace

// Fontconfig keeps some memory to the end of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The document layout needs the font database of a GUI application, on
    // the offscreen platform here.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_highlighter";
    static char* argv[] = { name, nullptr };
    application = new QGuiApplication(argc, argv);
    document = new QTextDocument;
    auto* highlighter = new QTurtleSyntaxHighlighter(document);
    highlighter->setCommands(VirtualMachine().commands());
    // As in the editor: with a layout the document reports its changes to the
    // highlighter, once its first deferred pass is over.
    document->documentLayout();
    QCoreApplication::processEvents();
    document->setPlainText(QStringLiteral("move: 5;"));
    if (document->firstBlock().layout()->formats().isEmpty()) {
        std::fprintf(stderr, "the highlighter does not colour \"move: 5;\"\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    // One block: whatever would start another becomes a blank.
    for (QChar& c : line) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator) {
            c = QLatin1Char(' ');
        }
    }
    document->setPlainText(line);

    const QTextBlock block = document->firstBlock();
    if (document->blockCount() != 1 || block.text() != line) {
        std::fprintf(stderr, "the line did not stay one block\n");
        std::abort();
    }
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.start < 0 || range.length < 0 || range.start + range.length > line.size()) {
            std::fprintf(stderr, "a format lies outside the line\n");
            std::abort();
        }
    }
    return 0;
}

// Any text as a document of the editor, coloured by the syntax highlighter
// with the machine's command words, then edited: the first byte places the
// edit, and the text after the first 0x1E character is inserted there (line
// breaks and all). Every line must then be coloured as the same line alone in
// a fresh document is.

#include "session/runsession.h"
#include "widgets/qturtlesyntaxhighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
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
QTextDocument* reference;

QTextDocument* highlightedDocument()
{
    auto* created = new QTextDocument;
    auto* highlighter = new QTurtleSyntaxHighlighter(created);
    highlighter->setCommands(RunSession::commandWords());
    // As in the editor: with a layout the document reports its changes to the
    // highlighter, once its first deferred pass is over.
    created->documentLayout();
    QCoreApplication::processEvents();
    return created;
}

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
    document = highlightedDocument();
    reference = highlightedDocument();
    document->setPlainText(QStringLiteral("move: 5;"));
    if (document->firstBlock().layout()->formats().isEmpty()) {
        std::fprintf(stderr, "the highlighter does not colour \"move: 5;\"\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, static_cast<int>(size - 1));
    const int separator = input.indexOf(QChar(0x1e));
    document->setPlainText(separator < 0 ? input : input.left(separator));
    if (separator >= 0) {
        QTextCursor cursor(document);
        cursor.setPosition(data[0] % document->characterCount());
        cursor.insertText(input.mid(separator + 1));
    }

    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        const QVector<QTextLayout::FormatRange> formats = block.layout()->formats();
        for (const QTextLayout::FormatRange& range : formats) {
            if (range.start < 0 || range.length < 0 || range.start + range.length > line.size()) {
                std::fprintf(stderr, "a format lies outside its line\n");
                std::abort();
            }
        }
        reference->setPlainText(line);
        if (reference->blockCount() != 1 || reference->firstBlock().text() != line) {
            continue;
        }
        if (reference->firstBlock().layout()->formats() != formats) {
            std::fprintf(stderr, "line %d is coloured otherwise than alone: \"%s\"\n", block.blockNumber(),
                         qPrintable(line));
            std::abort();
        }
    }
    return 0;
}

#include "scriptediting.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace {

const int kIndentWidth = 4;
const QString kHeader = QStringLiteral("Tur=Asm");

struct LineRange
{
    QTextBlock first;
    QTextBlock last;
};

LineRange selectedLines(const QTextCursor& cursor)
{
    QTextDocument* document = cursor.document();
    const QTextBlock first = document->findBlock(cursor.selectionStart());
    QTextBlock last = document->findBlock(cursor.selectionEnd());
    if (last != first && cursor.selectionEnd() == last.position()) {
        last = last.previous();
    }
    return { first, last };
}

int leadingSpaces(const QString& text)
{
    int count = 0;
    while (count < text.size() && text.at(count) == QLatin1Char(' ')) {
        ++count;
    }
    return count;
}

int firstNonBlank(const QString& text)
{
    int index = 0;
    while (index < text.size() && text.at(index).isSpace()) {
        ++index;
    }
    return index;
}

bool isHeader(const QTextBlock& block)
{
    return block.blockNumber() == 0 && block.text() == kHeader;
}

// Applies edit to every line of the selection in one undo step; afterwards the
// selection covers those lines whole when there were several, and otherwise
// the cursor keeps its place in the text of its line.
void editLines(QTextCursor& cursor, const std::function<void(const QTextBlock&, QTextCursor&)>& edit)
{
    const LineRange lines = selectedLines(cursor);
    const bool several = lines.first != lines.last;
    const int firstNumber = lines.first.blockNumber();
    const int lastNumber = lines.last.blockNumber();
    QTextDocument* document = cursor.document();

    // A cursor placed in the text keeps its place while other lines change.
    QTextCursor anchor(document);
    anchor.setPosition(cursor.anchor());
    QTextCursor position(document);
    position.setPosition(cursor.position());

    QTextCursor editor(cursor);
    editor.beginEditBlock();
    for (QTextBlock block = lines.first; block.isValid() && block.blockNumber() <= lastNumber;
         block = block.next()) {
        edit(block, editor);
    }
    editor.endEditBlock();

    if (several) {
        cursor.setPosition(document->findBlockByNumber(firstNumber).position());
        const QTextBlock last = document->findBlockByNumber(lastNumber);
        cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(anchor.position());
        cursor.setPosition(position.position(), QTextCursor::KeepAnchor);
    }
}

void insertAt(QTextCursor& editor, int position, const QString& text)
{
    editor.setPosition(position);
    editor.insertText(text);
}

void removeAt(QTextCursor& editor, int position, int length)
{
    editor.setPosition(position);
    editor.setPosition(position + length, QTextCursor::KeepAnchor);
    editor.removeSelectedText();
}

} // namespace

namespace ScriptEditing {

bool spansLines(const QTextCursor& cursor)
{
    const QTextDocument* document = cursor.document();
    return document->findBlock(cursor.selectionStart()) != document->findBlock(cursor.selectionEnd());
}

void indentLines(QTextCursor& cursor)
{
    editLines(cursor, [](const QTextBlock& block, QTextCursor& editor) {
        insertAt(editor, block.position(), QString(kIndentWidth, QLatin1Char(' ')));
    });
}

void unindentLines(QTextCursor& cursor)
{
    editLines(cursor, [](const QTextBlock& block, QTextCursor& editor) {
        const QString text = block.text();
        const int count = text.startsWith(QLatin1Char('\t')) ? 1 : qMin(kIndentWidth, leadingSpaces(text));
        if (count > 0) {
            removeAt(editor, block.position(), count);
        }
    });
}

void toggleComment(QTextCursor& cursor)
{
    const LineRange lines = selectedLines(cursor);
    bool allCommented = true;
    bool anyLine = false;
    int column = -1;
    for (QTextBlock block = lines.first; block.isValid() && block.blockNumber() <= lines.last.blockNumber();
         block = block.next()) {
        const QString text = block.text();
        if (isHeader(block) || text.trimmed().isEmpty()) {
            continue;
        }
        anyLine = true;
        const int start = firstNonBlank(text);
        allCommented = allCommented && text.at(start) == QLatin1Char('#');
        column = column < 0 ? start : qMin(column, start);
    }
    if (!anyLine) {
        return;
    }

    editLines(cursor, [allCommented, column](const QTextBlock& block, QTextCursor& editor) {
        const QString text = block.text();
        if (isHeader(block) || text.trimmed().isEmpty()) {
            return;
        }
        if (allCommented) {
            const int hash = firstNonBlank(text);
            const bool space = hash + 1 < text.size() && text.at(hash + 1) == QLatin1Char(' ');
            removeAt(editor, block.position() + hash, space ? 2 : 1);
        } else {
            insertAt(editor, block.position() + column, QStringLiteral("# "));
        }
    });
}

} // namespace ScriptEditing

#include "qeditor.h"

#include "frontend/datalocation.h"
#include "qturtlesyntaxhighlighter.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>

namespace {
const QString kIndent = QStringLiteral("    ");
}

QEditor::QEditor(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_lineNumberArea(new QEditorLineNumberArea(this))
    , m_modified(false)
    , m_execLine(-1)
    , m_arrow(locateDataFile(QStringLiteral("./Ressources/fleche.png")))
    , m_highlighter(new QTurtleSyntaxHighlighter(document()))
{
    QFont typewriter;
    typewriter.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    setFont(QFont(typewriter.defaultFamily()));
    setWordWrapMode(QTextOption::NoWrap);

    connect(this, &QEditor::blockCountChanged, this, &QEditor::updateLineNumberAreaWidth);
    connect(this, &QEditor::updateRequest, this, &QEditor::updateLineNumberArea);
    connect(this, &QEditor::cursorPositionChanged, this, &QEditor::highlightCurrentLine);
    connect(this, &QEditor::modificationChanged, this, &QEditor::setIfModified);

    updateLineNumberAreaWidth();
    highlightCurrentLine();
    installEventFilter(this);
}

void QEditor::setExecLine(int line, bool centre)
{
    m_execLine = line;

    // Past the end the cursor stops on the last line, where no arrow is drawn.
    const int blockNumber = qBound(0, line - 1, blockCount() - 1);
    QTextCursor cursor(document()->findBlockByNumber(blockNumber));
    setTextCursor(cursor);
    if (centre) {
        centerCursor();
    } else {
        ensureCursorVisible();
    }
    m_lineNumberArea->update();
}

int QEditor::lineNumberAreaWidth() const
{
    int digits = 1;
    int max = qMax(10, blockCount());
    while (max >= 10) {
        max /= 10;
        ++digits;
    }
    // 16 more pixels hold the execution arrow.
    return fontMetrics().horizontalAdvance(QLatin1Char('0')) * digits + 16;
}

void QEditor::lineNumberAreaPaintEvent(QPaintEvent* event)
{
    QPainter painter(m_lineNumberArea);
    painter.fillRect(event->rect(), Qt::lightGray);
    painter.setPen(Qt::black);

    QTextBlock block = firstVisibleBlock();
    int number = block.blockNumber();
    int top = int(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + int(blockBoundingRect(block).height());
    const int lineHeight = fontMetrics().height();

    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.drawText(0, top, m_lineNumberArea->width(), lineHeight, Qt::AlignRight,
                             QString::number(number + 1));
            if (m_execLine == number + 1) {
                painter.drawImage(QPoint(2, top), m_arrow);
            }
        }
        block = block.next();
        top = bottom;
        bottom = top + int(blockBoundingRect(block).height());
        ++number;
    }
}

void QEditor::setCommands(const VirtualMachine::CommandMap& commands)
{
    m_highlighter->setCommands(commands);
}

QSize QEditor::minimumSizeHint() const
{
    return QSize(300, 300);
}

bool QEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != this) {
        return QPlainTextEdit::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        textCursor().insertText(kIndent);
        return true;
    }
    return false;
}

void QEditor::setPlainText(const QString& text)
{
    QString expanded = text;
    expanded.replace(QLatin1Char('\t'), kIndent);
    QPlainTextEdit::setPlainText(expanded);
    // Replacing a text with an empty one reports the document as modified
    // without reporting its return to not modified; follow the document itself.
    if (m_modified != document()->isModified()) {
        setIfModified(document()->isModified());
    }
}

void QEditor::setIfModified(bool m)
{
    m_modified = m;
    emit modified();
}

void QEditor::highlightCurrentLine()
{
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(QColor(208, 224, 255));
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = textCursor();
    selection.cursor.clearSelection();
    setExtraSelections({ selection });
}

void QEditor::updateLineNumberArea(const QRect& rect, int dy)
{
    if (dy != 0) {
        m_lineNumberArea->scroll(0, dy);
    } else {
        m_lineNumberArea->update(0, rect.y(), m_lineNumberArea->width(), rect.height());
    }
    if (rect.contains(viewport()->rect())) {
        updateLineNumberAreaWidth();
    }
}

void QEditor::updateLineNumberAreaWidth()
{
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
}

void QEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect contents = contentsRect();
    m_lineNumberArea->setGeometry(QRect(contents.left(), contents.top(), lineNumberAreaWidth(), contents.height()));
}

QEditorLineNumberArea::QEditorLineNumberArea(QEditor* editor)
    : QWidget(editor)
    , m_editor(editor)
{
}

QSize QEditorLineNumberArea::sizeHint() const
{
    return QSize(m_editor->lineNumberAreaWidth(), 0);
}

void QEditorLineNumberArea::paintEvent(QPaintEvent* event)
{
    m_editor->lineNumberAreaPaintEvent(event);
}

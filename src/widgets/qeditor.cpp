#include "qeditor.h"

#include "system/datalocation.h"
#include "qturtlesyntaxhighlighter.h"
#include "scriptediting.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>

#include <vector>

namespace {
const QString kIndent = QStringLiteral("    ");
const int kArrowWidth = 16;
const int kMinPointSize = 6;
const int kMaxPointSize = 48;
const QColor kErrorLine(255, 205, 205);
const QColor kErrorNumber(170, 0, 0);
const QColor kBreakpoint(205, 30, 30);
const QColor kCount(90, 90, 90);

// What the gutter shows beside one line, kept in its block so that it follows the line.
class LineMarks : public QTextBlockUserData
{
public:
    bool breakpoint = false;
    std::vector<Message> messages;
};

LineMarks* marksOf(const QTextBlock& block)
{
    return static_cast<LineMarks*>(block.userData());
}

LineMarks* ensureMarks(QTextBlock block)
{
    if (!block.userData()) {
        block.setUserData(new LineMarks);
    }
    return marksOf(block);
}

bool hasBreakpoint(const QTextBlock& block)
{
    const LineMarks* marks = marksOf(block);
    return marks && marks->breakpoint;
}

bool hasMessages(const QTextBlock& block)
{
    const LineMarks* marks = marksOf(block);
    return marks && !marks->messages.empty();
}
} // namespace

QEditor::QEditor(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_lineNumberArea(new QEditorLineNumberArea(this))
    , m_modified(false)
    , m_execLine(-1)
    , m_arrow(QStringLiteral(":/icons/fleche.png"))
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
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        if (hasMarks()) {
            followSplitLine(position, removed, added);
            refreshBreakpoints();
        }
    });
    m_defaultPointSize = font().pointSize() > 0 ? font().pointSize() : 10;

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

void QEditor::toggleBreakpoint(int line)
{
    if (line < 1 || line > blockCount()) {
        return;
    }
    LineMarks* marks = ensureMarks(document()->findBlockByNumber(line - 1));
    marks->breakpoint = !marks->breakpoint;
    refreshBreakpoints();
}

void QEditor::clearBreakpoints()
{
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (LineMarks* marks = marksOf(block)) {
            marks->breakpoint = false;
        }
    }
    refreshBreakpoints();
}

void QEditor::setDiagnostics(const std::list<Message>& messages)
{
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (LineMarks* marks = marksOf(block)) {
            marks->messages.clear();
        }
    }
    for (const Message& message : messages) {
        if (message.line() >= 1 && message.line() <= blockCount()) {
            ensureMarks(document()->findBlockByNumber(message.line() - 1))->messages.push_back(message);
        }
    }
    refreshBreakpoints();
    m_lineNumberArea->update();
}

QString QEditor::diagnosticsText(int line) const
{
    return diagnosticsText(document()->findBlockByNumber(line - 1));
}

QString QEditor::diagnosticsText(const QTextBlock& block) const
{
    QStringList texts;
    if (const LineMarks* marks = marksOf(block)) {
        for (const Message& message : marks->messages) {
            texts << message.text();
        }
    }
    return texts.join(QLatin1Char('\n'));
}

// Lines inserted at the start of a line push it down, but the document keeps
// the marks in the block where the insertion began: move them to the line's text.
void QEditor::followSplitLine(int position, int removed, int added)
{
    if (removed != 0 || added == 0) {
        return;
    }
    QTextBlock first = document()->findBlock(position);
    QTextBlock moved = document()->findBlock(position + added);
    LineMarks* marks = marksOf(first);
    if (!marks || first.position() != position || moved == first || moved.userData()) {
        return;
    }
    *ensureMarks(moved) = std::move(*marks);
    first.setUserData(nullptr);
}

// Walks the blocks for what edits may have moved or removed; tells the world
// only when the breakpoint lines really changed.
void QEditor::refreshBreakpoints()
{
    const bool hadMarks = hasMarks();
    QList<int> lines;
    int diagnosticLines = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (hasBreakpoint(block)) {
            lines << block.blockNumber() + 1;
        }
        if (hasMessages(block)) {
            ++diagnosticLines;
        }
    }
    m_diagnosticLines = diagnosticLines;
    const bool changed = lines != m_breakpoints;
    m_breakpoints = lines;
    if (hadMarks != hasMarks()) {
        updateLineNumberAreaWidth();
    }
    if (changed) {
        m_lineNumberArea->update();
        emit breakpointsChanged();
    }
}

void QEditor::goToLine(int line)
{
    if (line < 1) {
        return;
    }
    setTextCursor(QTextCursor(document()->findBlockByNumber(qMin(line, blockCount()) - 1)));
    ensureCursorVisible();
    setFocus(Qt::OtherFocusReason);
}

void QEditor::setLineCounts(const QVector<qint64>& countsByLine)
{
    m_lineCounts = countsByLine;
    qint64 widest = 0;
    for (qint64 count : countsByLine) {
        widest = qMax(widest, count);
    }
    m_widestCount = countsByLine.isEmpty() ? QString() : locale().toString(widest);
    updateLineNumberAreaWidth();
    m_lineNumberArea->update();
}

int QEditor::fontPointSize() const
{
    return font().pointSize();
}

void QEditor::setFontPointSize(int size)
{
    size = qBound(kMinPointSize, size, kMaxPointSize);
    if (size == fontPointSize()) {
        return;
    }
    QFont bigger = font();
    bigger.setPointSize(size);
    setFont(bigger);
    updateLineNumberAreaWidth();
    m_lineNumberArea->update();
    emit fontPointSizeChanged(size);
}

int QEditor::lineAt(int y) const
{
    QTextBlock block = firstVisibleBlock();
    int top = int(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid()) {
        const int bottom = top + int(blockBoundingRect(block).height());
        if (block.isVisible() && y >= top && y < bottom) {
            return block.blockNumber() + 1;
        }
        if (top > y) {
            break;
        }
        block = block.next();
        top = bottom;
    }
    return -1;
}

int QEditor::markColumnWidth() const
{
    return fontMetrics().height();
}

int QEditor::countPadding() const
{
    return qMax(3, fontMetrics().horizontalAdvance(QLatin1Char('0')) / 2);
}

int QEditor::countColumnWidth() const
{
    // A rule with some room on each side keeps a count apart from its line's
    // number: "1 10" must not read as "110".
    return m_widestCount.isEmpty() ? 0 : fontMetrics().horizontalAdvance(m_widestCount) + 3 * countPadding() + 1;
}

int QEditor::lineNumberAreaWidth() const
{
    int digits = 1;
    int max = qMax(10, blockCount());
    while (max >= 10) {
        max /= 10;
        ++digits;
    }
    // 16 more pixels hold the execution arrow; marks and counts widen it only when shown.
    return fontMetrics().horizontalAdvance(QLatin1Char('0')) * digits + kArrowWidth
        + (hasMarks() ? markColumnWidth() : 0) + countColumnWidth();
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
    const int width = m_lineNumberArea->width();
    const int markWidth = hasMarks() ? markColumnWidth() : 0;
    const int countLeft = kArrowWidth + markWidth;
    const int countWidth = countColumnWidth();
    const int countRule = countLeft + countWidth - countPadding() - 1;
    const QLocale locale = this->locale();
    if (countWidth > 0) {
        painter.setPen(kCount);
        painter.drawLine(countRule, event->rect().top(), countRule, event->rect().bottom());
    }
    painter.setRenderHint(QPainter::Antialiasing);

    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            const bool error = hasMessages(block);
            if (error) {
                painter.fillRect(0, top, width, bottom - top, kErrorLine);
            }
            if (hasBreakpoint(block)) {
                const int diameter = qMax(4, qMin(markWidth, lineHeight) - 6);
                painter.setPen(Qt::NoPen);
                painter.setBrush(kBreakpoint);
                painter.drawEllipse(kArrowWidth + (markWidth - diameter) / 2, top + (lineHeight - diameter) / 2,
                                    diameter, diameter);
            }
            if (countWidth > 0 && number < m_lineCounts.size() && m_lineCounts[number] > 0) {
                painter.setPen(kCount);
                painter.drawText(countLeft, top, countRule - countPadding() - countLeft, lineHeight, Qt::AlignRight,
                                 locale.toString(m_lineCounts[number]));
            }
            painter.setPen(error ? kErrorNumber : QColor(Qt::black));
            painter.drawText(0, top, width, lineHeight, Qt::AlignRight, QString::number(number + 1));
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

void QEditor::setCommands(const QStringList& words)
{
    m_highlighter->setCommands(words);
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
    if (event->type() == QEvent::KeyPress) {
        return handleKey(static_cast<QKeyEvent*>(event));
    }
    // The window may bind the same keys (the drawing's zoom): the editor keeps them while it has the focus.
    if (event->type() == QEvent::ShortcutOverride && isEditorShortcut(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return false;
}

bool QEditor::isEditorShortcut(const QKeyEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Slash:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
    case Qt::Key_0:
        return true;
    default:
        return false;
    }
}

bool QEditor::handleKey(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (control) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            setFontPointSize(fontPointSize() + 1);
            return true;
        case Qt::Key_Minus:
            setFontPointSize(fontPointSize() - 1);
            return true;
        case Qt::Key_0:
            setFontPointSize(m_defaultPointSize);
            return true;
        default:
            break;
        }
    }

    const bool tab = event->key() == Qt::Key_Tab && !control;
    const bool backtab = event->key() == Qt::Key_Backtab;
    const bool comment = control && event->key() == Qt::Key_Slash;
    if (!tab && !backtab && !comment) {
        return false;
    }
    // Consumed even when read-only, so that Shift+Tab never takes the focus away.
    if (isReadOnly()) {
        return true;
    }
    QTextCursor cursor = textCursor();
    if (comment) {
        ScriptEditing::toggleComment(cursor);
    } else if (backtab) {
        ScriptEditing::unindentLines(cursor);
    } else if (ScriptEditing::spansLines(cursor)) {
        ScriptEditing::indentLines(cursor);
    } else {
        cursor.insertText(kIndent);
    }
    setTextCursor(cursor);
    return true;
}

void QEditor::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QPlainTextEdit::wheelEvent(event);
        return;
    }
    // Touchpads send many small steps: one point per notch of a wheel.
    m_wheelZoom += event->angleDelta().y();
    const int steps = m_wheelZoom / 120;
    if (steps != 0) {
        m_wheelZoom -= steps * 120;
        setFontPointSize(fontPointSize() + steps);
    }
    event->accept();
}

void QEditor::setPlainText(const QString& text)
{
    QString expanded = text;
    expanded.replace(QLatin1Char('\t'), kIndent);
    QPlainTextEdit::setPlainText(expanded);
    refreshBreakpoints();
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

bool QEditorLineNumberArea::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = m_editor->diagnosticsText(m_editor->lineAt(help->pos().y()));
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void QEditorLineNumberArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_editor->toggleBreakpoint(m_editor->lineAt(event->pos().y()));
    }
}

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

#include <algorithm>
#include <vector>

namespace {
const QString kIndent = QStringLiteral("    ");
const int kArrowWidth = 16;
const int kMinPointSize = 6;
const int kMaxPointSize = 48;

// What the gutter shows beside one line, kept in its block so that it follows the line.
class LineMarks : public QTextBlockUserData
{
public:
    bool breakpoint = false;
    // Each with its place in the list set.
    std::vector<std::pair<int, Message>> messages;
    // The line's text when they were set: once it changes they no longer hold.
    QString text;
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

// The messages of a line whose text is still what they were about.
bool hasMessages(const QTextBlock& block)
{
    const LineMarks* marks = marksOf(block);
    return marks && !marks->messages.empty() && marks->text == block.text();
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
        const bool hadDiagnostics = m_markedLines > 0 || !m_scriptMessages.empty();
        if (hasMarks()) {
            followSplitLine(position, removed, added);
            refreshBreakpoints();
        }
        // Highlighting reports a change of no character.
        if ((removed != 0 || added != 0) && hadDiagnostics) {
            m_diagnosticsEdited = true;
            emit diagnosticsChanged();
        }
    });
    m_defaultPointSize = font().pointSize() > 0 ? font().pointSize() : 10;

    updateLineNumberAreaWidth();
    applyColorScheme();
    retranslate();
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
    QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!hasBreakpoint(block) && m_holdsInstruction) {
        QTextBlock target = block;
        while (target.isValid() && !m_holdsInstruction(target.text(), target.blockNumber() + 1)) {
            target = target.next();
        }
        if (!target.isValid()) {
            emit breakpointRefused(line);
            return;
        }
        if (target != block) {
            ensureMarks(target)->breakpoint = true;
            refreshBreakpoints();
            emit breakpointMoved(line, target.blockNumber() + 1);
            return;
        }
    }
    LineMarks* marks = ensureMarks(block);
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
    m_scriptMessages.clear();
    int order = 0;
    for (const Message& message : messages) {
        if (message.line() >= 1 && message.line() <= blockCount()) {
            const QTextBlock block = document()->findBlockByNumber(message.line() - 1);
            LineMarks* marks = ensureMarks(block);
            marks->text = block.text();
            marks->messages.emplace_back(order, message);
        } else {
            m_scriptMessages.emplace_back(order, message);
        }
        ++order;
    }
    m_diagnosticsEdited = false;
    refreshBreakpoints();
    m_lineNumberArea->update();
    emit diagnosticsChanged();
}

std::vector<Message> QEditor::diagnostics() const
{
    std::vector<std::pair<int, Message>> all = m_scriptMessages;
    if (m_diagnosticLines > 0) {
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            if (hasMessages(block)) {
                for (const auto& message : marksOf(block)->messages) {
                    all.emplace_back(message.first, message.second.atLine(block.blockNumber() + 1));
                }
            }
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Message> messages;
    messages.reserve(all.size());
    for (const auto& message : all) {
        messages.push_back(message.second);
    }
    return messages;
}

void QEditor::forgetDiagnostics()
{
    const bool had = m_markedLines > 0 || !m_scriptMessages.empty();
    m_scriptMessages.clear();
    m_diagnosticsEdited = false;
    // The blocks that held the others went with the text.
    refreshBreakpoints();
    if (had) {
        emit diagnosticsChanged();
    }
}

QString QEditor::diagnosticsText(int line) const
{
    return diagnosticsText(document()->findBlockByNumber(line - 1));
}

QString QEditor::diagnosticsText(const QTextBlock& block) const
{
    QStringList texts;
    if (hasMessages(block)) {
        for (const auto& message : marksOf(block)->messages) {
            texts << message.second.atLine(block.blockNumber() + 1).text();
        }
    }
    return texts.join(QLatin1Char('\n'));
}

void QEditor::setLocked(bool locked)
{
    if (locked == m_locked) {
        return;
    }
    m_locked = locked;
    setReadOnly(locked);
    // The window's grey rather than the text's white: a field that cannot be typed into.
    viewport()->setBackgroundRole(locked ? QPalette::Window : QPalette::Base);
    viewport()->update();
}

bool QEditor::requestEdit()
{
    if (m_locked) {
        emit editRequested();
    }
    return !m_locked;
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
// only when the breakpoint lines really changed. Messages stay with a line
// whose text changed, unshown, in case the edit is undone.
void QEditor::refreshBreakpoints()
{
    const bool hadMarks = hasMarks();
    const int hadDiagnosticLines = m_diagnosticLines;
    QList<int> lines;
    int diagnosticLines = 0;
    int markedLines = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (hasBreakpoint(block)) {
            lines << block.blockNumber() + 1;
        }
        LineMarks* marks = marksOf(block);
        if (!marks || marks->messages.empty()) {
            continue;
        }
        // Text typed at the start of a line, then Return: the line's own text
        // went on to the next line, and its messages go with it.
        QTextBlock next = block.next();
        if (marks->text != block.text() && next.isValid() && next.text() == marks->text
            && !(marksOf(next) && !marksOf(next)->messages.empty())) {
            LineMarks* moved = ensureMarks(next);
            moved->messages = std::move(marks->messages);
            moved->text = marks->text;
            marks->messages.clear();
            continue;
        }
        ++markedLines;
        if (hasMessages(block)) {
            ++diagnosticLines;
        }
    }
    m_diagnosticLines = diagnosticLines;
    m_markedLines = markedLines;
    if (diagnosticLines != hadDiagnosticLines) {
        m_lineNumberArea->update();
    }
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
    painter.fillRect(event->rect(), m_scheme.gutterBackground);

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
        painter.setPen(m_scheme.count);
        painter.drawLine(countRule, event->rect().top(), countRule, event->rect().bottom());
    }
    painter.setRenderHint(QPainter::Antialiasing);

    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            const bool error = hasMessages(block);
            if (error) {
                painter.fillRect(0, top, width, bottom - top, m_scheme.errorLine);
            }
            if (hasBreakpoint(block)) {
                const int diameter = qMax(4, qMin(markWidth, lineHeight) - 6);
                painter.setPen(Qt::NoPen);
                painter.setBrush(m_scheme.breakpoint);
                painter.drawEllipse(kArrowWidth + (markWidth - diameter) / 2, top + (lineHeight - diameter) / 2,
                                    diameter, diameter);
            }
            if (countWidth > 0 && number < m_lineCounts.size() && m_lineCounts[number] > 0) {
                painter.setPen(m_scheme.count);
                painter.drawText(countLeft, top, countRule - countPadding() - countLeft, lineHeight, Qt::AlignRight,
                                 locale.toString(m_lineCounts[number]));
            }
            painter.setPen(error ? m_scheme.errorText : m_scheme.gutterText);
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
    veilIfOff(painter, event->rect());
}

void QEditor::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    veilIfOff(painter, event->rect());
}

// Switched off, the whole editor fades, colours and band included.
void QEditor::veilIfOff(QPainter& painter, const QRect& rect) const
{
    if (!isEnabled()) {
        QColor veil = palette().color(QPalette::Window);
        veil.setAlpha(170);
        painter.fillRect(rect, veil);
    }
}

void QEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        applyColorScheme();
    } else if (event->type() == QEvent::EnabledChange) {
        m_lineNumberArea->update();
    }
}

void QEditor::retranslate()
{
    setAccessibleName(tr("Script editor"));
    setAccessibleDescription(tr("The turtle script. Tab indents; Ctrl+Tab and Ctrl+Shift+Tab go to the other "
                                "parts of the window."));
    m_lineNumberArea->setAccessibleName(tr("Line numbers"));
    m_lineNumberArea->setAccessibleDescription(tr("The line numbers, with the line that runs next, the "
                                                  "breakpoints and the errors; a click sets or removes a "
                                                  "breakpoint."));
}

void QEditor::applyColorScheme()
{
    m_scheme = ColorScheme::forPalette(palette());
    m_highlighter->setColorScheme(m_scheme);
    highlightCurrentLine();
    m_lineNumberArea->update();
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
    // Qt's text edit claims the keys that move, select, copy and paste, but not
    // those that delete words and lines: the window's Clear took Ctrl+Del.
    // Only these: X11's Emacs-like Ctrl+E (end of line) stays the editor switch.
    static const QKeySequence::StandardKey deleting[] = {
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
    };
    for (QKeySequence::StandardKey key : deleting) {
        if (event->matches(key)) {
            return true;
        }
    }
    if (!(event->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Slash:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
    case Qt::Key_0:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

bool QEditor::changesText(const QKeyEvent* event)
{
    for (auto keys : { QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
                       QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord }) {
        if (event->matches(keys)) {
            return true;
        }
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Slash:
        if (event->modifiers() & Qt::ControlModifier) {
            return true;
        }
        break;
    default:
        break;
    }
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool QEditor::handleKey(QKeyEvent* event)
{
    if (m_locked && changesText(event)) {
        emit editRefused();
        return true;
    }
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

    // Tab indents, so Ctrl+Tab and Ctrl+Shift+Tab are the way out, as in Qt's other text editors.
    if (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        const bool forward = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        // The text edit's own version keeps the focus where Tab is typed.
        QWidget::focusNextPrevChild(forward);
        return true;
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
    forgetDiagnostics();
    // Replacing a text with an empty one reports the document as modified
    // without reporting its return to not modified; follow the document itself.
    if (m_modified != document()->isModified()) {
        setIfModified(document()->isModified());
    }
}

void QEditor::clear()
{
    QPlainTextEdit::clear();
    forgetDiagnostics();
}

void QEditor::setIfModified(bool m)
{
    m_modified = m;
    emit modified();
}

void QEditor::highlightCurrentLine()
{
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(m_scheme.currentLine);
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

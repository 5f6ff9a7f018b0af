#pragma once

#include "colorscheme.h"
#include "frontend/message.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QVector>

#include <functional>
#include <list>
#include <utility>
#include <vector>

class QEditorLineNumberArea;
class QTextBlock;
class QTurtleSyntaxHighlighter;

// The script editor: a line-number gutter that also carries the debugger's
// execution arrow, breakpoints, error marks and execution counts, a band on the
// cursor line, Tab typed as four spaces, line-wise indent and comment, and a
// modified flag reported through modified(). While a run holds the text it is
// locked: read-only, greyed, and saying so when typed into.
class QEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit QEditor(QWidget* parent = nullptr);

    // Puts the arrow on the 1-based line (-1 for none) and the cursor at its start;
    // centres the line, or with centre false scrolls only when it leaves the view.
    void setExecLine(int line, bool centre = true);
    int execLine() const { return m_execLine; }
    bool isModified() const { return m_modified; }

    // Breakpoints live in the lines' blocks: they move with edited lines, go with
    // deleted ones, and are cleared when the whole text is replaced.
    QList<int> breakpoints() const { return m_breakpoints; }
    // A breakpoint set on a line the test says holds no instruction goes to
    // the next line that holds one (breakpointMoved), or is refused when none
    // follows (breakpointRefused). Without a test any line takes one.
    void toggleBreakpoint(int line);
    void clearBreakpoints();
    using InstructionTest = std::function<bool(QStringView line, int number)>;
    void setInstructionTest(InstructionTest test) { m_holdsInstruction = std::move(test); }

    // Marks every line that a message names (line -1 is ignored) until the next call.
    // The marks follow their lines through edits; a line whose text changes loses them.
    void setDiagnostics(const std::list<Message>& messages);
    // The messages last set, in their order, each naming the line it has moved to;
    // diagnosticsChanged() tells when this changes.
    std::vector<Message> diagnostics() const;
    // Whether the text changed since the messages were set: they may no longer hold.
    bool diagnosticsEdited() const { return m_diagnosticsEdited; }
    // The messages of a 1-based line, one per row; empty when it has none.
    QString diagnosticsText(int line) const;

    // Locked, the editor is read-only and greyed; typing that would change the
    // text emits editRefused() instead.
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }
    // For changes made by other means than typing (Replace): asks through
    // editRequested() that whatever locks the text let go; true once it may change.
    bool requestEdit();
    // Says that an edit was refused, as typing into the locked text does.
    void refuseEdit() { emit editRefused(); }

    // Cursor to the start of the 1-based line, in view, and the focus to the editor.
    void goToLine(int line);

    // Index = line - 1; counts of zero or less show nothing; an empty vector hides the column.
    void setLineCounts(const QVector<qint64>& countsByLine);
    const QVector<qint64>& lineCounts() const { return m_lineCounts; }

    int fontPointSize() const;
    void setFontPointSize(int size);

    // The 1-based line under a y of the gutter, -1 below the text.
    int lineAt(int y) const;

    int lineNumberAreaWidth() const;
    void lineNumberAreaPaintEvent(QPaintEvent* event);

    // Hands the machine's command map to the highlighter, which builds its rules from the keys.
    void setCommands(const QStringList& words);

    // The names and descriptions a screen reader gives the editor and its gutter.
    void retranslate();

    // The fixed colours in use, light or dark after the palette.
    const ColorScheme& colorScheme() const { return m_scheme; }

    QSize minimumSizeHint() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void modified();
    void breakpointsChanged();
    void breakpointMoved(int from, int to);
    void breakpointRefused(int line);
    void diagnosticsChanged();
    void editRefused();
    void editRequested();
    void fontPointSizeChanged(int size);

public slots:
    // Tabs become four spaces; the document ends up not modified, with no undo history.
    // The diagnostics go with the text it replaces.
    void setPlainText(const QString& text);
    void clear();
    void setIfModified(bool m);
    void highlightCurrentLine();
    void updateLineNumberArea(const QRect& rect, int dy);
    void updateLineNumberAreaWidth();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class QEditorLineNumberArea;

    bool handleKey(QKeyEvent* event);
    void applyColorScheme();
    void veilIfOff(QPainter& painter, const QRect& rect) const;
    static bool isEditorShortcut(const QKeyEvent* event);
    static bool changesText(const QKeyEvent* event);
    void refreshBreakpoints();
    void forgetDiagnostics();
    void followSplitLine(int position, int removed, int added);
    bool hasMarks() const { return !m_breakpoints.isEmpty() || m_markedLines > 0; }
    int markColumnWidth() const;
    int countColumnWidth() const;
    int countPadding() const;
    QString diagnosticsText(const QTextBlock& block) const;

    QEditorLineNumberArea* m_lineNumberArea;
    bool m_modified;
    int m_execLine;
    QImage m_arrow;
    QTurtleSyntaxHighlighter* m_highlighter;
    ColorScheme m_scheme;
    QList<int> m_breakpoints;
    InstructionTest m_holdsInstruction;
    // Lines with messages shown, and with messages at all.
    int m_diagnosticLines = 0;
    int m_markedLines = 0;
    // Messages that name no line of the text, with their place among all.
    std::vector<std::pair<int, Message>> m_scriptMessages;
    bool m_diagnosticsEdited = false;
    bool m_locked = false;
    QVector<qint64> m_lineCounts;
    QString m_widestCount;
    int m_defaultPointSize = 0;
    int m_wheelZoom = 0;
};

// The gutter; all of its drawing is done by the editor it belongs to.
class QEditorLineNumberArea : public QWidget
{
    Q_OBJECT

public:
    explicit QEditorLineNumberArea(QEditor* editor);

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QEditor* m_editor;
};

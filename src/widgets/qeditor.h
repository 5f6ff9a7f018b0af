#pragma once

#include "frontend/message.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QVector>

#include <list>

class QEditorLineNumberArea;
class QTextBlock;
class QTurtleSyntaxHighlighter;

// The script editor: a line-number gutter that also carries the debugger's
// execution arrow, breakpoints, error marks and execution counts, a band on the
// cursor line, Tab typed as four spaces, line-wise indent and comment, and a
// modified flag reported through modified().
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
    void toggleBreakpoint(int line);
    void clearBreakpoints();

    // Marks every line that a message names (line -1 is ignored) until the next call.
    void setDiagnostics(const std::list<Message>& messages);
    // The messages of a 1-based line, one per row; empty when it has none.
    QString diagnosticsText(int line) const;

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

    QSize minimumSizeHint() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void modified();
    void breakpointsChanged();
    void fontPointSizeChanged(int size);

public slots:
    // Tabs become four spaces; the document ends up not modified, with no undo history.
    void setPlainText(const QString& text);
    void setIfModified(bool m);
    void highlightCurrentLine();
    void updateLineNumberArea(const QRect& rect, int dy);
    void updateLineNumberAreaWidth();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class QEditorLineNumberArea;

    bool handleKey(QKeyEvent* event);
    static bool isEditorShortcut(const QKeyEvent* event);
    void refreshBreakpoints();
    void followSplitLine(int position, int removed, int added);
    bool hasMarks() const { return !m_breakpoints.isEmpty() || m_diagnosticLines > 0; }
    int markColumnWidth() const;
    int countColumnWidth() const;
    int countPadding() const;
    QString diagnosticsText(const QTextBlock& block) const;

    QEditorLineNumberArea* m_lineNumberArea;
    bool m_modified;
    int m_execLine;
    QImage m_arrow;
    QTurtleSyntaxHighlighter* m_highlighter;
    QList<int> m_breakpoints;
    int m_diagnosticLines = 0;
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

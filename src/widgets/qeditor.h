#pragma once

#include "vm/virtualmachine.h"

#include <QImage>
#include <QPlainTextEdit>

class QEditorLineNumberArea;
class QTurtleSyntaxHighlighter;

// The script editor: a line-number gutter that also carries the debugger's
// execution arrow, a band on the cursor line, Tab typed as four spaces, and a
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

    int lineNumberAreaWidth() const;
    void lineNumberAreaPaintEvent(QPaintEvent* event);

    // Hands the machine's command map to the highlighter, which builds its rules from the keys.
    void setCommands(const VirtualMachine::CommandMap& commands);

    QSize minimumSizeHint() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void modified();

public slots:
    // Tabs become four spaces; the document ends up not modified, with no undo history.
    void setPlainText(const QString& text);
    void setIfModified(bool m);
    void highlightCurrentLine();
    void updateLineNumberArea(const QRect& rect, int dy);
    void updateLineNumberAreaWidth();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QEditorLineNumberArea* m_lineNumberArea;
    bool m_modified;
    int m_execLine;
    QImage m_arrow;
    QTurtleSyntaxHighlighter* m_highlighter;
};

// The gutter; all of its drawing is done by the editor it belongs to.
class QEditorLineNumberArea : public QWidget
{
    Q_OBJECT

public:
    explicit QEditorLineNumberArea(QEditor* editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QEditor* m_editor;
};

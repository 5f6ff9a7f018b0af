#pragma once

#include <QKeySequence>
#include <QWidget>

#include <functional>

class QAction;
class QEditor;
class QFileChangedBar;
class QFindBar;
class QLabel;

// The editor with its find bar below it and, while its file was changed on
// disk under unsaved edits, the bar that offers to reload it above it; and the
// actions that drive the editor and the find bar:
// Undo, Redo, Cut, Copy, Paste, Select All, Find, Find Next, Find Previous,
// Replace and Go to Line.
class QEditorPane : public QWidget
{
    Q_OBJECT

public:
    // Asks for a line between 1 and last, proposing current; 0 when the user cancels.
    using LineAsker = std::function<int(QWidget* parent, int current, int last)>;

    explicit QEditorPane(QWidget* parent = nullptr);

    QEditor* editor() const { return m_editor; }
    QFindBar* findBar() const { return m_findBar; }
    QFileChangedBar* fileChangedBar() const { return m_fileChangedBar; }
    // In the order an Edit menu lists them, separators included.
    QList<QAction*> editActions() const;

    void setLineAsker(LineAsker asker) { m_askLine = std::move(asker); }
    void askForLine();

    // The window's checkable action that switches the editor on and off. Off,
    // the editor is greyed and a note says so and how to switch it back on;
    // on again, it has the focus.
    void setSwitchAction(QAction* action);

    void retranslate();

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void switchEditor(bool on);
    void showOffNote(bool typed);

    QAction* addEditAction(const QString& name, const QKeySequence& keys);
    // An action that changes the text does nothing while the editor is
    // switched off, or read-only (a run holds it), which it then says.
    QAction* addTextAction(const QString& name, QKeySequence::StandardKey keys, std::function<void()> command,
                           bool changesText);
    void updateTextActions();

    QEditor* m_editor;
    QFindBar* m_findBar;
    QFileChangedBar* m_fileChangedBar;
    QAction* m_undoAction;
    QAction* m_redoAction;
    QAction* m_cutAction;
    QAction* m_copyAction;
    QAction* m_pasteAction;
    QAction* m_selectAllAction;
    QAction* m_findAction;
    QAction* m_findNextAction;
    QAction* m_findPreviousAction;
    QAction* m_replaceAction;
    QAction* m_goToLineAction;
    QList<QAction*> m_editActions;
    LineAsker m_askLine;
    QAction* m_switchAction = nullptr;
    QLabel* m_offNote;
    bool m_typedWhileOff = false;
};

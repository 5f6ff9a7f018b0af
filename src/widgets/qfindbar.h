#pragma once

#include <QTextDocument>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// Find and replace in one text editor, shown below it. Searches wrap around
// the end of the text and say so; Replace All is a single undo step.
class QFindBar : public QWidget
{
    Q_OBJECT

public:
    explicit QFindBar(QPlainTextEdit* editor, QWidget* parent = nullptr);

    // Shows the bar, the replace row only for showReplace, and puts the focus in
    // the find field, filled with the editor's selection when it is on one line.
    void showFind();
    void showReplace();

    QString findText() const;
    void setFindText(const QString& text);
    void setReplaceText(const QString& text);
    void setCaseSensitive(bool on);
    // Whether the last search wrapped around or found nothing, or how many were replaced.
    QString hint() const;

    bool findNext();
    bool findPrevious();
    // Replaces the match under the selection, if it is one, then finds the next.
    void replace();
    int replaceAll();
    // Asked before a replacement changes the text; false leaves it alone. By
    // default a read-only editor is left alone.
    void setEditGuard(std::function<bool()> mayEdit) { m_mayEdit = std::move(mayEdit); }

    void retranslate();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool find(QTextDocument::FindFlags direction);
    QTextDocument::FindFlags caseFlag() const;
    bool selectionMatches() const;
    void findFromSelectionStart();
    void dismiss();
    void showHintColour();

    QPlainTextEdit* m_editor;
    QLabel* m_findLabel;
    QLineEdit* m_findField;
    QToolButton* m_previousButton;
    QToolButton* m_nextButton;
    QCheckBox* m_caseBox;
    QLabel* m_hint;
    QToolButton* m_closeButton;
    QWidget* m_replaceRow;
    QLabel* m_replaceLabel;
    QLineEdit* m_replaceField;
    QPushButton* m_replaceButton;
    QPushButton* m_replaceAllButton;
    std::function<bool()> m_mayEdit;
};

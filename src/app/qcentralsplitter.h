#pragma once

#include <QSplitter>

class QEditor;

// The drawing on the left, the editor on the right, and a handle between them.
// Until the user drags the handle, or a saved split is restored, the editor
// gets the width for EditorColumns columns of text (the shipped examples'
// longest lines) and the drawing the rest; on a narrow window the drawing
// keeps DrawingShare of the width, which leaves the editor 60 columns from a
// 1366 pixel wide screen on.
class QCentralSplitter : public QSplitter
{
    Q_OBJECT

public:
    static constexpr int EditorColumns = 82;
    static constexpr double DrawingShare = 0.35;

    // The editor is measured; editorPane, the editor itself unless given, is
    // what the splitter holds (the editor with what goes under it).
    QCentralSplitter(QWidget* drawing, QEditor* editor, QWidget* editorPane = nullptr, QWidget* parent = nullptr);

    // Restores a split saved with saveState(); false (and the default share) otherwise.
    bool restoreSplit(const QByteArray& state);

    // The width the editor needs to show that many columns beside its gutter.
    int editorWidth(int columns) const;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyDefaultShare();
    void describe();

    QEditor* m_editor;
    bool m_userSized;
};

#pragma once

#include <QObject>
#include <QString>

class Prompts;
class QEditor;

// The script being edited, as a file: its path (the editor's document title,
// empty while untitled), whether it differs from the file (the editor's
// modified flag), and the commands that open, save and close it. Each
// question goes through the prompts. The text is read into the editor in
// read() and written from it in write(), and nowhere else.
class Document : public QObject
{
    Q_OBJECT

public:
    Document(QEditor* editor, Prompts* prompts, QObject* parent = nullptr);

    QString path() const;
    bool isModified() const;
    // The window's title: the application name, then " - " and the file name
    // (none while untitled), and "*" when modified.
    QString title() const;

    // Where the file dialogs start.
    QString folder() const { return m_folder; }
    void setFolder(const QString& folder) { m_folder = folder; }

    // With unsaved edits, asks whether to save them: true when they were
    // saved or may be discarded, false when the user cancelled or the save failed.
    bool mayDiscard();

    // Opens path, after the save question; false when it was not opened.
    bool openPath(const QString& path);
    // Opens a copy of path, which has no name, so that Save asks for one.
    bool openCopy(const QString& path);
    // A new script named path, which saving creates, after the save question.
    bool openNew(const QString& path);

public slots:
    // Asks for a file after the save question, then opens it.
    void open();
    bool save();
    bool saveAs();
    // New: an untitled script holding the line every script starts with,
    // after the save question.
    bool startNew();
    // Close: an empty, untitled script, after the save question.
    bool close();
    void chooseFolder();

signals:
    // Before the text is replaced or cleared, so that a run of it ends first.
    void replacing();
    void titleChanged();
    // A file opened or saved under its name, for the recent files.
    void fileUsed(const QString& path);

private:
    bool read(const QString& path, bool asCopy);
    bool write(const QString& path);
    // The text given, unmodified, under the path given (empty: untitled).
    bool replace(const QString& text, const QString& path);
    void setPath(const QString& path);
    QString fileName() const;

    QEditor* m_editor;
    Prompts* m_prompts;
    QString m_folder;
};

#pragma once

#include "filewatch.h"
#include "system/textfile.h"

#include <QObject>
#include <QString>

class Prompts;
class QEditor;

// The script being edited, as a file: its path (the editor's document title,
// empty while untitled), whether it differs from the file (the editor's
// modified flag), how the file is written (encoding and line ends, kept from
// the file read), and the commands that open, save and close it. Each
// question goes through the prompts. The text is read into the editor in
// load() and written from it in write(), and nowhere else.
//
// The file is watched: changed by another program, it is read again when
// there are no unsaved edits; with edits, conflictChanged() asks the window
// to offer Reload or Keep Mine, and Save asks before overwriting a file that
// is not the one read.
class Document : public QObject
{
    Q_OBJECT

public:
    Document(QEditor* editor, Prompts* prompts, QObject* parent = nullptr);

    QString path() const;
    bool isModified() const;
    // The window's title: the application name, " - ", the file name (or
    // "Untitled") and "*" when modified.
    QString title() const;
    TextFile::Format format() const { return m_format; }
    // The file was changed on disk and the unsaved edits wait for Reload or Keep Mine.
    bool hasConflict() const { return m_conflict; }

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
    // Writes the text to its file, unless nothing was edited and the file is
    // still the one read: then the file already holds it, byte for byte.
    bool save();
    bool saveAs();
    // New: an untitled script holding the line every script starts with,
    // after the save question.
    bool startNew();
    // Close: an empty, untitled script, after the save question.
    bool close();
    void chooseFolder();
    // Reads the file again, dropping the edits; the cursor stays on its line.
    bool reload();
    // Keeps the edits over a file changed on disk; Save will ask before overwriting it.
    void keepMine();

signals:
    // Before the text is replaced or cleared, so that a run of it ends first.
    void replacing();
    void titleChanged();
    void formatChanged();
    // A file opened or saved under its name, for the recent files.
    void fileUsed(const QString& path);
    // True when the file changed on disk under unsaved edits, false once that
    // needs no answer any more.
    void conflictChanged(bool conflict);
    // A passing note: the file was read again, or deleted.
    void notice(const QString& text);

private:
    bool read(const QString& path, bool asCopy);
    bool load(const QString& path, bool asCopy, QString& error);
    bool reloadKeepingLine(QString& error);
    bool write(const QString& path);
    // The text given, unmodified, under the path given (empty: untitled).
    bool replace(const QString& text, const QString& path);
    void setPath(const QString& path);
    void setFormat(const TextFile::Format& format);
    void setConflict(bool conflict);
    void diskChanged(FileWatch::State state);
    QString fileName() const;

    QEditor* m_editor;
    Prompts* m_prompts;
    QString m_folder;
    TextFile::Format m_format;
    FileWatch m_watch;
    bool m_conflict = false;
};

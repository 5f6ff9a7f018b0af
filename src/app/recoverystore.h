#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class Prompts;
class QEditor;

// Keeps a copy of the editor's unsaved text in the user's data folder, written
// whole a few seconds after typing stops and removed once the text is saved or
// discarded. Each running Korvane holds a lock beside its copy, so that a copy
// whose lock nobody holds any more was left by a Korvane that crashed or was
// killed, and can be offered back at the next start.
class RecoveryStore : public QObject
{
    Q_OBJECT

public:
    explicit RecoveryStore(QEditor* editor, QObject* parent = nullptr);
    ~RecoveryStore() override;

    // Milliseconds between the last change and the copy (3 seconds).
    void setDelay(int milliseconds);
    // Where this Korvane keeps its copy.
    QString filePath() const { return m_path; }

    // Looks for a copy left by a Korvane that ended without saving, asks
    // whether to restore it and, if so, puts it in the editor as unsaved text.
    // Any such copy is gone afterwards, restored or declined.
    bool offerRestore(Prompts& prompts);
    // Removes this Korvane's copy: the text was saved or discarded.
    void discard();

private:
    void changed();
    void write();

    QEditor* m_editor;
    QTimer m_timer;
    QString m_directory;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

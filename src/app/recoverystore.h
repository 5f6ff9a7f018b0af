#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

class Prompts;
class QEditor;

// Keeps a copy of the editor's unsaved text in a private folder, written whole
// a few seconds after typing stops and removed once the text is saved or
// discarded. Each window session has a copy of its own, named by a random id,
// with a lock beside it: a copy whose lock nobody holds any more was left by a
// session that crashed or was killed, and is offered back at the next start.
// The script's path, the time and the encoding are kept in a JSON file beside
// the text, so that no file name can spill into the text.
class RecoveryStore : public QObject
{
    Q_OBJECT

public:
    // folder: where the copies are kept; the user's data folder when empty.
    explicit RecoveryStore(QEditor* editor, QObject* parent = nullptr, const QString& folder = QString());
    ~RecoveryStore() override;

    // Milliseconds between the last change and the copy (3 seconds).
    void setDelay(int milliseconds);
    QString folder() const { return m_folder; }
    // Where this session keeps its copy of the text.
    QString filePath() const;

    // Offers each copy left by a session that ended without saving, newest
    // first, until one is restored into the editor as unsaved text. A copy
    // stays on disk until the user restores or discards it. Also reports a
    // folder or a copy refused as unsafe. True when a text was restored.
    bool offerRestore(Prompts& prompts);
    // Writes the copy now, if the text is modified.
    void protect();
    // Removes this session's copy: the text was saved or discarded.
    void discard();

private:
    struct Orphan
    {
        QString id;
        QString path;
        QDateTime time;
        QString encoding;
        QByteArray text;
        // Held while the copy is offered, so that no other session offers it too.
        std::unique_ptr<QLockFile> lock;
    };

    void changed();
    QString filePath(const QString& id, const char* suffix) const;
    std::vector<Orphan> claimOrphans(QStringList& refused);
    bool read(Orphan& orphan, QString& refusal) const;
    void restore(const Orphan& orphan);
    void remove(const QString& id) const;
    QString describe(const Orphan& orphan) const;

    QEditor* m_editor;
    QTimer m_timer;
    QString m_folder;
    QString m_id;
    // Why the folder is not used, empty when it is.
    QString m_refusal;
    std::unique_ptr<QLockFile> m_lock;
};

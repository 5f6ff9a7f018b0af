#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// The file a document was read from or last written to, as it was then, and
// whether another program has changed, replaced or deleted it since. The
// file's time alone proves nothing (touching a file changes no text, and a
// rewrite of the same size can keep the time), so a file of the same size is
// compared by the hash of its content. Our own saves are tracked as they are
// written and so are never reported.
class FileWatch : public QObject
{
    Q_OBJECT

public:
    enum State { Same, Changed, Missing };

    explicit FileWatch(QObject* parent = nullptr);

    // From now on the file at path is expected to hold content.
    void track(const QString& path, const QByteArray& content);
    void stop();
    QString path() const { return m_path; }

    // How the file on disk is now.
    State state() const;

signals:
    // The file's state differs from the last one reported (Same after track()).
    void stateChanged(FileWatch::State state);

private:
    void schedule();
    void look();

    QFileSystemWatcher m_watcher;
    // Editors and version control write in bursts (truncate, write, rename):
    // the file is looked at once the burst is over.
    QTimer m_settle;
    QString m_path;
    qint64 m_size = 0;
    QByteArray m_hash;
    State m_reported = Same;
};

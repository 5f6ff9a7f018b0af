#include "filewatch.h"

#include "system/textfile.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {

QByteArray hash(const QByteArray& content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

} // namespace

FileWatch::FileWatch(QObject* parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(100);
    connect(&m_settle, &QTimer::timeout, this, &FileWatch::look);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::schedule);
    // A file replaced by a rename, or deleted and written again, is no longer
    // the one watched: its folder tells when the name comes back.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::schedule);
}

void FileWatch::track(const QString& path, const QByteArray& content)
{
    stop();
    m_path = path;
    m_size = content.size();
    m_hash = hash(content);
    m_reported = Same;
    m_watcher.addPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!folder.isEmpty()) {
        m_watcher.addPath(folder);
    }
}

void FileWatch::stop()
{
    m_settle.stop();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty()) {
        m_watcher.removePaths(watched);
    }
    m_path.clear();
    m_reported = Same;
}

FileWatch::State FileWatch::state() const
{
    if (m_path.isEmpty()) {
        return Same;
    }
    const QFileInfo info(m_path);
    if (!info.exists()) {
        return Missing;
    }
    if (!info.isFile() || info.size() != m_size) {
        return Changed;
    }
    QByteArray content;
    QString error;
    if (!TextFile::readBytes(m_path, TextFile::RegularFiles, content, error)) {
        return Changed;
    }
    return hash(content) == m_hash ? Same : Changed;
}

void FileWatch::schedule()
{
    if (!m_path.isEmpty()) {
        m_settle.start();
    }
}

void FileWatch::look()
{
    if (m_path.isEmpty()) {
        return;
    }
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
    const State now = state();
    if (now != m_reported) {
        m_reported = now;
        emit stateChanged(now);
    }
}

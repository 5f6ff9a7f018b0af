#include "outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool waitForReaders = false;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO));
}

// Unless told to wait, a FIFO is opened without waiting: with no reader, a
// plain open would block until one comes. Writes then wait as usual.
int openForWriting(const QByteArray& path, bool fifo)
{
    int descriptor;
    do {
        descriptor = ::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (fifo ? O_NONBLOCK : 0));
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor >= 0 && fifo) {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    }
    return descriptor;
}

// The folder's entries cannot be changed, so no temporary file can be renamed
// over the target, but the target itself can be written.
bool onlyWritableInPlace(const QString& path)
{
    const QFileInfo target(QFileInfo(path).canonicalFilePath());
    return ::access(QFile::encodeName(target.absolutePath()).constData(), W_OK) != 0 && errno == EACCES
        && ::access(QFile::encodeName(target.filePath()).constData(), W_OK) == 0;
}

} // namespace

OutputFile::OutputFile(const QString& path, QObject* parent)
    : QIODevice(parent)
    , m_path(path)
    , m_standardOutput(STDOUT_FILENO)
{
}

OutputFile::~OutputFile()
{
    finish();
}

void OutputFile::setStandardOutputDescriptor(int descriptor)
{
    m_standardOutput = descriptor;
}

bool OutputFile::isStandardOutput(const QString& path)
{
    return path == QLatin1String("-");
}

bool OutputFile::writeText(const QString& path, const QString& text, QString& error)
{
    OutputFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&file);
        out << text;
        out.flush();
        if (out.status() == QTextStream::Ok && file.commit()) {
            return true;
        }
    }
    error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

QString OutputFile::path() const
{
    return m_path;
}

bool OutputFile::mayBeIncomplete() const
{
    return m_mayBeIncomplete;
}

void OutputFile::setWaitForReaders(bool wait)
{
    waitForReaders = wait;
}

bool OutputFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly) || (mode & Append)) {
        setErrorString(tr("The file can only be opened once, to write it whole."));
        return false;
    }
    m_kind = Kind::None;
    m_failed = false;
    m_touched = false;
    m_mayBeIncomplete = false;
    m_end = 0;

    if (isStandardOutput(m_path)) {
        m_kind = Kind::Stream;
        m_descriptor = m_standardOutput;
        m_ownsDescriptor = false;
        return QIODevice::open(mode);
    }

    const QByteArray name = QFile::encodeName(m_path);
    struct stat status;
    const bool exists = ::stat(name.constData(), &status) == 0;
    if (!exists && errno != ENOENT) {
        return failWithErrno(errno);
    }
    if (exists && S_ISDIR(status.st_mode)) {
        return failWithErrno(EISDIR);
    }
    if (exists && !S_ISREG(status.st_mode)) {
        m_kind = Kind::Stream;
    } else if (exists && ::access(name.constData(), W_OK) != 0) {
        return failWithErrno(errno);
    } else if (exists && onlyWritableInPlace(m_path)) {
        m_kind = Kind::InPlace;
    } else {
        m_saveFile = std::make_unique<QSaveFile>(m_path);
        if (!m_saveFile->open(WriteOnly | Unbuffered)) {
            const QString reason = m_saveFile->errorString();
            m_saveFile.reset();
            return fail(reason);
        }
        m_kind = Kind::Replace;
        return QIODevice::open(mode);
    }

    const bool fifo = exists && S_ISFIFO(status.st_mode) && !waitForReaders;
    m_descriptor = openForWriting(name, fifo);
    if (m_descriptor < 0) {
        const int error = errno;
        m_kind = Kind::None;
        if (fifo && error == ENXIO) {
            return fail(tr("No program is reading from this pipe"));
        }
        return failWithErrno(error);
    }
    m_ownsDescriptor = true;
    return QIODevice::open(mode);
}

bool OutputFile::isSequential() const
{
    return m_kind == Kind::Stream;
}

bool OutputFile::seek(qint64 position)
{
    if (!QIODevice::seek(position)) {
        return false;
    }
    return m_kind != Kind::Replace || m_saveFile->seek(position);
}

qint64 OutputFile::readData(char*, qint64)
{
    return -1;
}

qint64 OutputFile::writeData(const char* data, qint64 size)
{
    if (m_failed) {
        return size;
    }
    qint64 done = 0;
    while (done < size) {
        qint64 written;
        if (m_kind == Kind::Replace) {
            written = m_saveFile->write(data + done, size - done);
            if (written <= 0) {
                // A short write sets no error; the next one meets the cause.
                const QString reason = m_saveFile->error() != QFileDevice::NoError ? m_saveFile->errorString()
                                                                                   : systemReason(errno);
                fail(reason);
                return size;
            }
        } else {
            const std::size_t count = static_cast<std::size_t>(size - done);
            written = m_kind == Kind::InPlace ? ::pwrite(m_descriptor, data + done, count, pos() + done)
                                              : ::write(m_descriptor, data + done, count);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                failWithErrno(written == 0 ? ENOSPC : errno);
                return size;
            }
            m_touched = true;
        }
        done += written;
    }
    m_end = std::max(m_end, pos() + size);
    return size;
}

bool OutputFile::fail(const QString& reason)
{
    m_failed = true;
    if (m_kind == Kind::InPlace && m_touched) {
        m_mayBeIncomplete = true;
        setErrorString(tr("%1; the file on disk may now be incomplete").arg(reason));
    } else {
        setErrorString(reason);
    }
    return false;
}

bool OutputFile::failWithErrno(int error)
{
    return fail(systemReason(error));
}

bool OutputFile::commit()
{
    if (!isOpen()) {
        return false;
    }
    if (!m_failed) {
        if (m_kind == Kind::Replace) {
            if (!m_saveFile->commit()) {
                fail(m_saveFile->errorString());
            }
        } else if (m_kind == Kind::InPlace) {
            // The new text may be shorter than the old one.
            m_touched = true;
            if (::ftruncate(m_descriptor, m_end) != 0 || ::fsync(m_descriptor) != 0) {
                failWithErrno(errno);
            }
        }
        if (m_ownsDescriptor) {
            const int descriptor = m_descriptor;
            m_ownsDescriptor = false;
            m_descriptor = -1;
            if (::close(descriptor) != 0 && errno != EINTR && !m_failed) {
                failWithErrno(errno);
            }
        }
    }
    finish();
    return !m_failed;
}

void OutputFile::cancelWriting()
{
    if (isOpen() && !m_failed) {
        fail(tr("The writing was cancelled"));
    }
    finish();
}

void OutputFile::close()
{
    cancelWriting();
}

// Without a commit the save file drops its temporary file.
void OutputFile::finish()
{
    m_saveFile.reset();
    if (m_ownsDescriptor) {
        ::close(m_descriptor);
        m_ownsDescriptor = false;
    }
    m_descriptor = -1;
    m_kind = Kind::None;
    if (isOpen()) {
        QIODevice::close();
    }
}

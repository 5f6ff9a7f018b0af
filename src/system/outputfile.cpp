#include "outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeSpecialFiles = false;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO));
}

int openForWriting(const QByteArray& path)
{
    int descriptor;
    do {
        descriptor = ::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// Caught rather than ignored: an ignored signal stays ignored in the programs
// this one starts, which expect the default.
void ignoreSignal(int)
{
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
    return writeBytes(path, text.toUtf8(), error);
}

bool OutputFile::writeBytes(const QString& path, const QByteArray& bytes, QString& error)
{
    OutputFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return true;
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

bool OutputFile::hasFailed() const
{
    return m_failed;
}

void OutputFile::setWriteSpecialFiles(bool write)
{
    writeSpecialFiles = write;
}

void OutputFile::protectProcess()
{
    struct sigaction action = {};
    action.sa_handler = ignoreSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGPIPE, &action, nullptr);
    ::sigaction(SIGXFSZ, &action, nullptr);

    // In order, so that the lowest free number is the one being filled.
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            const int null = ::open("/dev/null", O_RDONLY);
            if (null >= 0 && null != descriptor) {
                ::dup2(null, descriptor);
                ::close(null);
            }
        }
    }
}

QString OutputFile::unwritableReason() const
{
    QString reason;
    plan(&reason);
    return reason;
}

OutputFile::Kind OutputFile::plan(QString* reason) const
{
    if (isStandardOutput(m_path)) {
        const int flags = ::fcntl(m_standardOutput, F_GETFL);
        if (flags == -1 || (flags & O_ACCMODE) == O_RDONLY) {
            *reason = tr("The standard output is closed");
            return Kind::None;
        }
        return Kind::Stream;
    }

    const QByteArray name = QFile::encodeName(m_path);
    struct stat status;
    if (::stat(name.constData(), &status) != 0) {
        if (errno != ENOENT) {
            *reason = systemReason(errno);
            return Kind::None;
        }
        // A new file, made in its folder.
        const QByteArray folder = QFile::encodeName(QFileInfo(m_path).absolutePath());
        if (::access(folder.constData(), W_OK | X_OK) != 0) {
            *reason = systemReason(errno);
            return Kind::None;
        }
        return Kind::Replace;
    }
    if (S_ISDIR(status.st_mode)) {
        *reason = systemReason(EISDIR);
        return Kind::None;
    }
    if (!S_ISREG(status.st_mode)) {
        if (!writeSpecialFiles) {
            *reason = tr("It is a device or a pipe, not a regular file, and only regular files are written");
            return Kind::None;
        }
        return Kind::Stream;
    }
    if (::access(name.constData(), W_OK) != 0) {
        *reason = systemReason(errno);
        return Kind::None;
    }
    return onlyWritableInPlace(m_path) ? Kind::InPlace : Kind::Replace;
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

    QString reason;
    const Kind kind = plan(&reason);
    if (kind == Kind::None) {
        return fail(reason);
    }
    if (isStandardOutput(m_path)) {
        m_kind = Kind::Stream;
        m_descriptor = m_standardOutput;
        m_ownsDescriptor = false;
        return QIODevice::open(mode);
    }
    if (kind == Kind::Replace) {
        m_saveFile = std::make_unique<QSaveFile>(m_path);
        if (!m_saveFile->open(WriteOnly | Unbuffered)) {
            reason = m_saveFile->errorString();
            m_saveFile.reset();
            return fail(reason);
        }
        m_kind = Kind::Replace;
        return QIODevice::open(mode);
    }

    // In place: a device or a FIFO, waiting for its reader as a shell
    // redirection does, or a file whose folder is locked.
    m_descriptor = openForWriting(QFile::encodeName(m_path));
    if (m_descriptor < 0) {
        return failWithErrno(errno);
    }
    m_kind = kind;
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

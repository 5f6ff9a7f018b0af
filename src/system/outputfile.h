#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

class QSaveFile;

// The one way Korvane writes a file the user named, whatever writes into it
// (QTextStream, QImageWriter, raw writes):
// - "-" is the standard output;
// - an existing target that is not a regular file (a device, a FIFO,
//   /dev/stdout, also through a symbolic link) is refused, unless special
//   files are to be written in place, as a shell redirection would, never
//   replaced;
// - a regular or new file is replaced only when the whole new content is on
//   disk, through a temporary file beside it; where that folder is not writable
//   but the file is, it is written in place instead.
// Every write is checked. The first failure is kept and reported by commit(),
// and later writes are dropped while still reported as done, so that encoders
// finish quietly instead of printing their own warnings. errorString() gives
// the system's reason ("No space left on device").
class OutputFile : public QIODevice
{
    Q_OBJECT

public:
    explicit OutputFile(const QString& path, QObject* parent = nullptr);
    ~OutputFile() override;

    // Where "-" writes; the standard output's descriptor unless set.
    void setStandardOutputDescriptor(int descriptor);

    // Why the file cannot be written, found without writing or creating
    // anything: a missing or read-only folder, a folder named as the file, a
    // read-only file, a closed standard output, a special file refused. Empty
    // when open() may succeed.
    QString unwritableReason() const;

    // Only WriteOnly, with Text if wanted.
    bool open(OpenMode mode) override;
    void close() override;
    bool isSequential() const override;
    bool seek(qint64 position) override;

    // Finishes the file: true when every byte written reached it. On failure a
    // replaced file keeps its old content; a file written in place may be
    // incomplete, and errorString() says so.
    bool commit();
    // Gives up: a replaced file keeps its old content.
    void cancelWriting();

    QString path() const;
    // True once a write or the opening failed; later writes are dropped.
    bool hasFailed() const;
    // True when the last failure may have left the target partly written.
    bool mayBeIncomplete() const;

    static bool isStandardOutput(const QString& path);

    // Writes text whole, in UTF-8; on failure error names the path and the reason.
    static bool writeText(const QString& path, const QString& text, QString& error);
    // Writes bytes whole, as they are; on failure error names the path and the reason.
    static bool writeBytes(const QString& path, const QByteArray& bytes, QString& error);

    // Special files (devices, FIFOs) are refused unless this is set: a
    // command-line tool writes them in place and waits for a FIFO's reader as
    // a shell redirection does, while a window must not freeze on a pipe
    // whose reader never comes or stops reading.
    static void setWriteSpecialFiles(bool write);

    // For main(), before anything else. A write to a pipe whose reader has
    // gone, or beyond the file size limit, then fails with EPIPE or EFBIG and
    // is reported as any other failure, instead of ending the program by a
    // signal. A standard descriptor left closed by the caller is held by the
    // null device, read-only, so that no file opened later takes its number
    // and receives what was meant for the standard output or error.
    static void protectProcess();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    enum class Kind { None, Replace, InPlace, Stream };

    // How the path would be written, or the reason it cannot be.
    Kind plan(QString* reason) const;

    bool fail(const QString& reason);
    bool failWithErrno(int error);
    void finish();

    QString m_path;
    Kind m_kind = Kind::None;
    std::unique_ptr<QSaveFile> m_saveFile;
    int m_descriptor = -1;
    int m_standardOutput;
    bool m_ownsDescriptor = false;
    bool m_failed = false;
    bool m_touched = false;
    bool m_mayBeIncomplete = false;
    qint64 m_end = 0;
};

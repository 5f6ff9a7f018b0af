#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

class QSaveFile;

// The one way Korvane writes a file the user named, whatever writes into it
// (QTextStream, QImageWriter, raw writes):
// - "-" is the standard output;
// - an existing target that is not a regular file (a device, a FIFO,
//   /dev/stdout, also through a symbolic link) is written in place, as a shell
//   redirection would, never replaced;
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
    // True when the last failure may have left the target partly written.
    bool mayBeIncomplete() const;

    static bool isStandardOutput(const QString& path);

    // Writes text whole, in text mode; on failure error names the path and the reason.
    static bool writeText(const QString& path, const QString& text, QString& error);

    // A FIFO with no reader fails at once unless this is set: a command-line
    // tool waits for the reader as a shell redirection does, while the window
    // must not freeze until one comes.
    static void setWaitForReaders(bool wait);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    enum class Kind { None, Replace, InPlace, Stream };

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

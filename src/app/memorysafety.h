#pragma once

#include "system/textfile.h"

#include <QCoreApplication>
#include <QString>

#include <new>

class WalkingTurtle;

// What keeps the window alive when memory runs short. The toolkit is not
// written for exceptions and the system may kill a process rather than refuse
// it memory, so sizes are checked before an operation where they are known,
// and an operation that is refused memory all the same ends with a message
// instead of ending Korvane.
class MemorySafety
{
    Q_DECLARE_TR_FUNCTIONS(MemorySafety)

public:
    enum FileKind { Script, Trace };

    // Empty when a file of this kind and size can be opened in the memory
    // left, else the message that says why it cannot.
    static QString refusal(FileKind kind, qint64 fileSize);

    // Runs operation; returns false when it was refused memory, after giving
    // what it had taken back to the system.
    template<typename Operation>
    static bool attempt(Operation&& operation)
    {
        try {
            operation();
            return true;
        } catch (const std::bad_alloc&) {
            releaseFreedMemory();
            return false;
        }
    }

    // The message for an operation that ran out of memory.
    static QString outOfMemory();

    // A script's text and how its file is written (see TextFile), and the
    // file's bytes. On failure, error names the path and the reason.
    static bool readScript(const QString& path, QString& text, TextFile::Format& format, QByteArray& bytes,
                           QString& error);
    // A trace file, read a piece at a time; unreadLines counts the non-empty
    // lines after an empty one. A file that is no trace is refused, error
    // saying which line is wrong.
    static bool readTrace(const QString& path, WalkingTurtle& turtle, qint64& unreadLines, QString& error);

private:
    static void releaseFreedMemory();
};

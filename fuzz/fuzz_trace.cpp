// Any bytes as a trace file, opened as the IDE's Open Image and the runner's
// --trace open it: read a piece at a time from the file. What that gives must
// equal a second, plainer reading (the whole file decoded by a text stream in
// text mode, then read as one string), down to the lines left unread after an
// empty line; and what it reads writes back to a text that reads the same.

#include "turtle/walkingturtle.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool sameTurtle(const WalkingTurtle& a, const WalkingTurtle& b)
{
    return a.toString() == b.toString() && a.x() == b.x() && a.y() == b.y() && a.isWriting() == b.isWriting()
        && a.angle() == b.angle();
}

// The non-empty lines after the first empty line of the points.
qint64 plainUnreadLines(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');
    int empty = 1;
    while (empty < lines.size() && !lines.at(empty).isEmpty()) {
        ++empty;
    }
    qint64 unread = 0;
    for (int i = empty + 1; i < lines.size(); ++i) {
        unread += lines.at(i).isEmpty() ? 0 : 1;
    }
    return unread;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir directory;
    static const QString path = directory.filePath(QStringLiteral("trace.res"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != qint64(size)) {
            fail("cannot write the trace file");
        }
    }

    WalkingTurtle plain;
    bool plainAccepted = true;
    QByteArray decoded;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            fail("cannot read the trace file");
        }
        decoded = QTextStream(&file).readAll().toLatin1();
        try {
            plain = WalkingTurtle::turtleFromString(decoded.toStdString());
        } catch (const std::invalid_argument&) {
            plainAccepted = false;
        }
    }

    // Traces are ASCII. Other bytes go through a text decoding whose handling of
    // broken sequences (one left unfinished at the end of the file, say) the two
    // readings need not share: for those only the round trip below is checked.
    const bool ascii = std::all_of(data, data + size, [](std::uint8_t byte) { return byte < 0x80; });

    WalkingTurtle streamed;
    qint64 unread = -1;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            fail("cannot read the trace file");
        }
        streamed = WalkingTurtle::readTrace(file, &unread);
    } catch (const std::invalid_argument&) {
        if (plainAccepted && ascii) {
            fail("the streaming reader refused a trace the plain reading accepts");
        }
        return 0;
    }
    if (ascii) {
        if (!plainAccepted) {
            fail("the streaming reader accepted a trace the plain reading refuses");
        }
        if (!sameTurtle(streamed, plain)) {
            fail("the streaming reader read another trace than the plain reading");
        }
        if (unread != plainUnreadLines(decoded)) {
            fail("the lines left unread are miscounted");
        }
    }

    const std::string written = streamed.toString();
    WalkingTurtle again;
    try {
        again = WalkingTurtle::turtleFromString(written);
    } catch (const std::invalid_argument&) {
        fail("a written trace was rejected");
    }
    if (again.toString() != written || !sameTurtle(again, streamed)) {
        fail("a written trace reads back differently");
    }
    return 0;
}

#include "walkingturtle.h"

#include <QIODevice>
#include <QTextStream>

#include <charconv>
#include <climits>
#include <cstring>
#include <stdexcept>

WalkingTurtle::WalkingTurtle() = default;

void WalkingTurtle::put(int x, int y)
{
    setPosition(x, y);
    record();
}

void WalkingTurtle::move(int distance)
{
    Turtle::move(distance);
    record();
}

void WalkingTurtle::rotate(double radians)
{
    Turtle::rotate(radians);
    record();
}

void WalkingTurtle::turn(double degrees)
{
    Turtle::turn(degrees);
    record();
}

void WalkingTurtle::setWrite(bool writing)
{
    // Putting the pen down records where the new run starts, pen still up.
    if (!isWriting() && writing) {
        m_trace.push_back(*this);
    }
    Turtle::setWrite(writing);
}

void WalkingTurtle::clearDrawing()
{
    Trace().swap(m_trace);
    if (isWriting()) {
        Turtle start = *this;
        start.setWrite(false);
        m_trace.push_back(start);
    }
}

void WalkingTurtle::truncate(std::size_t length, Trace* stash)
{
    while (m_trace.size() > length) {
        if (stash) {
            stash->push_back(m_trace.back());
        }
        m_trace.pop_back();
    }
}

void WalkingTurtle::unstash(Trace& stash, std::size_t count)
{
    for (; count > 0 && !stash.empty(); --count) {
        m_trace.push_back(stash.back());
        stash.pop_back();
    }
}

void WalkingTurtle::record()
{
    if (isWriting()) {
        m_trace.push_back(*this);
    }
}

namespace {

const char Header[] = "Tur=Res";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void appendInt(std::string& out, int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// Reads an int the way std::stoi does (leading blanks, optional sign, digits,
// anything after them ignored), fed one character at a time, since a field
// may be as long as the line.
class FieldReader
{
public:
    void restart()
    {
        m_state = Blanks;
        m_negative = false;
        m_value = 0;
    }

    void feed(char c)
    {
        switch (m_state) {
        case Blanks:
            if (isBlank(c)) {
                return;
            }
            if (c == '+' || c == '-') {
                m_negative = c == '-';
                m_state = Sign;
                return;
            }
            [[fallthrough]];
        case Sign:
            if (c < '0' || c > '9') {
                m_state = Invalid;
                return;
            }
            m_state = Digits;
            [[fallthrough]];
        case Digits:
            if (c < '0' || c > '9') {
                m_state = Done;
                return;
            }
            // Up to the magnitude of INT_MIN, in 64 bits so that no step can overflow.
            m_value = m_value * 10 + (c - '0');
            if (m_value > (m_negative ? -static_cast<long long>(INT_MIN) : INT_MAX)) {
                m_state = Invalid;
            }
            return;
        case Done:
        case Invalid:
            return;
        }
    }

    // Nothing more fed changes the outcome.
    bool settled() const { return m_state == Done || m_state == Invalid; }
    bool valid() const { return m_state == Digits || m_state == Done; }
    int value() const { return static_cast<int>(m_negative ? -m_value : m_value); }

private:
    enum State { Blanks, Sign, Digits, Done, Invalid };
    State m_state = Blanks;
    bool m_negative = false;
    long long m_value = 0;
};

// The one reader of the trace format: the lines of a text fed in pieces of
// any size, the points going to the trace as their lines end. A carriage
// return is a character of its line unless dropped, as a file read in text
// mode drops them.
class TraceParser
{
public:
    TraceParser(WalkingTurtle::Trace& trace, bool dropCarriageReturns)
        : m_trace(trace)
        , m_dropCarriageReturns(dropCarriageReturns)
    {
        startLine();
    }

    void feed(const char* begin, const char* end)
    {
        while (begin != end) {
            if (m_stage != PointLines || (m_part == AfterSecond && m_afterSecond.settled())) {
                begin = skimLine(begin, end);
                continue;
            }
            const char c = *begin++;
            if (c == '\n') {
                endLine();
            } else if (c != '\r' || !m_dropCarriageReturns) {
                feedPoint(c);
            }
        }
    }

    // A last line without its line break counts like any other. Returns the
    // number of non-empty lines left unread after the empty line that ended
    // the trace.
    qint64 finish()
    {
        if (m_stage == HeaderLine || !m_lineEmpty) {
            endLine();
        }
        return m_unreadLines;
    }

private:
    enum Stage { HeaderLine, PointLines, UnreadLines };
    enum Part { Token, AfterFirst, AfterSecond };

    void startLine()
    {
        m_lineEmpty = true;
        m_part = Token;
        m_tokenLength = 0;
        m_tokenIsY = false;
        m_whole.restart();
        m_afterFirst.restart();
        m_afterSecond.restart();
    }

    // Outside the points, and once the y number is read, only the line breaks
    // and whether a line is empty matter.
    const char* skimLine(const char* begin, const char* end)
    {
        for (; begin != end; ++begin) {
            const char c = *begin;
            if (c == '\n') {
                endLine();
                return begin + 1;
            }
            if (c == '\r' && m_dropCarriageReturns) {
                continue;
            }
            m_lineEmpty = false;
            if (m_stage == HeaderLine) {
                m_headerMatches = m_headerMatches && m_headerLength < sizeof Header - 1 && Header[m_headerLength] == c;
                ++m_headerLength;
            }
            if (m_stage != HeaderLine || !m_headerMatches) {
                // The rest of the line changes nothing: on to its end.
                const void* lineBreak = std::memchr(begin, '\n', static_cast<std::size_t>(end - begin));
                begin = lineBreak ? static_cast<const char*>(lineBreak) - 1 : end - 1;
            }
        }
        return end;
    }

    void feedPoint(char c)
    {
        m_lineEmpty = false;
        switch (m_part) {
        case Token:
            m_whole.feed(c);
            if (c == ' ') {
                m_part = AfterFirst;
            } else {
                m_tokenIsY = m_tokenLength == 0 && c == 'Y';
                ++m_tokenLength;
            }
            break;
        case AfterFirst:
            m_whole.feed(c);
            if (c == ' ') {
                m_part = AfterSecond;
            } else {
                m_afterFirst.feed(c);
            }
            break;
        case AfterSecond:
            m_afterSecond.feed(c);
            break;
        }
    }

    void endLine()
    {
        ++m_line;
        switch (m_stage) {
        case HeaderLine:
            if (!m_headerMatches || m_headerLength != sizeof Header - 1) {
                throw TraceFormatError(TraceFormatError::NoHeader, m_line);
            }
            m_stage = PointLines;
            break;
        case PointLines:
            if (m_lineEmpty) {
                m_stage = UnreadLines;
            } else {
                addPoint();
            }
            break;
        case UnreadLines:
            if (!m_lineEmpty) {
                ++m_unreadLines;
            }
            break;
        }
        startLine();
    }

    void addPoint()
    {
        // Split at the first two spaces: with one space, y is read from the
        // start of the line; with none, x is too.
        const FieldReader& x = m_part == Token ? m_whole : m_afterFirst;
        const FieldReader& y = m_part == AfterSecond ? m_afterSecond : m_whole;
        if (!x.valid() || !y.valid()) {
            throw TraceFormatError(TraceFormatError::NoPoint, m_line);
        }
        m_trace.emplace_back(x.value(), y.value(), m_tokenIsY && m_tokenLength == 1);
    }

    WalkingTurtle::Trace& m_trace;
    const bool m_dropCarriageReturns;
    Stage m_stage = HeaderLine;
    std::size_t m_headerLength = 0;
    bool m_headerMatches = true;
    qint64 m_line = 0;
    qint64 m_unreadLines = 0;

    bool m_lineEmpty = true;
    Part m_part = Token;
    std::size_t m_tokenLength = 0;
    bool m_tokenIsY = false;
    FieldReader m_whole;
    FieldReader m_afterFirst;
    FieldReader m_afterSecond;
};

} // namespace

TraceFormatError::TraceFormatError(Reason reason, qint64 line)
    : std::invalid_argument("Error: invalid argument src at call of WalkingTurtle::turtleFromString function.")
    , m_reason(reason)
    , m_line(line)
{
}

WalkingTurtle WalkingTurtle::turtleFromString(const std::string& src)
{
    WalkingTurtle turtle;
    TraceParser parser(turtle.m_trace, false);
    parser.feed(src.data(), src.data() + src.size());
    parser.finish();
    turtle.takeLastSnapshot();
    return turtle;
}

WalkingTurtle WalkingTurtle::readTrace(QIODevice& device, qint64* unreadLines)
{
    WalkingTurtle turtle;
    TraceParser parser(turtle.m_trace, true);

    const QByteArray start = device.peek(4);
    const auto startsWith = [&start](const char* mark, int size) {
        return start.size() >= size && std::memcmp(start.constData(), mark, static_cast<std::size_t>(size)) == 0;
    };
    if (startsWith("\xEF\xBB\xBF", 3)) {
        device.skip(3);
    } else if (startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2) || startsWith("\0\0\xFE\xFF", 4)) {
        // UTF-16 and UTF-32 text, decoded as the text stream of a file read in
        // text mode always did: rare enough to be held whole.
        QByteArray bytes = device.readAll();
        bytes.replace('\r', QByteArray());
        const QByteArray text = QTextStream(bytes).readAll().toLatin1();
        parser.feed(text.constData(), text.constData() + text.size());
    }

    constexpr qint64 ChunkSize = 64 * 1024;
    std::string chunk(ChunkSize, '\0');
    for (;;) {
        const qint64 count = device.read(&chunk[0], ChunkSize);
        if (count < 0) {
            throw std::runtime_error(device.errorString().toStdString());
        }
        // A piece of carriage returns alone reads as nothing in text mode.
        if (count == 0 && (device.atEnd() || device.isSequential())) {
            break;
        }
        parser.feed(chunk.data(), chunk.data() + count);
    }

    const qint64 unread = parser.finish();
    if (unreadLines) {
        *unreadLines = unread;
    }
    turtle.takeLastSnapshot();
    return turtle;
}

void WalkingTurtle::takeLastSnapshot()
{
    if (!m_trace.empty()) {
        static_cast<Turtle&>(*this) = m_trace.back();
    }
}

std::string WalkingTurtle::toString() const
{
    std::string out;
    // "N -2147483648 -2147483648\n" is the longest line.
    out.reserve(sizeof Header + m_trace.size() * 16);
    out += Header;
    out += '\n';
    for (const Turtle& snapshot : m_trace) {
        out += snapshot.isWriting() ? 'Y' : 'N';
        out += ' ';
        appendInt(out, snapshot.x());
        out += ' ';
        appendInt(out, snapshot.y());
        out += '\n';
    }
    return out;
}

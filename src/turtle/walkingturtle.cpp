#include "walkingturtle.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <stdexcept>
#include <string_view>

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
const char InvalidTrace[] = "Error: invalid argument src at call of WalkingTurtle::turtleFromString function.";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads an int the way std::stoi does (leading blanks, optional sign, digits,
// anything after them ignored) but within [begin, end) only, since the next
// line of the text must not be taken for the rest of this field.
int parseField(const char* begin, const char* end)
{
    while (begin != end && isBlank(*begin)) {
        ++begin;
    }
    bool negative = false;
    if (begin != end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    if (begin == end || *begin < '0' || *begin > '9') {
        throw std::invalid_argument(InvalidTrace);
    }
    // The magnitude of INT_MIN, in 64 bits so that no step can overflow.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; begin != end && *begin >= '0' && *begin <= '9'; ++begin) {
        value = value * 10 + (*begin - '0');
        if (value > limit) {
            throw std::invalid_argument(InvalidTrace);
        }
    }
    return static_cast<int>(negative ? -value : value);
}

void appendInt(std::string& out, int value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

} // namespace

WalkingTurtle WalkingTurtle::turtleFromString(const std::string& src)
{
    WalkingTurtle turtle;

    const char* const text = src.data();
    const char* const textEnd = text + src.size();
    const char* lineEnd = std::find(text, textEnd, '\n');
    if (std::string_view(text, lineEnd - text) != Header) {
        throw std::invalid_argument(InvalidTrace);
    }

    // A last line without its line break counts like any other; an empty line
    // ends the trace.
    for (const char* line = lineEnd; line != textEnd;) {
        ++line;
        lineEnd = std::find(line, textEnd, '\n');
        if (line == lineEnd) {
            break;
        }
        const char* const firstSpace = std::find(line, lineEnd, ' ');
        const char* const secondSpace = firstSpace == lineEnd ? lineEnd : std::find(firstSpace + 1, lineEnd, ' ');

        const char* xBegin = line;
        const char* xEnd = lineEnd;
        const char* yBegin = line;
        if (firstSpace != lineEnd) {
            xBegin = firstSpace + 1;
            if (secondSpace != lineEnd) {
                xEnd = secondSpace;
                yBegin = secondSpace + 1;
            }
        }
        const int x = parseField(xBegin, xEnd);
        const int y = parseField(yBegin, lineEnd);
        const bool writing = std::string_view(line, firstSpace - line) == "Y";
        turtle.m_trace.emplace_back(x, y, writing);
        line = lineEnd;
    }

    if (!turtle.m_trace.empty()) {
        static_cast<Turtle&>(turtle) = turtle.m_trace.back();
    }
    return turtle;
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

#pragma once

#include "turtle.h"

#include <QtGlobal>

#include <deque>
#include <stdexcept>
#include <string>

class QIODevice;

// Thrown when a text is no trace. what() is the message the reader has always
// given; reason() and line() say what is wrong and where, line 1 being the
// header.
class TraceFormatError : public std::invalid_argument
{
public:
    enum Reason {
        // The first line is not "Tur=Res".
        NoHeader,
        // A line gives no x and y: no leading digits, or outside the int range.
        NoPoint,
    };

    TraceFormatError(Reason reason, qint64 line);

    Reason reason() const { return m_reason; }
    qint64 line() const { return m_line; }

private:
    Reason m_reason;
    qint64 m_line;
};

// The turtle that scripts, the keyboard and the window steer: the current state
// plus the trace of snapshots. While the pen is down every change is recorded,
// so the last snapshot always equals the current state. A pen-up snapshot starts
// a new run of the drawing; a pen-down one extends the current run.
class WalkingTurtle : public Turtle
{
public:
    // Only ever appended to at the back and read in order. A deque keeps a
    // snapshot in 32 bytes where a list node would take 64: a million-segment
    // drawing is two million snapshots.
    using Trace = std::deque<Turtle>;

    WalkingTurtle();

    // Trace file text ("Tur=Res" header, one "Y|N x y" line per snapshot).
    // turtleFromString throws TraceFormatError when the text is rejected.
    static WalkingTurtle turtleFromString(const std::string& src);
    // Reads a trace file from a device open for reading, with the reader of
    // turtleFromString, as the text Korvane has always made of such a file
    // (carriage returns dropped, a byte order mark skipped, every other byte
    // one character), a piece at a time: the text after the y number may be
    // of any length. unreadLines, when given, receives the number of
    // non-empty lines after the empty line that ended the trace. Throws
    // TraceFormatError as turtleFromString does, and std::runtime_error when
    // the device fails.
    static WalkingTurtle readTrace(QIODevice& device, qint64* unreadLines = nullptr);
    std::string toString() const;

    void put(int x, int y);
    void move(int distance);
    void rotate(double radians);
    void turn(double degrees);
    void setWrite(bool writing);

    // Drops the drawing but leaves the turtle where it stands, its pen as it
    // is: a pen that is down starts a new run of the drawing there.
    void clearDrawing();

    const Trace& trace() const { return m_trace; }
    // For going back to an earlier step and forward again; the current state
    // is left as it is. truncate drops the snapshots from length on, or
    // pushes them onto stash, the last one first; unstash takes count of them
    // back off the stash, in their order.
    void truncate(std::size_t length, Trace* stash = nullptr);
    void unstash(Trace& stash, std::size_t count);

private:
    void record();
    // The current state becomes the last snapshot read, if any.
    void takeLastSnapshot();

    Trace m_trace;
};

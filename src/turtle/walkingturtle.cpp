#include "walkingturtle.h"

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

void WalkingTurtle::record()
{
    if (isWriting()) {
        m_trace.push_back(*this);
    }
}

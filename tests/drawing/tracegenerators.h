#pragma once

#include "turtle/walkingturtle.h"

#include <cstddef>

// The traces the drawing's tests and benchmarks are measured on.
namespace TraceGenerators {

// Short steps (2 to 9 units), each a move and a 7 degree turn (two snapshots),
// as a script loop draws them: rings drawn over and over, many small segments.
inline WalkingTurtle rings(int snapshots)
{
    WalkingTurtle turtle;
    turtle.setWrite(true);
    for (int i = 1; turtle.trace().size() < std::size_t(snapshots); ++i) {
        turtle.move(2 + (i / 400) % 8);
        turtle.turn(7.0);
    }
    return turtle;
}

// Long chords across the view, with a pen lift every hundred moves: fewer,
// longer segments, so the cost is in pixels rather than in points.
inline WalkingTurtle star(int snapshots)
{
    WalkingTurtle turtle;
    turtle.put(-300, 0);
    turtle.setWrite(true);
    for (int i = 1; turtle.trace().size() < std::size_t(snapshots); ++i) {
        turtle.move(600);
        turtle.turn(179.3);
        if (i % 100 == 0) {
            turtle.setWrite(false);
            turtle.setWrite(true);
        }
    }
    return turtle;
}

// The same chords about the origin, in the middle of the sheet: a zoom about
// the centre shows their densest part.
inline WalkingTurtle chords(int snapshots)
{
    WalkingTurtle turtle;
    turtle.put(300, 0);
    turtle.setWrite(true);
    for (int i = 1; turtle.trace().size() < std::size_t(snapshots); ++i) {
        turtle.move(600);
        turtle.turn(179.3);
        if (i % 100 == 0) {
            turtle.setWrite(false);
            turtle.setWrite(true);
        }
    }
    return turtle;
}

} // namespace TraceGenerators

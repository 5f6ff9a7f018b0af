// Any text given to the trace reader: it is rejected with invalid_argument or
// read, and what it reads writes back to a text that reads the same.

#include "turtle/walkingturtle.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string src(reinterpret_cast<const char*>(data), size);
    WalkingTurtle turtle;
    try {
        turtle = WalkingTurtle::turtleFromString(src);
    } catch (const std::invalid_argument&) {
        return 0;
    }

    const std::string written = turtle.toString();
    WalkingTurtle again;
    try {
        again = WalkingTurtle::turtleFromString(written);
    } catch (const std::invalid_argument&) {
        std::fprintf(stderr, "a written trace was rejected\n");
        std::abort();
    }
    if (again.toString() != written || again.trace().size() != turtle.trace().size()
        || again.x() != turtle.x() || again.y() != turtle.y() || again.isWriting() != turtle.isWriting()) {
        std::fprintf(stderr, "a written trace reads back differently\n");
        std::abort();
    }
    return 0;
}

#include "turtle.h"

#include <climits>
#include <cmath>

Turtle::Turtle()
    : Turtle(0, 0, Pi, false)
{
}

Turtle::Turtle(int x, int y, bool writing)
    : Turtle(x, y, Pi, writing)
{
}

Turtle::Turtle(int x, int y, double angle, bool writing)
    : m_x(x)
    , m_y(y)
    , m_angle(angle)
    , m_writing(writing)
{
}

void Turtle::setPosition(int x, int y)
{
    m_x = x;
    m_y = y;
}

void Turtle::move(int distance)
{
    const double d = distance;
    m_x = m_x + std::cos(m_angle) * d;
    m_y = m_y + std::sin(m_angle) * d;
}

void Turtle::rotate(double radians)
{
    m_angle = m_angle + radians;
}

void Turtle::turn(double degrees)
{
    // Divide first, then multiply: the order fixes the last bit of the heading.
    rotate(degrees / 180.0 * Pi);
}

void Turtle::setWrite(bool writing)
{
    m_writing = writing;
}

int Turtle::truncated(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    // A cast of a double outside the int range is undefined: clamp first.
    if (value <= static_cast<double>(INT_MIN) - 1.0) {
        return INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX) + 1.0) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

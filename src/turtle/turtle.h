#pragma once

// One state of the turtle: where it stands, where it heads and whether its pen
// is down. The heading is in radians, counter-clockwise from +x, in a y-up plane.
class Turtle
{
public:
    static constexpr double Pi = 3.141592653589793;

    Turtle();
    Turtle(int x, int y, bool writing);
    Turtle(int x, int y, double angle, bool writing);

    void setPosition(int x, int y);
    void move(int distance);
    void rotate(double radians);
    void turn(double degrees);
    void setWrite(bool writing);

    // Positions truncated toward zero, clamped to the int range.
    int x() const { return truncated(m_x); }
    int y() const { return truncated(m_y); }
    double angle() const { return m_angle; }
    bool isWriting() const { return m_writing; }

    // The untruncated position, for reports that must keep every bit.
    double exactX() const { return m_x; }
    double exactY() const { return m_y; }

    static int truncated(double value);

private:
    double m_x;
    double m_y;
    double m_angle;
    bool m_writing;
};

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QTimer>

// Moves the turtle marker smoothly from one pose to the next over the
// interval of a slow animation step, so that the learner sees the turtle walk
// and turn instead of jumping. Positions are the painter's (turtle x, -y).
class MarkerGlide : public QObject
{
    Q_OBJECT

public:
    struct Pose
    {
        QPointF position;
        double angle = 0;

        bool operator==(const Pose& other) const { return position == other.position && angle == other.angle; }
        bool operator!=(const Pose& other) const { return !(*this == other); }
    };

    explicit MarkerGlide(QObject* parent = nullptr);

    // 0 turns gliding off and ends the glide going on.
    void setDuration(int ms);
    int duration() const { return m_duration; }

    // Glides from `from` to `to`; at once to `to` when gliding is off.
    void start(const Pose& from, const Pose& to);
    // Ends the glide going on, the marker at its target.
    void finish();

    bool isActive() const { return m_active; }
    // 0 to 1 along the glide going on; 1 when none.
    double progress() const;
    // Where the marker is shown now.
    Pose pose() const;
    Pose target() const { return m_to; }

signals:
    // The marker moved: the area repaints.
    void moved();
    // The glide reached its target or was ended.
    void finished();

private:
    void frame();

    int m_duration = 0;
    bool m_active = false;
    Pose m_from;
    Pose m_to;
    QElapsedTimer m_clock;
    QTimer m_frames;
};

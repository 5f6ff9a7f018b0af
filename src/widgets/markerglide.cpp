#include "markerglide.h"

#include <algorithm>
#include <cmath>

namespace {

// About sixty frames a second.
constexpr int FrameMs = 16;

} // namespace

MarkerGlide::MarkerGlide(QObject* parent)
    : QObject(parent)
{
    m_frames.setInterval(FrameMs);
    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, &MarkerGlide::frame);
}

void MarkerGlide::setDuration(int ms)
{
    m_duration = std::max(0, ms);
    if (m_duration == 0) {
        finish();
    }
}

void MarkerGlide::start(const Pose& from, const Pose& to)
{
    m_from = from;
    m_to = to;
    if (m_duration == 0 || from == to) {
        finish();
        return;
    }
    m_active = true;
    m_clock.start();
    m_frames.start();
    emit moved();
}

void MarkerGlide::finish()
{
    m_frames.stop();
    if (!m_active) {
        return;
    }
    m_active = false;
    emit moved();
    emit finished();
}

double MarkerGlide::progress() const
{
    if (!m_active) {
        return 1;
    }
    return std::min(1.0, double(m_clock.elapsed()) / m_duration);
}

MarkerGlide::Pose MarkerGlide::pose() const
{
    const double t = progress();
    if (t >= 1) {
        return m_to;
    }
    // Turns go the shorter way round.
    double turn = std::remainder(m_to.angle - m_from.angle, 2 * M_PI);
    Pose pose;
    pose.position = m_from.position + t * (m_to.position - m_from.position);
    pose.angle = m_from.angle + t * turn;
    return pose;
}

void MarkerGlide::frame()
{
    if (progress() >= 1) {
        finish();
    } else {
        emit moved();
    }
}

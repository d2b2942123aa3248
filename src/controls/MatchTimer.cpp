#include "controls/MatchTimer.h"

#include <QElapsedTimer>

MatchTimer::MatchTimer(QObject *parent)
    : QObject(parent)
    , m_clock(systemClock())
{ }

MatchTimer::Clock MatchTimer::systemClock()
{
    return [] {
        // One shared origin: every timer reads the same monotonic clock.
        static const QElapsedTimer origin = [] {
            QElapsedTimer timer;
            timer.start();
            return timer;
        }();
        return origin.nsecsElapsed();
    };
}

void MatchTimer::setClock(Clock clock)
{
    const TimeValue now = Seconds();
    m_clock = std::move(clock);
    m_base = now;
    m_startNs = m_clock();
    emit Changed();
}

qint64 MatchTimer::elapsedTicks() const
{
    constexpr qint64 nsPerTick = 1'000'000'000 / TimeValue::TicksPerSecond;
    return (m_clock() - m_startNs) / nsPerTick;
}

TimeValue MatchTimer::Seconds() const
{
    if (!m_running)
        return m_base;
    const qint64 elapsed = elapsedTicks();
    return TimeValue::fromTicks(m_direction == Up ? m_base.ticks() + elapsed : m_base.ticks() - elapsed);
}

void MatchTimer::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_base = Seconds();
    m_startNs = m_clock();
    m_running = running;
    emit Changed();
}

void MatchTimer::setSeconds(TimeValue value)
{
    const bool same = !m_running && value == m_base;
    m_base = value;
    m_startNs = m_clock();
    if (!same)
        emit Changed();
}

void MatchTimer::setCountDirection(qint32 direction)
{
    if (m_direction == direction)
        return;
    m_base = Seconds();
    m_startNs = m_clock();
    m_direction = direction;
    emit Changed();
}

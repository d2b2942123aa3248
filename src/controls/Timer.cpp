#include "controls/Timer.h"

#include "controls/MatchTimer.h"

#include <algorithm>

Timer::Timer(QObject *parent)
    : QObject(parent)
    , m_clock(MatchTimer::systemClock())
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Timer::tickIfDue);
}

void Timer::setInterval(qint32 ms)
{
    m_interval = std::max(ms, 0);
    if (active())
        start();
}

void Timer::setEnabled(bool enabled)
{
    const bool was = active();
    m_enabled = enabled;
    if (!was && active())
        start();
    else if (!active())
        m_timer.stop();
}

void Timer::setSleeping(bool sleeping)
{
    if (sleeping) {
        m_sleeping = true;
        m_timer.stop();
    } else {
        wake();
    }
}

void Timer::wake()
{
    if (m_sleeping) {
        m_sleeping = false;
        if (m_enabled)
            start();
        return;
    }
    if (!m_enabled || m_interval <= 0)
        return;
    // A running grid keeps its phase: the next grid point strictly after now.
    const qint64 passed = (m_clock() - m_lastNs) / intervalNs();
    const qint64 next = m_lastNs + (std::max<qint64>(passed, 0) + 1) * intervalNs();
    if (next < m_nextNs) {
        m_nextNs = next;
        arm();
    }
}

void Timer::setTicksToNext(qint64 ticks)
{
    m_nextNs = m_lastNs + std::max<qint64>(ticks, 1) * intervalNs();
    arm();
}

qint64 Timer::TicksToNext() const
{
    return m_interval > 0 ? (m_nextNs - m_lastNs) / intervalNs() : 1;
}

void Timer::setClock(Clock clock)
{
    m_clock = std::move(clock);
    if (active())
        start();
}

void Timer::tickIfDue()
{
    if (!active())
        return;
    const qint64 now = m_clock();
    if (now < m_nextNs) {
        arm();
        return;
    }
    // A late wake-up (a busy machine) ticks once, on the latest grid point
    // passed, rather than catching up on the ticks it missed.
    m_lastNs = m_interval > 0 ? m_nextNs + (now - m_nextNs) / intervalNs() * intervalNs() : now;
    m_nextNs = m_lastNs + intervalNs();
    arm();
    emit Tick();
}

void Timer::start()
{
    m_lastNs = m_clock();
    m_nextNs = m_lastNs + intervalNs();
    arm();
}

void Timer::arm()
{
    if (!active())
        return;
    // Whole milliseconds, rounded up: a wake-up before the grid point would
    // only have to sleep again.
    const qint64 waitNs = std::max<qint64>(m_nextNs - m_clock(), 0);
    m_timer.start(std::chrono::milliseconds((waitNs + 999'999) / 1'000'000));
}

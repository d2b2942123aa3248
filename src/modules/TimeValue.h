#pragma once

#include <QtGlobal>

// Seconds as an exact fixed-point number with four decimal places, held as a
// signed count of ten-thousandths. Timers, the contest clock and the reset time
// all use it, so that no float ever decides what the clock shows.
class TimeValue
{
public:
    static constexpr qint64 TicksPerSecond = 10000;

    constexpr TimeValue() = default;
    static constexpr TimeValue fromTicks(qint64 ticks) { return TimeValue(ticks); }
    static constexpr TimeValue fromSeconds(qint64 seconds) { return TimeValue(seconds * TicksPerSecond); }

    constexpr qint64 ticks() const { return m_ticks; }
    double toDouble() const { return double(m_ticks) / TicksPerSecond; }

    constexpr TimeValue operator+(TimeValue other) const { return TimeValue(m_ticks + other.m_ticks); }
    constexpr TimeValue operator-(TimeValue other) const { return TimeValue(m_ticks - other.m_ticks); }
    constexpr auto operator<=>(const TimeValue &) const = default;

private:
    constexpr explicit TimeValue(qint64 ticks)
        : m_ticks(ticks)
    { }
    qint64 m_ticks = 0;
};

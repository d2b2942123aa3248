#pragma once

#include "modules/TimeValue.h"

#include <QObject>

#include <functional>

// Keeps a running time for the board, which polls it on its own tick. The
// time comes from a monotonic clock, so a change of the system clock in
// mid-contest moves nothing; tests hand in a clock of their own.
class MatchTimer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "MatchTimer")
    Q_PROPERTY(bool Running READ Running WRITE setRunning)
    Q_PROPERTY(qint64 Seconds READ SecondsTicks WRITE setSecondsTicks)
    Q_PROPERTY(qint32 CountDirection READ CountDirection WRITE setCountDirection)

public:
    enum Direction { Down = 0, Up = 1 };
    // Monotonic nanoseconds.
    using Clock = std::function<qint64()>;

    explicit MatchTimer(QObject *parent = nullptr);

    bool Running() const { return m_running; }
    TimeValue Seconds() const;
    qint32 CountDirection() const { return m_direction; }

    // Starting runs on from the current time, stopping freezes it; setting
    // the value it already has changes nothing.
    void setRunning(bool running);
    // Replaces the time at once; a running timer goes on from the new value.
    void setSeconds(TimeValue value);
    void setCountDirection(qint32 direction);

    qint64 SecondsTicks() const { return Seconds().ticks(); }
    void setSecondsTicks(qint64 ticks) { setSeconds(TimeValue::fromTicks(ticks)); }

    void setClock(Clock clock);
    static Clock systemClock();

signals:
    // Running, Seconds or the direction was written with a new value; a
    // running time advancing by itself raises nothing.
    void Changed();

private:
    qint64 elapsedTicks() const;

    Clock m_clock;
    TimeValue m_base; // the time when last started, set or stopped
    qint64 m_startNs = 0; // clock reading at that moment
    qint32 m_direction = Down;
    bool m_running = false;
};

#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// A window's periodic tick, listed among its controls like the others. Its
// ticks fall on a grid of Interval from the moment it was started or woken.
// Its window may put it to sleep while no tick could change anything, or let
// it pass over grid points whose ticks would change nothing; it stays
// Enabled either way, and a wake brings the next tick back to the next grid
// point.
class Timer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Timer")
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)

public:
    // Monotonic nanoseconds.
    using Clock = std::function<qint64()>;

    explicit Timer(QObject *parent = nullptr);

    qint32 Interval() const { return m_interval; }
    bool Enabled() const { return m_enabled; }
    bool Sleeping() const { return m_sleeping; }
    void setInterval(qint32 ms);
    void setEnabled(bool enabled);
    void setSleeping(bool sleeping);
    // Awake, with the next tick no later than the next grid point.
    void wake();

    // Called from a tick: the next one comes this many grid points after it
    // (1 is the next one), unless a wake brings it forward.
    void setTicksToNext(qint64 ticks);
    // Grid points from the last tick to the next one.
    qint64 TicksToNext() const;

    void setClock(Clock clock);
    // Ticks if the clock has reached the next tick. The timer's own wake-up
    // calls it; tests call it after moving their clock on.
    void tickIfDue();

signals:
    void Tick();

private:
    bool active() const { return m_enabled && !m_sleeping; }
    qint64 intervalNs() const { return qint64(m_interval) * 1'000'000; }
    void start();
    void arm();

    Clock m_clock;
    QTimer m_timer;
    qint64 m_lastNs = 0; // the grid point of the last tick, or of the start
    qint64 m_nextNs = 0; // the grid point of the next tick
    qint32 m_interval = 0;
    bool m_enabled = false;
    bool m_sleeping = false;
};

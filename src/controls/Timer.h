#pragma once

#include <QObject>
#include <QTimer>

// A window's periodic tick, listed among its controls like the others.
// An enabled timer may be put to sleep by its window while its ticks could
// change nothing; it stays Enabled, and ticks again from its wake-up on.
class Timer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Timer")
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)

public:
    explicit Timer(QObject *parent = nullptr)
        : QObject(parent)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Timer::Tick);
    }

    qint32 Interval() const { return m_timer.interval(); }
    bool Enabled() const { return m_enabled; }
    bool Sleeping() const { return m_sleeping; }
    void setInterval(qint32 ms) { m_timer.setInterval(ms); }
    void setEnabled(bool enabled)
    {
        m_enabled = enabled;
        apply();
    }
    void setSleeping(bool sleeping)
    {
        if (m_sleeping == sleeping)
            return;
        m_sleeping = sleeping;
        apply();
    }

signals:
    void Tick();

private:
    // A running timer keeps its phase: waking an awake timer restarts nothing.
    void apply()
    {
        const bool active = m_enabled && !m_sleeping;
        if (active && !m_timer.isActive())
            m_timer.start();
        else if (!active)
            m_timer.stop();
    }

    QTimer m_timer;
    bool m_enabled = false;
    bool m_sleeping = false;
};

#pragma once

#include <QObject>
#include <QTimer>

// A window's periodic tick, listed among its controls like the others.
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
    bool Enabled() const { return m_timer.isActive(); }
    void setInterval(qint32 ms) { m_timer.setInterval(ms); }
    void setEnabled(bool enabled) { enabled ? m_timer.start() : m_timer.stop(); }

signals:
    void Tick();

private:
    QTimer m_timer;
};

#include "platform/MMControl.h"

#include "platform/MediaBackend.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <limits>

MMControl::MMControl(QObject *parent)
    : QObject(parent)
    , m_deadline(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &MMControl::checkDeadline);
    setClock({});
}

MMControl::~MMControl()
{
    // The backend may still signal while it is torn down; nobody listens now.
    if (m_backend) {
        m_backend->disconnect(this);
        if (m_open)
            m_backend->close();
    }
}

void MMControl::setFileName(const QString &fileName)
{
    m_fileName = fileName;
}

void MMControl::setCommand(const QString &command)
{
    m_command = command;
    if (command.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0)
        open();
    else if (command.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0)
        close();
    else if (command.compare(QLatin1String("Play"), Qt::CaseInsensitive) == 0)
        play();
    else if (command.compare(QLatin1String("Stop"), Qt::CaseInsensitive) == 0)
        stop();
    else if (command.compare(QLatin1String("Prev"), Qt::CaseInsensitive) == 0) {
        if (m_open)
            m_backend->rewind();
    }
}

void MMControl::setBackend(std::unique_ptr<MediaBackend> backend)
{
    close();
    if (m_backend)
        m_backend->disconnect(this);
    m_backend = std::move(backend);
    if (m_backend)
        connect(m_backend.get(), &MediaBackend::finished, this, &MMControl::backendFinished);
}

void MMControl::setClock(Clock clock)
{
    if (clock) {
        m_clock = std::move(clock);
        return;
    }
    m_clock = [timer = std::make_shared<QElapsedTimer>()] {
        if (!timer->isValid())
            timer->start();
        return timer->elapsed();
    };
}

void MMControl::open()
{
    close();
    m_open = m_backend && !m_fileName.isEmpty() && m_backend->open(m_fileName);
}

void MMControl::close()
{
    if (m_playing) {
        m_backend->stop();
        finishPlay(NotifyAborted);
    }
    if (m_open)
        m_backend->close();
    m_open = false;
}

void MMControl::play()
{
    if (m_playing) {
        m_backend->stop();
        finishPlay(NotifySuperseded);
    }
    m_playing = true;
    if (!m_open || !m_backend->play()) {
        finishPlay(NotifyFailure);
        return;
    }
    // The backend may have reported the end from inside play().
    if (!m_playing)
        return;
    const qint64 duration = m_backend->durationMs();
    armDeadline((duration >= 0 ? duration : UnknownDurationMs) + DoneMarginMs);
}

void MMControl::stop()
{
    if (m_open)
        m_backend->stop();
    finishPlay(NotifyAborted);
}

void MMControl::backendFinished()
{
    // A report after Done (the deadline came first, or the play was
    // stopped) belongs to a play that is already over.
    finishPlay(NotifySuccessful);
}

void MMControl::checkDeadline()
{
    if (!m_playing)
        return;
    const qint64 remaining = m_deadlineAt - m_clock();
    if (remaining > 0) {
        // The timer fired early, or the clock was moved back: wait on.
        m_deadline->start(static_cast<int>(std::min<qint64>(remaining, std::numeric_limits<int>::max())));
        return;
    }
    finishPlay(NotifySuccessful);
}

void MMControl::armDeadline(qint64 fromNowMs)
{
    m_deadlineAt = m_clock() + fromNowMs;
    m_deadline->start(static_cast<int>(std::min<qint64>(fromNowMs, std::numeric_limits<int>::max())));
}

void MMControl::finishPlay(NotifyCode code)
{
    if (!m_playing)
        return;
    m_playing = false;
    m_deadline->stop();
    // Queued, so that the board's Done handler, which writes commands of its
    // own, never runs inside one of our command writes.
    QMetaObject::invokeMethod(
        this, [this, code] { emit Done(code); }, Qt::QueuedConnection);
}

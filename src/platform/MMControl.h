#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class MediaBackend;
class QTimer;

// The board's media player, driven through two properties: FileName, and
// Command, to which the names "Open", "Close", "Play", "Stop" and "Prev"
// (rewind) are written. Done is raised exactly once for every "Play": when
// the sound ends, at the latest when the file's own duration and a
// margin have passed (an audio system may stop answering), and at
// once when the play cannot start. A "Stop", "Close" or "Open" during a play
// ends it, and its Done still comes. Done always arrives through the event
// loop, never from inside a Command write.
class MMControl : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "MMControl")
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QString Command READ Command WRITE setCommand)

public:
    // The argument of Done: how the play ended.
    enum NotifyCode : qint32 {
        NotifySuccessful = 1, // played to its end
        NotifySuperseded = 2, // a new "Play" replaced it
        NotifyAborted = 4, // stopped or closed
        NotifyFailure = 8, // could not start
    };
    Q_ENUM(NotifyCode)

    // Monotonic milliseconds.
    using Clock = std::function<qint64()>;

    explicit MMControl(QObject *parent = nullptr);
    ~MMControl() override;

    QString FileName() const { return m_fileName; }
    // Takes effect at the next "Open".
    void setFileName(const QString &fileName);

    // The last command written.
    QString Command() const { return m_command; }
    // Names are matched without regard to case; an unknown name does nothing.
    void setCommand(const QString &command);

    // Replaces the sound service; tests hand in one of their own. Without
    // one, every "Open" fails. A play in progress on the old one ends.
    void setBackend(std::unique_ptr<MediaBackend> backend);
    MediaBackend *backend() const { return m_backend.get(); }

    // How long after the file's duration Done is raised if the sound
    // service has not reported the end by then. The service reports it only
    // once the sound has been heard, and an audio output on a busy machine
    // may start late or stall for a while: cutting it short at this
    // deadline is for a service that has stopped answering, not for a slow one.
    static constexpr int DoneMarginMs = 3000;
    // The longest a play of unknown duration is waited for.
    static constexpr int UnknownDurationMs = 10000;

    // Tests hand in a clock of their own and call checkDeadline after
    // moving it, instead of waiting for the timer; an empty one puts the
    // monotonic system clock back.
    void setClock(Clock clock);
    // Ends the play if its deadline has passed; otherwise waits on.
    void checkDeadline();

    bool isOpen() const { return m_open; }
    bool isPlaying() const { return m_playing; }

signals:
    void Done(qint32 NotifyCode);

private:
    void open();
    void close();
    void play();
    void stop();
    void backendFinished();
    // Ends the current play, if any, and queues its Done.
    void finishPlay(NotifyCode code);
    void armDeadline(qint64 fromNowMs);

    std::unique_ptr<MediaBackend> m_backend;
    QTimer *m_deadline;
    Clock m_clock;
    qint64 m_deadlineAt = 0;
    QString m_fileName;
    QString m_command;
    bool m_open = false;
    bool m_playing = false;
};

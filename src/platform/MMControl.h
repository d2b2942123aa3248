#pragma once

#include <QObject>
#include <QString>

#include <memory>

class MediaBackend;
class QTimer;

// The board's media player, driven through two properties: FileName, and
// Command, to which the names "Open", "Close", "Play", "Stop" and "Prev"
// (rewind) are written. Done is raised exactly once for every "Play": when
// the sound ends, at the latest when the file's own duration and a small
// margin have passed (some audio systems never report the end), and at
// once when the play cannot start.
class MMControl : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "MMControl")
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QString Command READ Command WRITE setCommand)

public:
    explicit MMControl(QObject *parent = nullptr);
    ~MMControl() override;

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName);

    // The last command written.
    QString Command() const { return m_command; }
    void setCommand(const QString &command);

    // Replaces the sound service; tests hand in one of their own.
    void setBackend(std::unique_ptr<MediaBackend> backend);
    MediaBackend *backend() const { return m_backend.get(); }

    // How long after the file's duration Done is raised if the sound
    // service has not reported the end by then.
    static constexpr int DoneMarginMs = 500;

signals:
    void Done(qint32 NotifyCode);

private:
    void play();
    void finishPlay();

    std::unique_ptr<MediaBackend> m_backend;
    QTimer *m_deadline;
    QString m_fileName;
    QString m_command;
    bool m_playing = false;
};

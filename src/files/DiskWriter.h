#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QThread;

// Does the day's disk work on a thread of its own, so that a slow or stuck
// disk never holds the board: the saved contest (only the newest pending
// one is written), result lines (appended in the order given) and other
// jobs such as syncing the settings store. Failures are told on stderr
// and raised as failed().
class DiskWriter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DiskWriter)

public:
    enum class Work { Contest, Result, Other };
    Q_ENUM(Work)

    explicit DiskWriter(QObject *parent = nullptr);
    // Waits for what is pending as finish() does.
    ~DiskWriter() override;

    // Replaces any save not yet begun.
    void saveContest(const QString &path, const QByteArray &json);
    // Removes the saved contest once every save before it is done or dropped.
    void removeContest(const QString &path);
    void appendResult(const QString &path, const QByteArray &header, const QByteArray &line);
    // A job in line with the result lines; `what` names it in messages.
    void run(const QString &what, std::function<bool(QString *error)> job);

    // Waits at most timeoutMs for everything pending; what could not be
    // finished, one line each (empty when all was done). Later work is
    // refused once this has timed out.
    QStringList finish(int timeoutMs);
    // Waits until nothing is pending (tests).
    bool waitIdle(int timeoutMs);

    // Quit: finish(3000), then every unfinished piece told on stderr.
    void finishAtQuit();

signals:
    // Raised on the writer's thread; receivers on other threads get it
    // queued. The same save failing again for the same reason is told once.
    void failed(DiskWriter::Work work, const QString &what, const QString &reason);

private:
    struct Shared;
    void work();

    std::shared_ptr<Shared> m_shared;
    QThread *m_thread = nullptr;
};

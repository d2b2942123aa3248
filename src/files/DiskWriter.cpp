#include "files/DiskWriter.h"

#include "files/SafeFile.h"

#include <QFile>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>

namespace {

enum class Kind { SaveContest, RemoveContest, AppendResult, Run };

struct Job
{
    Kind kind;
    QString path; // or, for Run, what it is
    QByteArray data;
    QByteArray header;
    std::function<bool(QString *)> run;

    QString describe() const
    {
        switch (kind) {
        case Kind::SaveContest: return QStringLiteral("saving the contest to %1").arg(path);
        case Kind::RemoveContest: return QStringLiteral("removing the saved contest %1").arg(path);
        case Kind::AppendResult:
            // The line itself, so that it is not lost with the job.
            return QStringLiteral("the result line for %1: %2").arg(path, QString::fromUtf8(data).trimmed());
        case Kind::Run: return path;
        }
        return QString();
    }

    DiskWriter::Work work() const
    {
        return kind == Kind::AppendResult ? DiskWriter::Work::Result
               : kind == Kind::Run        ? DiskWriter::Work::Other
                                          : DiskWriter::Work::Contest;
    }

    bool perform(QString *error) const
    {
        switch (kind) {
        case Kind::SaveContest: return SafeFile::writeOwn(path, data, error);
        case Kind::RemoveContest:
            if (QFile::remove(path) || !QFile::exists(path))
                return true;
            *error = QStringLiteral("it could not be removed");
            return false;
        case Kind::AppendResult: return SafeFile::appendToOperatorFile(path, header, data, error);
        case Kind::Run: return run(error);
        }
        return false;
    }
};

void tell(const QString &line)
{
    std::fprintf(stderr, "Zembrak: %s\n", qPrintable(line));
    std::fflush(stderr);
}

} // namespace

struct DiskWriter::Shared
{
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    QString busy; // the job being done, described
    std::map<QString, QString> lastFailure; // by file: the reason last told
    bool stopping = false;
    bool abandoned = false;
    DiskWriter *owner = nullptr; // null once it no longer listens

    bool idle() const { return jobs.empty() && busy.isEmpty(); }
};

DiskWriter::DiskWriter(QObject *parent)
    : QObject(parent)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    std::shared_ptr<Shared> shared = m_shared;
    m_thread = QThread::create([shared] {
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->changed.wait(lock, [&] { return !shared->jobs.empty() || shared->stopping; });
            if (shared->jobs.empty())
                return;
            const Job job = std::move(shared->jobs.front());
            shared->jobs.pop_front();
            shared->busy = job.describe();
            lock.unlock();
            QString error;
            const bool done = job.perform(&error);
            lock.lock();
            shared->busy.clear();
            // A save that keeps failing the same way is told once, not every
            // few seconds; a result line is told each time, as it holds data.
            const bool once = job.kind != Kind::AppendResult;
            if (!done && !(once && shared->lastFailure[job.path] == error)) {
                tell(QStringLiteral("%1 failed: %2.").arg(job.describe(), error));
                if (shared->owner)
                    emit shared->owner->failed(job.work(), job.describe(), error);
            }
            if (once && done)
                shared->lastFailure.erase(job.path);
            else if (once)
                shared->lastFailure[job.path] = error;
            shared->changed.notify_all();
        }
    });
    m_thread->setObjectName(QStringLiteral("DiskWriter"));
    m_thread->start();
}

DiskWriter::~DiskWriter()
{
    finishAtQuit();
    if (!m_thread)
        return;
    // A thread left behind has nothing more to do once its job is over, and
    // ends; one still stuck in its job goes with the process.
    bool ending = false;
    {
        std::lock_guard lock(m_shared->mutex);
        ending = m_shared->busy.isEmpty();
    }
    if (ending) {
        m_thread->wait();
        delete m_thread;
    }
}

void DiskWriter::saveContest(const QString &path, const QByteArray &json)
{
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->stopping)
        return; // the quit has removed it, or is past waiting
    // Older saves not yet begun are dropped, back to a removal of the file,
    // which must still come first.
    auto &jobs = m_shared->jobs;
    for (auto it = jobs.end(); it != jobs.begin();) {
        --it;
        if (it->kind == Kind::RemoveContest && it->path == path)
            break;
        if (it->kind == Kind::SaveContest && it->path == path)
            it = jobs.erase(it);
    }
    jobs.push_back(Job {Kind::SaveContest, path, json, {}, {}});
    m_shared->changed.notify_all();
}

void DiskWriter::removeContest(const QString &path)
{
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->stopping)
        return;
    m_shared->jobs.push_back(Job {Kind::RemoveContest, path, {}, {}, {}});
    m_shared->changed.notify_all();
}

void DiskWriter::appendResult(const QString &path, const QByteArray &header, const QByteArray &line)
{
    std::lock_guard lock(m_shared->mutex);
    const Job job {Kind::AppendResult, path, line, header, {}};
    if (m_shared->stopping) {
        tell(QStringLiteral("not written, the program is closing: %1").arg(job.describe()));
        return;
    }
    m_shared->jobs.push_back(job);
    m_shared->changed.notify_all();
}

void DiskWriter::run(const QString &what, std::function<bool(QString *error)> job)
{
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->stopping) {
        tell(QStringLiteral("not done, the program is closing: %1").arg(what));
        return;
    }
    m_shared->jobs.push_back(Job {Kind::Run, what, {}, {}, std::move(job)});
    m_shared->changed.notify_all();
}

bool DiskWriter::waitIdle(int timeoutMs)
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->changed.wait_for(
        lock, std::chrono::milliseconds(timeoutMs), [this] { return m_shared->idle(); });
}

QStringList DiskWriter::finish(int timeoutMs)
{
    if (!m_thread || m_shared->abandoned)
        return {};
    QStringList unfinished;
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->stopping = true;
        m_shared->changed.notify_all();
        if (!m_shared->changed.wait_for(
                lock, std::chrono::milliseconds(timeoutMs), [this] { return m_shared->idle(); })) {
            if (!m_shared->busy.isEmpty())
                unfinished << m_shared->busy;
            for (const Job &job : m_shared->jobs)
                unfinished << job.describe();
            // The thread is left to end with the process: it may be stuck in
            // the kernel, and nothing it still does is reported.
            m_shared->jobs.clear();
            m_shared->abandoned = true;
            m_shared->owner = nullptr;
        }
    }
    if (m_shared->abandoned)
        return unfinished;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    return unfinished;
}

void DiskWriter::finishAtQuit()
{
    for (const QString &what : finish(3000))
        tell(QStringLiteral("not finished within 3 s at quit: %1.").arg(what));
}

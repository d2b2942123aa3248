#include "platform/TracedMediaBackend.h"

#include <QFile>

TracedMediaBackend::TracedMediaBackend(std::unique_ptr<MediaBackend> inner, const QString &traceFile)
    : m_inner(std::move(inner))
    , m_traceFile(traceFile)
{
    connect(m_inner.get(), &MediaBackend::finished, this, &MediaBackend::finished);
}

std::unique_ptr<MediaBackend> TracedMediaBackend::tracedIfAsked(std::unique_ptr<MediaBackend> backend)
{
    const QString traceFile = qEnvironmentVariable("ZEMBRAK_SOUND_TRACE");
    if (traceFile.isEmpty())
        return backend;
    return std::make_unique<TracedMediaBackend>(std::move(backend), traceFile);
}

void TracedMediaBackend::note(const char *request) const
{
    // Opened for each line, so that the file tells all even if the
    // program is killed.
    QFile file(m_traceFile);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(QByteArray(request) + '\n');
}

bool TracedMediaBackend::open(const QString &fileName)
{
    note("open");
    return m_inner->open(fileName);
}

void TracedMediaBackend::close()
{
    note("close");
    m_inner->close();
}

bool TracedMediaBackend::play()
{
    note("play");
    return m_inner->play();
}

void TracedMediaBackend::stop()
{
    note("stop");
    m_inner->stop();
}

void TracedMediaBackend::rewind()
{
    note("rewind");
    m_inner->rewind();
}

qint64 TracedMediaBackend::durationMs() const
{
    return m_inner->durationMs();
}

#pragma once

#include "platform/MediaBackend.h"

#include <memory>

// A sound service that passes every request on to another and writes one
// line per request ("open", "play", "stop"...) to a trace file, so that a
// test of the whole program can count what the buzzer was asked to do
// without listening to it. Chosen at run time by ZEMBRAK_SOUND_TRACE.
class TracedMediaBackend : public MediaBackend
{
    Q_OBJECT

public:
    TracedMediaBackend(std::unique_ptr<MediaBackend> inner, const QString &traceFile);

    // The backend as given, or traced when ZEMBRAK_SOUND_TRACE names a file.
    static std::unique_ptr<MediaBackend> tracedIfAsked(std::unique_ptr<MediaBackend> backend);

    bool open(const QString &fileName) override;
    void close() override;
    bool play() override;
    void stop() override;
    void rewind() override;
    qint64 durationMs() const override;

private:
    void note(const char *request) const;

    std::unique_ptr<MediaBackend> m_inner;
    QString m_traceFile;
};

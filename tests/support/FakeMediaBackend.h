#pragma once

#include "platform/MediaBackend.h"

#include <QStringList>

// A sound service that records what it was asked and finishes when told.
class FakeMediaBackend : public MediaBackend
{
    Q_OBJECT

public:
    using MediaBackend::MediaBackend;

    bool open(const QString &fileName) override
    {
        calls << QStringLiteral("open ") + fileName;
        return openSucceeds;
    }
    void close() override { calls << QStringLiteral("close"); }
    bool play() override
    {
        calls << QStringLiteral("play");
        return playSucceeds;
    }
    void stop() override { calls << QStringLiteral("stop"); }
    void rewind() override { calls << QStringLiteral("rewind"); }
    qint64 durationMs() const override { return duration; }

    void finish() { emit finished(); }

    QStringList calls;
    bool openSucceeds = true;
    bool playSucceeds = true;
    qint64 duration = 1200;
};

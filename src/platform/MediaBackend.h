#pragma once

#include <QObject>
#include <QString>

// The sound service behind the media player: opens one WAV file by path,
// plays it asynchronously, stops, rewinds and closes it.
class MediaBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False when the file cannot be opened.
    virtual bool open(const QString &fileName) = 0;
    virtual void close() = 0;
    // False when the play cannot start.
    virtual bool play() = 0;
    virtual void stop() = 0;
    virtual void rewind() = 0;
    // Length of the open file's sound in milliseconds, or -1 if unknown.
    virtual qint64 durationMs() const = 0;

signals:
    // The sound has played to its end.
    void finished();
};

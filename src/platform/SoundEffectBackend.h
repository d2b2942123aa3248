#pragma once

#include "platform/MediaBackend.h"

class QAudioSink;
class DecodedSound;

// Plays the buzzer's WAV file through Qt Multimedia's QAudioSink, decoded by
// libsndfile as it plays: every WAV variant sounds, a file cut short plays
// what it holds, and a long file is never read into memory whole.
class SoundEffectBackend : public MediaBackend
{
    Q_OBJECT

public:
    explicit SoundEffectBackend(QObject *parent = nullptr);
    ~SoundEffectBackend() override;

    // False for a missing file or one that holds no readable WAV sound.
    bool open(const QString &fileName) override;
    void close() override;
    // False when no audio output takes the sound.
    bool play() override;
    void stop() override;
    void rewind() override;
    qint64 durationMs() const override;

private:
    void sinkStateChanged();
    void endPlay();

    DecodedSound *m_sound = nullptr;
    QAudioSink *m_sink = nullptr;
    bool m_active = false; // a play of ours is under way
};

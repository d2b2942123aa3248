#pragma once

#include "platform/MediaBackend.h"

class QAudioSink;
class QTimer;
class DecodedSound;

// Plays the buzzer's WAV file through Qt Multimedia's QAudioSink, decoded by
// libsndfile as it plays: every WAV variant sounds, a file cut short plays
// what it holds, and a long file is never read into memory whole. A rate the
// audio device does not take is converted to one it does. The end of a play
// is reported only once the whole sound has been heard.
class SoundEffectBackend : public MediaBackend
{
    Q_OBJECT

public:
    explicit SoundEffectBackend(QObject *parent = nullptr);
    ~SoundEffectBackend() override;

    // False for a missing file, one that holds no readable WAV sound, and
    // one at a rate no audio device plays.
    bool open(const QString &fileName) override;
    void close() override;
    // False when no audio output takes the sound.
    bool play() override;
    void stop() override;
    void rewind() override;
    qint64 durationMs() const override;

    // How often a play looks whether its sound has been heard.
    static constexpr int PollMs = 20;

private:
    void sinkStateChanged();
    void checkPlayedOut();
    void endPlay();

    DecodedSound *m_sound = nullptr;
    QAudioSink *m_sink = nullptr;
    QTimer *m_poll = nullptr;
    bool m_active = false; // a play of ours is under way
};

#pragma once

#include "platform/MediaBackend.h"

#include <optional>

class QIODevice;
class QSoundEffect;

// Plays PCM WAV files through Qt Multimedia's QSoundEffect. QSoundEffect has
// no length and no position, so the length comes from the file's own header
// and every play starts at the beginning.
class SoundEffectBackend : public MediaBackend
{
    Q_OBJECT

public:
    // What the header of a playable WAV file says about its sound.
    struct WavFormat
    {
        quint16 channels = 0;
        quint32 sampleRate = 0;
        quint16 bitsPerSample = 0;
        // Sound bytes actually present: a data chunk that claims more than
        // the file holds counts only what is there.
        qint64 dataBytes = 0;

        qint64 durationMs() const;
    };

    // The format of a RIFF/WAVE file with integer or float PCM samples, or
    // nothing when the file is not one (or is cut short before its sound).
    static std::optional<WavFormat> readWavFormat(QIODevice &device);
    static std::optional<WavFormat> readWavFormat(const QString &fileName);

    explicit SoundEffectBackend(QObject *parent = nullptr);
    ~SoundEffectBackend() override;

    // False for a missing file or one that is no playable WAV.
    bool open(const QString &fileName) override;
    void close() override;
    // Before the sound has finished loading, the play starts once it has.
    bool play() override;
    void stop() override;
    // Nothing to do: every play starts at the beginning.
    void rewind() override;
    qint64 durationMs() const override;

    // Whether the sound is still being read in the background.
    bool isLoading() const;

private:
    void statusChanged();
    void playingChanged();
    void endPlay();

    QSoundEffect *m_effect = nullptr;
    qint64 m_durationMs = -1;
    bool m_open = false;
    bool m_pendingPlay = false; // play asked for while the sound still loads
    bool m_active = false; // a play of ours is under way
    bool m_started = false; // ...and the effect has been seen playing
};

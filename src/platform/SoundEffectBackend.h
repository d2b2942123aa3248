#pragma once

#include "platform/MediaBackend.h"

class QSoundEffect;

// Plays 16-bit PCM WAV files through Qt Multimedia's QSoundEffect.
class SoundEffectBackend : public MediaBackend
{
    Q_OBJECT

public:
    explicit SoundEffectBackend(QObject *parent = nullptr);
    ~SoundEffectBackend() override;

    bool open(const QString &fileName) override;
    void close() override;
    bool play() override;
    void stop() override;
    void rewind() override;
    qint64 durationMs() const override;

private:
    QSoundEffect *m_effect = nullptr;
    qint64 m_durationMs = -1;
};

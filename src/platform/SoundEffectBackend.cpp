#include "platform/SoundEffectBackend.h"

#include "platform/WavDecoder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// The open file's sound as a stream of 16-bit samples for the audio sink,
// followed by a little silence: the sink reports the end once it has taken
// the last byte, before that byte is heard, and stopping it then drops what
// it still holds. The silence is what gets dropped.
class DecodedSound : public QIODevice
{
public:
    WavDecoder decoder;

    int frameBytes() const { return 2 * decoder.channels(); }
    qint64 bytesPerSecond() const { return qint64(decoder.sampleRate()) * frameBytes(); }

    void restart(qint64 tailBytes)
    {
        decoder.rewind();
        m_tailLeft = tailBytes / frameBytes() * frameBytes();
        m_ended = false;
    }
    void lengthenTail(qint64 tailBytes)
    {
        m_tailLeft = std::max(m_tailLeft, tailBytes / frameBytes() * frameBytes());
    }
    // The sound and its silence have all been handed out.
    bool ended() const { return m_ended; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return QIODevice::bytesAvailable() + (m_ended ? 0 : qint64(frameBytes()) * 4096);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const int size = frameBytes();
        if (size == 0)
            return -1;
        const qint64 frames = maxSize / size;
        // Decoded aside: the sink's buffer need not be aligned for samples.
        m_samples.resize(std::size_t(frames) * std::size_t(decoder.channels()));
        qint64 bytes = decoder.read(m_samples.data(), frames) * size;
        std::memcpy(data, m_samples.data(), std::size_t(bytes));
        if (bytes < frames * size) {
            const qint64 silence = std::min(m_tailLeft, frames * size - bytes);
            std::memset(data + bytes, 0, std::size_t(silence));
            m_tailLeft -= silence;
            bytes += silence;
        }
        if (bytes == 0 && frames > 0)
            m_ended = true;
        return bytes;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::vector<qint16> m_samples;
    qint64 m_tailLeft = 0;
    bool m_ended = true;
};

SoundEffectBackend::SoundEffectBackend(QObject *parent)
    : MediaBackend(parent)
    , m_sound(new DecodedSound)
{
    m_sound->setParent(this);
}

SoundEffectBackend::~SoundEffectBackend()
{
    // The sink stops as it goes; that is no end of a play to report.
    m_active = false;
    if (m_sink)
        m_sink->disconnect(this);
}

bool SoundEffectBackend::open(const QString &fileName)
{
    close();
    if (!m_sound->decoder.open(fileName))
        return false;
    m_sound->open(QIODevice::ReadOnly);
    return true;
}

void SoundEffectBackend::close()
{
    stop();
    m_sound->close();
    m_sound->decoder.close();
}

bool SoundEffectBackend::play()
{
    if (!m_sound->decoder.isOpen())
        return false;
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(m_sound->decoder.sampleRate());
    format.setChannelCount(m_sound->decoder.channels());
    format.setSampleFormat(QAudioFormat::Int16);

    m_sound->restart(m_sound->bytesPerSecond() / 4);
    m_sink = new QAudioSink(device, format, this);
    connect(m_sink, &QAudioSink::stateChanged, this, &SoundEffectBackend::sinkStateChanged);
    m_active = true;
    m_sink->start(m_sound);
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        stop();
        return false;
    }
    // However much the sink holds back, the silence covers it.
    m_sound->lengthenTail(m_sink->bufferSize());
    return true;
}

void SoundEffectBackend::stop()
{
    // Cleared first, so that the sink's own stop is not taken for an end.
    m_active = false;
    if (QAudioSink *sink = std::exchange(m_sink, nullptr)) {
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
}

void SoundEffectBackend::rewind()
{
    m_sound->decoder.rewind();
}

qint64 SoundEffectBackend::durationMs() const
{
    return m_sound->decoder.isOpen() ? m_sound->decoder.durationMs() : -1;
}

void SoundEffectBackend::sinkStateChanged()
{
    if (!m_active || !m_sink)
        return;
    switch (m_sink->state()) {
    case QAudio::IdleState:
        // Idle before the end is an underrun; the sink goes on as data comes.
        if (m_sound->ended())
            endPlay();
        break;
    case QAudio::StoppedState:
        if (m_sink->error() != QAudio::NoError)
            endPlay();
        break;
    default: break;
    }
}

void SoundEffectBackend::endPlay()
{
    m_active = false;
    emit finished();
}

#include "platform/SoundEffectBackend.h"

#include "platform/RateConverter.h"
#include "platform/SoundCheck.h"
#include "platform/WavDecoder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// The open file's sound as a stream of 16-bit samples for the audio sink, at
// the rate the sink plays, between two silences. The first 50 ms: the
// first few milliseconds a new stream is given are not heard. The last at
// least as long as the sink's buffer: a sound shorter than the sink's
// start-up buffer would otherwise never start, and stopping the sink drops
// what it still holds, which must be silence only.
class DecodedSound : public QIODevice
{
public:
    WavDecoder decoder;

    int frameBytes() const { return 2 * decoder.channels(); }

    void restart(int outRate, qint64 tailBytes)
    {
        m_tailLeft = tailBytes / frameBytes() * frameBytes();
        m_leadFrames = outRate / 20;
        m_leadLeft = m_leadFrames * frameBytes();
        m_ended = false;
        decoder.rewind();
        m_outRate = outRate;
        m_converting = outRate != decoder.sampleRate();
        if (m_converting)
            m_converter.reset(decoder.sampleRate(), outRate, decoder.channels());
        m_soundFrames = 0;
        m_soundEnded = false;
    }

    void lengthenTail(qint64 tailBytes)
    {
        m_tailLeft = std::max(m_tailLeft, tailBytes / frameBytes() * frameBytes());
    }
    bool soundEnded() const { return m_soundEnded; }
    // The sound and its silence have all been handed out.
    bool ended() const { return m_ended; }
    // The sound and the silence before it.
    qint64 soundUs() const { return m_outRate > 0 ? (m_leadFrames + m_soundFrames) * 1000000 / m_outRate : 0; }

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
        if (m_leadLeft > 0 && frames > 0) {
            const qint64 lead = std::min(m_leadLeft, frames * size);
            std::memset(data, 0, std::size_t(lead));
            m_leadLeft -= lead;
            return lead;
        }
        qint64 got = 0;
        if (!m_soundEnded && frames > 0) {
            // Decoded aside: the sink's buffer need not be aligned for samples.
            m_samples.resize(std::size_t(frames) * std::size_t(decoder.channels()));
            got = m_converting ? m_converter.read(m_samples.data(), frames,
                                     [this](qint16 *samples, qint64 max) { return decoder.read(samples, max); })
                               : decoder.read(m_samples.data(), frames);
            std::memcpy(data, m_samples.data(), std::size_t(got * size));
            m_soundFrames += got;
            m_soundEnded = got < frames;
        }
        const qint64 silence = std::min(m_tailLeft, (frames - got) * size);
        std::memset(data + got * size, 0, std::size_t(silence));
        m_tailLeft -= silence;
        const qint64 bytes = got * size + silence;
        if (bytes == 0 && frames > 0)
            m_ended = true;
        return bytes;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::vector<qint16> m_samples;
    RateConverter m_converter;
    bool m_converting = false;
    int m_outRate = 0;
    qint64 m_soundFrames = 0;
    bool m_soundEnded = true;
    qint64 m_tailLeft = 0;
    qint64 m_leadFrames = 0;
    qint64 m_leadLeft = 0;
    bool m_ended = true;
};

SoundEffectBackend::SoundEffectBackend(QObject *parent)
    : MediaBackend(parent)
    , m_sound(new DecodedSound)
    , m_poll(new QTimer(this))
{
    m_sound->setParent(this);
    m_poll->setInterval(PollMs);
    connect(m_poll, &QTimer::timeout, this, &SoundEffectBackend::checkPlayedOut);
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
    const int rate = m_sound->decoder.sampleRate();
    if (rate < SoundCheck::MinimumRate || rate > SoundCheck::MaximumRate) {
        m_sound->decoder.close();
        return false;
    }
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
    const int rate = SoundCheck::playbackRate(m_sound->decoder.sampleRate(), device.minimumSampleRate(),
        device.maximumSampleRate(), device.preferredFormat().sampleRate());
    if (rate == 0)
        return false;
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(m_sound->decoder.channels());
    format.setSampleFormat(QAudioFormat::Int16);

    // The output's clock stops with the data: the silence must outlast the
    // margin by which that clock has to pass the sound.
    m_sound->restart(rate, qint64(rate) * m_sound->frameBytes() * 2 / 5);
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
    m_poll->start();
    return true;
}

void SoundEffectBackend::stop()
{
    // Cleared first, so that the sink's own stop is not taken for an end.
    m_active = false;
    m_poll->stop();
    if (QAudioSink *sink = std::exchange(m_sink, nullptr)) {
        // Gone at once, not later: a stopped sink that lingers may still
        // pull from the sound, which the next play's sink reads too.
        sink->disconnect(this);
        sink->stop();
        delete sink;
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
    // The sound never runs dry, so idle is an underrun on a busy machine:
    // the sink goes on as data comes. Only an error ends the play early.
    if (m_active && m_sink && m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError)
        endPlay();
}

void SoundEffectBackend::checkPlayedOut()
{
    if (!m_active || !m_sink)
        return;
    SoundCheck::PlayProgress progress;
    progress.soundHandedOut = m_sound->ended();
    progress.soundUs = m_sound->soundUs();
    progress.playedUs = m_sink->processedUSecs();
    if (SoundCheck::playedOut(progress))
        endPlay();
}

void SoundEffectBackend::endPlay()
{
    m_active = false;
    m_poll->stop();
    emit finished();
}

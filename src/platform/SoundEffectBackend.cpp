#include "platform/SoundEffectBackend.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace {

constexpr quint16 formatPcm = 1;
constexpr quint16 formatFloat = 3;
constexpr quint16 formatExtensible = 0xFFFE;
// A file that hides its sound behind more chunks than this is not one of ours.
constexpr int maxChunks = 64;

quint16 read16(const QByteArray &bytes, int at)
{
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) | (static_cast<quint8>(bytes[at + 1]) << 8));
}

quint32 read32(const QByteArray &bytes, int at)
{
    return static_cast<quint32>(read16(bytes, at)) | (static_cast<quint32>(read16(bytes, at + 2)) << 16);
}

// Fills format from a "fmt " chunk body; false when it describes nothing
// QSoundEffect can play.
bool readFormatChunk(const QByteArray &body, SoundEffectBackend::WavFormat &format)
{
    if (body.size() < 16)
        return false;
    quint16 tag = read16(body, 0);
    format.channels = read16(body, 2);
    format.sampleRate = read32(body, 4);
    format.bitsPerSample = read16(body, 14);
    // The extensible header names the real sample format in the first two
    // bytes of its sub-format GUID.
    if (tag == formatExtensible) {
        if (body.size() < 26)
            return false;
        tag = read16(body, 24);
    }
    const quint16 bits = format.bitsPerSample;
    const bool pcm = tag == formatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool floating = tag == formatFloat && bits == 32;
    return (pcm || floating) && format.channels > 0 && format.sampleRate > 0;
}

} // namespace

qint64 SoundEffectBackend::WavFormat::durationMs() const
{
    const qint64 bytesPerSecond = qint64(sampleRate) * channels * (bitsPerSample / 8);
    if (bytesPerSecond <= 0)
        return -1;
    return dataBytes * 1000 / bytesPerSecond;
}

std::optional<SoundEffectBackend::WavFormat> SoundEffectBackend::readWavFormat(QIODevice &device)
{
    if (device.isSequential() || !device.seek(0))
        return std::nullopt;
    const QByteArray riff = device.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    WavFormat format;
    bool haveFormat = false;
    bool haveData = false;
    const qint64 fileSize = device.size();
    qint64 at = 12;
    for (int chunk = 0; chunk < maxChunks && !(haveFormat && haveData); ++chunk) {
        if (at + 8 > fileSize || !device.seek(at))
            break;
        const QByteArray header = device.read(8);
        if (header.size() < 8)
            break;
        const qint64 size = read32(header, 4);
        const qint64 body = at + 8;
        if (header.startsWith("fmt ")) {
            // Only the first 40 bytes can matter, however large the chunk says it is.
            if (!readFormatChunk(device.read(qMin<qint64>(size, 40)), format))
                return std::nullopt;
            haveFormat = true;
        } else if (header.startsWith("data")) {
            format.dataBytes = qMin(size, fileSize - body);
            haveData = true;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    return format;
}

std::optional<SoundEffectBackend::WavFormat> SoundEffectBackend::readWavFormat(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readWavFormat(file);
}

SoundEffectBackend::SoundEffectBackend(QObject *parent)
    : MediaBackend(parent)
    , m_effect(new QSoundEffect(this))
{
    connect(m_effect, &QSoundEffect::statusChanged, this, &SoundEffectBackend::statusChanged);
    connect(m_effect, &QSoundEffect::playingChanged, this, &SoundEffectBackend::playingChanged);
}

SoundEffectBackend::~SoundEffectBackend()
{
    // The effect stops as it goes; that is no end of a play to report.
    m_effect->disconnect(this);
}

bool SoundEffectBackend::open(const QString &fileName)
{
    close();
    const QFileInfo info(fileName);
    if (!info.isFile())
        return false;
    const std::optional<WavFormat> format = readWavFormat(fileName);
    if (!format)
        return false;
    m_effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_durationMs = format->durationMs();
    m_open = true;
    return true;
}

void SoundEffectBackend::close()
{
    stop();
    if (m_open)
        m_effect->setSource(QUrl());
    m_open = false;
    m_durationMs = -1;
}

bool SoundEffectBackend::play()
{
    if (!m_open || m_effect->status() == QSoundEffect::Error)
        return false;
    stop();
    m_active = true;
    // QSoundEffect loads in the background; a play asked for before that
    // has finished starts from statusChanged.
    if (m_effect->status() == QSoundEffect::Ready)
        m_effect->play();
    else
        m_pendingPlay = true;
    return true;
}

void SoundEffectBackend::stop()
{
    // Cleared first, so that the effect's own stop is not taken for an end.
    m_active = false;
    m_started = false;
    m_pendingPlay = false;
    if (m_effect->isPlaying())
        m_effect->stop();
}

void SoundEffectBackend::rewind() { }

qint64 SoundEffectBackend::durationMs() const
{
    return m_durationMs;
}

bool SoundEffectBackend::isLoading() const
{
    return m_effect->status() == QSoundEffect::Loading;
}

void SoundEffectBackend::statusChanged()
{
    if (!m_active)
        return;
    switch (m_effect->status()) {
    case QSoundEffect::Ready:
        if (m_pendingPlay) {
            m_pendingPlay = false;
            m_effect->play();
        }
        break;
    case QSoundEffect::Error:
        // The file could not be decoded after all: the play is over.
        endPlay();
        break;
    default: break;
    }
}

void SoundEffectBackend::playingChanged()
{
    if (!m_active)
        return;
    if (m_effect->isPlaying())
        m_started = true;
    else if (m_started)
        endPlay();
}

void SoundEffectBackend::endPlay()
{
    m_active = false;
    m_started = false;
    m_pendingPlay = false;
    emit finished();
}

#include "platform/WavDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Frames decoded per libsndfile call: bounds the memory a read takes.
constexpr sf_count_t blockFrames = 4096;

QIODevice *deviceOf(void *user)
{
    return static_cast<QIODevice *>(user);
}

// libsndfile reads through these from a QIODevice, so that files and memory
// buffers take the same path.
sf_count_t deviceLength(void *user)
{
    return deviceOf(user)->size();
}

sf_count_t deviceSeek(sf_count_t offset, int whence, void *user)
{
    QIODevice *device = deviceOf(user);
    sf_count_t from = 0;
    if (whence == SEEK_CUR)
        from = device->pos();
    else if (whence == SEEK_END)
        from = device->size();
    else if (whence != SEEK_SET)
        return -1;
    sf_count_t target = 0;
    // Offsets come from the file's own header and may be anything.
    if (__builtin_add_overflow(from, offset, &target) || target < 0 || target > device->size() ||
        !device->seek(target))
        return -1;
    return target;
}

sf_count_t deviceRead(void *buffer, sf_count_t count, void *user)
{
    const qint64 read = deviceOf(user)->read(static_cast<char *>(buffer), count);
    return read > 0 ? read : 0;
}

sf_count_t deviceWrite(const void *, sf_count_t, void *)
{
    return 0;
}

sf_count_t deviceTell(void *user)
{
    return deviceOf(user)->pos();
}

SF_VIRTUAL_IO deviceIo = {deviceLength, deviceSeek, deviceRead, deviceWrite, deviceTell};

// A RIFF or RF64 file of WAVE form. Checked before libsndfile looks, so that
// a buzzer file is never handed to its MPEG, Ogg or other readers.
bool looksLikeWav(QIODevice *device)
{
    const QByteArray start = device->peek(12);
    return start.size() == 12 && (start.startsWith("RIFF") || start.startsWith("RF64")) &&
           start.mid(8) == "WAVE";
}

bool isWav(int format)
{
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

qint16 toSample(float value)
{
    // Float files may hold anything, NaN and values past full scale included.
    if (std::isnan(value))
        return 0;
    // libsndfile scales 16-bit samples by 1/32768, so this gives them back
    // exactly.
    return qint16(std::clamp(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32768.0f), -32768L, 32767L));
}

} // namespace

struct WavDecoder::Source
{
    ~Source()
    {
        if (file)
            sf_close(file);
    }

    QFile ownFile;
    QIODevice *device = nullptr;
    SNDFILE *file = nullptr;
    SF_INFO info {};
    std::vector<float> block;
};

WavDecoder::WavDecoder() = default;

WavDecoder::~WavDecoder() = default;

bool WavDecoder::open(const QString &fileName)
{
    close();
    // Opening a FIFO would wait for a writer; only plain files are read.
    if (!QFileInfo(fileName).isFile())
        return false;
    m_source = std::make_unique<Source>();
    m_source->ownFile.setFileName(fileName);
    if (!m_source->ownFile.open(QIODevice::ReadOnly)) {
        m_source.reset();
        return false;
    }
    m_source->device = &m_source->ownFile;
    return openSource();
}

bool WavDecoder::open(QIODevice *device)
{
    close();
    if (!device || !device->isOpen() || device->isSequential())
        return false;
    m_source = std::make_unique<Source>();
    m_source->device = device;
    return openSource();
}

bool WavDecoder::openSource()
{
    Source &source = *m_source;
    if (!source.device->seek(0)) {
        m_source.reset();
        return false;
    }
    if (!looksLikeWav(source.device)) {
        m_source.reset();
        return false;
    }
    source.file = sf_open_virtual(&deviceIo, SFM_READ, &source.info, source.device);
    if (!source.file || !isWav(source.info.format) || source.info.channels <= 0 ||
        source.info.samplerate <= 0 || source.info.frames <= 0) {
        m_source.reset();
        return false;
    }
    return true;
}

void WavDecoder::close()
{
    m_source.reset();
}

bool WavDecoder::isOpen() const
{
    return m_source != nullptr;
}

int WavDecoder::channels() const
{
    return m_source ? std::min(m_source->info.channels, 2) : 0;
}

int WavDecoder::sampleRate() const
{
    return m_source ? m_source->info.samplerate : 0;
}

qint64 WavDecoder::frames() const
{
    return m_source ? m_source->info.frames : 0;
}

qint64 WavDecoder::durationMs() const
{
    if (!m_source)
        return -1;
    const qint64 rate = m_source->info.samplerate;
    const qint64 count = m_source->info.frames;
    return count / rate * 1000 + count % rate * 1000 / rate;
}

qint64 WavDecoder::read(qint16 *samples, qint64 maxFrames)
{
    if (!m_source || maxFrames <= 0)
        return 0;
    Source &source = *m_source;
    const int inChannels = source.info.channels;
    const int outChannels = channels();
    source.block.resize(std::size_t(blockFrames) * std::size_t(inChannels));

    qint64 done = 0;
    while (done < maxFrames) {
        const sf_count_t wanted = std::min<sf_count_t>(blockFrames, maxFrames - done);
        const sf_count_t got = sf_readf_float(source.file, source.block.data(), wanted);
        if (got <= 0)
            break;
        qint16 *out = samples + done * outChannels;
        for (sf_count_t frame = 0; frame < got; ++frame) {
            const float *in = source.block.data() + frame * inChannels;
            if (inChannels <= 2) {
                for (int c = 0; c < inChannels; ++c)
                    out[frame * outChannels + c] = toSample(in[c]);
                continue;
            }
            // Even channels to the left, odd ones to the right.
            float left = 0;
            float right = 0;
            for (int c = 0; c < inChannels; ++c)
                (c % 2 ? right : left) += in[c];
            out[frame * 2] = toSample(left / float((inChannels + 1) / 2));
            out[frame * 2 + 1] = toSample(right / float(inChannels / 2));
        }
        done += got;
        if (got < wanted)
            break;
    }
    return done;
}

bool WavDecoder::rewind()
{
    return m_source && sf_seek(m_source->file, 0, SEEK_SET) == 0;
}

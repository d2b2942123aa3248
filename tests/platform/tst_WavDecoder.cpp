#include "platform/WavDecoder.h"

#include "support/WavBytes.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <limits>
#include <vector>

using namespace WavBytes;

namespace {

class Decoded
{
public:
    explicit Decoded(QByteArray bytes)
        : m_bytes(std::move(bytes))
        , m_buffer(&m_bytes)
    {
        m_buffer.open(QIODevice::ReadOnly);
        opened = decoder.open(&m_buffer);
    }

    // Everything left, read in blocks of the given size.
    std::vector<qint16> readAll(qint64 blockFrames = 1000)
    {
        std::vector<qint16> all;
        std::vector<qint16> block(std::size_t(blockFrames) * 2);
        while (const qint64 frames = decoder.read(block.data(), blockFrames))
            all.insert(all.end(), block.begin(), block.begin() + frames * decoder.channels());
        return all;
    }

    WavDecoder decoder;
    bool opened = false;

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
};

TEST(WavDecoder, EveryVariantDecodesToTheSameSixteenBitSound)
{
    struct Variant
    {
        const char *name;
        quint16 tag, channels;
        quint32 rate;
        quint16 bits, subFormat;
        int tolerance; // in 16-bit steps
    };
    const Variant variants[] = {
        {"8-bit mono 8 kHz", Pcm, 1, 8000, 8, Pcm, 260},
        {"16-bit stereo 44.1 kHz", Pcm, 2, 44100, 16, Pcm, 1},
        {"24-bit mono 48 kHz", Pcm, 1, 48000, 24, Pcm, 1},
        {"24-bit stereo 96 kHz, extensible", Extensible, 2, 96000, 24, Pcm, 1},
        {"32-bit stereo 22.05 kHz", Pcm, 2, 22050, 32, Pcm, 1},
        {"32-bit float mono 44.1 kHz", Float, 1, 44100, 32, Float, 1},
        {"32-bit float stereo 96 kHz, extensible", Extensible, 2, 96000, 32, Float, 1},
        {"64-bit float stereo 11.025 kHz", Float, 2, 11025, 64, Float, 1},
    };
    for (const Variant &v : variants) {
        SCOPED_TRACE(v.name);
        const qint64 frames = v.rate / 10;
        Decoded sound(toneWav(v.tag, v.channels, v.rate, v.bits, frames, v.subFormat));
        ASSERT_TRUE(sound.opened);
        EXPECT_EQ(sound.decoder.channels(), v.channels);
        EXPECT_EQ(sound.decoder.sampleRate(), int(v.rate));
        EXPECT_EQ(sound.decoder.frames(), frames);
        EXPECT_EQ(sound.decoder.durationMs(), frames * 1000 / v.rate);
        const std::vector<qint16> samples = sound.readAll(777);
        ASSERT_EQ(qint64(samples.size()), frames * v.channels);
        for (qint64 i = 0; i < qint64(samples.size()); ++i) {
            const double expected = tone(i / v.channels, int(i % v.channels), v.rate) * 32767;
            ASSERT_NEAR(samples[std::size_t(i)], expected, v.tolerance) << "sample " << i;
        }
    }
}

TEST(WavDecoder, ManyChannelsMixDownToStereo)
{
    // Six channels: the even ones average to the left, the odd ones to the right.
    QByteArray data;
    for (int frame = 0; frame < 10; ++frame)
        for (const double value : {0.5, -0.2, 0.1, -0.4, 0.3, 0.0})
            data += encode(value, Pcm, 16);
    Decoded sound(riff(chunk("fmt ", formatBody(Pcm, 6, 8000, 16)) + chunk("data", data)));
    ASSERT_TRUE(sound.opened);
    EXPECT_EQ(sound.decoder.channels(), 2);
    const std::vector<qint16> samples = sound.readAll();
    ASSERT_EQ(samples.size(), 20u);
    EXPECT_NEAR(samples[0], 0.3 * 32767, 2);
    EXPECT_NEAR(samples[1], -0.2 * 32767, 2);
}

TEST(WavDecoder, FilesCutShortPlayWhatTheyHold)
{
    // One second of 16-bit mono, cut at 30 000 of its 88 200 sound bytes.
    const QByteArray whole = toneWav(Pcm, 1, 44100, 16, 44100);
    constexpr int headerBytes = 44;
    Decoded cut(whole.left(headerBytes + 30000));
    ASSERT_TRUE(cut.opened);
    EXPECT_EQ(cut.decoder.frames(), 15000);
    const std::vector<qint16> samples = cut.readAll();
    ASSERT_EQ(samples.size(), 15000u);
    EXPECT_NEAR(samples[14999], tone(14999, 0, 44100) * 32767, 1);

    // A streaming writer that never went back to fill in the sizes.
    QByteArray streamed = whole.left(headerBytes + 1600);
    qToLittleEndian(quint32(0xFFFFFFFF), streamed.data() + 4);
    qToLittleEndian(quint32(0xFFFFFFFF), streamed.data() + 40);
    Decoded open(streamed);
    ASSERT_TRUE(open.opened);
    EXPECT_EQ(open.readAll().size(), 800u);

    // Cut inside the header: nothing to play.
    for (int length : {0, 4, 12, 20, 36, 43})
        EXPECT_FALSE(Decoded(whole.left(length)).opened) << "cut at " << length;
}

TEST(WavDecoder, SamplesBeyondFullScaleAreClipped)
{
    QByteArray data;
    for (const double value : {2.0, -3.0, std::numeric_limits<double>::quiet_NaN(),
             std::numeric_limits<double>::infinity(), 1e300, -0.25})
        data += encode(value, Float, 32);
    Decoded sound(riff(chunk("fmt ", formatBody(Float, 1, 8000, 32)) + chunk("data", data)));
    ASSERT_TRUE(sound.opened);
    const std::vector<qint16> expected = {32767, -32768, 0, 32767, 32767, -8192};
    EXPECT_EQ(sound.readAll(), expected);
}

TEST(WavDecoder, LongFilesAreReadBlockByBlockAndRewind)
{
    // 70 seconds at 8 kHz; read a block at a time, as the player does.
    Decoded sound(toneWav(Pcm, 1, 8000, 16, 70 * 8000));
    ASSERT_TRUE(sound.opened);
    EXPECT_EQ(sound.decoder.durationMs(), 70000);
    std::vector<qint16> first(512);
    ASSERT_EQ(sound.decoder.read(first.data(), 512), 512);
    EXPECT_EQ(sound.readAll(4096).size(), 70u * 8000 - 512);
    EXPECT_EQ(sound.decoder.read(first.data(), 512), 0);

    ASSERT_TRUE(sound.decoder.rewind());
    std::vector<qint16> again(512);
    ASSERT_EQ(sound.decoder.read(again.data(), 512), 512);
    EXPECT_EQ(again, first);
}

TEST(WavDecoder, RefusesWhatHoldsNoWavSound)
{
    const QByteArray data = chunk("data", QByteArray(100, '\0'));
    const QByteArray refused[] = {
        QByteArray(),
        QByteArray("this is not a sound at all, only some text"),
        riff(data), // no format
        riff(chunk("fmt ", formatBody(Pcm, 1, 44100, 16))), // no sound
        riff(chunk("fmt ", formatBody(Pcm, 0, 44100, 16)) + data), // no channels
        riff(chunk("fmt ", formatBody(Pcm, 1, 0, 16)) + data), // no rate
        riff(chunk("fmt ", formatBody(Pcm, 1, 44100, 16), 0xFFFFFFF0) + data),
        // Other sound formats libsndfile reads, none of them WAV.
        QByteArray("ID3") + QByteArray::fromHex("04000000000000fffb9064") + QByteArray(400, '\x55'),
        QByteArray("OggS") + QByteArray(200, '\0'),
        QByteArray("FORM") + QByteArray::fromHex("0000002e") + "AIFFCOMM" + QByteArray::fromHex("00000012") +
            QByteArray::fromHex("00010000000200104000ac44000000000000") + "SSND" +
            QByteArray::fromHex("0000000c") + QByteArray(12, '\0'),
    };
    for (const QByteArray &bytes : refused)
        EXPECT_FALSE(Decoded(bytes).opened) << bytes.left(48).toHex(' ').toStdString();

    QTemporaryDir dir;
    WavDecoder decoder;
    EXPECT_FALSE(decoder.open(dir.filePath(QStringLiteral("missing.wav"))));
    EXPECT_FALSE(decoder.open(dir.path()));
    EXPECT_FALSE(decoder.open(QString()));
    // A FIFO by the name of a sound file would block a reader for good.
    const QString fifo = dir.filePath(QStringLiteral("fifo.wav"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(decoder.open(fifo));
    EXPECT_FALSE(decoder.isOpen());
    EXPECT_EQ(decoder.durationMs(), -1);
    std::vector<qint16> samples(16);
    EXPECT_EQ(decoder.read(samples.data(), 8), 0);
    EXPECT_FALSE(decoder.rewind());
}

} // namespace

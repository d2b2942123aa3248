#include "platform/SoundEffectBackend.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char *id, const QByteArray &body, quint32 claimedSize = 0)
{
    QByteArray bytes = QByteArray(id) + le32(claimedSize ? claimedSize : quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray formatBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 block = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * block) + le16(block) + le16(bits);
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// A plain 16-bit PCM file with the given number of silent sound bytes.
QByteArray pcmWav(quint16 channels, quint32 rate, quint16 bits, int dataBytes)
{
    return riff(
        chunk("fmt ", formatBody(1, channels, rate, bits)) + chunk("data", QByteArray(dataBytes, '\0')));
}

std::optional<SoundEffectBackend::WavFormat> formatOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return SoundEffectBackend::readWavFormat(buffer);
}

class SoundEffectBackendTest : public ::testing::Test
{
protected:
    QString writeFile(const char *name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(SoundEffectBackendTest, ReadsTheFormatAndLengthOfPlayableFiles)
{
    std::optional<SoundEffectBackend::WavFormat> format = formatOf(pcmWav(1, 44100, 16, 88200));
    ASSERT_TRUE(format);
    EXPECT_EQ(format->channels, 1);
    EXPECT_EQ(format->sampleRate, 44100u);
    EXPECT_EQ(format->bitsPerSample, 16);
    EXPECT_EQ(format->dataBytes, 88200);
    EXPECT_EQ(format->durationMs(), 1000);

    // Other chunks around, one of odd length and so padded; sound before format.
    format = formatOf(riff(chunk("LIST", QByteArray(7, 'x')) + chunk("data", QByteArray(96000, '\0')) +
                           chunk("fact", le32(1)) + chunk("fmt ", formatBody(1, 2, 48000, 24))));
    ASSERT_TRUE(format);
    EXPECT_EQ(format->durationMs(), 333);

    // The extensible header naming integer PCM.
    const QByteArray extensible =
        formatBody(0xFFFE, 1, 44100, 16) + le16(22) + le16(16) + le32(4) + le16(1) + QByteArray(14, '\x10');
    EXPECT_TRUE(formatOf(riff(chunk("fmt ", extensible) + chunk("data", QByteArray(441, '\0')))));
}

TEST_F(SoundEffectBackendTest, TruncatedFilesCountOnlyTheSoundPresent)
{
    const QByteArray good = pcmWav(1, 44100, 16, 4410);
    constexpr int headerBytes = 44;
    for (int length = 0; length < headerBytes; ++length)
        EXPECT_FALSE(formatOf(good.left(length))) << "cut at " << length;

    // A data chunk that claims more than the file holds.
    const std::optional<SoundEffectBackend::WavFormat> cut = formatOf(good.left(headerBytes + 882));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->dataBytes, 882);
    EXPECT_EQ(cut->durationMs(), 10);

    // A streaming writer's "unknown" size.
    const QByteArray streamed =
        riff(chunk("fmt ", formatBody(1, 1, 8000, 16))) + chunk("data", QByteArray(1600, '\0'), 0xFFFFFFFF);
    const std::optional<SoundEffectBackend::WavFormat> open = formatOf(streamed);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->durationMs(), 100);
}

TEST_F(SoundEffectBackendTest, RejectsWhatIsNoPlayableWav)
{
    const QByteArray data = chunk("data", QByteArray(100, '\0'));
    const QByteArray rejected[] = {
        QByteArray(),
        QByteArray("RIFX") + pcmWav(1, 44100, 16, 100).mid(4),
        QByteArray("RIFF") + le32(100) + "AVI " + chunk("fmt ", formatBody(1, 1, 44100, 16)) + data,
        riff(data), // no format
        riff(chunk("fmt ", formatBody(1, 1, 44100, 16))), // no sound
        riff(chunk("fmt ", formatBody(2, 1, 44100, 4)) + data), // ADPCM
        riff(chunk("fmt ", formatBody(1, 0, 44100, 16)) + data), // no channels
        riff(chunk("fmt ", formatBody(1, 1, 44100, 12)) + data), // odd sample width
        riff(chunk("fmt ", formatBody(1, 1, 44100, 16).left(12)) + data),
        riff(chunk("fmt ", formatBody(0xFFFE, 1, 44100, 16)) + data), // extensible, cut short
        // A format chunk claiming the whole address space.
        riff(chunk("fmt ", formatBody(1, 1, 44100, 16), 0xFFFFFFFF) + data),
        // More chunks before the sound than any real file has.
        riff(chunk("fmt ", formatBody(1, 1, 44100, 16)) + chunk("junk", {}).repeated(200) + data),
    };
    for (const QByteArray &bytes : rejected)
        EXPECT_FALSE(formatOf(bytes)) << bytes.left(48).toHex(' ').toStdString();

    // Random bytes, some behind a believable start.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(round * 3, '\0');
        for (char &c : noise)
            c = static_cast<char>(byte(random));
        formatOf(noise);
        formatOf("RIFF" + le32(quint32(noise.size())) + "WAVE" + noise);
        formatOf(riff(chunk("fmt ", formatBody(1, 1, 44100, 16))) + noise);
    }
}

TEST_F(SoundEffectBackendTest, OpenFailsForAnythingButAPlayableFile)
{
    SoundEffectBackend backend;
    EXPECT_FALSE(backend.open(m_dir.filePath(QStringLiteral("missing.wav"))));
    EXPECT_FALSE(backend.open(m_dir.path()));
    EXPECT_FALSE(backend.open(QString()));
    EXPECT_FALSE(backend.open(writeFile("text.wav", "this is not a sound")));
    EXPECT_EQ(backend.durationMs(), -1);
    EXPECT_FALSE(backend.play());

    ASSERT_TRUE(backend.open(writeFile("good.wav", pcmWav(1, 44100, 16, 44100))));
    EXPECT_EQ(backend.durationMs(), 500);
    // The sound is read on Qt's loader thread; the test must not end under it.
    QElapsedTimer waited;
    waited.start();
    while (backend.isLoading() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    backend.close();
    EXPECT_EQ(backend.durationMs(), -1);
    EXPECT_FALSE(backend.play());
}

TEST_F(SoundEffectBackendTest, GeneratedBuzzerIsALoudHornOfAboutASecondAndAHalf)
{
    // The build places the sound beside the program and the tests.
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("buzzer.wav"));
    const std::optional<SoundEffectBackend::WavFormat> format = SoundEffectBackend::readWavFormat(path);
    ASSERT_TRUE(format) << path.toStdString();
    EXPECT_EQ(format->channels, 1);
    EXPECT_EQ(format->sampleRate, 44100u);
    EXPECT_EQ(format->bitsPerSample, 16);
    EXPECT_GE(format->durationMs(), 1200);
    EXPECT_LE(format->durationMs(), 1500);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const qsizetype count = format->dataBytes / 2;
    const char *samples = bytes.constData() + bytes.size() - format->dataBytes;
    double peak = 0;
    double sumSquares = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double value = qFromLittleEndian<qint16>(samples + 2 * i) / 32768.0;
        peak = std::max(peak, std::abs(value));
        sumSquares += value * value;
    }
    EXPECT_GT(std::sqrt(sumSquares / double(count)), 0.2);
    EXPECT_LT(peak, 0.95) << "too close to clipping";
    // Faded in and out: no click at either end.
    EXPECT_LT(std::abs(qFromLittleEndian<qint16>(samples)), 300);
    EXPECT_LT(std::abs(qFromLittleEndian<qint16>(samples + 2 * (count - 1))), 300);
}

} // namespace

#include "platform/SoundEffectBackend.h"

#include "platform/WavDecoder.h"
#include "support/WavBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace WavBytes;

namespace {

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

TEST_F(SoundEffectBackendTest, OpensEveryWavVariantAndNothingElse)
{
    SoundEffectBackend backend;
    EXPECT_FALSE(backend.open(m_dir.filePath(QStringLiteral("missing.wav"))));
    EXPECT_FALSE(backend.open(m_dir.path()));
    EXPECT_FALSE(backend.open(QString()));
    EXPECT_FALSE(backend.open(writeFile("text.wav", "this is not a sound")));
    // Rates that crashed the audio service: refused before it sees them.
    EXPECT_FALSE(backend.open(writeFile("slow.wav", toneWav(Pcm, 1, 40, 16, 40))));
    EXPECT_EQ(backend.durationMs(), -1);
    EXPECT_FALSE(backend.play());

    // Those Qt's own sound effects played as silence.
    ASSERT_TRUE(backend.open(writeFile("4k.wav", toneWav(Pcm, 1, 4000, 16, 1000))));
    EXPECT_EQ(backend.durationMs(), 250);
    ASSERT_TRUE(backend.open(writeFile("24.wav", toneWav(Pcm, 2, 48000, 24, 24000))));
    EXPECT_EQ(backend.durationMs(), 500);
    ASSERT_TRUE(backend.open(writeFile("float.wav", toneWav(Float, 1, 44100, 32, 4410))));
    EXPECT_EQ(backend.durationMs(), 100);
    const QByteArray whole = toneWav(Pcm, 1, 44100, 16, 44100);
    ASSERT_TRUE(backend.open(writeFile("cut.wav", whole.left(44 + 30000))));
    EXPECT_EQ(backend.durationMs(), 340);

    backend.close();
    EXPECT_EQ(backend.durationMs(), -1);
    EXPECT_FALSE(backend.play());
}

TEST_F(SoundEffectBackendTest, GeneratedBuzzerIsALoudHornOfAboutASecondAndAHalf)
{
    // The build places the sound beside the program and the tests.
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("buzzer.wav"));
    WavDecoder decoder;
    ASSERT_TRUE(decoder.open(path)) << path.toStdString();
    EXPECT_EQ(decoder.channels(), 1);
    EXPECT_EQ(decoder.sampleRate(), 44100);
    EXPECT_GE(decoder.durationMs(), 1200);
    EXPECT_LE(decoder.durationMs(), 1500);

    std::vector<qint16> samples(std::size_t(decoder.frames()));
    ASSERT_EQ(decoder.read(samples.data(), decoder.frames()), decoder.frames());
    double peak = 0;
    double sumSquares = 0;
    for (const qint16 sample : samples) {
        const double value = sample / 32768.0;
        peak = std::max(peak, std::abs(value));
        sumSquares += value * value;
    }
    EXPECT_GT(std::sqrt(sumSquares / double(samples.size())), 0.2);
    EXPECT_LT(peak, 0.95) << "too close to clipping";
    // Faded in and out: no click at either end.
    EXPECT_LT(std::abs(samples.front()), 300);
    EXPECT_LT(std::abs(samples.back()), 300);
}

} // namespace

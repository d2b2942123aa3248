#include "platform/SoundCheck.h"

#include "support/WavBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace WavBytes;

namespace {

TEST(SoundCheckTest, PlaysTheFilesRateWhereTheDeviceTakesItAndConvertsOrRefusesTheRest)
{
    struct Case
    {
        int fileRate, deviceMinimum, deviceMaximum, devicePreferred, expected;
    };
    const Case cases[] = {
        {44100, 1, 384000, 44100, 44100},
        {8000, 1, 384000, 44100, 8000},
        {96000, 8000, 48000, 44100, 44100}, // above the device: converted
        {4000, 1, 384000, 48000, 48000}, // ordinary but below what every device takes
        {1000, 1, 384000, 48000, 48000},
        {22050, 44100, 48000, 0, 48000}, // no preferred rate: the common one, within range
        {999, 1, 384000, 44100, 0}, // too low to be a buzzer: the rates that crashed
        {40, 1, 384000, 44100, 0},
        {1, 1, 384000, 44100, 0},
        {768001, 1, 384000, 44100, 0},
        {44100, 96000, 48000, 44100, 0}, // a device range that makes no sense
    };
    for (const Case &c : cases)
        EXPECT_EQ(SoundCheck::playbackRate(c.fileRate, c.deviceMinimum, c.deviceMaximum, c.devicePreferred),
            c.expected)
            << c.fileRate << " Hz on " << c.deviceMinimum << " to " << c.deviceMaximum;
}

TEST(SoundCheckTest, NamesWhyAFileCannotBePlayed)
{
    QTemporaryDir dir;
    const auto write = [&dir](const char *name, const QByteArray &bytes) {
        const QString path = dir.filePath(QLatin1String(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    };
    EXPECT_EQ(SoundCheck::problemWith(QString()), QString());
    EXPECT_EQ(SoundCheck::problemWith(write("fine.wav", toneWav(Pcm, 1, 22050, 16, 2205))), QString());
    EXPECT_EQ(SoundCheck::problemWith(write("phone.wav", toneWav(Pcm, 1, 1000, 16, 100))), QString());
    EXPECT_EQ(SoundCheck::problemWith(dir.filePath(QStringLiteral("gone.wav"))),
        QStringLiteral("the file does not exist"));
    EXPECT_EQ(SoundCheck::problemWith(dir.path()), QStringLiteral("it is not a file"));
    EXPECT_EQ(
        SoundCheck::problemWith(write("text.wav", "just some words")), QStringLiteral("it is not a WAV sound"));
    EXPECT_EQ(SoundCheck::problemWith(write("slow.wav", toneWav(Pcm, 1, 40, 16, 40))),
        QStringLiteral("its sample rate of 40 Hz cannot be played"));
    EXPECT_EQ(SoundCheck::problemWith(write("one.wav", toneWav(Pcm, 2, 1, 16, 4))),
        QStringLiteral("its sample rate of 1 Hz cannot be played"));

    EXPECT_EQ(SoundCheck::warningText(QString()), QString());
    EXPECT_EQ(SoundCheck::warningText(QStringLiteral("the file does not exist")),
        QStringLiteral("The buzzer will be silent: the file does not exist."));
}

TEST(SoundCheckTest, APlayIsOverOnlyOnceTheOutputHasPlayedTheWholeSoundAndAMargin)
{
    SoundCheck::PlayProgress progress;
    progress.soundUs = 100000;
    progress.playedUs = 10000000;
    // The output has run far, but the sound is not yet all handed to it.
    EXPECT_FALSE(SoundCheck::playedOut(progress));
    progress.soundHandedOut = true;
    progress.playedUs = progress.soundUs; // taken, not yet heard
    EXPECT_FALSE(SoundCheck::playedOut(progress));
    progress.playedUs = progress.soundUs + SoundCheck::PlayedMarginUs - 1;
    EXPECT_FALSE(SoundCheck::playedOut(progress));
    progress.playedUs = progress.soundUs + SoundCheck::PlayedMarginUs;
    EXPECT_TRUE(SoundCheck::playedOut(progress));
}

} // namespace

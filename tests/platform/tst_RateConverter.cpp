#include "platform/RateConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A source handing out the given frames in pieces of at most `piece`.
RateConverter::Source sourceOf(const std::vector<qint16> &samples, int channels, qint64 piece = 1 << 30)
{
    auto at = std::make_shared<std::size_t>(0);
    return [&samples, channels, piece, at](qint16 *out, qint64 maxFrames) {
        const qint64 left = qint64(samples.size() - *at) / channels;
        const qint64 frames = std::min({left, maxFrames, piece});
        std::copy_n(samples.begin() + qint64(*at), frames * channels, out);
        *at += std::size_t(frames * channels);
        return frames;
    };
}

std::vector<qint16> convert(const std::vector<qint16> &in, int inRate, int outRate, int channels,
    qint64 readSize = 4096, qint64 piece = 1 << 30)
{
    RateConverter converter;
    converter.reset(inRate, outRate, channels);
    const RateConverter::Source source = sourceOf(in, channels, piece);
    std::vector<qint16> out;
    std::vector<qint16> block(std::size_t(readSize * channels));
    for (;;) {
        const qint64 got = converter.read(block.data(), readSize, source);
        out.insert(out.end(), block.begin(), block.begin() + got * channels);
        if (got < readSize)
            return out;
    }
}

TEST(RateConverterTest, KeepsTheSoundsLengthAndLevelAtAnyRatio)
{
    std::vector<qint16> steady(4000 * 2);
    for (std::size_t i = 0; i < steady.size(); ++i)
        steady[i] = i % 2 ? -12000 : 20000;
    for (const auto &[from, to] : {std::pair {4000, 48000}, {4000, 44100}, {96000, 44100}, {4000, 4000}}) {
        const std::vector<qint16> out = convert(steady, from, to, 2, 333, 700);
        const qint64 frames = qint64(out.size()) / 2;
        const qint64 expected = 4000LL * to / from;
        EXPECT_NEAR(double(frames), double(expected), double(to) / from + 1) << from << " to " << to;
        // Away from the very end, where it fades to silence, the level stays.
        for (qint64 f = 0; f + qint64(to / from) + 1 < frames; ++f) {
            ASSERT_EQ(out[std::size_t(f * 2)], 20000) << f;
            ASSERT_EQ(out[std::size_t(f * 2 + 1)], -12000) << f;
        }
    }
}

TEST(RateConverterTest, InterpolatesBetweenFramesAndEndsCleanly)
{
    // Doubling the rate puts a mid-point between each pair of frames.
    const std::vector<qint16> ramp = {0, 1000, 2000, -2000};
    EXPECT_EQ(convert(ramp, 1000, 2000, 1), (std::vector<qint16> {0, 500, 1000, 1500, 2000, 0, -2000, -1000}));
    // Halving it keeps every other frame.
    EXPECT_EQ(convert(ramp, 2000, 1000, 1), (std::vector<qint16> {0, 2000}));
    EXPECT_TRUE(convert({}, 8000, 48000, 1).empty());
    EXPECT_EQ(convert({300}, 1000, 3000, 1), (std::vector<qint16> {300, 200, 100}));

    // Once ended, it stays ended; a reset starts over.
    RateConverter converter;
    const std::vector<qint16> one = {7, 7};
    converter.reset(1000, 1000, 2);
    qint16 out[8] = {};
    EXPECT_EQ(converter.read(out, 4, sourceOf(one, 2)), 1);
    EXPECT_EQ(converter.read(out, 4, sourceOf(one, 2)), 0);
    converter.reset(1000, 1000, 2);
    EXPECT_EQ(converter.read(out, 4, sourceOf(one, 2)), 1);
}

} // namespace

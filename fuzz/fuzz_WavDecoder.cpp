// The buzzer's WAV decoding on any bytes: nothing crashes or reads out of
// bounds, and a sound that opens decodes the same twice over, as it does
// for every press of the buzzer.

#include "platform/WavDecoder.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Everything the decoder yields, in blocks of an odd size, up to a bound
// that keeps a file claiming hours of sound from taking the run's time.
std::vector<qint16> decodeAll(WavDecoder &decoder)
{
    constexpr qint64 blockFrames = 333;
    constexpr qint64 mostFrames = 1 << 20;
    std::vector<qint16> all;
    std::vector<qint16> block(blockFrames * 2);
    qint64 frames = 0;
    while (frames < mostFrames) {
        const qint64 got = decoder.read(block.data(), blockFrames);
        check(got >= 0 && got <= blockFrames);
        if (got == 0)
            break;
        all.insert(all.end(), block.begin(), block.begin() + got * decoder.channels());
        frames += got;
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    WavDecoder decoder;
    if (!decoder.open(&buffer))
        return 0;
    check(decoder.channels() == 1 || decoder.channels() == 2);
    check(decoder.sampleRate() > 0 && decoder.frames() > 0 && decoder.durationMs() >= 0);
    const std::vector<qint16> first = decodeAll(decoder);
    if (decoder.rewind())
        check(decodeAll(decoder) == first);
    return 0;
}
